// The commands of the main window: actions, menus, toolbars, status bar, the
// enablement rules and the command handlers.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include "workbench/about_dialog.h"
#include "workbench/app_settings.h"
#include "workbench/caret_position_label.h"
#include "workbench/child_frame.h"
#include "workbench/command_table.h"
#include "workbench/compile_view.h"
#include "workbench/find_replace.h"
#include "workbench/help_window.h"
#include "workbench/main_frame.h"
#include "workbench/mini_wizard_dialog.h"
#include "workbench/results_view.h"
#include "workbench/run_files.h"
#include "workbench/skeleton.h"
#include "workbench/splitter_frame.h"
#include "workbench/toolbar_icons.h"
#include "workbench/winkolt_app.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

namespace {

// Commands that work on the editor of the active window.
const int editCommands[] = {Command::EditUndo,  Command::EditCut,    Command::EditCopy,
                            Command::EditPaste, Command::EditClear,  Command::EditSelectAll,
                            Command::EditFind,  Command::EditRepeat, Command::EditReplace};

// Commands whose state follows the document (command_rules.h).
const int documentCommands[] = {Command::SyntaxAnalysis, Command::NetworkAnalysis, Command::WindowReport,
                                Command::WindowResults,  Command::WindowModel,     Command::ViewCalcBar};

// A window's title as it shows, its modified marker resolved.
QString windowTitleShown(QMdiSubWindow* window) {
    auto* frame = qobject_cast<CChildFrame*>(window);
    return frame ? frame->shownTitle() : window->windowTitle();
}

// A file name shown in a menu: an '&' in it is a character, not a mnemonic.
QString withLiteralAmpersands(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

void CMainFrame::createActions() {
    using namespace Command;
    for (const CommandText& c : commandTable()) {
        auto* a = new QAction(c.menuText, this);
        a->setObjectName(QStringLiteral("command%1").arg(c.id));
        a->setData(c.id);
        a->setShortcuts(c.keys);
        a->setStatusTip(promptPart(c.prompt));
        a->setWhatsThis(promptPart(c.prompt));  // what the context-help mode shows
        const QString tip = tooltipPart(c.prompt);
        if (!tip.isEmpty()) a->setToolTip(tip);
        const QIcon icon = commandIcon(c.id);
        if (!icon.isNull()) a->setIcon(icon);
        a->setIconVisibleInMenu(false);
        addAction(a);  // keys work whatever window is active
        actions.insert(c.id, a);
    }
    for (int id : {ViewToolbar, ViewStatusBar, ViewCalcBar}) actions[id]->setCheckable(true);
    for (int id = MethodFirst; id <= MethodLast; ++id) actions[id]->setCheckable(true);
    for (int id : {WindowModel, WindowReport, WindowResults}) actions[id]->setCheckable(true);

    auto on = [this](int id, auto handler) { connect(actions[id], &QAction::triggered, this, handler); };
    on(FileNew, [this] { fileNew(); });
    on(MiniWizard, [this] { onMiniWizard(); });
    on(FileOpen, [this] { onFileOpen(); });
    on(FileClose, [this] { onFileClose(); });
    on(FileSave, [this] { onFileSave(); });
    on(FileSaveAs, [this] { onFileSaveAs(); });
    on(FilePrintSetup, [this] { onPrintSetup(); });
    on(FilePrint, [this] {
        if (auto* view = qobject_cast<CWinKoltView*>(activeFrame() ? activeFrame()->view() : nullptr))
            view->print(pageSetupPrinter);
        else if (auto* results = qobject_cast<CSplitterFrame*>(activeFrame()))
            results->print(pageSetupPrinter);
    });
    on(FilePrintPreview, [this] {
        if (auto* view = qobject_cast<CWinKoltView*>(activeFrame() ? activeFrame()->view() : nullptr))
            view->printPreview(pageSetupPrinter);
        else if (auto* results = qobject_cast<CSplitterFrame*>(activeFrame()))
            results->printPreview(pageSetupPrinter);
    });
    for (int id = FileRecent1; id <= FileRecent4; ++id)
        on(id, [this, id] {
            const int index = id - FileRecent1;
            if (index < recentFileList.size()) openDocument(recentFileList.at(index));
        });
    on(AppExit, [this] { close(); });
    for (int id : editCommands) on(id, [this, id] { onEditCommand(id); });
    on(ViewToolbar, [this] { standardToolBar->setVisible(!standardToolBar->isVisible()); });
    on(ViewStatusBar, [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
        updateActions();
    });
    on(ViewCalcBar, [this] { calculationBar->setVisible(!calculationBar->isVisible()); });
    on(WindowModel, [this] { onWindowCommand(ViewKind::Model); });
    on(WindowReport, [this] { onWindowCommand(ViewKind::Report); });
    on(WindowResults, [this] { onWindowCommand(ViewKind::Results); });
    on(SyntaxAnalysis, [this] { onRunCommand(true); });
    on(NextMessage, [this] { onMessageCommand(true); });
    on(PreviousMessage, [this] { onMessageCommand(false); });
    on(NetworkAnalysis, [this] { onRunCommand(false); });
    for (int id = MethodFirst; id <= MethodLast; ++id)
        on(id, [this, id] {
            methodList->setCurrentIndex(id - MethodFirst);
            updateActions();
        });
    on(WindowCascade, [this] { cascadeWindows(); });
    on(WindowTile, [this] { tileHorizontally(); });
    on(HelpContents, [this] { onHelp(); });
    on(Help, [this] { onHelp(); });
    on(ContextHelp, [this] { onContextHelp(); });
    on(AppAbout, [this] { onAbout(); });
    // Next and previous pane: the panes of a split window.
    on(NextPane, [this] { focusPane(true); });
    on(PreviousPane, [this] { focusPane(false); });
}

void CMainFrame::createToolBars() {
    using namespace Command;
    // The calculation toolbar first, as the first to be docked.
    calculationBar = new QToolBar(QStringLiteral("Pasek obliczeń"), this);
    calculationBar->setObjectName(QStringLiteral("calcBar"));
    calculationBar->setIconSize(QSize(16, 16));
    methodList = new QComboBox(calculationBar);
    methodList->setObjectName(QStringLiteral("methodCombo"));
    methodList->setEditable(false);
    methodList->addItems({QStringLiteral("MVA"), QStringLiteral("MVAP"), QStringLiteral("HMVA"),
                          QStringLiteral("Jackson"), QStringLiteral("Diff"), QStringLiteral("Symulacja")});
    methodList->setCurrentIndex(-1);
    methodList->setFixedWidth(100);
    // "MS Sans Serif" bold, character height 12; where that face is not
    // installed the closest sans-serif face stands in.
    QFont comboFont(QStringLiteral("MS Sans Serif"));
    comboFont.setStyleHint(QFont::SansSerif);
    comboFont.setFixedPitch(false);
    comboFont.setWeight(QFont::Bold);
    comboFont.setPixelSize(12);
    methodList->setFont(comboFont);
    const CommandText* listText = findCommandText(MethodList);
    methodList->setToolTip(tooltipPart(listText->prompt));
    methodList->setStatusTip(promptPart(listText->prompt));
    calculationBar->addWidget(methodList);
    auto* gap = new QWidget(calculationBar);
    gap->setFixedWidth(12);
    calculationBar->addWidget(gap);
    calculationBar->addAction(actions[SyntaxAnalysis]);
    calculationBar->addAction(actions[NetworkAnalysis]);
    calculationBar->addSeparator();
    calculationBar->addAction(actions[WindowModel]);
    calculationBar->addAction(actions[WindowReport]);
    calculationBar->addAction(actions[WindowResults]);

    standardToolBar = new QToolBar(QStringLiteral("Pasek narzędzi"), this);
    standardToolBar->setObjectName(QStringLiteral("standardBar"));
    standardToolBar->setIconSize(QSize(16, 16));
    const int buttons[] = {FileNew,   FileOpen, FileSave,  0,        EditCut,    EditCopy,
                           EditPaste, 0,        FilePrint, AppAbout, ContextHelp};
    for (int id : buttons) {
        if (id == 0)
            standardToolBar->addSeparator();
        else
            standardToolBar->addAction(actions[id]);
    }
    addToolBar(Qt::TopToolBarArea, standardToolBar);
    addToolBar(Qt::TopToolBarArea, calculationBar);
    connect(calculationBar, &QToolBar::visibilityChanged, this, &CMainFrame::updateActions);
    connect(standardToolBar, &QToolBar::visibilityChanged, this, &CMainFrame::updateActions);
}

void CMainFrame::createMenus() {
    using namespace Command;
    auto menu = [this](const QString& title, std::initializer_list<int> ids) {
        auto* m = new QMenu(title, this);
        for (int id : ids) {
            if (id == 0)
                m->addSeparator();
            else
                m->addAction(actions[id]);
        }
        return m;
    };
    const int recent[] = {FileRecent1, FileRecent1 + 1, FileRecent1 + 2, FileRecent4};

    QMenu* file128 = menu(QStringLiteral("&Plik"), {FileNew, MiniWizard, FileOpen, 0, FilePrintSetup, 0});
    for (int id : recent) file128->addAction(actions[id]);
    file128->addSeparator();
    file128->addAction(actions[AppExit]);
    QMenu* view128 = menu(QStringLiteral("&Widok"), {ViewToolbar, ViewStatusBar, ViewCalcBar});
    QMenu* help128 = menu(QStringLiteral("&Pomoc"), {HelpContents, 0, AppAbout});
    menus128 = {file128, view128, help128};

    // Menus 129 and 131 differ only in "Edycja".
    auto documentMenus = [&](QMenu* edit, QMenu** windowMenu) {
        QMenu* file = menu(QStringLiteral("&Plik"), {FileNew, MiniWizard, FileOpen, FileClose, FileSave, FileSaveAs, 0,
                                                     FilePrint, FilePrintPreview, FilePrintSetup, 0});
        for (int id : recent) file->addAction(actions[id]);
        file->addSeparator();
        file->addAction(actions[AppExit]);
        QMenu* view = menu(QStringLiteral("&Widok"), {ViewToolbar, ViewStatusBar, ViewCalcBar});
        QMenu* calc = menu(QStringLiteral("O&bliczenia"), {SyntaxAnalysis, NetworkAnalysis, 0});
        QMenu* methods = calc->addMenu(QStringLiteral("Wybór &metody"));
        for (int id = MethodFirst; id <= MethodLast; ++id) methods->addAction(actions[id]);
        calc->addSeparator();
        calc->addAction(actions[NextMessage]);
        calc->addAction(actions[PreviousMessage]);
        QMenu* window =
            menu(QStringLiteral("&Okno"), {WindowModel, WindowReport, WindowResults, 0, WindowCascade, WindowTile});
        connect(window, &QMenu::aboutToShow, this, [this, window] { fillWindowMenu(window); });
        *windowMenu = window;
        QMenu* help = menu(QStringLiteral("Pomo&c"), {HelpContents, ContextHelp, 0, AppAbout});
        return QList<QMenu*>{file, edit, view, calc, window, help};
    };
    menus129 = documentMenus(menu(QStringLiteral("&Edycja"), {EditUndo, 0, EditCut, EditCopy, EditPaste, EditClear,
                                                              EditSelectAll, 0, EditFind, EditRepeat, EditReplace}),
                             &windowMenu129);
    menus131 = documentMenus(menu(QStringLiteral("&Edycja"), {EditCopy, EditSelectAll}), &windowMenu131);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    idleLabel = new QLabel(idleStatusText(), bar);
    idleLabel->setObjectName(QStringLiteral("idleText"));
    bar->addWidget(idleLabel, 1);
    // Keyboard indicators; the toolkit cannot read the lock keys, so they
    // stand greyed like inactive indicators.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(indicator), bar);
        pane->setEnabled(false);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        bar->addPermanentWidget(pane);
    }
    caretLabel = new CaretPositionLabel(bar);
    bar->insertPermanentWidget(1, caretLabel);  // after the prompt pane, before the indicators
}

void CMainFrame::showMenu(MenuId menu) {
    shownMenu = menu;
    menuBar()->clear();
    const QList<QMenu*>& menus = menu == MenuId::NoDocument ? menus128 : (menu == MenuId::Model ? menus129 : menus131);
    for (QMenu* m : menus) menuBar()->addMenu(m);
    for (int id : {Command::FilePrintSetup, Command::EditCopy}) actions[id]->setText(menuTextIn(id, menu));
}

void CMainFrame::fillWindowMenu(QMenu* menu) {
    // The fixed entries, then one entry per open document window.
    const QList<QAction*> entries = menu->actions();
    for (QAction* a : entries)
        if (a->property("windowEntry").toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    bool separated = false;
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        if (!window->isVisible()) continue;
        if (!separated) {
            QAction* separator = menu->addSeparator();
            separator->setProperty("windowEntry", true);
            separated = true;
        }
        QAction* a = menu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(withLiteralAmpersands(windowTitleShown(window))));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(window == area->currentSubWindow());
        a->setStatusTip(switchToWindowPrompt());
        connect(a, &QAction::triggered, this, [this, window] { area->setActiveSubWindow(window); });
    }
}

void CMainFrame::updateRecentFileActions() {
    for (int i = 0; i < AppSettings::recentFileCount; ++i) {
        QAction* a = actions[Command::FileRecent1 + i];
        if (i < recentFileList.size()) {
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(withLiteralAmpersands(recentFileList.at(i))));
            a->setVisible(true);
            a->setEnabled(true);
        } else {
            // With an empty list the first entry holds the place, greyed.
            a->setText(QStringLiteral("Ostatnio używane"));
            a->setVisible(i == 0 && recentFileList.isEmpty());
            a->setEnabled(false);
        }
    }
}

CommandContext CMainFrame::commandContext() const {
    CommandContext c;
    c.selectedMethodIndex = methodList->currentIndex();
    c.calcBarVisible = calculationBar->isVisible() || (!isVisible() && !calculationBar->isHidden());
    if (CChildFrame* frame = activeFrame()) {
        const CWinKoltDoc* doc = frame->document();
        c.hasDocumentWindow = true;
        c.documentHasPath = !doc->path().isEmpty();
        c.unsavedEdits = doc->unsavedEdits();
        c.runState = doc->runState();
        c.lastMethodIndex = doc->lastMethodIndex();
        c.activeView = frame->viewKind();
    }
    return c;
}

void CMainFrame::updateActions() {
    using namespace Command;
    if (!methodList) return;
    const CommandContext c = commandContext();
    for (int id : documentCommands) {
        const CommandStatus s = commandStatus(id, c);
        actions[id]->setEnabled(s.enabled);
        actions[id]->setChecked(s.checked);
    }
    for (int id = MethodFirst; id <= MethodLast; ++id) actions[id]->setChecked(commandStatus(id, c).checked);
    actions[ViewToolbar]->setChecked(!standardToolBar->isHidden());
    actions[ViewStatusBar]->setChecked(!statusBar()->isHidden());

    for (int id : {FileClose, FileSave, FileSaveAs}) actions[id]->setEnabled(c.hasDocumentWindow);
    const bool modelActive = c.hasDocumentWindow && c.activeView == ViewKind::Model;
    auto* results = qobject_cast<CSplitterFrame*>(activeFrame());
    actions[FilePrint]->setEnabled(modelActive || results);
    actions[FilePrintPreview]->setEnabled(modelActive || results);

    auto* editor = activeFrame() ? qobject_cast<QPlainTextEdit*>(activeFrame()->view()) : nullptr;
    const bool hasSelection = editor && editor->textCursor().hasSelection();
    const bool reportActive = c.hasDocumentWindow && c.activeView == ViewKind::Report;
    actions[EditUndo]->setEnabled(modelActive && editor->document()->isUndoAvailable());
    actions[EditCut]->setEnabled(modelActive && hasSelection);
    actions[EditClear]->setEnabled(modelActive && hasSelection);
    actions[EditCopy]->setEnabled(((modelActive || reportActive) && hasSelection) ||
                                  (results && results->resultsView()->hasSelectedRows()));
    actions[EditPaste]->setEnabled(modelActive && !QApplication::clipboard()->text().isEmpty());
    actions[EditSelectAll]->setEnabled(modelActive || reportActive ||
                                       (results && results->resultsView()->rowCount() > 0));
    for (int id : {EditFind, EditRepeat, EditReplace}) actions[id]->setEnabled(modelActive);
    const bool hasReport = activeDocument() && frameOf(activeDocument(), ViewKind::Report);
    for (int id : {NextMessage, PreviousMessage}) actions[id]->setEnabled(hasReport);
}

// --- handlers ------------------------------------------------------------

void CMainFrame::onFileOpen() {
    for (const QString& path : userPrompts->askOpenPaths(this)) openDocument(path);
}

void CMainFrame::onFileSave() {
    if (CWinKoltDoc* doc = activeDocument()) saveDocument(doc);
}

void CMainFrame::onFileSaveAs() {
    CWinKoltDoc* doc = activeDocument();
    if (!doc) return;
    const QString path =
        userPrompts->askSavePath(this, doc->path().isEmpty() ? doc->title() + QStringLiteral(".klt") : doc->path());
    if (!path.isEmpty()) saveDocumentAs(doc, path);
}

void CMainFrame::onFileClose() {
    if (CWinKoltDoc* doc = activeDocument()) closeDocument(doc);
}

void CMainFrame::onMiniWizard() {
    if (wizard->exec() != QDialog::Accepted) return;
    newText = skeletonText(wizard->values());
    fileNew();
}

void CMainFrame::onPrintSetup() {
    QPageSetupDialog dialog(pageSetupPrinter, this);
    dialog.exec();
}

void CMainFrame::onEditCommand(int id) {
    using namespace Command;
    CChildFrame* frame = activeFrame();
    if (auto* results = qobject_cast<CSplitterFrame*>(frame)) {
        // The results table: copy the selected rows, select every row.
        if (id == EditCopy) results->resultsView()->copyTable();
        if (id == EditSelectAll) results->resultsView()->selectAllRows();
        updateActions();
        return;
    }
    auto* editor = frame ? qobject_cast<QPlainTextEdit*>(frame->view()) : nullptr;
    if (!editor) return;
    switch (id) {
        case EditUndo: editor->undo(); break;
        case EditCut: editor->cut(); break;
        case EditCopy: editor->copy(); break;
        case EditPaste: editor->paste(); break;
        case EditClear: editor->textCursor().removeSelectedText(); break;
        case EditSelectAll: editor->selectAll(); break;
        case EditFind: findReplace->find(editor); break;
        case EditRepeat: findReplace->findNext(editor); break;
        case EditReplace: findReplace->replace(editor); break;
        default: break;
    }
    updateActions();
}

CWinKoltView* CMainFrame::modelViewForRun() {
    CWinKoltDoc* doc = activeDocument();
    if (!doc) return nullptr;
    // With the model window closed (the report window still open) the text
    // is still in the document: reopen the model window and run from it.
    CChildFrame* frame = frameOf(doc, ViewKind::Model);
    if (!frame) frame = openOrActivateView(doc, ViewKind::Model, -1);
    return frame ? qobject_cast<CWinKoltView*>(frame->view()) : nullptr;
}

void CMainFrame::onRunCommand(bool syntaxOnly) {
    // Keys reach here too: apply the rules again before running.
    updateActions();
    if (!actions[syntaxOnly ? Command::SyntaxAnalysis : Command::NetworkAnalysis]->isEnabled()) return;
    if (CWinKoltView* view = modelViewForRun())
        onSolverRun(view, view->runSolver(syntaxOnly, methodList->currentIndex(), solverFile));
}

void CMainFrame::onSolverRun(CWinKoltView* view, const SolverRun& run) {
    CWinKoltDoc* doc = view->winKoltDoc();
    switch (run.result) {
        case SolverRun::Result::NotRun: return;
        case SolverRun::Result::Refused: userPrompts->showError(view, ownRunFileRefusal(run.documentPath)); return;
        case SolverRun::Result::NotStarted:
            userPrompts->showSolverStartFailure(view);
            // Without the solver the workbench cannot work; it ends at once,
            // asking nothing about unsaved documents.
            CWinKoltApp::endAtOnce();
        case SolverRun::Result::Ended: break;
    }

    // The report window is hidden while the state changes, or made.
    if (CChildFrame* report = frameOf(doc, ViewKind::Report))
        activateFrame(report, 0);
    else
        openOrActivateView(doc, ViewKind::Report, 0);
    // The results of an earlier run are out of date.
    closeViewWindow(doc, ViewKind::Results);
    recordSolverRun(doc, run);
    openOrActivateView(doc, ViewKind::Report, -1);
    // The report view reloads the diagnostics file; the editor stays where it is.
    doc->notifyViews(view, nullptr);
}

void CMainFrame::onMessageCommand(bool forward) {
    // The report chooses the message as a double click would: the model
    // window comes forward with the caret on the message's place.
    CChildFrame* report = activeDocument() ? frameOf(activeDocument(), ViewKind::Report) : nullptr;
    auto* view = report ? qobject_cast<CCompileView*>(report->view()) : nullptr;
    if (view && !view->chooseAdjacentMessage(forward))
        statusBar()->showMessage(forward ? QStringLiteral("Brak dalszych komunikatów z pozycją w raporcie")
                                         : QStringLiteral("Brak wcześniejszych komunikatów z pozycją w raporcie"),
                                 3000);
}

void CMainFrame::onWindowCommand(ViewKind kind) {
    updateActions();
    if (activeDocument()) openOrActivateView(kind, -1);
    updateActions();
}

void CMainFrame::onAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

QString CMainFrame::helpPagePath() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {programDir.filePath(QStringLiteral("winkolt-help.html")),
                                     programDir.filePath(QStringLiteral("../share/winkolt/winkolt-help.html"))})
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).absoluteFilePath();
    return {};
}

void CMainFrame::onHelp() {
    const QString page = helpPagePath();
    if (page.isEmpty()) {
        userPrompts->showError(this, QStringLiteral("Brak pliku pomocy winkolt-help.html obok programu."));
        return;
    }
    if (!helpWindow) {
        auto* window = new HelpWindow(page);
        window->setWindowIcon(windowIcon());
        window->placeNear(this);
        helpWindow = window;
    }
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}

void CMainFrame::onContextHelp() {
    statusBar()->showMessage(contextHelpStatusText());
    QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::tileHorizontally() {
    // The area's own tiling makes a grid; this command stacks the windows,
    // as its prompt says: none overlaps another. Minimised windows stay.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area->subWindowList())
        if (window->isVisible() && !window->isMinimized()) windows.append(window);
    if (windows.isEmpty()) return;
    for (QMdiSubWindow* window : windows)
        if (window->isMaximized()) window->showNormal();
    const QRect space = area->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        const int top = space.height() * i / count;
        const int bottom = space.height() * (i + 1) / count;
        windows[i]->setGeometry(0, top, space.width(), bottom - top);
    }
}

void CMainFrame::focusPane(bool forward) {
    // Only a split window has panes; model and report windows have one.
    auto* splitter = activeFrame() ? qobject_cast<QSplitter*>(activeFrame()->view()) : nullptr;
    if (!splitter || splitter->count() < 2) return;
    int current = 0;
    for (int i = 0; i < splitter->count(); ++i)
        if (splitter->widget(i)->isAncestorOf(QApplication::focusWidget()) || splitter->widget(i)->hasFocus())
            current = i;
    const int next = (current + (forward ? 1 : splitter->count() - 1)) % splitter->count();
    splitter->widget(next)->setFocus(Qt::TabFocusReason);
}

QTextBrowser* CMainFrame::helpBrowser() const { return helpWindow.data(); }
