// Which commands are enabled and checked through a document's life, and the
// menus shown for each kind of active window.
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/command_table.h"
#include "workbench/help_window.h"
#include "workbench/mini_wizard_dialog.h"
#include "workbench/polish_translations.h"
#include "workbench/winkolt_doc.h"

using namespace Command;

class TestCommandRules : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useTemporarySettings(dir_); }
    void withoutDocumentOnlyTheMainCommandsWork();
    void newDocumentMustBeSavedAndAMethodChosen();
    void analysesAreOfferedOncePerChange();
    void fileAnalysedBeforeOpensWithReportAndResults();
    void methodMenuAndListFollowEachOther();
    void windowCommandsAreCheckedByTheActiveView();
    void calculationToolbarToggles();
    void everyCommandHasItsTextsAndKeys();
    void commandTexts_data();
    void commandTexts();
    void menusOfEachWindowKind();
    void tileStacksTheWindows();
    void helpOpensThePageShippedWithTheProgram();
    void keysWorkWithADocumentOpen();
    void toolkitTextsArePolish();  // last: the translation stays loaded

  private:
    QString savedModel(const QString& name, const QByteArray& cfg = {});
    QTemporaryDir dir_;
};

QString TestCommandRules::savedModel(const QString& name, const QByteArray& cfg) {
    const QString path = writeTestFile(dir_.filePath(name + QStringLiteral(".klt")), "SOUR a\r\n*END*");
    if (!cfg.isEmpty()) writeTestFile(dir_.filePath(name + QStringLiteral(".cfg")), cfg);
    return path;
}

void TestCommandRules::withoutDocumentOnlyTheMainCommandsWork() {
    Workbench wb;
    QCOMPARE(wb.frame->currentMenu(), MenuId::NoDocument);
    QStringList titles;
    for (QAction* menu : wb.frame->menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, (QStringList{"&Plik", "&Widok", "&Pomoc"}));
    for (int id : {SyntaxAnalysis, NetworkAnalysis, WindowReport, WindowResults, WindowModel})
        QVERIFY2(!wb.enabled(id), qPrintable(QString::number(id)));
    for (int id : {FileNew, MiniWizard, FileOpen, ViewCalcBar, MethodFirst, MethodLast}) QVERIFY(wb.enabled(id));
    QCOMPARE(wb.frame->methodCombo()->currentIndex(), -1);  // no method chosen at start
    QCOMPARE(wb.frame->action(FilePrintSetup)->text(), QStringLiteral("&Ustawienia strony..."));
}

void TestCommandRules::newDocumentMustBeSavedAndAMethodChosen() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->fileNew();
    QCOMPARE(wb.frame->currentMenu(), MenuId::Model);
    QCOMPARE(wb.frame->action(FilePrintSetup)->text(), QStringLiteral("Ustawienia strony..."));
    QVERIFY(!wb.enabled(SyntaxAnalysis));
    QVERIFY(!wb.enabled(NetworkAnalysis));
    QVERIFY(wb.enabled(WindowModel) && wb.checked(WindowModel));
    QVERIFY(!wb.enabled(WindowReport) && !wb.enabled(WindowResults));

    // A method alone does not make an unsaved document analysable.
    wb.frame->methodCombo()->setCurrentIndex(0);
    QVERIFY(!wb.enabled(NetworkAnalysis));
    wb.frame->methodCombo()->setCurrentIndex(-1);

    QVERIFY(wb.frame->saveDocumentAs(doc, dir_.filePath(QStringLiteral("nowy.klt"))));
    QVERIFY(wb.enabled(SyntaxAnalysis));
    QVERIFY(!wb.enabled(NetworkAnalysis));  // no method chosen yet
    wb.frame->methodCombo()->setCurrentIndex(2);
    QVERIFY(wb.enabled(NetworkAnalysis));
}

void TestCommandRules::analysesAreOfferedOncePerChange() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(savedModel(QStringLiteral("raz")));
    QVERIFY(doc);
    wb.frame->methodCombo()->setCurrentIndex(2);  // HMVA

    doc->setRunOutcome(1, -1);  // a successful syntax analysis
    QVERIFY(!wb.enabled(SyntaxAnalysis));
    QVERIFY(wb.enabled(WindowReport));
    QVERIFY(!wb.enabled(WindowResults));

    doc->setRunOutcome(2, 2);  // a network analysis with HMVA
    QVERIFY(!wb.enabled(NetworkAnalysis));
    QVERIFY(wb.enabled(WindowResults));
    wb.frame->methodCombo()->setCurrentIndex(0);  // MVA is offered again
    QVERIFY(wb.enabled(NetworkAnalysis));

    // One typed character disables both until the document is saved.
    auto* editor = qobject_cast<QPlainTextEdit*>(wb.frame->activeFrame()->view());
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_X);
    QCOMPARE(doc->runState(), 0);
    QVERIFY(!wb.enabled(SyntaxAnalysis));
    QVERIFY(!wb.enabled(NetworkAnalysis));
    QVERIFY(!wb.enabled(WindowReport));
    QVERIFY(wb.frame->saveDocument(doc));
    QVERIFY(wb.enabled(SyntaxAnalysis));
    QVERIFY(wb.enabled(NetworkAnalysis));

    // After a failed run syntax analysis is offered again; the report is not.
    doc->setRunOutcome(0, -1);
    QVERIFY(wb.enabled(SyntaxAnalysis));
    QVERIFY(!wb.enabled(WindowReport));
}

void TestCommandRules::fileAnalysedBeforeOpensWithReportAndResults() {
    Workbench wb;
    QVERIFY(wb.frame->openDocument(savedModel(QStringLiteral("dwa"), "[Kompilacja]\r\nstan=2\r\n")));
    QVERIFY(wb.enabled(WindowReport));
    QVERIFY(wb.enabled(WindowResults));
    QVERIFY(!wb.enabled(SyntaxAnalysis));
    for (int method = 0; method < 6; ++method) {
        wb.frame->methodCombo()->setCurrentIndex(method);
        QVERIFY(wb.enabled(NetworkAnalysis));
    }
}

void TestCommandRules::methodMenuAndListFollowEachOther() {
    Workbench wb;
    wb.frame->fileNew();
    wb.frame->action(MethodFirst + 3)->trigger();  // "&Jackson"
    QCOMPARE(wb.frame->methodCombo()->currentText(), QStringLiteral("Jackson"));
    for (int id = MethodFirst; id <= MethodLast; ++id) QCOMPARE(wb.checked(id), id == MethodFirst + 3);

    wb.frame->methodCombo()->setCurrentIndex(5);
    for (int id = MethodFirst; id <= MethodLast; ++id) QCOMPARE(wb.checked(id), id == MethodLast);
}

void TestCommandRules::windowCommandsAreCheckedByTheActiveView() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(savedModel(QStringLiteral("okna"), "[Kompilacja]\r\nstan=1\r\n"));
    QVERIFY(doc);
    QVERIFY(wb.checked(WindowModel) && !wb.checked(WindowReport));

    wb.frame->action(WindowReport)->trigger();
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    QVERIFY(wb.checked(WindowReport) && !wb.checked(WindowModel));
    QCOMPARE(wb.frame->currentMenu(), MenuId::Model);  // a report window keeps the menu
    QVERIFY(!wb.enabled(FilePrint));

    wb.frame->action(WindowModel)->trigger();
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Model);
    QVERIFY(wb.checked(WindowModel) && !wb.checked(WindowReport));
    QCOMPARE(wb.frame->framesOf(doc).size(), 2);  // activated, not made again

    // The results window: its command is checked and menu 131 shows.
    wb.frame->openOrActivateView(doc, ViewKind::Results, -1);
    QCOMPARE(wb.frame->framesOf(doc).size(), 3);
    QVERIFY(wb.checked(WindowResults) && !wb.checked(WindowModel));
    QCOMPARE(wb.frame->currentMenu(), MenuId::Results);
}

void TestCommandRules::calculationToolbarToggles() {
    Workbench wb;
    QVERIFY(wb.checked(ViewCalcBar));
    wb.frame->action(ViewCalcBar)->trigger();
    QVERIFY(!wb.frame->calcBar()->isVisible());
    QVERIFY(!wb.checked(ViewCalcBar));
    wb.frame->action(ViewCalcBar)->trigger();
    QVERIFY(wb.frame->calcBar()->isVisible());
    QVERIFY(wb.checked(ViewCalcBar));

    // The bar: the method list, then syntax and network analysis, then the windows.
    const QList<QAction*> buttons = wb.frame->calcBar()->actions();
    QList<int> ids;
    for (QAction* a : buttons)
        if (a->data().isValid()) ids << a->data().toInt();
    QCOMPARE(ids, (QList<int>{SyntaxAnalysis, NetworkAnalysis, WindowModel, WindowReport, WindowResults}));
    QCOMPARE(wb.frame->methodCombo()->toolTip(), QStringLiteral("Metoda"));
    QCOMPARE(wb.frame->methodCombo()->statusTip(), QStringLiteral("Wybiera metodę obliczeniową"));
    QStringList entries;
    for (int i = 0; i < wb.frame->methodCombo()->count(); ++i) entries << wb.frame->methodCombo()->itemText(i);
    QCOMPARE(entries, (QStringList{"MVA", "MVAP", "HMVA", "Jackson", "Diff", "Symulacja"}));
    QVERIFY(!wb.frame->methodCombo()->isEditable());
    QCOMPARE(wb.frame->methodCombo()->width(), 100);
    const QFont font = wb.frame->methodCombo()->font();
    QCOMPARE(font.weight(), QFont::Bold);
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY(!QFontInfo(font).fixedPitch());

    // The standard bar: New, Open, Save | Cut, Copy, Paste | Print, About, Context help.
    QList<int> standard;
    for (QAction* a : wb.frame->standardBar()->actions()) standard << (a->isSeparator() ? 0 : a->data().toInt());
    QCOMPARE(standard, (QList<int>{FileNew, FileOpen, FileSave, 0, EditCut, EditCopy, EditPaste, 0, FilePrint, AppAbout,
                                   ContextHelp}));
}

void TestCommandRules::everyCommandHasItsTextsAndKeys() {
    Workbench wb;
    QAction* network = wb.frame->action(NetworkAnalysis);
    QCOMPARE(network->text(), QStringLiteral("&Analiza sieci\tF7"));
    QCOMPARE(network->shortcut(), QKeySequence(Qt::Key_F7));
    QCOMPARE(network->statusTip(), QStringLiteral("Analizuje składnię pliku z definicją sieci i dokonuje obliczeń"));
    QCOMPARE(network->toolTip(), QStringLiteral("Analiza sieci"));
    QCOMPARE(wb.frame->action(SyntaxAnalysis)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
    QCOMPARE(wb.frame->action(EditUndo)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    QCOMPARE(wb.frame->action(FileOpen)->text(), QStringLiteral("&Otwórz...\tCtrl+O"));
    // Each number is one action.
    QSet<int> seen;
    for (const CommandText& c : commandTable()) {
        QVERIFY2(!seen.contains(c.id), qPrintable(QString::number(c.id)));
        seen.insert(c.id);
        QVERIFY(wb.frame->action(c.id));
    }

    // The status bar shows a command's prompt while the pointer is over it.
    QStatusTipEvent tip(network->statusTip());
    QCoreApplication::sendEvent(wb.frame.get(), &tip);
    QCOMPARE(wb.frame->statusBar()->currentMessage(), network->statusTip());
}

void TestCommandRules::helpOpensThePageShippedWithTheProgram() {
    Workbench wb;
    QVERIFY(!CMainFrame::helpPagePath().isEmpty());
    wb.frame->action(HelpContents)->trigger();
    QTextBrowser* help = wb.frame->helpBrowser();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(help->toPlainText().contains(QStringLiteral("Analiza sieci")));
    wb.frame->action(Help)->trigger();  // F1: the same page, the same window
    QCOMPARE(QApplication::topLevelWidgets().count(help), 1);
    // Whole on the screen, and Esc closes it.
    QVERIFY(help->screen()->availableGeometry().contains(help->geometry()));
    QVERIFY(help->height() >= 300);
    QVERIFY(windowGeometryWithin(QRect(0, 0, 800, 600), QRect(500, 400, 600, 400), QSize(700, 900))
                .translated(0, -30)
                .intersects(QRect(0, 0, 800, 600)));
    QVERIFY(QRect(0, 0, 800, 600)
                .contains(windowGeometryWithin(QRect(0, 0, 800, 600), QRect(500, 400, 600, 400), QSize(700, 900))));
    QTest::keyClick(help, Qt::Key_Escape);
    QTRY_VERIFY(!wb.frame->helpBrowser());
}

// Ctrl+W opens the MiniWizard with a document window open, without a clash
// with the document window's own keys; Ctrl+F4 closes that window.
void TestCommandRules::keysWorkWithADocumentOpen() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Ambiguous shortcut")));
    Workbench wb;
    wb.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wb.frame.get()));
    wb.frame->fileNew();
    QWidget* editor = wb.frame->activeFrame()->view();
    bool wizardShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog == wb.frame->miniWizard()) {
            wizardShown = true;
            wb.frame->miniWizard()->reject();
        }
    });
    QTest::keyClick(editor, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(wizardShown);
    QCOMPARE(wb.frame->mdiArea()->subWindowList().size(), 1);
    wb.frame->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), wb.frame.get());
    QTest::keyClick(wb.frame->activeFrame()->view(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(wb.frame->mdiArea()->subWindowList().isEmpty());
}

// The toolkit's own texts (message-box buttons, dialogs, the document
// window's menu) in Polish whatever the locale, and the window menu's
// prompts and keys still found.
void TestCommandRules::toolkitTextsArePolish() {
    QVERIFY(installPolishTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("WinKolt"), QStringLiteral("Save changes to a.klt?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Tak"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nie"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Anuluj"));

    Workbench wb;
    wb.frame->fileNew();
    QAction* close = nullptr;
    for (QAction* entry : wb.frame->activeFrame()->systemMenu()->actions())
        if (entry->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F4)) close = entry;
    QVERIFY(close);
    QCOMPARE(close->text().remove(QLatin1Char('&')), QStringLiteral("Zamknij"));
    QCOMPARE(close->statusTip(), QStringLiteral("Zamyka aktywne okno; przypomina o zapisaniu dokumentów"));
}

// Every command's menu text, keys and prompt (status text "\n" tooltip).
void TestCommandRules::commandTexts_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("prompt");
    auto row = [](int id, const char* text, const char* keys, const char* prompt) {
        QTest::addRow("%d", id) << id << QString::fromUtf8(text) << QString::fromUtf8(keys)
                                << QString::fromUtf8(prompt);
    };
    row(FileNew, "&Nowy\tCtrl+N", "Ctrl+N", "Tworzy nowy dokument\nNowy");
    row(MiniWizard, "Mini &Wizzard...\tCtrl+W", "Ctrl+W",
        "Otwiera nowy dokument WinKolta przy pomocy Mini Wizzarda\nMini Wizzard");
    row(FileOpen, "&Otwórz...\tCtrl+O", "Ctrl+O", "Otwiera istniejący dokument\nOtwórz");
    row(FileClose, "&Zamknij", "", "Zamyka aktywny dokument\nZamknij");
    row(FileSave, "Zapi&sz", "Ctrl+S", "Zapisuje aktywny dokument\nZapisz");
    row(FileSaveAs, "&Zapisz jako...", "", "Zapisuje aktywny dokument z nową nazwą\nZapisz jako");
    row(FilePrint, "&Drukuj...\tCtrl+P", "Ctrl+P", "Drukuje aktywny dokument\nDrukuj");
    row(FilePrintPreview, "&Podgląd wydruku", "", "Wyświetla pełne strony\nPodgląd wydruku");
    row(FilePrintSetup, "Ustawienia strony...", "", "Zmienia ustawienia układu strony\nUstawienia strony");
    row(AppExit, "Za&kończ", "", "Kończy działanie aplikacji; przypomina o zapisaniu dokumentów\nZakończ");
    row(EditUndo, "&Cofnij\tCtrl+Z", "Ctrl+Z, Alt+Backspace", "Cofa ostatnią akcję\nCofnij");
    row(EditCut, "&Wytnij\tCtrl+X", "Ctrl+X, Shift+Del", "Wycina zaznaczony fragment i umieszcza go w Schowku\nWytnij");
    row(EditCopy, "&Kopiuj\tCtrl+C", "Ctrl+C, Ctrl+Ins",
        "Kopiuje zaznaczony fragment i umieszcza go w Schowku\nKopiuj");
    row(EditPaste, "Wkl&ej\tCtrl+V", "Ctrl+V, Shift+Ins", "Wstawia zawartość Schowka\nWklej");
    row(EditClear, "Wyc&zyść\tDel", "", "Kasuje zaznaczenie\nWyczyść");
    row(EditSelectAll, "Zaznacz wszys&tko\tCtrl+A", "Ctrl+A", "Zaznacza cały dokument\nZaznacz wszystko");
    row(EditFind, "Znaj&dź\tCtrl+F", "Ctrl+F", "Znajduje podany tekst\nZnajdź");
    row(EditRepeat, "Znajdź &następny\tF3", "F3", "Powtarza ostatnie wyszukanie\nZnajdź następny");
    row(EditReplace, "Za&mień\tCtrl+H", "Ctrl+H", "Zamienia określony tekst innym tekstem\nZamień");
    row(ViewToolbar, "&Pasek narzędzi", "", "Pokazuje lub ukrywa pasek narzędzi\nPasek narzędzi");
    row(ViewStatusBar, "Pa&sek stanu", "", "Pokazuje lub ukrywa pasek stanu\nPasek stanu");
    row(ViewCalcBar, "Pasek &obliczeń", "", "Pokazuje lub ukrywa pasek obliczeń\nPasek obliczeń");
    row(WindowModel, "&Model", "", "Otwiera okno z z plikiem definicji sieci\nModel sieciowy");
    row(WindowReport, "&Raport", "", "Otwiera okno z wynikami analiz pliku z definicją sieci\nRaport z analizy");
    row(WindowResults, "&Wyniki", "", "Otwiera dokument wyników obliczeń\nWyniki obliczeń");
    row(SyntaxAnalysis, "Analiza &syntaktyczna\tCtrl+F7", "Ctrl+F7",
        "Analizuje składnię pliku z definicją sieci\nAnaliza syntaktyczna");
    row(NetworkAnalysis, "&Analiza sieci\tF7", "F7",
        "Analizuje składnię pliku z definicją sieci i dokonuje obliczeń\nAnaliza sieci");
    row(NextMessage, "&Następny komunikat\tF4", "F4",
        "Przechodzi do następnego błędu lub ostrzeżenia raportu i jego miejsca w modelu\nNastępny komunikat");
    row(PreviousMessage, "&Poprzedni komunikat\tShift+F4", "Shift+F4",
        "Przechodzi do poprzedniego błędu lub ostrzeżenia raportu i jego miejsca w modelu\nPoprzedni komunikat");
    row(MethodFirst, "&MVA", "", "Wybiera metodę obliczeniową MVA\nMVA");
    row(MethodFirst + 1, "MVA&P", "", "Wybiera metodę obliczeniową MVAP\nMVAP");
    row(MethodFirst + 2, "&HMVA", "", "Wybiera metodę obliczeniową HMVA\nHMVA");
    row(MethodFirst + 3, "&Jackson", "", "Wybiera metodę obliczeniową Jackson\nJackson");
    row(MethodFirst + 4, "&Diff", "", "Wybiera metodę obliczeniową Diff\nDiff");
    row(MethodFirst + 5, "&Symulacja", "", "Wybiera metodę obliczeniową Symulacja\nSymulacja");
    row(WindowCascade, "&Kaskada", "", "Rozmieszcza okna w sposób, że wszystkie nachodzą na siebie\nKaskada");
    row(WindowTile, "&Rozmieść wszystko", "",
        "Rozmieszcza wszystkie okna horyzontanie tak, że nie nachodzą  na siebie\nRozmieść wszystko");
    row(HelpContents, "&Spis treści i indeks", "", "Wyświetla spis treści i indeks\nSpis treści i indeks");
    row(ContextHelp, "Co &to jest?\tShift+F1", "Shift+F1",
        "Wyświetla pomoc na temat wybranych opcji z menu lub kliknietych ikon\nCo to jest");
    row(Help, "", "F1", "Wyświetla pomoc na temat aktywnego obiektu\nPomoc");
    row(AppAbout, "WinKolt - i&nformacje", "",
        "Wyświetla informacje o programie, numerze wersji i prawach autorskich\nO programie");
    row(NextPane, "", "F6", "");
    row(PreviousPane, "", "Shift+F6", "");
    row(MethodList, "", "", "Wybiera metodę obliczeniową\nMetoda");
    for (int id = FileRecent1; id <= FileRecent4; ++id) row(id, "Ostatnio używane", "", "Otwiera ten dokument");
}

void TestCommandRules::commandTexts() {
    QFETCH(int, id);
    QFETCH(QString, menuText);
    QFETCH(QString, keys);
    QFETCH(QString, prompt);
    const CommandText* c = findCommandText(id);
    QVERIFY(c);
    QCOMPARE(c->menuText, menuText);
    QStringList keyTexts;
    for (const QKeySequence& key : c->keys) keyTexts << key.toString(QKeySequence::PortableText);
    QCOMPARE(keyTexts.join(QStringLiteral(", ")), keys);
    QCOMPARE(c->prompt, prompt);
}

// The popups of each menu and the commands in them; the texts that differ
// between the menus.
void TestCommandRules::menusOfEachWindowKind() {
    QCOMPARE(menuTextIn(FilePrintSetup, MenuId::NoDocument), QStringLiteral("&Ustawienia strony..."));
    QCOMPARE(menuTextIn(FilePrintSetup, MenuId::Model), QStringLiteral("Ustawienia strony..."));
    QCOMPARE(menuTextIn(FilePrintSetup, MenuId::Results), QStringLiteral("Ustawienia strony..."));
    QCOMPARE(menuTextIn(EditCopy, MenuId::Model), QStringLiteral("&Kopiuj\tCtrl+C"));
    QCOMPARE(menuTextIn(EditCopy, MenuId::Results), QStringLiteral("&Kopiuj tabelę\tCtrl+C"));
    QCOMPARE(menuTextIn(EditSelectAll, MenuId::Results), QStringLiteral("Zaznacz wszys&tko\tCtrl+A"));

    Workbench wb;
    auto commandsOf = [&](const QString& title) {
        QList<int> ids;
        for (QAction* popup : wb.frame->menuBar()->actions())
            if (popup->text() == title)
                for (QAction* a : popup->menu()->actions())
                    if (!a->isSeparator() && a->data().isValid() && a->isVisible()) {
                        // The recent-file entries stand as one place in the menu.
                        const int id = a->data().toInt();
                        const bool recent = id >= FileRecent1 && id <= FileRecent4;
                        if (!recent || !ids.contains(FileRecent1)) ids << (recent ? FileRecent1 : id);
                    }
        return ids;
    };
    QCOMPARE(commandsOf(QStringLiteral("&Plik")),
             (QList<int>{FileNew, MiniWizard, FileOpen, FilePrintSetup, FileRecent1, AppExit}));
    QCOMPARE(commandsOf(QStringLiteral("&Widok")), (QList<int>{ViewToolbar, ViewStatusBar, ViewCalcBar}));
    QCOMPARE(commandsOf(QStringLiteral("&Pomoc")), (QList<int>{HelpContents, AppAbout}));

    // A file name with an '&' shows the character, not a mnemonic.
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("a&b.klt")), "SOUR a\r\n*END*");
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    QCOMPARE(
        wb.frame->action(FileRecent1)->text(),
        QStringLiteral("&1 ") + QFileInfo(path).absoluteFilePath().replace(QStringLiteral("&"), QStringLiteral("&&")));

    QStringList titles;
    for (QAction* menu : wb.frame->menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, (QStringList{"&Plik", "&Edycja", "&Widok", "O&bliczenia", "&Okno", "Pomo&c"}));
    QCOMPARE(wb.frame->action(EditCopy)->text(), QStringLiteral("&Kopiuj\tCtrl+C"));
    QCOMPARE(commandsOf(QStringLiteral("&Edycja")), (QList<int>{EditUndo, EditCut, EditCopy, EditPaste, EditClear,
                                                                EditSelectAll, EditFind, EditRepeat, EditReplace}));
    QCOMPARE(commandsOf(QStringLiteral("O&bliczenia")),
             (QList<int>{SyntaxAnalysis, NetworkAnalysis, NextMessage, PreviousMessage}));
    QMenu* methods = nullptr;
    for (QAction* popup : wb.frame->menuBar()->actions())
        if (popup->text() == QStringLiteral("O&bliczenia"))
            for (QAction* a : popup->menu()->actions())
                if (a->menu()) methods = a->menu();
    QVERIFY(methods);
    QCOMPARE(methods->title(), QStringLiteral("Wybór &metody"));
    QCOMPARE(methods->actions().size(), 6);
    for (int i = 0; i < 6; ++i) QCOMPARE(methods->actions().at(i)->data().toInt(), MethodFirst + i);
    QCOMPARE(commandsOf(QStringLiteral("Pomo&c")), (QList<int>{HelpContents, ContextHelp, AppAbout}));

    // The window list names the document's window, its '&' kept as a character.
    QMenu* windowMenu = nullptr;
    for (QAction* popup : wb.frame->menuBar()->actions())
        if (popup->text() == QStringLiteral("&Okno")) windowMenu = popup->menu();
    QVERIFY(windowMenu);
    emit windowMenu->aboutToShow();
    QStringList windowEntries;
    for (QAction* a : windowMenu->actions())
        if (a->property("windowEntry").toBool() && !a->isSeparator()) windowEntries << a->text();
    QCOMPARE(windowEntries, QStringList{QStringLiteral("&1 a&&b.klt")});
    QCOMPARE(windowMenu->actions().last()->statusTip(), QStringLiteral("Przechodzi do tego okna"));
}

// "Rozmieść wszystko": the windows one above another, each as wide as the
// area, none overlapping another.
void TestCommandRules::tileStacksTheWindows() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(savedModel(QStringLiteral("kafle"), "[Kompilacja]\r\nstan=1\r\n"));
    QVERIFY(doc);
    wb.frame->action(WindowReport)->trigger();
    wb.frame->fileNew();
    QVERIFY(wb.frame->activeFrame()->isMaximized());
    wb.frame->action(WindowTile)->trigger();

    const QRect space = wb.frame->mdiArea()->viewport()->rect();
    QList<QRect> placed;
    for (QMdiSubWindow* window : wb.frame->mdiArea()->subWindowList()) {
        QVERIFY(!window->isMaximized());
        QCOMPARE(window->geometry().left(), space.left());
        QCOMPARE(window->geometry().width(), space.width());
        placed << window->geometry();
    }
    QCOMPARE(placed.size(), 3);
    std::sort(placed.begin(), placed.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    QCOMPARE(placed.first().top(), space.top());
    QCOMPARE(placed.last().bottom(), space.bottom());
    for (int i = 1; i < placed.size(); ++i) QCOMPARE(placed[i].top(), placed[i - 1].bottom() + 1);
}

QTEST_MAIN(TestCommandRules)
#include "tst_command_rules.moc"
