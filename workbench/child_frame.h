// Frame of a document window (model or report) inside the main window.
//
// The frame knows nothing of the main window: it says when the user closes
// it (the main window may keep it open after asking whether to save the
// document), when it has closed, and when its size state changed.
#pragma once

#include <QMdiSubWindow>

#include "workbench/command_rules.h"

class CWinKoltDoc;
class QCloseEvent;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    CChildFrame(CWinKoltDoc* document, ViewKind kind, QWidget* view);

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

  signals:
    // The window is about to close, not by closeWithoutPrompt(): a receiver
    // keeps it open by ignoring event.
    void closeRequested(QCloseEvent* event);
    // The window has closed; it is deleted later, its view with it.
    void closed(CChildFrame* frame);
    // The window was maximised, restored or minimised while shown.
    void sizeStateChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    CWinKoltDoc* doc;
    ViewKind kind;
    bool promptDone = false;
};
