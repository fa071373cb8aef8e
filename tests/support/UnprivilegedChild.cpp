#include "tests/support/UnprivilegedChild.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSupport {

namespace {
constexpr uid_t Nobody = 65534;
constexpr int CannotDrop = 77; // the child's exit code when it cannot become nobody
} // namespace

UnprivilegedRun runUnprivileged(const QString& reachableDir, const QStringList& arguments,
                                const QProcessEnvironment& environment, int timeoutMs)
{
    UnprivilegedRun run;
    const bool asRoot = ::geteuid() == 0;
    QString program = QCoreApplication::applicationFilePath();
    if (asRoot) {
        const QString copy = reachableDir + "/" + QFileInfo(program).fileName();
        if (!QFile::exists(copy) && !QFile::copy(program, copy)) {
            run.cannotRun = "cannot copy the test program to " + copy;
            return run;
        }
        ::chmod(QFile::encodeName(copy).constData(), 0755);
        program = copy;
    }
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(reachableDir);
    if (asRoot)
        child.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) ::_exit(CannotDrop);
        });
    child.start();
    run.finished = child.waitForFinished(timeoutMs);
    if (!run.finished && child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished();
    }
    run.exitCode = child.exitCode();
    // An exec refused (126, 127) or a failed start: nobody cannot reach the program.
    if (child.error() == QProcess::FailedToStart ||
        (run.finished && (run.exitCode == CannotDrop || run.exitCode == 126 || run.exitCode == 127)))
        run.cannotRun = child.errorString() + QStringLiteral(" (exit code %1)").arg(run.exitCode);
    run.output = child.readAllStandardOutput();
    return run;
}

} // namespace TestSupport
