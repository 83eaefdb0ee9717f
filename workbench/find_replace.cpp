#include "find_replace.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

QTextDocument::FindFlags flagsOf(const FindReplaceController::Search& search) {
    QTextDocument::FindFlags flags;
    if (search.matchCase) flags |= QTextDocument::FindCaseSensitively;
    if (search.wholeWord) flags |= QTextDocument::FindWholeWords;
    if (search.backward) flags |= QTextDocument::FindBackward;
    return flags;
}

// The text of the editor's selection when it is one piece of a single line:
// what the dialogs offer to search for.
QString selectedWord(QPlainTextEdit* editor) {
    const QString selected = editor ? editor->textCursor().selectedText() : QString();
    return selected.contains(QChar::ParagraphSeparator) ? QString() : selected;
}

}  // namespace

// The fields both dialogs share: what to find and how.
class SearchFields {
  public:
    SearchFields(QWidget* owner, QGridLayout* grid) {
        auto* label = new QLabel(QStringLiteral("&Znajdź:"), owner);
        text = new QLineEdit(owner);
        label->setBuddy(text);
        grid->addWidget(label, 0, 0);
        grid->addWidget(text, 0, 1);
        wholeWord = new QCheckBox(QStringLiteral("Tylko całe &wyrazy"), owner);
        matchCase = new QCheckBox(QStringLiteral("&Uwzględniaj wielkość liter"), owner);
    }
    FindReplaceController::Search search(bool backward) const {
        return {text->text(), matchCase->isChecked(), wholeWord->isChecked(), backward};
    }
    void show(const FindReplaceController::Search& search, const QString& offered) {
        text->setText(offered.isEmpty() ? search.text : offered);
        text->selectAll();
        matchCase->setChecked(search.matchCase);
        wholeWord->setChecked(search.wholeWord);
    }

    QLineEdit* text;
    QCheckBox* wholeWord;
    QCheckBox* matchCase;
};

class FindDialog : public QDialog {
  public:
    explicit FindDialog(FindReplaceController* controller, QWidget* parent) : QDialog(parent) {
        setWindowTitle(QStringLiteral("Znajdź"));
        auto* grid = new QGridLayout;
        fields = new SearchFields(this, grid);
        auto* direction = new QGroupBox(QStringLiteral("Kierunek"), this);
        up = new QRadioButton(QStringLiteral("W &górę"), direction);
        down = new QRadioButton(QStringLiteral("W &dół"), direction);
        down->setChecked(true);
        auto* directionLayout = new QHBoxLayout(direction);
        directionLayout->addWidget(up);
        directionLayout->addWidget(down);
        auto* options = new QVBoxLayout;
        options->addWidget(fields->wholeWord);
        options->addWidget(fields->matchCase);
        grid->addLayout(options, 1, 0, 1, 1);
        grid->addWidget(direction, 1, 1);

        findButton = new QPushButton(QStringLiteral("Znajdź &następny"), this);
        findButton->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(findButton);
        buttons->addWidget(cancel);
        buttons->addStretch();
        auto* layout = new QHBoxLayout(this);
        layout->addLayout(grid);
        layout->addLayout(buttons);

        connect(fields->text, &QLineEdit::textChanged, this,
                [this](const QString& text) { findButton->setEnabled(!text.isEmpty()); });
        connect(cancel, &QPushButton::clicked, this, &QDialog::close);
        connect(findButton, &QPushButton::clicked, this, [this, controller] {
            const auto search = fields->search(up->isChecked());
            controller->setLastSearch(search);
            controller->findNextIn(search);
        });
    }
    ~FindDialog() override { delete fields; }

    SearchFields* fields;
    QRadioButton* up;
    QRadioButton* down;
    QPushButton* findButton;
};

class ReplaceDialog : public QDialog {
  public:
    explicit ReplaceDialog(FindReplaceController* controller, QWidget* parent) : QDialog(parent) {
        setWindowTitle(QStringLiteral("Zamień"));
        auto* grid = new QGridLayout;
        fields = new SearchFields(this, grid);
        auto* withLabel = new QLabel(QStringLiteral("Zamień &na:"), this);
        replacement = new QLineEdit(this);
        withLabel->setBuddy(replacement);
        grid->addWidget(withLabel, 1, 0);
        grid->addWidget(replacement, 1, 1);
        grid->addWidget(fields->wholeWord, 2, 0, 1, 2);
        grid->addWidget(fields->matchCase, 3, 0, 1, 2);

        auto* findButton = new QPushButton(QStringLiteral("Znajdź &następny"), this);
        findButton->setDefault(true);
        auto* replaceButton = new QPushButton(QStringLiteral("&Zamień"), this);
        auto* replaceAllButton = new QPushButton(QStringLiteral("Zamień &wszystko"), this);
        auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
        auto* buttons = new QVBoxLayout;
        for (auto* button : {findButton, replaceButton, replaceAllButton, cancel}) buttons->addWidget(button);
        buttons->addStretch();
        auto* layout = new QHBoxLayout(this);
        layout->addLayout(grid);
        layout->addLayout(buttons);

        connect(fields->text, &QLineEdit::textChanged, this, [=](const QString& text) {
            for (auto* button : {findButton, replaceButton, replaceAllButton}) button->setEnabled(!text.isEmpty());
        });
        connect(cancel, &QPushButton::clicked, this, &QDialog::close);
        connect(findButton, &QPushButton::clicked, this, [this, controller] {
            const auto search = fields->search(false);
            controller->setLastSearch(search);
            controller->findNextIn(search);
        });
        connect(replaceButton, &QPushButton::clicked, this, [this, controller] {
            const auto search = fields->search(false);
            controller->setLastSearch(search);
            controller->replaceOneIn(search, replacement->text());
        });
        connect(replaceAllButton, &QPushButton::clicked, this, [this, controller] {
            const auto search = fields->search(false);
            controller->setLastSearch(search);
            controller->replaceAllIn(search, replacement->text());
        });
    }
    ~ReplaceDialog() override { delete fields; }

    SearchFields* fields;
    QLineEdit* replacement;
};

FindReplaceController::FindReplaceController(QWidget* parentWindow)
    : QObject(parentWindow), parentWindow_(parentWindow) {}

FindReplaceController::~FindReplaceController() {
    delete findDialog_;
    delete replaceDialog_;
}

void FindReplaceController::find(QPlainTextEdit* editor) {
    editor_ = editor;
    if (replaceDialog_) replaceDialog_->close();
    if (!findDialog_) findDialog_ = new FindDialog(this, parentWindow_);
    findDialog_->fields->show(search_, selectedWord(editor));
    findDialog_->up->setChecked(search_.backward);
    findDialog_->down->setChecked(!search_.backward);
    findDialog_->findButton->setEnabled(!findDialog_->fields->text->text().isEmpty());
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void FindReplaceController::findNext(QPlainTextEdit* editor) {
    editor_ = editor;
    if (search_.text.isEmpty()) {
        find(editor);
        return;
    }
    findIn(editor, search_);
}

void FindReplaceController::replace(QPlainTextEdit* editor) {
    editor_ = editor;
    if (findDialog_) findDialog_->close();
    if (!replaceDialog_) replaceDialog_ = new ReplaceDialog(this, parentWindow_);
    replaceDialog_->fields->show(search_, selectedWord(editor));
    replaceDialog_->show();
    replaceDialog_->raise();
    replaceDialog_->activateWindow();
}

void FindReplaceController::findNextIn(const Search& search) {
    if (editor_) findIn(editor_, search);
}

void FindReplaceController::replaceOneIn(const Search& search, const QString& replacement) {
    if (editor_) replaceOne(editor_, search, replacement);
}

void FindReplaceController::replaceAllIn(const Search& search, const QString& replacement) {
    if (editor_) replaceAll(editor_, search, replacement);
}

bool FindReplaceController::findIn(QPlainTextEdit* editor, const Search& search, bool quiet) {
    if (!editor || search.text.isEmpty()) return false;
    QTextDocument* document = editor->document();
    const auto flags = flagsOf(search);
    QTextCursor found = document->find(search.text, editor->textCursor(), flags);
    if (found.isNull()) {
        // Past the end (or the start, searching up) the search goes round once.
        QTextCursor from(document);
        if (search.backward) from.movePosition(QTextCursor::End);
        found = document->find(search.text, from, flags);
    }
    if (found.isNull()) {
        if (!quiet) {
            QMessageBox::information(parentWindow_, QStringLiteral("WinKolt"),
                                     QStringLiteral("Nie znaleziono tekstu \"%1\".").arg(search.text));
        }
        return false;
    }
    editor->setTextCursor(found);
    editor->ensureCursorVisible();
    return true;
}

bool FindReplaceController::replaceOne(QPlainTextEdit* editor, const Search& search, const QString& replacement) {
    if (!editor || search.text.isEmpty()) return false;
    QTextCursor cursor = editor->textCursor();
    const Qt::CaseSensitivity sensitivity = search.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(search.text, sensitivity) == 0) {
        cursor.insertText(replacement);  // an ordinary edit: undo takes it back
        editor->setTextCursor(cursor);
    }
    Search forward = search;
    forward.backward = false;
    return findIn(editor, forward);
}

int FindReplaceController::replaceAll(QPlainTextEdit* editor, const Search& search, const QString& replacement) {
    if (!editor || search.text.isEmpty()) return 0;
    QTextDocument* document = editor->document();
    Search forward = search;
    forward.backward = false;
    const auto flags = flagsOf(forward);
    int count = 0;
    QTextCursor edit(document);
    edit.beginEditBlock();  // one undo step for the whole replacement
    QTextCursor found = document->find(search.text, QTextCursor(document), flags);
    while (!found.isNull()) {
        found.insertText(replacement);
        ++count;
        found = document->find(search.text, found, flags);
    }
    edit.endEditBlock();
    if (count == 0) {
        QMessageBox::information(parentWindow_, QStringLiteral("WinKolt"),
                                 QStringLiteral("Nie znaleziono tekstu \"%1\".").arg(search.text));
    }
    return count;
}
