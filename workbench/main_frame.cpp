#include "workbench/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "workbench/app_settings.h"
#include "workbench/caret_position_label.h"
#include "workbench/child_frame.h"
#include "workbench/compile_view.h"
#include "workbench/find_replace.h"
#include "workbench/mini_wizard_dialog.h"
#include "workbench/paged_text_printer.h"
#include "workbench/run_files.h"
#include "workbench/skeleton.h"
#include "workbench/solver_runner.h"
#include "workbench/splitter_frame.h"
#include "workbench/window_placement.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

namespace {

// The show command of new document windows, and the value last read from or
// written to the settings, so that it is written only when it changed.
int childShow = ShowCommand::Maximized;
int childShowStored = ShowCommand::Maximized;

const char* const mainTitle = "WinKOLT 1.0";

}  // namespace

int CMainFrame::childShowCommand() { return childShow; }

void CMainFrame::setChildShowCommand(int showCommand) { childShow = showCommand; }

void CMainFrame::saveChildShowCommandIfChanged() {
    if (childShow == childShowStored) return;
    AppSettings::writeShowCommand(childShow);
    childShowStored = childShow;
}

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), area(new QMdiArea(this)), userPrompts(std::make_unique<UserPrompts>()) {
    // Document windows open maximised or normal; any other stored value
    // (a hidden or minimised show command) is not taken.
    const int storedShow = AppSettings::readShowCommand(childShow);
    if (storedShow == ShowCommand::Normal || storedShow == ShowCommand::Maximized) childShow = storedShow;
    childShowStored = storedShow;
    solverFile = solverPathBeside(QCoreApplication::applicationDirPath());
    newText = defaultSkeleton();
    recentFileList = AppSettings::readRecentFiles();

    setWindowTitle(QString::fromLatin1(mainTitle));
    setObjectName(QStringLiteral("mainFrame"));
    area->setObjectName(QStringLiteral("mdiArea"));
    area->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(area);
    setAcceptDrops(true);

    wizard = new MiniWizardDialog(this);
    findReplace = new FindReplaceController(this);
    pageSetupPrinter = new QPrinter(QPrinter::HighResolution);
    setDefaultPageMargins(pageSetupPrinter);

    createActions();
    createToolBars();
    createMenus();
    createStatusBar();
    updateRecentFileActions();

    connect(area, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);
    connect(methodList, &QComboBox::currentIndexChanged, this, &CMainFrame::updateActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::updateActions);
    showMenu(MenuId::NoDocument);
    updateActions();
}

CMainFrame::~CMainFrame() { delete pageSetupPrinter; }

void CMainFrame::setPrompts(std::unique_ptr<UserPrompts> prompts) { userPrompts = std::move(prompts); }

// --- documents -----------------------------------------------------------

CWinKoltDoc* CMainFrame::fileNew() {
    auto* doc = new CWinKoltDoc(this);
    doc->startNew(QStringLiteral("model%1").arg(++untitledCount), newText);
    docs.append(doc);
    connect(doc, &CWinKoltDoc::stateChanged, this, &CMainFrame::updateActions);
    connect(doc, &CWinKoltDoc::stateChanged, this, &CMainFrame::updateTitle);
    openOrActivateView(doc, ViewKind::Model, -1);
    return doc;
}

CWinKoltDoc* CMainFrame::documentOnPath(const QString& path) const {
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (CWinKoltDoc* doc : docs)
        if (!doc->path().isEmpty() && QFileInfo(doc->path()).absoluteFilePath() == wanted) return doc;
    return nullptr;
}

CWinKoltDoc* CMainFrame::openDocument(const QString& path) {
    if (CWinKoltDoc* open = documentOnPath(path)) {
        const QList<CChildFrame*> frames = framesOf(open);
        if (!frames.isEmpty()) activateFrame(frames.first(), -1);
        return open;
    }
    auto* doc = new CWinKoltDoc(this);
    QString error;
    if (!doc->load(QFileInfo(path).absoluteFilePath(), &error)) {
        delete doc;
        userPrompts->showError(this, error);
        return nullptr;
    }
    docs.append(doc);
    connect(doc, &CWinKoltDoc::stateChanged, this, &CMainFrame::updateActions);
    connect(doc, &CWinKoltDoc::stateChanged, this, &CMainFrame::updateTitle);
    addToRecentFiles(doc->path());
    openOrActivateView(doc, ViewKind::Model, -1);
    return doc;
}

bool CMainFrame::saveDocument(CWinKoltDoc* doc) {
    if (!doc->path().isEmpty()) return saveDocumentAs(doc, doc->path());
    const QString path = userPrompts->askSavePath(this, doc->title() + QStringLiteral(".klt"));
    if (path.isEmpty()) return false;
    return saveDocumentAs(doc, path);
}

bool CMainFrame::saveDocumentAs(CWinKoltDoc* doc, const QString& path) {
    QString error;
    if (!doc->save(QFileInfo(path).absoluteFilePath(), &error)) {
        userPrompts->showError(this, QStringLiteral("Failed to save document.\n%1").arg(error));
        return false;
    }
    addToRecentFiles(doc->path());
    for (CChildFrame* frame : framesOf(doc)) frame->updateTitle();
    updateTitle();
    return true;
}

bool CMainFrame::saveModified(CWinKoltDoc* doc) {
    if (!doc->isModified()) return true;
    switch (userPrompts->askSaveChanges(this, doc->displayName())) {
        case QMessageBox::Yes: return saveDocument(doc);
        case QMessageBox::No: return true;
        default: return false;
    }
}

bool CMainFrame::closeDocument(CWinKoltDoc* doc) {
    if (!saveModified(doc)) return false;
    for (CChildFrame* frame : framesOf(doc)) frame->closeWithoutPrompt();
    return true;
}

QList<CWinKoltDoc*> CMainFrame::documents() const { return docs; }

bool CMainFrame::closeAllDocuments() {
    for (CWinKoltDoc* doc : docs)
        if (!saveModified(doc)) return false;
    for (CWinKoltDoc* doc : QList<CWinKoltDoc*>(docs))
        for (CChildFrame* frame : framesOf(doc)) frame->closeWithoutPrompt();
    return true;
}

bool CMainFrame::printFile(const QString& path, QPrinter* printer) {
    auto* doc = new CWinKoltDoc(this);
    QString error;
    if (!doc->load(QFileInfo(path).absoluteFilePath(), &error)) {
        delete doc;
        userPrompts->showError(this, error);
        return false;
    }
    // A view that is never shown: it prints the text like any model window.
    CWinKoltView view(doc);
    const bool printed = view.printTo(printer);
    delete doc;
    if (!printed) {
        const bool noPrinter =
            printer->outputFormat() == QPrinter::NativeFormat && QPrinterInfo::availablePrinterNames().isEmpty();
        userPrompts->showError(
            this, noPrinter ? QStringLiteral("Nie można wydrukować pliku %1: brak zainstalowanej drukarki.").arg(path)
                            : QStringLiteral("Nie można rozpocząć drukowania pliku %1.").arg(path));
    }
    return printed;
}

// --- windows -------------------------------------------------------------

CChildFrame* CMainFrame::activeFrame() const { return qobject_cast<CChildFrame*>(area->currentSubWindow()); }

CWinKoltDoc* CMainFrame::activeDocument() const {
    CChildFrame* frame = activeFrame();
    return frame ? frame->document() : nullptr;
}

QList<CChildFrame*> CMainFrame::framesOf(const CWinKoltDoc* doc) const {
    // In the order of the document's views.
    QList<CChildFrame*> frames;
    if (!doc) return frames;
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    for (QWidget* view : doc->views())
        for (QMdiSubWindow* window : windows)
            if (auto* frame = qobject_cast<CChildFrame*>(window); frame && frame->view() == view) frames.append(frame);
    return frames;
}

CChildFrame* CMainFrame::frameOf(const CWinKoltDoc* doc, ViewKind kind) const {
    for (CChildFrame* frame : framesOf(doc))
        if (frame->viewKind() == kind) return frame;
    return nullptr;
}

CChildFrame* CMainFrame::openOrActivateView(ViewKind kind, int showCommand) {
    CWinKoltDoc* doc = activeDocument();
    return doc ? openOrActivateView(doc, kind, showCommand) : nullptr;
}

CChildFrame* CMainFrame::openOrActivateView(CWinKoltDoc* doc, ViewKind kind, int showCommand) {
    if (CChildFrame* frame = frameOf(doc, kind)) {
        activateFrame(frame, showCommand);
        return frame;
    }
    CChildFrame* frame = createFrame(doc, kind);
    if (!frame) return nullptr;
    // A new window's normal place, also where it goes when restored from
    // maximised: cascaded after the windows already shown.
    int shown = 0;
    for (QMdiSubWindow* window : area->subWindowList())
        if (window != frame && window->isVisible() && !window->isMinimized()) ++shown;
    frame->setGeometry(cascadedWindowRect(documentWindowSpace(), shown, cascadeStep()));
    // A new window's first activation uses the show command of document windows.
    activateFrame(frame, -1);
    return frame;
}

void CMainFrame::closeViewWindow(ViewKind kind) {
    if (CWinKoltDoc* doc = activeDocument()) closeViewWindow(doc, kind);
}

void CMainFrame::closeViewWindow(CWinKoltDoc* doc, ViewKind kind) {
    if (CChildFrame* frame = frameOf(doc, kind)) frame->closeWithoutPrompt();
}

void CMainFrame::activateFrame(CChildFrame* frame, int showCommand) {
    if (showCommand == -1) showCommand = childShow;
    if (showCommand == ShowCommand::Hide) {
        frame->hide();
        return;
    }
    const Qt::WindowStates states = windowStatesOfShowCommand(showCommand);
    if (states & Qt::WindowMaximized)
        frame->showMaximized();
    else if (states & Qt::WindowMinimized)
        frame->showMinimized();
    else
        frame->showNormal();
    area->setActiveSubWindow(frame);
    if (frame->view()) frame->view()->setFocus();
}

CChildFrame* CMainFrame::createFrame(CWinKoltDoc* doc, ViewKind kind) {
    QWidget* view = nullptr;
    if (kind == ViewKind::Model) {
        auto* editor = new CWinKoltView(doc);
        connect(editor, &QPlainTextEdit::copyAvailable, this, &CMainFrame::updateActions);
        connect(editor, &QPlainTextEdit::undoAvailable, this, &CMainFrame::updateActions);
        view = editor;
    } else if (kind == ViewKind::Report) {
        auto* report = new CCompileView;
        report->setFont(CWinKoltView::editorFont());
        connect(report, &QPlainTextEdit::copyAvailable, this, &CMainFrame::updateActions);
        // Reload after a run; a notification with a hint is not for this view.
        connect(doc, &CWinKoltDoc::viewsNotified, report, [doc, report](QObject* sender, QObject* hint) {
            if (hint || sender == report || doc->path().isEmpty()) return;
            report->loadDiagnostics(diagnosticsPath(doc->path()));
        });
        connect(report, &CCompileView::diagnosticChosen, this,
                [this, doc, report](bool hasPosition, int line, int column) {
                    if (hasPosition) doc->setErrorPosition(line, column);
                    openOrActivateView(doc, ViewKind::Model, -1);
                    doc->notifyViews(report, nullptr);
                });
        if (!doc->path().isEmpty()) report->loadDiagnostics(diagnosticsPath(doc->path()));
        view = report;
    } else {
        auto* results = new CSplitterFrame(doc);
        connectFrame(results);
        connect(results, &CSplitterFrame::statusMessage, statusBar(), &QStatusBar::showMessage);
        connect(results, &CSplitterFrame::errorOccurred, this,
                [this, results](const QString& text) { userPrompts->showError(results, text); });
        connect(results, &CSplitterFrame::printRequested, actions[Command::FilePrint], &QAction::trigger);
        results->showResults();
        connect(results, &CSplitterFrame::tableChanged, this, &CMainFrame::updateActions);
        doc->addView(results->view());
        area->addSubWindow(results);
        for (CChildFrame* f : framesOf(doc)) f->updateTitle();
        return results;
    }
    doc->addView(view);
    auto* frame = new CChildFrame(doc, kind, view);
    connectFrame(frame);
    area->addSubWindow(frame);
    for (CChildFrame* f : framesOf(doc)) f->updateTitle();
    return frame;
}

void CMainFrame::connectFrame(CChildFrame* frame) {
    connect(frame, &CChildFrame::closeRequested, this, [this, frame](QCloseEvent* event) {
        // The document's last window takes the document with it.
        CWinKoltDoc* doc = frame->document();
        if (framesOf(doc) == QList<CChildFrame*>{frame} && !saveModified(doc)) event->ignore();
    });
    connect(frame, &CChildFrame::closed, this, &CMainFrame::frameClosed);
    connect(frame, &CChildFrame::sizeStateChanged, this, [this] {
        // Read once the area has settled: activating another window while
        // one is maximised restores and maximises windows in passing.
        QTimer::singleShot(0, this, &CMainFrame::recordChildShowCommand);
    });
}

QSize CMainFrame::documentWindowSpace() const {
    // Before the main window has its size the area is a stub; the screen
    // gives the size it will have.
    const QSize space = area->viewport()->size();
    if (space.width() >= 320 && space.height() >= 240) return space;
    const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    return shownOn ? shownOn->availableGeometry().size() * 2 / 3 : QSize(640, 480);
}

int CMainFrame::cascadeStep() const {
    QStyleOptionTitleBar options;
    options.initFrom(area);
    return area->style()->pixelMetric(QStyle::PM_TitleBarHeight, &options, area) + 4;
}

void CMainFrame::cascadeWindows() {
    // Every shown window at two thirds of the area, one title bar below and
    // right of the one before; the active window last, on top.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder))
        if (window->isVisible() && !window->isMinimized() && window != area->activeSubWindow()) windows.append(window);
    if (QMdiSubWindow* active = area->activeSubWindow(); active && active->isVisible() && !active->isMinimized())
        windows.append(active);
    const QSize space = documentWindowSpace();
    for (int i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(cascadedWindowRect(space, i, cascadeStep()));
        windows[i]->raise();
    }
}

void CMainFrame::frameClosed(CChildFrame* frame) {
    CWinKoltDoc* doc = frame->document();
    doc->removeView(frame->view());
    if (doc->views().isEmpty()) {
        docs.removeOne(doc);
        // The view goes with its frame; the document (and its text) after it.
        connect(frame, &QObject::destroyed, doc, &QObject::deleteLater);
    } else {
        for (CChildFrame* f : framesOf(doc)) f->updateTitle();
    }
    QTimer::singleShot(0, this, [this] {
        onSubWindowActivated();
        updateActions();
    });
}

void CMainFrame::recordChildShowCommand() {
    CChildFrame* frame = activeFrame();
    if (!frame || !frame->isVisible()) return;
    if (frame->isMinimized()) return;  // minimising records nothing
    childShow = frame->isMaximized() ? ShowCommand::Maximized : ShowCommand::Normal;
}

void CMainFrame::onSubWindowActivated() {
    CChildFrame* frame = activeFrame();
    if (!frame)
        showMenu(MenuId::NoDocument);
    else if (frame->viewKind() == ViewKind::Model)
        showMenu(MenuId::Model);
    else if (frame->viewKind() == ViewKind::Results)
        showMenu(MenuId::Results);
    // A report window keeps the menu that was showing.
    caretLabel->follow(frame && frame->viewKind() == ViewKind::Model ? qobject_cast<CWinKoltView*>(frame->view())
                                                                     : nullptr);
    updateTitle();
    updateActions();
}

void CMainFrame::updateTitle() {
    CChildFrame* frame = activeFrame();
    if (frame) frame->updateTitle();  // the document may have changed before the frame heard of it
    const QString title = QString::fromLatin1(mainTitle);
    // The active window's title, its "[*]" included: the main window shows
    // the marker too.
    shownMainTitle = frame ? title + QStringLiteral(" - ") + frame->windowTitle() : title;
    setWindowTitle(shownMainTitle);
    setWindowModified(frame && frame->isWindowModified());
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximised document window adds its own title to the main window's
    // ("- [siec.klt]"), which already names the active window.
    if (event->type() == QEvent::WindowTitleChange && !shownMainTitle.isEmpty() && windowTitle() != shownMainTitle)
        setWindowTitle(shownMainTitle);
}

// --- recent files, placement, closing --------------------------------------

void CMainFrame::addToRecentFiles(const QString& path) {
    saveChildShowCommandIfChanged();
    recentFileList = recentFilesWith(recentFileList, path);
    AppSettings::writeRecentFiles(recentFileList);
    updateRecentFileActions();
}

void CMainFrame::saveWindowPlacement() {
    WindowPlacement p;
    p.flags = isMaximized() ? restoreToMaximizedFlag : 0;
    p.showState = showCommandOfWindowStates(windowState());
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    AppSettings::writeWindowPos(formatWindowPlacement(p));
}

void CMainFrame::restoreWindowPlacement(int startShowCommand) {
    const std::optional<WindowPlacement> stored = parseWindowPlacement(AppSettings::readWindowPos());
    if (!stored) {
        setWindowState(windowStatesOfShowCommand(startShowCommand));
        show();
        return;
    }
    const WindowPlacement p = placementForStart(*stored, startShowCommand);
    // A stored rectangle that is empty or lies on no screen (edited settings,
    // a monitor since removed) would leave the window out of reach: the
    // window system's default place is kept instead.
    const QRect normal(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableVirtualGeometry().intersects(normal);
    if (normal.isValid() && onScreen && isUsableMainWindowSize(normal.size())) setGeometry(normal);
    // Every window is shown: a stored "hidden" state would make the program
    // invisible.
    setWindowState(windowStatesOfShowCommand(static_cast<int>(p.showState)));
    show();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The placement is kept even when the user then cancels at a save prompt.
    saveWindowPlacement();
    if (!closeAllDocuments()) {
        event->ignore();
        return;
    }
    saveChildShowCommandIfChanged();
    if (helpWindow) helpWindow->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) openDocument(url.toLocalFile());
    event->acceptProposedAction();
}
