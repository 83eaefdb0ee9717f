// The workbench running the real solver built beside it, on a correct and on
// a wrong network file.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBlock>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/compile_view.h"
#include "workbench/winkolt_doc.h"

using namespace Command;

class TestSolverRun : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void correctFileSyntaxThenNetworkAnalysis();
    void wrongFileReportsItsErrors();
    void diagnosticLeadsToItsPlaceInTabbedText();
    void longRunKeepsTheWindowsAliveAndCanBeCancelled();
    void polishPathArrivesIntact();
    void documentNamedLikeItsRunFileIsNotRun();

  private:
    QString reportText(Workbench& wb, CWinKoltDoc* doc);
    QTemporaryDir dir_;
};

void TestSolverRun::initTestCase() {
    useTemporarySettings(dir_);
    QVERIFY(QFileInfo(QStringLiteral(KOLT_SOLVER_PATH)).isExecutable());
}

QString TestSolverRun::reportText(Workbench& wb, CWinKoltDoc* doc) {
    CChildFrame* frame = wb.frame->frameOf(doc, ViewKind::Report);
    return frame ? qobject_cast<CCompileView*>(frame->view())->toPlainText() : QString();
}

void TestSolverRun::correctFileSyntaxThenNetworkAnalysis() {
    const QString path = dir_.filePath(QStringLiteral("terminale.klt"));
    QVERIFY(QFile::copy(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"), path));
    Workbench wb;
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);

    wb.frame->action(SyntaxAnalysis)->trigger();
    QCOMPARE(doc->runState(), 1);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("terminale.cfg"))), QByteArray("[Kompilacja]\r\nstan=1\r\n"));
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    QString report = reportText(wb, doc);
    QVERIFY2(report.contains(QStringLiteral("Analizowany plik: ") + path), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Analiza syntaktyczna...\nOK")));
    QVERIFY(!report.contains(QStringLiteral("BŁĄD")));
    QVERIFY(!wb.enabled(SyntaxAnalysis));
    QVERIFY(wb.enabled(WindowReport));
    QVERIFY(!wb.enabled(WindowResults));

    wb.frame->methodCombo()->setCurrentIndex(0);
    wb.frame->action(NetworkAnalysis)->trigger();
    QCOMPARE(doc->runState(), 2);
    QCOMPARE(doc->lastMethodIndex(), 0);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("terminale.cfg"))), QByteArray("[Kompilacja]\r\nstan=2\r\n"));
    report = reportText(wb, doc);
    QVERIFY2(report.contains(QStringLiteral("Wybrana metoda obliczeniowa: MVA")), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Analiza sieci...\nOK")));
    QVERIFY(readTestFile(dir_.filePath(QStringLiteral("terminale.wnk"))).contains("\"Terminale\""));
    QCOMPARE(wb.frame->framesOf(doc).size(), 2);  // one model and one report window
    QVERIFY(!wb.enabled(NetworkAnalysis));
    QVERIFY(wb.enabled(WindowResults));
}

void TestSolverRun::wrongFileReportsItsErrors() {
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("zla.klt")),
                                       "SOUR zla\r\n*DECLARATION*\r\n\t/CLASS/ NAME=A[2]\r\n\t/FOO/\r\n*END*\r\n");
    writeTestFile(dir_.filePath(QStringLiteral("zla.cfg")), "[Kompilacja]\r\nstan=1\r\n");
    Workbench wb;
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QCOMPARE(doc->runState(), 1);
    wb.frame->methodCombo()->setCurrentIndex(0);
    wb.frame->action(NetworkAnalysis)->trigger();

    QCOMPARE(doc->runState(), 0);
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("zla.cfg"))), QByteArray("[Kompilacja]\r\nstan=0\r\n"));
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    const QString report = reportText(wb, doc);
    const QStringList lines = report.split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(QStringLiteral("OSTRZEŻENIE:  (4,6) Nieznany identyfikator obiektu")), qPrintable(report));
    QVERIFY(lines.contains(
        QStringLiteral("BŁĄD:         (6,0) Nieznany identyfikator bloku. Dalsza analiza zostaje wstrzymana")));
    QVERIFY(!wb.enabled(WindowReport));  // although the report window stays open
    QVERIFY(wb.frame->frameOf(doc, ViewKind::Report)->isVisible());
}

// The solver counts a tab as one column, and so does the jump: double clicking
// its message lands before the very character it names.
void TestSolverRun::diagnosticLeadsToItsPlaceInTabbedText() {
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("taby.klt")),
                                       "SOUR taby\r\n*DECLARATION*\r\n\t/CLASS/ NAME=A[2]\r\n"
                                       "\t/STATION/ NAME=S1\r\n*END*\r\n*DESCRIPTION*\r\n"
                                       "\t/STATION/ NAME=S1\r\n\t\tSCHEDULE=FIFX\r\n\t\tSERVICE=EXP[1]\r\n"
                                       "\t\tTRANSIT=S1;\r\n*END*");
    Workbench wb;
    wb.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wb.frame.get()));
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    wb.frame->action(SyntaxAnalysis)->trigger();
    QCOMPARE(doc->runState(), 0);  // the unknown discipline is an error

    auto* report = qobject_cast<CCompileView*>(wb.frame->frameOf(doc, ViewKind::Report)->view());
    auto* editor = qobject_cast<QPlainTextEdit*>(wb.frame->frameOf(doc, ViewKind::Model)->view());
    auto doubleClickLineWith = [&](const QString& position) {
        wb.frame->openOrActivateView(doc, ViewKind::Report, -1);
        QTextBlock block = report->document()->begin();
        while (block.isValid() && !block.text().contains(position)) block = block.next();
        QVERIFY2(block.isValid(), qPrintable(report->toPlainText()));
        QTextCursor cursor(block);
        report->setTextCursor(cursor);
        report->ensureCursorVisible();
        QTest::mouseDClick(report->viewport(), Qt::LeftButton, {}, report->cursorRect(cursor).center());
    };

    // "\t\tTRANSIT=S1;": column 13 is the ';' after two tabs.
    doubleClickLineWith(QStringLiteral("(10,13)"));
    QCOMPARE(doc->errorLine(), 10);
    QCOMPARE(editor->textCursor().blockNumber(), 9);
    QCOMPARE(editor->textCursor().positionInBlock(), 12);
    QCOMPARE(editor->document()->characterAt(editor->textCursor().position()), QChar(u';'));

    // A token ending its line is reported at column 0 of the next line: the
    // caret goes to the start of that line.
    doubleClickLineWith(QStringLiteral("(9,0)"));
    QCOMPARE(editor->textCursor().blockNumber(), 8);
    QCOMPARE(editor->textCursor().positionInBlock(), 0);
}

// A stand-in solver that only sleeps: the event loop goes on meanwhile, the
// progress dialog comes up, and "Przerwij" ends the run as a failed one
// that says it was cancelled.
void TestSolverRun::longRunKeepsTheWindowsAliveAndCanBeCancelled() {
    const QString sleeper = writeTestFile(dir_.filePath(QStringLiteral("spioch")), "#!/bin/sh\nexec /bin/sleep 60\n");
    QFile::setPermissions(sleeper, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString path = dir_.filePath(QStringLiteral("dluga.klt"));
    QVERIFY(QFile::copy(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"), path));
    writeTestFile(dir_.filePath(QStringLiteral("dluga.cfg")), "[Kompilacja]\r\nstan=1\r\n");
    Workbench wb;
    wb.frame->setSolverPath(sleeper);
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    const QByteArray textBefore = readTestFile(path);

    int ticks = 0;
    bool dialogSeen = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        ++ticks;
        if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            dialogSeen = true;
            QVERIFY(dialog->labelText().contains(QStringLiteral("Czas: ")));
            const auto buttons = dialog->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons.front()->text(), QStringLiteral("Przerwij"));
            buttons.front()->click();
        }
    });
    watcher.start(50);
    wb.frame->methodCombo()->setCurrentIndex(0);
    wb.frame->action(NetworkAnalysis)->trigger();
    watcher.stop();

    QVERIFY(dialogSeen);
    QVERIFY2(ticks >= 10, "the event loop ran while the solver did");
    QCOMPARE(doc->runState(), 0);
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("dluga.cfg"))), QByteArray("[Kompilacja]\r\nstan=0\r\n"));
    QCOMPARE(readTestFile(path), textBefore);
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    QVERIFY(reportText(wb, doc).contains(QStringLiteral("Analiza przerwana przez użytkownika.")));
}

// The solver writes the UTF-8 file name into its Windows-1250 report; the
// report shows it as the name it is.
void TestSolverRun::polishPathArrivesIntact() {
    const QString path = dir_.filePath(QStringLiteral("sieć-próbna.klt"));
    QVERIFY(QFile::copy(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"), path));
    Workbench wb;
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    wb.frame->action(SyntaxAnalysis)->trigger();
    QCOMPARE(doc->runState(), 1);
    const QString report = reportText(wb, doc);
    QVERIFY2(report.contains(QStringLiteral("Analizowany plik: ") + path + QLatin1Char('\n')), qPrintable(report));
}

// A document called "siec.err" is its own diagnostics file: running it would
// replace the network by the solver's messages. The run is refused with a
// message and the file keeps its bytes.
void TestSolverRun::documentNamedLikeItsRunFileIsNotRun() {
    const QByteArray network = readTestFile(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"));
    for (const char* name : {"siec.err", "siec.wnk", "siec.cfg"}) {
        const QString path = writeTestFile(dir_.filePath(QString::fromLatin1(name)), network);
        Workbench wb;
        wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
        CWinKoltDoc* doc = wb.frame->openDocument(path);
        QVERIFY(doc);
        wb.frame->methodCombo()->setCurrentIndex(0);
        QVERIFY(wb.enabled(NetworkAnalysis));
        wb.frame->action(NetworkAnalysis)->trigger();
        QCOMPARE(wb.prompts->asked.size(), 1);
        QVERIFY2(wb.prompts->asked.first().startsWith(QStringLiteral("Nie można uruchomić analizy dokumentu ") + path),
                 qPrintable(wb.prompts->asked.first()));
        QCOMPARE(readTestFile(path), network);
        QCOMPARE(doc->runState(), 0);
        QVERIFY(!wb.frame->frameOf(doc, ViewKind::Report));
        QFile::remove(path);
    }
}

QTEST_MAIN(TestSolverRun)
#include "tst_solver_run.moc"
