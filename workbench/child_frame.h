// Frame of a document window (model or report) inside the main window.
//
// Closing the document's last window closes the document, after asking
// whether to save it. A change of the active frame's size state is recorded
// as the show command for the next document windows.
#pragma once

#include <QMdiSubWindow>

#include "workbench/command_rules.h"

class CMainFrame;
class CWinKoltDoc;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CWinKoltDoc* document, ViewKind kind, QWidget* view, CMainFrame* mainFrame);

    CWinKoltDoc* document() const { return doc; }
    ViewKind viewKind() const { return kind; }
    QWidget* view() const { return widget(); }

    // Closes without asking about the document (it has been asked already).
    void closeWithoutPrompt();

    // Title of the window: the document's title, with the kind of window
    // for the report and results windows and the modified marker for the
    // model window.
    void updateTitle();
    // The title as the window shows it, the marker resolved.
    QString shownTitle() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CWinKoltDoc* doc;
    ViewKind kind;
    CMainFrame* frame;
    bool promptDone = false;
};
