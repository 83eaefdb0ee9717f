// The document: one network definition file, its text and its run state.
//
// The text lives in a QTextDocument owned here, so that it outlives any one
// window: closing the model window while the report window stays open loses
// nothing. Views never call each other; they listen to viewsNotified().
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "workbench/text_codec.h"

class QTextDocument;
class QWidget;

class CWinKoltDoc : public QObject {
    Q_OBJECT
  public:
    explicit CWinKoltDoc(QObject* parent = nullptr);

    QString path() const { return documentPath; }
    QString title() const { return documentTitle; }
    void setTitle(const QString& title);
    // The path if there is one, else the title: how prompts name the document.
    QString displayName() const;

    QTextDocument* textDocument() const { return text; }
    // The text with '\n' line ends, exactly as held (no character is replaced).
    QString plainText() const;
    // Puts a text in by program: not an edit of the user.
    void setTextByProgram(const QString& text);

    // File ▸ New: an untitled document holding text.
    void startNew(const QString& title, const QString& text);
    // Reads the file; false with error set when it cannot be read or is too
    // large to edit (error is then "The file is too large to open.").
    bool load(const QString& path, QString* error);
    // Writes the text through a save file; on failure the document keeps
    // its state (still modified) and error says why.
    bool save(const QString& path, QString* error);

    QString basePath() const { return documentBasePath; }

    // The outcome of the last run: 0 none or failed, 1 syntax analysis
    // passed, 2 network analysis passed (with lastMethodIndex's method).
    // Any edit sets it back to 0.
    int runState() const { return currentRunState; }
    int lastMethodIndex() const { return currentMethodIndex; }
    // Edits not yet saved: a run needs the file as the editor shows it.
    bool unsavedEdits() const { return editsUnsaved; }

    // The diagnostic chosen last in the report (1-based), where the model
    // editor goes; errorLine -1 while none has been chosen.
    int errorLine() const { return chosenLine; }
    int errorColumn() const { return chosenColumn; }
    void setErrorPosition(int line, int column);

    bool isModified() const { return modified; }
    void setModified(bool value);

    // Records the outcome of a solver run and tells the listeners.
    void setRunOutcome(int newRunState, int newLastMethodIndex);

    // The windows' views of this document, in the order they were made.
    QList<QWidget*> views() const;
    void addView(QWidget* view);
    void removeView(QWidget* view);

    // Tells every view, except sender, that the document changed; hint
    // nullptr means "reload / follow the document".
    void notifyViews(QObject* sender, QObject* hint) { emit viewsNotified(sender, hint); }

  signals:
    void viewsNotified(QObject* sender, QObject* hint);
    // Path, title, run state, unsaved edits or modified flag changed.
    void stateChanged();

  private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    void setPath(const QString& path);

    QTextDocument* text;
    FileText loaded;  // the bytes as read, so that an unedited text saves back identical
    QString documentPath;
    QString documentTitle;
    QString documentBasePath;
    int currentRunState = 0;
    int currentMethodIndex = -1;
    bool editsUnsaved = false;
    int chosenLine = -1;
    int chosenColumn = 0;
    bool modified = false;
    bool settingTextByProgram = false;
    QList<QPointer<QWidget>> viewList;
};
