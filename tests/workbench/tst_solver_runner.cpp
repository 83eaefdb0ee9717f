// Starting the real solver as the workbench does, and what the child gets.
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>

#include "test_files.h"
#include "workbench/run_files.h"
#include "workbench/solver_runner.h"

class TestSolverRunner : public QObject {
    Q_OBJECT
  private slots:
    void methodArguments();
    void solverPathBesideTheWorkbench();
    void syntaxAnalysisOfACorrectFile();
    void fileWithAnErrorEndsWithStatus50();
    void missingSolverIsNotStarted();
    void killedChildIsAFailure();
    void childSeesExactlyThreeEnvironmentEntries();

  private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
};

QString TestSolverRunner::writeFile(const QString& name, const QByteArray& bytes) {
    return writeTestFile(dir_.filePath(name), bytes);
}

void TestSolverRunner::methodArguments() {
    QCOMPARE(methodArgument(0), QByteArray("MVA"));
    QCOMPARE(methodArgument(1), QByteArray("MVAP"));
    QCOMPARE(methodArgument(2), QByteArray("HMVA"));
    QCOMPARE(methodArgument(3), QByteArray("JACKSON"));
    QCOMPARE(methodArgument(4), QByteArray("DIFF"));
    QCOMPARE(methodArgument(5), QByteArray("SIMUL"));
    QVERIFY(methodArgument(6).isEmpty());
    QVERIFY(methodArgument(-1).isEmpty());
}

void TestSolverRunner::solverPathBesideTheWorkbench() {
    QCOMPARE(solverPathBeside(QStringLiteral("/opt/kolt/bin")), QStringLiteral("/opt/kolt/bin/kolt-32"));
}

void TestSolverRunner::syntaxAnalysisOfACorrectFile() {
    QFile example(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QString document = writeFile(QStringLiteral("terminale.klt"), example.readAll());

    const SolverOutcome outcome = runSolverProcess(QStringLiteral(KOLT_SOLVER_PATH), document, "-c",
                                                   diagnosticsPath(document), resultsPath(document));
    QVERIFY(outcome.started);
    QCOMPARE(outcome.exitStatus, 0);

    const QByteArray diagnostics = readTestFile(dir_.filePath(QStringLiteral("terminale.err")));
    QVERIFY2(diagnostics.startsWith("KOLT-32"), diagnostics.constData());
    QVERIFY(diagnostics.contains("Analiza syntaktyczna..."));
    QVERIFY(diagnostics.contains("Analizowany plik: " + document.toLocal8Bit()));
    const QByteArray dump = readTestFile(dir_.filePath(QStringLiteral("terminale.wnk")));
    QVERIFY2(dump.contains("Sie\xe6: \"System interakcyjny z terminalami\""), dump.constData());
    QVERIFY(dump.contains("Stanowisko: CPU"));
}

void TestSolverRunner::fileWithAnErrorEndsWithStatus50() {
    const QString document =
        writeFile(QStringLiteral("zla.klt"), "SOUR zla\r\n*DECLARATION*\r\n\t/CLASS/ NAME=\r\n*END*\r\n");
    const SolverOutcome outcome = runSolverProcess(QStringLiteral(KOLT_SOLVER_PATH), document, methodArgument(0),
                                                   diagnosticsPath(document), resultsPath(document));
    QVERIFY(outcome.started);
    QCOMPARE(outcome.exitStatus, 50);
    const QByteArray error =
        "B\xa3\xa5"
        "D:         (3,14) Nieoczekiwany znak '*'";
    QVERIFY(readTestFile(diagnosticsPath(document)).split('\n').contains(error));
}

void TestSolverRunner::missingSolverIsNotStarted() {
    const QString document = writeFile(QStringLiteral("a.klt"), "SOUR a\r\n");
    const SolverOutcome outcome = runSolverProcess(dir_.filePath(QStringLiteral("kolt-32")), document, "-c",
                                                   diagnosticsPath(document), resultsPath(document));
    QVERIFY(!outcome.started);
    // A file that is there but cannot be executed is no better.
    const QString notExecutable = writeFile(QStringLiteral("kolt-32"), "not a program");
    QVERIFY(!runSolverProcess(notExecutable, document, "-c", diagnosticsPath(document), resultsPath(document)).started);
}

void TestSolverRunner::killedChildIsAFailure() {
    const SolverOutcome outcome =
        runSolverProcess(QStringLiteral("/bin/sh"), QStringLiteral("-c"), "kill -9 $$",
                         dir_.filePath(QStringLiteral("x.err")), dir_.filePath(QStringLiteral("x.wnk")));
    QVERIFY(outcome.started);
    QVERIFY(outcome.exitStatus != 0);
}

void TestSolverRunner::childSeesExactlyThreeEnvironmentEntries() {
    // env given the command "env env" runs a last env without arguments,
    // which prints the environment it inherited, one entry a line, on the
    // standard output the child shares with this process.
    const QString outputPath = dir_.filePath(QStringLiteral("environment.txt"));
    const QString errPath = dir_.filePath(QStringLiteral("siec.err"));
    const QString wnkPath = dir_.filePath(QStringLiteral("siec.wnk"));
    std::fflush(stdout);
    const int savedStdout = dup(STDOUT_FILENO);
    const int output = open(QFile::encodeName(outputPath).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(savedStdout >= 0 && output >= 0);
    dup2(output, STDOUT_FILENO);
    close(output);
    const SolverOutcome outcome = runSolverProcess(QStringLiteral("/usr/bin/env"), QStringLiteral("/usr/bin/env"),
                                                   "/usr/bin/env", errPath, wnkPath);
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);

    QVERIFY(outcome.started);
    QCOMPARE(outcome.exitStatus, 0);
    QCOMPARE(readTestFile(outputPath),
             QByteArray("WINKOLT\n") + errPath.toLocal8Bit() + "\n" + wnkPath.toLocal8Bit() + "\n");
}

QTEST_MAIN(TestSolverRunner)
#include "tst_solver_runner.moc"
