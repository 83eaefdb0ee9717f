// The application object: start-up from the settings and the command line,
// and the end of the program when it cannot go on.
//
// Command line: no argument opens a new model document; a file argument
// opens that file; "--print FILE" prints the file on the default printer
// ("--print-to FILE PRINTER" on a named one) and ends without showing a window.
#pragma once

#include <QStringList>
#include <memory>

#include "workbench/user_prompts.h"
#include "workbench/window_placement.h"

class CMainFrame;

class CWinKoltApp {
  public:
    // prompts: who answers the main window's questions; nullptr for the
    // ordinary message boxes and file dialogs.
    explicit CWinKoltApp(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CWinKoltApp();

    // Builds the main window and carries out the command line; false when
    // start-up fails (the file named on the command line cannot be opened).
    bool initInstance(const QStringList& arguments, int startShowCommand = ShowCommand::Normal);

    // True when the command line's work is done (printing) and the program
    // ends with startExitCode().
    bool finishedAtStart() const { return finished; }
    int startExitCode() const { return exitCode; }

    CMainFrame* mainFrame() const { return frame.get(); }

    // The end of the program when it cannot go on (the solver cannot be
    // started): at once, with status 0, from wherever it is called. Nothing
    // more is asked or shown and unsaved documents are given up; the
    // settings are on disk already.
    [[noreturn]] static void endAtOnce();

  private:
    std::unique_ptr<UserPrompts> startPrompts;
    std::unique_ptr<CMainFrame> frame;
    bool finished = false;
    int exitCode = 0;
};
