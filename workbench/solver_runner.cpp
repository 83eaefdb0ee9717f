#include "solver_runner.h"

#include <QFile>

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

QString solverPathBeside(const QString& applicationDir) { return applicationDir + QStringLiteral("/kolt-32"); }

QByteArray methodArgument(int methodComboIndex) {
    static const char* const kArguments[] = {"MVA", "MVAP", "HMVA", "JACKSON", "DIFF", "SIMUL"};
    if (methodComboIndex < 0 || methodComboIndex >= int(std::size(kArguments))) return {};
    return kArguments[methodComboIndex];
}

SolverOutcome runSolverProcess(const QString& solverPath, const QString& documentPath,
                               const QByteArray& argument, const QString& errPath,
                               const QString& wnkPath) {
    QByteArray program = QFile::encodeName(solverPath);
    QByteArray document = QFile::encodeName(documentPath);
    QByteArray method = argument;
    QByteArray marker("WINKOLT");
    QByteArray diagnostics = QFile::encodeName(errPath);
    QByteArray results = QFile::encodeName(wnkPath);

    char* argv[] = {program.data(), document.data(), method.data(), nullptr};
    // The solver takes its mode and its two output paths from the first three
    // entries of its environment, so it gets these three and nothing else.
    char* envp[] = {marker.data(), diagnostics.data(), results.data(), nullptr};

    SolverOutcome outcome;
    pid_t child = 0;
    // glibc's posix_spawn reports a failed exec (missing or non-executable
    // file) through its result, so "started" really means the program runs.
    if (posix_spawn(&child, program.constData(), nullptr, nullptr, argv, envp) != 0) return outcome;

    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != child) return outcome;

    outcome.started = true;
    if (WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        outcome.exitStatus = 128 + WTERMSIG(status);  // a killed solver is a failed run
    return outcome;
}
