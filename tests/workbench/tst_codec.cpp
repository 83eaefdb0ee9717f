// Network files go through the editor and back unchanged unless edited.
#include <QPlainTextEdit>
#include <QtTest>

#include "workbench/text_codec.h"

class TestCodec : public QObject {
    Q_OBJECT
  private slots:
    void unchangedTextGivesBackTheExactBytes_data();
    void unchangedTextGivesBackTheExactBytes();
    void decodingShowsPolishLettersAndUnifiesLineEnds();
    void editedTextUsesTheDominantLineEnd();
    void newDocumentsUseCrLf();
    void everyByteSurvivesEncodingAfterAnEdit();
    void editorCapacity();
};

void TestCodec::unchangedTextGivesBackTheExactBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("polish letters") << QByteArray(
        "SOUR Sie\xe6 \xb9\xea\xb3\xf1\xf3\x9c\x9f\xbf \xa5\xca\xa3\xd1\xd3\x8c\x8f\xaf\r\n");
    QTest::newRow("crlf") << QByteArray("*DECLARATION*\r\n\t/CLASS/ NAME=K[1]\r\n*END*\r\n");
    QTest::newRow("lf") << QByteArray("*DECLARATION*\n\t/CLASS/ NAME=K[1]\n*END*\n");
    QTest::newRow("undefined bytes") << QByteArray("a\x81\x83\x88\x90\x98z\r\n");
    QTest::newRow("no final line end") << QByteArray("SOUR x\r\n*END*");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("mixed line ends") << QByteArray("one\r\ntwo\nthree\r\nfour\n");
    QTest::newRow("lone cr") << QByteArray("one\rtwo\r\n");
    QTest::newRow("no-break space") << QByteArray(
        "a\xa0"
        "b\r\n");
}

void TestCodec::unchangedTextGivesBackTheExactBytes() {
    QFETCH(QByteArray, bytes);
    const FileText loaded = decodeFileBytes(bytes);
    QCOMPARE(encodeFileText(loaded.text, loaded), bytes);

    // The same through the editor control, which folds some characters.
    QPlainTextEdit editor;
    editor.setPlainText(loaded.text);
    QCOMPARE(encodeFileText(editor.toPlainText(), loaded), bytes);
    QCOMPARE(encodeFileText(editor.document()->toRawText(), loaded), bytes);
}

void TestCodec::decodingShowsPolishLettersAndUnifiesLineEnds() {
    const FileText loaded = decodeFileBytes(
        "Zamkni\xeata sie\xe6\r\n\xa3\xf3"
        "d\x9f\r\n");
    QCOMPARE(loaded.text, QStringLiteral("Zamknięta sieć\nŁódź\n"));
    QCOMPARE(loaded.lineEnd, QByteArray("\r\n"));
    QCOMPARE(decodeFileBytes("a\nb\n").lineEnd, QByteArray("\n"));
    QCOMPARE(decodeFileBytes("a\x81").text, QString(QStringLiteral("a") + QChar(0x81)));
}

void TestCodec::editedTextUsesTheDominantLineEnd() {
    const FileText crlf = decodeFileBytes("a\r\nb\r\n");
    QCOMPARE(encodeFileText(QStringLiteral("a\nb\nc ą\n"), crlf), QByteArray("a\r\nb\r\nc \xb9\r\n"));

    const FileText lf = decodeFileBytes("a\nb\n");
    QCOMPARE(encodeFileText(QStringLiteral("a\nb\nc\n"), lf), QByteArray("a\nb\nc\n"));

    // Two LF lines against one CR LF line: the edited file is all LF.
    const FileText mixed = decodeFileBytes("a\r\nb\nc\n");
    QCOMPARE(encodeFileText(QStringLiteral("a\nb\nc\nd"), mixed), QByteArray("a\nb\nc\nd"));

    // The editor's paragraph separators count as line ends.
    QCOMPARE(encodeFileText(QStringLiteral("x") + QChar::ParagraphSeparator + QStringLiteral("y"), crlf),
             QByteArray("x\r\ny"));
}

void TestCodec::newDocumentsUseCrLf() {
    QCOMPARE(encodeFileText(QStringLiteral("SOUR \n*END*"), FileText{}), QByteArray("SOUR \r\n*END*"));
    // An empty file has no line end of its own to keep.
    QCOMPARE(encodeFileText(QStringLiteral("a\nb"), decodeFileBytes(QByteArray())), QByteArray("a\r\nb"));
}

void TestCodec::everyByteSurvivesEncodingAfterAnEdit() {
    QByteArray all;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != '\n' && byte != '\r') all.append(char(byte));
    const FileText loaded = decodeFileBytes(all);
    QCOMPARE(encodeCp1250(loaded.text), all);
    QCOMPARE(encodeFileText(loaded.text + QStringLiteral("\n"), loaded), all + "\r\n");
    // A character the code page lacks cannot be stored: it becomes '?'.
    QCOMPARE(encodeCp1250(QStringLiteral("€✓")), QByteArray("\x80?"));
}

void TestCodec::editorCapacity() {
    QVERIFY(!fileTooLargeToEdit(0));
    QVERIFY(!fileTooLargeToEdit(kEditorCapacityBytes));
    QVERIFY(fileTooLargeToEdit(kEditorCapacityBytes + 1));
}

QTEST_MAIN(TestCodec)
#include "tst_codec.moc"
