// Run file names and the run settings file that records a document's last run.
#include <QTemporaryDir>
#include <QtTest>

#include "test_files.h"
#include "workbench/run_files.h"
#include "workbench/run_settings.h"

class TestRunSettings : public QObject {
    Q_OBJECT
  private slots:
    void runFileNames();
    void readsCrLfAndLfFiles_data();
    void readsCrLfAndLfFiles();
    void writeCreatesTheSection();
    void writeReplacesTheWholeSectionAndKeepsTheOthers();

  private:
    QString writeFile(const QByteArray& bytes);
    QTemporaryDir dir_;
    int fileNumber_ = 0;
};

QString TestRunSettings::writeFile(const QByteArray& bytes) {
    return writeTestFile(dir_.filePath(QStringLiteral("f%1.cfg").arg(++fileNumber_)), bytes);
}

void TestRunSettings::runFileNames() {
    QCOMPARE(basePathOf(QStringLiteral("/home/u/siec/a.klt")), QStringLiteral("/home/u/siec/a."));
    QCOMPARE(diagnosticsPath(QStringLiteral("/home/u/a.klt")), QStringLiteral("/home/u/a.err"));
    QCOMPARE(resultsPath(QStringLiteral("/home/u/a.klt")), QStringLiteral("/home/u/a.wnk"));
    QCOMPARE(runSettingsPath(QStringLiteral("/home/u/a.b.klt")), QStringLiteral("/home/u/a.b.cfg"));
    // A file name without a dot: the files still lie beside the document,
    // never in the current folder or in a folder whose name has the dot.
    QCOMPARE(basePathOf(QStringLiteral("/home/u/siec")), QStringLiteral("/home/u/siec."));
    QCOMPARE(diagnosticsPath(QStringLiteral("siec")), QStringLiteral("siec.err"));
    QCOMPARE(resultsPath(QStringLiteral("/home/u.v/siec")), QStringLiteral("/home/u.v/siec.wnk"));
    QCOMPARE(basePathOf(QString()), QString());
}

void TestRunSettings::readsCrLfAndLfFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("state");
    QTest::newRow("crlf") << QByteArray("[Kompilacja]\r\nstan=2\r\n") << 2;
    QTest::newRow("lf") << QByteArray("[Kompilacja]\nstan=1\n") << 1;
    QTest::newRow("no final line end") << QByteArray("[Kompilacja]\nstan=2") << 2;
    QTest::newRow("after another section") << QByteArray("[Inne]\r\nstan=5\r\n\r\n[Kompilacja]\r\nstan=1\r\n") << 1;
    QTest::newRow("section name in any case") << QByteArray("[KOMPILACJA]\nstan=2\n") << 2;
    QTest::newRow("trailing text after the number") << QByteArray("[Kompilacja]\nstan=2x\n") << 2;
    QTest::newRow("other section only") << QByteArray("[Inne]\nstan=2\n") << 0;
    QTest::newRow("empty section") << QByteArray("[Kompilacja]\n[Inne]\nstan=2\n") << 0;
    QTest::newRow("first entry is another key") << QByteArray("[Kompilacja]\nx=1\nstan=2\n") << 0;
    QTest::newRow("key in other case") << QByteArray("[Kompilacja]\nSTAN=2\n") << 0;
    QTest::newRow("no number") << QByteArray("[Kompilacja]\nstan=\n") << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
    // Only the first 14 characters of the entry are read.
    QTest::newRow("long number") << QByteArray("[Kompilacja]\nstan=1234567890123\n") << 123456789;
}

void TestRunSettings::readsCrLfAndLfFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, state);
    QCOMPARE(readRunState(writeFile(bytes)), state);
}

void TestRunSettings::writeCreatesTheSection() {
    const QString path = dir_.filePath(QStringLiteral("new.cfg"));
    QCOMPARE(readRunState(path), 0);  // missing file
    QVERIFY(writeRunState(path, 1));
    QCOMPARE(readTestFile(path), QByteArray("[Kompilacja]\r\nstan=1\r\n"));
    QCOMPARE(readRunState(path), 1);
    QVERIFY(writeRunState(path, 0));
    QCOMPARE(readTestFile(path), QByteArray("[Kompilacja]\r\nstan=0\r\n"));

    QVERIFY(!writeRunState(dir_.filePath(QStringLiteral("no/such/folder/a.cfg")), 2));
}

void TestRunSettings::writeReplacesTheWholeSectionAndKeepsTheOthers() {
    const QString path = writeFile("[Okno]\nx=1\n\n[Kompilacja]\nstan=1\nstare=7\n\n[Dalej]\ny=2\n");
    QVERIFY(writeRunState(path, 2));
    QCOMPARE(readTestFile(path), QByteArray("[Okno]\r\nx=1\r\n\r\n[Kompilacja]\r\nstan=2\r\n\r\n[Dalej]\r\ny=2\r\n"));
    QCOMPARE(readRunState(path), 2);

    const QString withoutSection = writeFile("[Okno]\r\nx=1\r\n");
    QVERIFY(writeRunState(withoutSection, 1));
    QCOMPARE(readTestFile(withoutSection), QByteArray("[Okno]\r\nx=1\r\n[Kompilacja]\r\nstan=1\r\n"));
}

QTEST_MAIN(TestRunSettings)
#include "tst_run_settings.moc"
