// A double click on a positioned diagnostic in the report window takes the
// model editor to that line and column.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/compile_view.h"
#include "workbench/winkolt_doc.h"

class TestDiagnosticJump : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup() { wb.reset(); }
    void positionedLineMovesTheEditor();
    void lineWithoutPositionKeepsTheChosenPosition();
    void lineWithoutParenthesisDoesNothing();
    void closedModelWindowIsOpenedAgain();
    void columnBeyondTheLineStopsAtItsEnd();

  private:
    void doubleClickReportLine(int blockNumber);
    CCompileView* report() const;
    QPlainTextEdit* editor() const;
    int lineAtMiddle() const;

    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<Workbench> wb;
    CWinKoltDoc* doc = nullptr;
};

void TestDiagnosticJump::initTestCase() {
    useTemporarySettings(dir_);
    QByteArray text;
    for (int line = 1; line <= 200; ++line) text += "linia " + QByteArray::number(line) + "\r\n";
    path_ = writeTestFile(dir_.filePath(QStringLiteral("siec.klt")), text);
    writeTestFile(dir_.filePath(QStringLiteral("siec.err")),
                  "KOLT-32 wersja 1.0\r\n"
                  "Analizowany plik: siec.klt\r\n"
                  "B\xa3\xa5"
                  "D:         (12,5) Nieznany identyfikator obiektu\r\n"
                  "B\xa3\xa5"
                  "D FATALNY: Blad allokacji pami\xea"
                  "ci (CAN2)\r\n"
                  "B\xa3\xa5"
                  "D:         (7,40) Za d\xb3ugi wiersz\r\n");
}

void TestDiagnosticJump::init() {
    wb = std::make_unique<Workbench>();
    wb->frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wb->frame.get()));
    doc = wb->frame->openDocument(path_);
    QVERIFY(doc);
    wb->frame->openOrActivateView(doc, ViewKind::Report, -1);
    QVERIFY(report());
    QCOMPARE(report()->loadedLineCount(), 6);
}

CCompileView* TestDiagnosticJump::report() const {
    CChildFrame* frame = wb->frame->frameOf(doc, ViewKind::Report);
    return frame ? qobject_cast<CCompileView*>(frame->view()) : nullptr;
}

QPlainTextEdit* TestDiagnosticJump::editor() const {
    CChildFrame* frame = wb->frame->frameOf(doc, ViewKind::Model);
    return frame ? qobject_cast<QPlainTextEdit*>(frame->view()) : nullptr;
}

int TestDiagnosticJump::lineAtMiddle() const {
    return editor()->cursorForPosition(QPoint(4, editor()->viewport()->height() / 2)).blockNumber();
}

void TestDiagnosticJump::doubleClickReportLine(int blockNumber) {
    wb->frame->openOrActivateView(doc, ViewKind::Report, -1);
    CCompileView* view = report();
    QTextCursor cursor(view->document()->findBlockByNumber(blockNumber));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
}

void TestDiagnosticJump::positionedLineMovesTheEditor() {
    doubleClickReportLine(2);
    QCOMPARE(doc->errorLine(), 12);
    QCOMPARE(doc->errorColumn(), 5);
    QCOMPARE(report()->textCursor().selectedText(),
             QStringLiteral("BŁĄD:         (12,5) Nieznany identyfikator obiektu"));

    QCOMPARE(wb->frame->activeFrame()->viewKind(), ViewKind::Model);
    const QTextCursor caret = editor()->textCursor();
    QCOMPARE(caret.blockNumber(), 11);
    QCOMPARE(caret.positionInBlock(), 4);  // before the fifth character
    QVERIFY(!caret.hasSelection());
    QCOMPARE(QApplication::focusWidget(), editor());
    // Line 12 at the middle, or as near as the text allows: its top in view.
    QVERIFY(qAbs(lineAtMiddle() - 11) <= 1 || (editor()->verticalScrollBar()->value() == 0 && lineAtMiddle() > 11));

    // A line deep in the text comes to the middle as well.
    editor()->moveCursor(QTextCursor::End);
    doc->setErrorPosition(150, 1);
    doc->notifyViews(report(), nullptr);
    QCOMPARE(editor()->textCursor().blockNumber(), 149);
    QVERIFY(qAbs(lineAtMiddle() - 149) <= 1);

    // A hint (the results filter) or the editor's own notification moves nothing.
    editor()->moveCursor(QTextCursor::Start);
    doc->notifyViews(report(), wb->frame.get());
    doc->notifyViews(editor(), nullptr);
    QCOMPARE(editor()->textCursor().position(), 0);
}

void TestDiagnosticJump::lineWithoutPositionKeepsTheChosenPosition() {
    doubleClickReportLine(2);
    editor()->moveCursor(QTextCursor::End);
    doubleClickReportLine(3);  // "... (CAN2)"
    QCOMPARE(doc->errorLine(), 12);
    QCOMPARE(doc->errorColumn(), 5);
    QCOMPARE(wb->frame->activeFrame()->viewKind(), ViewKind::Model);
    QCOMPARE(editor()->textCursor().blockNumber(), 11);  // back to the position chosen before
}

void TestDiagnosticJump::lineWithoutParenthesisDoesNothing() {
    doubleClickReportLine(1);  // "Analizowany plik: ..."
    QCOMPARE(doc->errorLine(), -1);
    QCOMPARE(wb->frame->activeFrame()->viewKind(), ViewKind::Report);
    QCOMPARE(editor()->textCursor().position(), 0);

    // Nothing chosen yet: a "(" without a position activates the editor, which stays put.
    doubleClickReportLine(3);
    QCOMPARE(wb->frame->activeFrame()->viewKind(), ViewKind::Model);
    QCOMPARE(editor()->textCursor().position(), 0);
}

void TestDiagnosticJump::closedModelWindowIsOpenedAgain() {
    wb->frame->frameOf(doc, ViewKind::Model)->close();
    QCoreApplication::processEvents();
    QVERIFY(!editor());
    doubleClickReportLine(2);
    QVERIFY(editor());
    QCOMPARE(wb->frame->activeFrame()->viewKind(), ViewKind::Model);
    QCOMPARE(editor()->textCursor().blockNumber(), 11);
    QCOMPARE(editor()->textCursor().positionInBlock(), 4);
}

void TestDiagnosticJump::columnBeyondTheLineStopsAtItsEnd() {
    doubleClickReportLine(4);  // (7,40) on "linia 7"
    QCOMPARE(doc->errorColumn(), 40);
    QCOMPARE(editor()->textCursor().blockNumber(), 6);
    QCOMPARE(editor()->textCursor().positionInBlock(), 7);
}

QTEST_MAIN(TestDiagnosticJump)
#include "tst_diagnostic_jump.moc"
