// Find (Ctrl+F), Find next (F3) and Replace (Ctrl+H) for a QPlainTextEdit.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>

class QPlainTextEdit;
class FindDialog;
class ReplaceDialog;

class FindReplaceController : public QObject {
    Q_OBJECT
  public:
    explicit FindReplaceController(QWidget* parentWindow);
    ~FindReplaceController() override;

    void find(QPlainTextEdit* editor);      // opens the Find dialog
    void findNext(QPlainTextEdit* editor);  // repeats the last search
    void replace(QPlainTextEdit* editor);   // opens the Replace dialog

    // The search the dialogs last set up; exposed for the commands and tests.
    struct Search {
        QString text;
        bool matchCase = false;
        bool wholeWord = false;
        bool backward = false;
    };
    const Search& lastSearch() const { return search_; }
    void setLastSearch(const Search& search) { search_ = search; }

    // One search step from the editor's cursor; selects the match. False (and
    // a message box unless quiet) when nothing is found.
    bool findIn(QPlainTextEdit* editor, const Search& search, bool quiet = false);
    // Replaces the current selection when it matches, then finds the next one.
    bool replaceOne(QPlainTextEdit* editor, const Search& search, const QString& replacement);
    // Replaces every match in the document as one undoable edit; the count.
    int replaceAll(QPlainTextEdit* editor, const Search& search, const QString& replacement);

    // The dialogs' buttons: the same steps on the editor the dialogs serve.
    void findNextIn(const Search& search);
    void replaceOneIn(const Search& search, const QString& replacement);
    void replaceAllIn(const Search& search, const QString& replacement);

  private:
    QWidget* parentWindow_;
    Search search_;
    QPointer<FindDialog> findDialog_;
    QPointer<ReplaceDialog> replaceDialog_;
    QPointer<QPlainTextEdit> editor_;
};
