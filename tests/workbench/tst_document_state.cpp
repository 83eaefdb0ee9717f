// The document's fields over its life: new, opened, saved, edited, run; and
// the prompts that guard unsaved text. Runs use a stand-in solver script that
// records its arguments and ends with a chosen status.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/compile_view.h"
#include "workbench/mini_wizard_dialog.h"
#include "workbench/skeleton.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

class TestDocumentState : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void newDocument();
    void openedDocumentTakesTheStateOfItsLastRun_data();
    void openedDocumentTakesTheStateOfItsLastRun();
    void savingUnderANewNameMovesTheBasePath();
    void editingInvalidatesTheRunAndAsksBeforeClosing();
    void successfulNetworkAnalysis();
    void failedRunKeepsTheReportWindowButNotTheCommand();
    void runFromTheReportWindowReopensTheModel();
    void fileWithoutExtensionKeepsItsRunFilesBesideIt();
    void reportWindowOpensAtTheEndOfALongReport();
    void solverThatCannotStartEndsTheWorkbench();
    void newDocumentsStartWithTheLastWizardSkeleton();
    void windowTitlesSayWhatEachWindowIs();

  private:
    // A solver stand-in: writes "argument" into base + "arg" and a line into
    // the diagnostics file, then ends with status.
    QString fakeSolver(int status);
    QString model(const QString& name);
    static CWinKoltView* modelView(Workbench& wb, CWinKoltDoc* doc);
    QTemporaryDir dir_;
};

void TestDocumentState::initTestCase() { useTemporarySettings(dir_); }

QString TestDocumentState::fakeSolver(int status) {
    const QString path = dir_.filePath(QStringLiteral("solver%1.sh").arg(status));
    // argv: program, document path, method; the document ends in ".klt".
    writeTestFile(path,
                  "#!/bin/sh\n"
                  "base=\"${1%klt}\"\n"
                  "printf '%s' \"$2\" > \"${base}arg\"\n"
                  "printf 'KOLT-32\\nB\\243\\245D:         (2,1) b\\263\\271d\\n' > \"${base}err\"\n"
                  "exit " +
                      QByteArray::number(status) + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString TestDocumentState::model(const QString& name) {
    return writeTestFile(dir_.filePath(name), "SOUR siec\r\n*DECLARATION*\r\n*END*\r\n");
}

CWinKoltView* TestDocumentState::modelView(Workbench& wb, CWinKoltDoc* doc) {
    CChildFrame* frame = wb.frame->frameOf(doc, ViewKind::Model);
    return frame ? qobject_cast<CWinKoltView*>(frame->view()) : nullptr;
}

void TestDocumentState::newDocument() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->fileNew();
    QCOMPARE(doc->runState(), 0);
    QVERIFY(doc->unsavedEdits());
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(doc->errorLine(), -1);
    QVERIFY(doc->basePath().isEmpty());
    QVERIFY(doc->path().isEmpty());
    QCOMPARE(modelView(wb, doc)->toPlainText(),
             QString(defaultSkeleton()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(!doc->isModified());                      // the skeleton is not an edit
    QVERIFY(wb.frame->activeFrame()->isMaximized());  // first start: maximised
}

void TestDocumentState::openedDocumentTakesTheStateOfItsLastRun_data() {
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<int>("runState");
    QTest::newRow("stan 2, CR LF") << QByteArray("[Kompilacja]\r\nstan=2\r\n") << 2;
    QTest::newRow("stan 1, LF") << QByteArray("[Kompilacja]\nstan=1\n") << 1;
    QTest::newRow("no file") << QByteArray() << 0;
    QTest::newRow("not a number") << QByteArray("[Kompilacja]\r\nstan=x\r\n") << 0;
    QTest::newRow("other section") << QByteArray("[Inna]\r\nstan=2\r\n") << 0;
}

void TestDocumentState::openedDocumentTakesTheStateOfItsLastRun() {
    QFETCH(QByteArray, cfg);
    QFETCH(int, runState);
    const QString path =
        model(QStringLiteral("otwarty-%1.klt").arg(QTest::currentDataTag()).replace(' ', '_').remove(','));
    const QString cfgPath = path.left(path.size() - 3) + QStringLiteral("cfg");
    QFile::remove(cfgPath);
    if (!cfg.isEmpty()) writeTestFile(cfgPath, cfg);

    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    QCOMPARE(doc->runState(), runState);
    QVERIFY(!doc->unsavedEdits());
    QVERIFY(!doc->isModified());
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(doc->basePath(), path.left(path.size() - 3));
    // Showing the text in the editor is not an edit.
    QTest::qWait(20);
    QVERIFY(!doc->unsavedEdits());
    QCOMPARE(doc->runState(), runState);
    QCOMPARE(wb.frame->recentFiles().value(0), path);
}

void TestDocumentState::savingUnderANewNameMovesTheBasePath() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(model(QStringLiteral("stary.klt")));
    doc->setRunOutcome(2, 1);
    QVERIFY(wb.frame->saveDocumentAs(doc, dir_.filePath(QStringLiteral("nowy.model.klt"))));
    QCOMPARE(doc->basePath(), dir_.filePath(QStringLiteral("nowy.model.")));
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(doc->runState(), 2);  // saving does not touch the run state
    QVERIFY(!doc->unsavedEdits());
    QCOMPARE(doc->title(), QStringLiteral("nowy.model.klt"));
    QVERIFY(wb.frame->windowTitle().contains(QStringLiteral("nowy.model.klt")));
}

void TestDocumentState::editingInvalidatesTheRunAndAsksBeforeClosing() {
    Workbench wb;
    const QString path = model(QStringLiteral("edytowany.klt"));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    doc->setRunOutcome(2, 0);
    CWinKoltView* view = modelView(wb, doc);
    view->setFocus();
    view->moveCursor(QTextCursor::End);
    view->insertPlainText(QStringLiteral("ż"));  // as typed: an edit of the user
    QCOMPARE(doc->runState(), 0);
    QVERIFY(doc->unsavedEdits());
    QVERIFY(doc->isModified());

    // Cancel keeps the window; No closes it without writing.
    wb.prompts->saveChangesAnswer = QMessageBox::Cancel;
    QVERIFY(!wb.frame->closeDocument(doc));
    QCOMPARE(wb.prompts->asked.value(0), QStringLiteral("Save changes to %1?").arg(path));
    QCOMPARE(wb.frame->documents().size(), 1);

    // Yes writes the text; a file that cannot be written keeps the edits.
    wb.prompts->saveChangesAnswer = QMessageBox::Yes;
    QVERIFY(!wb.frame->saveDocumentAs(doc, dir_.filePath(QStringLiteral("brak-folderu/x.klt"))));
    QVERIFY(wb.prompts->asked.last().startsWith(QStringLiteral("Failed to save document.")));
    QVERIFY(doc->isModified());
    QVERIFY(doc->unsavedEdits());

    QVERIFY(wb.frame->closeDocument(doc));
    QVERIFY(readTestFile(path).startsWith("SOUR siec\r\n"));
    QVERIFY(readTestFile(path).contains("\xbf"));  // ż in Windows-1250
    QCoreApplication::processEvents();
    QVERIFY(wb.frame->documents().isEmpty());
}

void TestDocumentState::successfulNetworkAnalysis() {
    Workbench wb;
    wb.frame->setSolverPath(fakeSolver(0));
    const QString path = model(QStringLiteral("jackson.klt"));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    wb.frame->action(Command::MethodFirst + 3)->trigger();
    wb.frame->action(Command::NetworkAnalysis)->trigger();

    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("jackson.arg"))), QByteArray("JACKSON"));
    QCOMPARE(doc->runState(), 2);
    QCOMPARE(doc->lastMethodIndex(), 3);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("jackson.cfg"))), QByteArray("[Kompilacja]\r\nstan=2\r\n"));
    CChildFrame* active = wb.frame->activeFrame();
    QCOMPARE(active->viewKind(), ViewKind::Report);
    QVERIFY(active->isVisible());
    QCOMPARE(qobject_cast<CCompileView*>(active->view())->toPlainText(),
             QStringLiteral("KOLT-32\nBŁĄD:         (2,1) błąd\n"));
    QVERIFY(!wb.enabled(Command::NetworkAnalysis));
    QVERIFY(wb.enabled(Command::WindowReport));
    QVERIFY(wb.enabled(Command::WindowResults));
    // The editor kept its place: it was the sender of the refresh.
    QCOMPARE(modelView(wb, doc)->textCursor().position(), 0);

    // A syntax analysis next: "-c", state 1, the one report window reused.
    wb.frame->action(Command::WindowModel)->trigger();
    doc->setRunOutcome(0, doc->lastMethodIndex());
    wb.frame->updateActions();
    wb.frame->action(Command::SyntaxAnalysis)->trigger();
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("jackson.arg"))), QByteArray("-c"));
    QCOMPARE(doc->runState(), 1);
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("jackson.cfg"))), QByteArray("[Kompilacja]\r\nstan=1\r\n"));
    QCOMPARE(wb.frame->framesOf(doc).size(), 2);
}

void TestDocumentState::failedRunKeepsTheReportWindowButNotTheCommand() {
    Workbench wb;
    wb.frame->setSolverPath(fakeSolver(50));
    CWinKoltDoc* doc = wb.frame->openDocument(model(QStringLiteral("zly.klt")));
    wb.frame->methodCombo()->setCurrentIndex(0);
    wb.frame->action(Command::NetworkAnalysis)->trigger();
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("zly.arg"))), QByteArray("MVA"));
    QCOMPARE(doc->runState(), 0);
    QCOMPARE(doc->lastMethodIndex(), -1);
    QCOMPARE(readTestFile(dir_.filePath(QStringLiteral("zly.cfg"))), QByteArray("[Kompilacja]\r\nstan=0\r\n"));
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    QVERIFY(!wb.enabled(Command::WindowReport));
    QVERIFY(wb.enabled(Command::NetworkAnalysis));  // may be tried again
}

void TestDocumentState::runFromTheReportWindowReopensTheModel() {
    Workbench wb;
    wb.frame->setSolverPath(fakeSolver(0));
    CWinKoltDoc* doc = wb.frame->openDocument(model(QStringLiteral("bez-modelu.klt")));
    wb.frame->action(Command::SyntaxAnalysis)->trigger();
    QCOMPARE(doc->runState(), 1);

    // Close the model window: the report window keeps the document and its text.
    wb.frame->frameOf(doc, ViewKind::Model)->close();
    QCoreApplication::processEvents();
    QCOMPARE(wb.frame->documents().size(), 1);
    QVERIFY(!wb.frame->frameOf(doc, ViewKind::Model));
    doc->setRunOutcome(0, doc->lastMethodIndex());
    wb.frame->updateActions();
    wb.frame->action(Command::SyntaxAnalysis)->trigger();
    QVERIFY(wb.frame->frameOf(doc, ViewKind::Model));
    QCOMPARE(doc->runState(), 1);
    QCOMPARE(modelView(wb, doc)->toPlainText(), QStringLiteral("SOUR siec\n*DECLARATION*\n*END*\n"));
}

void TestDocumentState::fileWithoutExtensionKeepsItsRunFilesBesideIt() {
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("kat.alog")));
    const QString path = model(QStringLiteral("kat.alog/siec"));
    Workbench wb;
    wb.frame->setSolverPath(fakeSolver(0));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QCOMPARE(doc->basePath(), path + QLatin1Char('.'));
    wb.frame->action(Command::SyntaxAnalysis)->trigger();
    QCOMPARE(doc->runState(), 1);
    QCOMPARE(readTestFile(path + QStringLiteral(".cfg")), QByteArray("[Kompilacja]\r\nstan=1\r\n"));
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("kat.cfg"))));
}

void TestDocumentState::reportWindowOpensAtTheEndOfALongReport() {
    const QString path = model(QStringLiteral("dlugi.klt"));
    QByteArray many;
    for (int i = 1; i <= 300; ++i)
        many +=
            "OSTRZE\xaf"
            "ENIE:  (" +
            QByteArray::number(i) + ",1) uwaga\r\n";
    writeTestFile(dir_.filePath(QStringLiteral("dlugi.err")), many);
    writeTestFile(dir_.filePath(QStringLiteral("dlugi.cfg")), "[Kompilacja]\r\nstan=1\r\n");
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    wb.frame->action(Command::WindowReport)->trigger();
    auto* report = qobject_cast<CCompileView*>(wb.frame->frameOf(doc, ViewKind::Report)->view());
    QCOMPARE(report->loadedLineCount(), 301);
    QScrollBar* scroll = report->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());
}

void TestDocumentState::solverThatCannotStartEndsTheWorkbench() {
    // The workbench ends its own process, so the run happens in a forked copy.
    Workbench wb;
    wb.frame->setSolverPath(dir_.filePath(QStringLiteral("brak-solvera")));
    CWinKoltDoc* doc = wb.frame->openDocument(model(QStringLiteral("fatalny.klt")));
    doc->setModified(true);  // unsaved changes are not asked about
    const QString marker = dir_.filePath(QStringLiteral("komunikat"));
    const pid_t child = fork();
    if (child == 0) {
        wb.prompts->onSolverStartFailure = [&] { writeTestFile(marker, "pokazany"); };
        wb.frame->action(Command::SyntaxAnalysis)->trigger();
        _exit(7);  // only when the workbench went on after the failure
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readTestFile(marker), QByteArray("pokazany"));
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("fatalny.cfg"))));
}

void TestDocumentState::newDocumentsStartWithTheLastWizardSkeleton() {
    Workbench wb;
    auto runWizard = [&](uint classes, uint stations) {
        QTimer::singleShot(0, wb.frame.get(), [&] {
            auto* wizard = wb.frame->miniWizard();
            wizard->findChild<QLineEdit*>(QStringLiteral("classCount"))->setText(QString::number(classes));
            wizard->findChild<QLineEdit*>(QStringLiteral("stationCount"))->setText(QString::number(stations));
            wizard->accept();
        });
        wb.frame->action(Command::MiniWizard)->trigger();
    };
    runWizard(2, 3);
    runWizard(1, 4);
    QCOMPARE(wb.frame->documents().size(), 2);
    CWinKoltDoc* doc = wb.frame->fileNew();
    WizardValues second;
    second.classCount = 1;
    second.stationCount = 4;
    QCOMPARE(modelView(wb, doc)->toPlainText(),
             skeletonText(second).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // Cancel makes no document.
    QTimer::singleShot(0, wb.frame.get(), [&] { wb.frame->miniWizard()->reject(); });
    wb.frame->action(Command::MiniWizard)->trigger();
    QCOMPARE(wb.frame->documents().size(), 3);
}

// "siec.klt" with the modified marker, "siec.klt — Raport"; the main title
// names the active window once, maximised or not.
void TestDocumentState::windowTitlesSayWhatEachWindowIs() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(model(QStringLiteral("tytul.klt")));
    CChildFrame* model = wb.frame->activeFrame();
    QVERIFY(model->isMaximized());
    auto shown = [](QWidget* window) {
        return window->windowTitle().replace(QStringLiteral("[*]"), window->isWindowModified() ? "*" : "");
    };
    QCOMPARE(shown(model), QStringLiteral("tytul.klt"));
    QCOMPARE(shown(wb.frame.get()), QStringLiteral("WinKOLT 1.0 - tytul.klt"));

    QTest::keyClick(model->view(), Qt::Key_X);
    QCOMPARE(shown(model), QStringLiteral("tytul.klt*"));
    QCOMPARE(shown(wb.frame.get()), QStringLiteral("WinKOLT 1.0 - tytul.klt*"));
    QVERIFY(wb.frame->saveDocument(doc));
    QCOMPARE(shown(model), QStringLiteral("tytul.klt"));

    doc->setRunOutcome(1, -1);
    CChildFrame* report = wb.frame->openOrActivateView(doc, ViewKind::Report, -1);
    QCOMPARE(shown(report), QStringLiteral("tytul.klt — Raport"));
    QCOMPARE(shown(wb.frame.get()), QStringLiteral("WinKOLT 1.0 - tytul.klt — Raport"));
    report->showNormal();
    QCOMPARE(shown(wb.frame.get()), QStringLiteral("WinKOLT 1.0 - tytul.klt — Raport"));
    QCOMPARE(shown(model), QStringLiteral("tytul.klt"));  // no numbers once the windows say what they are
}

QTEST_MAIN(TestDocumentState)
#include "tst_document_state.moc"
