// Running the solver on the model editor's document.
#include <QComboBox>
#include <cstdlib>

#include "workbench/child_frame.h"
#include "workbench/main_frame.h"
#include "workbench/run_files.h"
#include "workbench/run_settings.h"
#include "workbench/solver_runner.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

void CWinKoltView::runSolver(bool syntaxOnly)
{
    const QString path = doc->path();
    if (path.isEmpty()) return;
    if (isOwnRunFile(path)) {
        frame->prompts().showError(this, ownRunFileRefusal(path));
        return;
    }

    // The run files are named after the path as it is now, so a document
    // saved under a new name runs and records under that name.
    const QString errPath = diagnosticsPath(path);
    const QString wnkPath = resultsPath(path);
    const int methodIndex = frame->methodCombo()->currentIndex();
    const QByteArray argument = syntaxOnly ? QByteArrayLiteral("-c") : methodArgument(methodIndex);

    // Blocking: the workbench waits for the solver and handles no events meanwhile.
    const SolverOutcome outcome = runSolverProcess(frame->solverPath(), path, argument, errPath, wnkPath);
    if (!outcome.started) {
        frame->prompts().showSolverStartFailure(this);
        // Without the solver the workbench cannot work; it ends at once,
        // asking nothing about unsaved documents.
        std::_Exit(0);
    }

    // The report window is hidden while the state changes, or made.
    if (CChildFrame* report = frame->frameOf(doc, ViewKind::Report))
        frame->activateFrame(report, 0);
    else
        frame->openOrActivateView(doc, ViewKind::Report, 0);
    // The results of an earlier run are out of date.
    frame->closeViewWindow(doc, ViewKind::Results);

    const int newState = outcome.exitStatus == 0 ? (syntaxOnly ? 1 : 2) : 0;
    writeRunState(runSettingsPath(path), newState);
    doc->setRunOutcome(newState, newState == 2 ? methodIndex : -1);

    frame->openOrActivateView(doc, ViewKind::Report, -1);
    // The report view reloads the diagnostics file; the editor stays where it is.
    doc->notifyViews(this, nullptr);
}
