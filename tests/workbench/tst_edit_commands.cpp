// The editing commands on the model editor and the report: what they do to
// the text and the document, and when they are enabled.
#include <QClipboard>
#include <QPlainTextEdit>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/winkolt_doc.h"

using namespace Command;

class TestEditCommands : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useTemporarySettings(dir_); }
    void editingCommandsChangeTheTextAndTheDocument();
    void reportAllowsOnlyCopyAndSelectAll();

  private:
    QTemporaryDir dir_;
};

void TestEditCommands::editingCommandsChangeTheTextAndTheDocument() {
    Workbench wb;
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("e.klt")), "SOUR abc\r\n");
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    doc->setRunOutcome(1, -1);
    auto* editor = qobject_cast<QPlainTextEdit*>(wb.frame->activeFrame()->view());
    QApplication::clipboard()->clear();
    QVERIFY(!wb.enabled(EditCut));
    QVERIFY(!wb.enabled(EditCopy));
    QVERIFY(!wb.enabled(EditUndo));
    QVERIFY(wb.enabled(EditSelectAll));

    wb.frame->action(EditSelectAll)->trigger();
    QVERIFY(wb.enabled(EditCut) && wb.enabled(EditCopy) && wb.enabled(EditClear));
    wb.frame->action(EditCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("SOUR abc\n"));
    QVERIFY(wb.enabled(EditPaste));
    QCOMPARE(doc->runState(), 1);  // copying is no change

    wb.frame->action(EditClear)->trigger();
    QCOMPARE(editor->toPlainText(), QString());
    QCOMPARE(doc->runState(), 0);
    QVERIFY(doc->unsavedEdits());
    QVERIFY(wb.enabled(EditUndo));

    wb.frame->action(EditUndo)->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("SOUR abc\n"));
    QVERIFY(doc->isModified());  // undone, but still a change to save

    editor->moveCursor(QTextCursor::End);
    wb.frame->action(EditPaste)->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("SOUR abc\nSOUR abc\n"));
    QVERIFY(wb.frame->saveDocument(doc));
    QCOMPARE(readTestFile(path), QByteArray("SOUR abc\r\nSOUR abc\r\n"));

    editor->moveCursor(QTextCursor::Start);
    editor->moveCursor(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    wb.frame->action(EditCut)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("SOUR"));
    QVERIFY(editor->toPlainText().startsWith(QStringLiteral(" abc")));
    QVERIFY(doc->unsavedEdits());
}

void TestEditCommands::reportAllowsOnlyCopyAndSelectAll() {
    Workbench wb;
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("r.klt")), "SOUR r\r\n");
    writeTestFile(dir_.filePath(QStringLiteral("r.err")), "KOLT-32\r\nOK\r\n");
    writeTestFile(dir_.filePath(QStringLiteral("r.cfg")), "[Kompilacja]\r\nstan=1\r\n");
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    wb.frame->action(WindowReport)->trigger();
    QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Report);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    for (int id : {EditUndo, EditCut, EditPaste, EditClear, EditFind, EditReplace}) QVERIFY(!wb.enabled(id));
    QVERIFY(wb.enabled(EditSelectAll));
    QVERIFY(!wb.enabled(EditCopy));
    wb.frame->action(EditSelectAll)->trigger();
    QVERIFY(wb.enabled(EditCopy));
    wb.frame->action(EditCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("KOLT-32\nOK\n"));
    // Keys of disabled commands do nothing to the report or the document.
    wb.frame->action(EditPaste)->trigger();
    QCOMPARE(qobject_cast<QPlainTextEdit*>(wb.frame->activeFrame()->view())->toPlainText(),
             QStringLiteral("KOLT-32\nOK\n"));
    QCOMPARE(doc->runState(), 1);
}

QTEST_MAIN(TestEditCommands)
#include "tst_edit_commands.moc"
