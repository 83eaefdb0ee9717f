// Opening and saving network files through the workbench keeps their bytes:
// Windows-1250 letters, the file's own line ends, and the bytes the code page
// leaves undefined.
#include <QMimeData>
#include <QPlainTextEdit>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/winkolt_doc.h"

class TestFileRoundTrip : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useTemporarySettings(dir_); }
    void unchangedFileIsSavedIdentical_data();
    void unchangedFileIsSavedIdentical();
    void editedFileKeepsItsLineEnds_data();
    void editedFileKeepsItsLineEnds();
    void newDocumentIsWrittenWithCrLf();
    void polishLettersAreShownAsUnicode();
    void tooLargeAndMissingFilesAreRefused();
    void droppedFilesOpen();

  private:
    QString file(const QString& name, const QByteArray& bytes) { return writeTestFile(dir_.filePath(name), bytes); }
    static QPlainTextEdit* editorOf(Workbench& wb) {
        return qobject_cast<QPlainTextEdit*>(wb.frame->activeFrame()->view());
    }
    QTemporaryDir dir_;
};

void TestFileRoundTrip::unchangedFileIsSavedIdentical_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF, Polish letters") << QByteArray(
        "SOUR Sie\xe6 \xa3\xf3"
        "d\xbc\r\n*DECLARATION*\r\n\t/CLASS/ NAME=K[1]\r\n*END*\r\n");
    QTest::newRow("LF") << QByteArray("SOUR a\n*DECLARATION*\n*END*\n");
    QTest::newRow("mixed, lone CR") << QByteArray("a\r\nb\nc\rd\r\n");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x83\x88\x90\x98 \xa0nbsp\r\n");
    QTest::newRow("no final line end") << QByteArray("SOUR x\r\n*END*");
    QTest::newRow("empty") << QByteArray();
}

void TestFileRoundTrip::unchangedFileIsSavedIdentical() {
    QFETCH(QByteArray, bytes);
    Workbench wb;
    const QString path = file(QStringLiteral("same.klt"), bytes);
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    QFile::remove(path);
    QVERIFY(wb.frame->saveDocument(doc));
    QCOMPARE(readTestFile(path), bytes);
}

void TestFileRoundTrip::editedFileKeepsItsLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CR LF") << QByteArray("SOUR \xb9\r\n*END*\r\n") << QByteArray("SOUR \xb9\r\n*END*\r\n\xbf");
    QTest::newRow("LF") << QByteArray("SOUR \xb9\n*END*\n") << QByteArray("SOUR \xb9\n*END*\n\xbf");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x98\n") << QByteArray("\x81\x98\n\xbf");
}

void TestFileRoundTrip::editedFileKeepsItsLineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    Workbench wb;
    const QString path = file(QStringLiteral("edited.klt"), bytes);
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QPlainTextEdit* editor = editorOf(wb);
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("ż"));
    QVERIFY(doc->isModified());
    QVERIFY(wb.frame->saveDocument(doc));
    QCOMPARE(readTestFile(path), expected);
    QVERIFY(!doc->isModified());

    // Undoing the edit and saving again gives the first bytes back.
    editor->undo();
    QVERIFY(wb.frame->saveDocument(doc));
    QCOMPARE(readTestFile(path), bytes);
}

void TestFileRoundTrip::newDocumentIsWrittenWithCrLf() {
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->fileNew();
    wb.prompts->savePath = dir_.filePath(QStringLiteral("nowy.klt"));
    QVERIFY(wb.frame->saveDocument(doc));  // asks for a name: untitled
    QCOMPARE(readTestFile(wb.prompts->savePath),
             QByteArray("SOUR !Tutaj wstaw nazw\xea Twojej sieci!\r\n*DECLARATION*\r\n"
                        "\t!Tutaj wstaw deklaracje klas i obiekt\xf3w!\r\n*END*\r\n*DESCRIPTION*\r\n"
                        "\t!Tutaj wstaw opisy obiekt\xf3w!\r\n*END*"));
    QCOMPARE(doc->path(), wb.prompts->savePath);

    // A cancelled save dialog saves nothing and keeps the document unsaved.
    CWinKoltDoc* other = wb.frame->fileNew();
    wb.prompts->savePath.clear();
    QVERIFY(!wb.frame->saveDocument(other));
    QVERIFY(other->unsavedEdits());
}

void TestFileRoundTrip::polishLettersAreShownAsUnicode() {
    Workbench wb;
    wb.frame->openDocument(file(QStringLiteral("litery.klt"),
                                "\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf \xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf\r\n"));
    QCOMPARE(editorOf(wb)->toPlainText(), QStringLiteral("ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż\n"));
}

void TestFileRoundTrip::tooLargeAndMissingFilesAreRefused() {
    Workbench wb;
    const QString big = dir_.filePath(QStringLiteral("duzy.klt"));
    QFile sparse(big);
    QVERIFY(sparse.open(QIODevice::WriteOnly));
    QVERIFY(sparse.resize(64LL * 1024 * 1024 + 1));  // sparse: nothing is really written
    sparse.close();
    QVERIFY(!wb.frame->openDocument(big));
    QCOMPARE(wb.prompts->asked.last(), QStringLiteral("The file is too large to open."));

    QVERIFY(!wb.frame->openDocument(dir_.filePath(QStringLiteral("nie-ma.klt"))));
    QCOMPARE(wb.prompts->asked.last(), QStringLiteral("Failed to open document."));
    QVERIFY(!wb.frame->openDocument(dir_.path()));  // a folder is no document either
    QCOMPARE(wb.prompts->asked.last(), QStringLiteral("Failed to open document."));
    QVERIFY(wb.frame->documents().isEmpty());
    QVERIFY(wb.frame->recentFiles().isEmpty() || !wb.frame->recentFiles().contains(big));
}

void TestFileRoundTrip::droppedFilesOpen() {
    Workbench wb;
    const QString first = file(QStringLiteral("upuszczony1.klt"), "SOUR a\r\n");
    const QString second = file(QStringLiteral("upuszczony2.klt"), "SOUR b\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(wb.frame.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(wb.frame.get(), &drop);
    QCOMPARE(wb.frame->documents().size(), 2);
    QCOMPARE(wb.frame->activeDocument()->path(), second);
    QCOMPARE(wb.frame->recentFiles().mid(0, 2), (QStringList{second, first}));
}

QTEST_MAIN(TestFileRoundTrip)
#include "tst_file_round_trip.moc"
