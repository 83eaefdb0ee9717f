// Running the solver on the model editor's document, and recording what the
// run came to.
#include <QFile>

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

int SolverRun::runState() const {
    // An ended run has no outcome: whatever the files hold, it failed.
    if (process.exitStatus != 0 || process.cancelled) return 0;
    return syntaxOnly ? 1 : 2;
}

SolverRun CWinKoltView::runSolver(bool syntaxOnly, int methodIndex, const QString& solverPath) {
    SolverRun run;
    run.syntaxOnly = syntaxOnly;
    run.methodIndex = methodIndex;
    run.documentPath = doc->path();
    const QString& path = run.documentPath;
    if (path.isEmpty()) return run;
    if (isOwnRunFile(path)) {
        run.result = SolverRun::Result::Refused;
        return run;
    }

    // The run files are named after the path as it is now, so a document
    // saved under a new name runs and records under that name.
    const QByteArray argument = syntaxOnly ? QByteArrayLiteral("-c") : methodArgument(methodIndex);
    // The event loop runs while the solver works; a long run shows a
    // progress dialog from which the user can end it.
    run.process =
        runSolverProcessWithProgress(this, solverPath, path, argument, diagnosticsPath(path), resultsPath(path));
    run.result = run.process.started ? SolverRun::Result::Ended : SolverRun::Result::NotStarted;
    return run;
}

void recordSolverRun(CWinKoltDoc* document, const SolverRun& run) {
    // The report says why a run stopped when the user ended it.
    const QString& path = run.documentPath;
    if (run.process.cancelled) appendCancelLine(diagnosticsPath(path));
    const int newState = run.runState();
    writeRunState(runSettingsPath(path), newState);
    document->setRunOutcome(newState, newState == 2 ? run.methodIndex : -1);
}
