// Find and replace on an editor's document, and the dialogs that drive them.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "workbench/find_replace.h"

using Search = FindReplaceController::Search;

class TestFindReplace : public QObject {
    Q_OBJECT
  private slots:
    void findHonoursCaseWordAndDirection();
    void findGoesRoundOnceAndReportsAMiss();
    void findNextRepeatsTheLastSearch();
    void replaceOneIsAnUndoableEdit();
    void replaceAllIsOneUndoStep();
    void dialogsDriveTheEditor();

  private:
    static QPushButton* button(QWidget* dialog, const QString& text) {
        for (auto* candidate : dialog->findChildren<QPushButton*>())
            if (candidate->text().remove(QLatin1Char('&')) == text) return candidate;
        return nullptr;
    }
    static QDialog* visibleDialog(QWidget* parent) {
        for (auto* dialog : parent->findChildren<QDialog*>())
            if (dialog->isVisible()) return dialog;
        return nullptr;
    }
};

void TestFindReplace::findHonoursCaseWordAndDirection() {
    QWidget window;
    FindReplaceController controller(&window);
    QPlainTextEdit editor(QStringLiteral("cpu CPUX CPU\ncpu"), &window);

    QVERIFY(controller.findIn(&editor, {QStringLiteral("CPU"), true, false, false}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 4);
    QVERIFY(controller.findIn(&editor, {QStringLiteral("CPU"), true, true, false}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 9);  // "CPUX" is not the whole word
    QVERIFY(controller.findIn(&editor, {QStringLiteral("cpu"), false, true, true}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 0);  // backward from the last match
    QVERIFY(controller.findIn(&editor, {QStringLiteral("cpu"), true, false, false}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 13);
}

void TestFindReplace::findGoesRoundOnceAndReportsAMiss() {
    QWidget window;
    FindReplaceController controller(&window);
    QPlainTextEdit editor(QStringLiteral("Stanowisko1\nStanowisko2"), &window);
    QTextCursor end(editor.document());
    end.movePosition(QTextCursor::End);
    editor.setTextCursor(end);
    QVERIFY(controller.findIn(&editor, {QStringLiteral("stanowisko"), false, false, false}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 0);

    editor.setTextCursor(QTextCursor(editor.document()));
    QVERIFY(controller.findIn(&editor, {QStringLiteral("Stanowisko"), true, false, true}, true));
    QCOMPARE(editor.textCursor().selectionStart(), 12);

    const QTextCursor before = editor.textCursor();
    QVERIFY(!controller.findIn(&editor, {QStringLiteral("Zrodlo"), false, false, false}, true));
    QCOMPARE(editor.textCursor(), before);
    QVERIFY(!controller.findIn(&editor, {QString(), false, false, false}, true));
}

void TestFindReplace::findNextRepeatsTheLastSearch() {
    QWidget window;
    FindReplaceController controller(&window);
    QPlainTextEdit editor(QStringLiteral("a /CLASS/ b /CLASS/"), &window);
    controller.setLastSearch({QStringLiteral("/CLASS/"), true, false, false});
    controller.findNext(&editor);
    QCOMPARE(editor.textCursor().selectionStart(), 2);
    controller.findNext(&editor);
    QCOMPARE(editor.textCursor().selectionStart(), 12);
}

void TestFindReplace::replaceOneIsAnUndoableEdit() {
    QWidget window;
    FindReplaceController controller(&window);
    QPlainTextEdit editor(QStringLiteral("SCHEDULE=FIFO\nSCHEDULE=fifo\nSCHEDULE=FIFO"), &window);
    const Search fifo{QStringLiteral("FIFO"), true, false, false};

    // Nothing selected yet: the first press only finds.
    QVERIFY(controller.replaceOne(&editor, fifo, QStringLiteral("PS")));
    QCOMPARE(editor.toPlainText(), QStringLiteral("SCHEDULE=FIFO\nSCHEDULE=fifo\nSCHEDULE=FIFO"));
    // Then it replaces the selection and moves on, skipping "fifo" (case).
    QVERIFY(controller.replaceOne(&editor, fifo, QStringLiteral("PS")));
    QCOMPARE(editor.toPlainText(), QStringLiteral("SCHEDULE=PS\nSCHEDULE=fifo\nSCHEDULE=FIFO"));
    QCOMPARE(editor.textCursor().selectionStart(), 35);
    editor.undo();
    QCOMPARE(editor.toPlainText(), QStringLiteral("SCHEDULE=FIFO\nSCHEDULE=fifo\nSCHEDULE=FIFO"));
}

void TestFindReplace::replaceAllIsOneUndoStep() {
    QWidget window;
    FindReplaceController controller(&window);
    const QString text = QStringLiteral("EXP[1] exp[2] EXP[3]");
    QPlainTextEdit editor(text, &window);
    // A replacement that contains the searched text does not loop.
    QCOMPARE(controller.replaceAll(&editor, {QStringLiteral("exp"), false, false, false}, QStringLiteral("EXPEXP")), 3);
    QCOMPARE(editor.toPlainText(), QStringLiteral("EXPEXP[1] EXPEXP[2] EXPEXP[3]"));
    QVERIFY(editor.document()->isModified());
    editor.undo();
    QCOMPARE(editor.toPlainText(), text);
}

void TestFindReplace::dialogsDriveTheEditor() {
    QWidget window;
    FindReplaceController controller(&window);
    QPlainTextEdit editor(QStringLiteral("Klasa1 Klasa2 klasa3"), &window);

    controller.find(&editor);
    QDialog* find = visibleDialog(&window);
    QVERIFY(find);
    QCOMPARE(find->windowTitle(), QStringLiteral("Znajdź"));
    find->findChild<QLineEdit*>()->setText(QStringLiteral("Klasa"));
    for (auto* box : find->findChildren<QCheckBox*>())
        box->setChecked(box->text().remove(QLatin1Char('&')) == QStringLiteral("Uwzględniaj wielkość liter"));
    button(find, QStringLiteral("Znajdź następny"))->click();
    button(find, QStringLiteral("Znajdź następny"))->click();
    QCOMPARE(editor.textCursor().selectionStart(), 7);
    QCOMPARE(controller.lastSearch().text, QStringLiteral("Klasa"));
    QVERIFY(controller.lastSearch().matchCase);
    controller.findNext(&editor);  // goes round past "klasa3"
    QCOMPARE(editor.textCursor().selectionStart(), 0);

    controller.replace(&editor);
    QVERIFY(!find->isVisible());
    QDialog* replace = visibleDialog(&window);
    QVERIFY(replace);
    QCOMPARE(replace->windowTitle(), QStringLiteral("Zamień"));
    const auto edits = replace->findChildren<QLineEdit*>();
    QCOMPARE(edits.size(), 2);
    QCOMPARE(edits[0]->text(), QStringLiteral("Klasa"));  // the selection is offered
    edits[1]->setText(QStringLiteral("K"));
    button(replace, QStringLiteral("Zamień wszystko"))->click();
    QCOMPARE(editor.toPlainText(), QStringLiteral("K1 K2 klasa3"));
    QVERIFY(button(replace, QStringLiteral("Zamień")));
}

QTEST_MAIN(TestFindReplace)
#include "tst_find_replace.moc"
