// Running the solver on the model editor's document.
#include <QComboBox>
#include <QFile>
#include <cstdlib>

#include "workbench/child_frame.h"
#include "workbench/main_frame.h"
#include "workbench/run_files.h"
#include "workbench/run_settings.h"
#include "workbench/solver_runner.h"
#include "workbench/text_codec.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

namespace {

// The line that closes the diagnostics of a run ended by the user, in the
// solver's code page like the rest of the file.
void appendCancelLine(const QString& errPath) {
    QFile file(errPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    file.write("\n" + encodeCp1250(QStringLiteral("Analiza przerwana przez użytkownika.")) + "\n");
}

}  // namespace

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

    // The event loop runs while the solver works; a long run shows a
    // progress dialog from which the user can end it.
    const SolverOutcome outcome =
        runSolverProcessWithProgress(this, frame->solverPath(), path, argument, errPath, wnkPath);
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

    // An ended run has no outcome: whatever the files hold, it failed, and
    // the report says why it stopped.
    if (outcome.cancelled) appendCancelLine(errPath);
    const int newState = outcome.exitStatus == 0 && !outcome.cancelled ? (syntaxOnly ? 1 : 2) : 0;
    writeRunState(runSettingsPath(path), newState);
    doc->setRunOutcome(newState, newState == 2 ? methodIndex : -1);

    frame->openOrActivateView(doc, ViewKind::Report, -1);
    // The report view reloads the diagnostics file; the editor stays where it is.
    doc->notifyViews(this, nullptr);
}
