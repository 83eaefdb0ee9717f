// Starting the solver as a child process and waiting for it.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// The solver expected beside the workbench's executable.
QString solverPathBeside(const QString& applicationDir);  // applicationDir + "/kolt-32"

// The solver's method name for an index of the method list:
// 0 "MVA", 1 "MVAP", 2 "HMVA", 3 "JACKSON", 4 "DIFF", 5 "SIMUL"; empty when out
// of range.
QByteArray methodArgument(int methodComboIndex);

struct SolverOutcome {
    bool started = false;
    int exitStatus = -1;     // non-zero also when the child was killed by a signal
    bool cancelled = false;  // the user ended the solver ("Przerwij")
};

// Starts solverPath with argv {solverPath, documentPath, argument} and an
// environment of exactly three entries {"WINKOLT", errPath, wnkPath}, then
// waits for it. Blocking: no events are processed meanwhile. started is false
// when the program could not be executed or the wait failed.
SolverOutcome runSolverProcess(const QString& solverPath, const QString& documentPath, const QByteArray& argument,
                               const QString& errPath, const QString& wnkPath);

// The same start, waited for without blocking the event loop: windows are
// repainted while the solver works. For the first `dialogDelayMs` no user
// input is taken (nothing can start a second run or close a window under
// the running one); then a modal progress dialog owned by `parent` shows the
// elapsed time and a "Przerwij" button, which ends the solver (cancelled is
// then set, and the exit status is that of a killed process).
SolverOutcome runSolverProcessWithProgress(QWidget* parent, const QString& solverPath, const QString& documentPath,
                                           const QByteArray& argument, const QString& errPath, const QString& wnkPath,
                                           int dialogDelayMs = 500);
