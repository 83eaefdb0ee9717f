#include "solver_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <cerrno>
#include <csignal>
#include <memory>

QString solverPathBeside(const QString& applicationDir) { return applicationDir + QStringLiteral("/kolt-32"); }

QByteArray methodArgument(int methodComboIndex) {
    static const char* const kArguments[] = {"MVA", "MVAP", "HMVA", "JACKSON", "DIFF", "SIMUL"};
    if (methodComboIndex < 0 || methodComboIndex >= int(std::size(kArguments))) return {};
    return kArguments[methodComboIndex];
}

namespace {

// The child's argument list and three-entry environment, kept alive while
// it is being started.
struct ChildStart {
    QByteArray program, document, method, marker{"WINKOLT"}, diagnostics, results;
    ChildStart(const QString& solverPath, const QString& documentPath, const QByteArray& argument,
               const QString& errPath, const QString& wnkPath)
        : program(QFile::encodeName(solverPath)),
          document(QFile::encodeName(documentPath)),
          method(argument),
          diagnostics(QFile::encodeName(errPath)),
          results(QFile::encodeName(wnkPath)) {}

    // The pid, or 0 when the program could not be executed. glibc's
    // posix_spawn reports a failed exec (missing or non-executable file)
    // through its result, so a pid means the program runs.
    pid_t spawn() {
        char* argv[] = {program.data(), document.data(), method.data(), nullptr};
        // The solver takes its mode and its two output paths from the first
        // three entries of its environment, so it gets these three and
        // nothing else.
        char* envp[] = {marker.data(), diagnostics.data(), results.data(), nullptr};
        pid_t child = 0;
        return posix_spawn(&child, program.constData(), nullptr, nullptr, argv, envp) == 0 ? child : 0;
    }
};

// The exit status of an ended child: a killed solver is a failed run.
int exitStatusOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

SolverOutcome runSolverProcess(const QString& solverPath, const QString& documentPath, const QByteArray& argument,
                               const QString& errPath, const QString& wnkPath) {
    ChildStart start(solverPath, documentPath, argument, errPath, wnkPath);
    SolverOutcome outcome;
    const pid_t child = start.spawn();
    if (child == 0) return outcome;

    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != child) return outcome;

    outcome.started = true;
    outcome.exitStatus = exitStatusOf(status);
    return outcome;
}

SolverOutcome runSolverProcessWithProgress(QWidget* parent, const QString& solverPath, const QString& documentPath,
                                           const QByteArray& argument, const QString& errPath, const QString& wnkPath,
                                           int dialogDelayMs) {
    ChildStart start(solverPath, documentPath, argument, errPath, wnkPath);
    SolverOutcome outcome;
    const pid_t child = start.spawn();
    if (child == 0) return outcome;

    QElapsedTimer elapsed;
    elapsed.start();
    std::unique_ptr<QProgressDialog> dialog;
    QEventLoop loop;
    QTimer poll;
    bool ended = false;
    bool waitFailed = false;
    int status = 0;
    // The child is looked at every 20 ms; the dialog appears once it has
    // run for dialogDelayMs, and from then on takes the user's input.
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const pid_t waited = waitpid(child, &status, WNOHANG);
        if (waited == child || (waited < 0 && errno != EINTR)) {
            ended = true;
            waitFailed = waited != child;
            loop.quit();
            return;
        }
        const qint64 ms = elapsed.elapsed();
        if (!dialog && ms >= dialogDelayMs) {
            dialog = std::make_unique<QProgressDialog>(parent);
            dialog->setWindowTitle(QStringLiteral("WinKolt"));
            dialog->setCancelButtonText(QStringLiteral("Przerwij"));
            dialog->setRange(0, 0);  // no measure of progress: a busy bar
            dialog->setMinimumDuration(0);
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
            dialog->setMinimumWidth(320);
            QObject::connect(dialog.get(), &QProgressDialog::canceled, &loop, [&] {
                if (outcome.cancelled) return;
                outcome.cancelled = true;
                kill(child, SIGKILL);
            });
            dialog->show();
            loop.quit();  // run on with user input
        }
        if (dialog)
            dialog->setLabelText(outcome.cancelled
                                     ? QStringLiteral("Przerywanie analizy...")
                                     : QStringLiteral("Trwa analiza...\nCzas: %1 s")
                                           .arg(QString::number(ms / 1000.0, 'f', 1).replace(u'.', u',')));
    });
    poll.start(20);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!ended) loop.exec();
    poll.stop();
    dialog.reset();
    if (waitFailed) return outcome;
    outcome.started = true;
    outcome.exitStatus = exitStatusOf(status);
    return outcome;
}
