// Which commands are enabled and checked through a document's life, and the
// menus shown for each kind of active window.
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/command_table.h"
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
    void helpOpensThePageShippedWithTheProgram();

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
    QCOMPARE(doc->runState, 0);
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
    for (int method = 0; method < 5; ++method) {
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

    wb.frame->methodCombo()->setCurrentIndex(4);
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

    // The results window is not built yet: the command says so and nothing breaks.
    wb.frame->openOrActivateView(doc, ViewKind::Results, -1);
    QCOMPARE(wb.frame->framesOf(doc).size(), 2);
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
    QVERIFY(wb.frame->helpBrowser());
    QVERIFY(wb.frame->helpBrowser()->isVisible());
    QVERIFY(wb.frame->helpBrowser()->toPlainText().contains(QStringLiteral("Analiza sieci")));
    wb.frame->action(Help)->trigger();  // F1: the same page, the same window
    QCOMPARE(QApplication::topLevelWidgets().count(wb.frame->helpBrowser()), 1);
    wb.frame->helpBrowser()->close();
}

QTEST_MAIN(TestCommandRules)
#include "tst_command_rules.moc"
