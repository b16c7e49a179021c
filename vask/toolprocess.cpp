#include "toolprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ToolProcess", text);
}

// Short enough that a raised cancel flag is seen at once by a person closing the window.
constexpr int pollMs = 20;

}

QString ToolProcess::locate(const char *environmentVariable, const QString &name)
{
    const QString chosen = qEnvironmentVariable(environmentVariable);
    if (!chosen.isEmpty())
        return chosen;
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? name : found;
}

ToolProcess::ToolProcess()
{
    // The tools' complaints on standard error are not answers; keep them out of the way.
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    // A tool whose simulator was killed would run on unseen (gpsim spins at end of input):
    // it goes when the thread that started it goes, and at once if that already happened.
    const pid_t simulator = getpid();
    process.setChildProcessModifier([simulator] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != simulator)
            _exit(1);
    });
}

ToolProcess::~ToolProcess()
{
    finish(QByteArray());
}

bool ToolProcess::start(const QString &program, const QStringList &arguments, const QString &folder, QString *error)
{
    name = QFileInfo(program).fileName();
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForStarted(answerTimeoutMs)) {
        *error = process.error() == QProcess::FailedToStart
                     ? tr("The simulator tool %1 cannot be started (%2). Is it installed?").arg(program, process.errorString())
                     : tr("The simulator tool %1 does not start: %2").arg(program, process.errorString());
        return false;
    }
    return true;
}

void ToolProcess::send(const QByteArray &commands)
{
    if (isRunning())
        process.write(commands);
}

QString ToolProcess::failure() const
{
    if (process.exitStatus() == QProcess::CrashExit || process.error() == QProcess::Crashed)
        return tr("The simulator tool %1 crashed.").arg(name);
    return tr("The simulator tool %1 ended unexpectedly (exit code %2).").arg(name).arg(process.exitCode());
}

bool ToolProcess::readUntil(const LineHandler &handler, const std::atomic_bool *cancel, QString *error)
{
    QDeadlineTimer silence(answerTimeoutMs);
    for (;;) {
        int newline;
        while ((newline = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(newline);
            pending.remove(0, newline + 1);
            if (handler(line))
                return true;
        }
        if (cancel && cancel->load()) {
            *error = tr("The simulation was cancelled.");
            return false;
        }
        if (!isRunning() && process.bytesAvailable() == 0) {
            *error = failure();
            return false;
        }
        if (silence.hasExpired()) {
            *error = tr("The simulator tool %1 stopped answering and was ended.").arg(name);
            process.kill();
            process.waitForFinished(pollMs * 10);
            return false;
        }
        if (process.waitForReadyRead(pollMs) || process.bytesAvailable() > 0) {
            pending += process.readAllStandardOutput();
            silence.setRemainingTime(answerTimeoutMs);
        }
    }
}

void ToolProcess::finish(const QByteArray &quitCommand)
{
    if (process.state() == QProcess::NotRunning)
        return;
    if (!quitCommand.isEmpty()) {
        process.write(quitCommand);
        process.closeWriteChannel();
        if (process.waitForFinished(200))
            return;
    }
    process.kill();
    process.waitForFinished(1000);
}
