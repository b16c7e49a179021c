#include "build/makerunner.h"

#include "platform/processtree.h"

#include <QEventLoop>
#include <QProcess>
#include <memory>

MakeRunner::MakeRunner(QObject *parent) : QObject(parent) {}

MakeRunner::~MakeRunner() = default;

MakeRunner::Result MakeRunner::run(const QString &program, const QStringList &arguments,
                                   const QString &workingDirectory, const QProcessEnvironment &environment)
{
    Result result;
    if (process)
        return result;
    auto owned = std::make_unique<QProcess>();
    QEventLoop wait;
    process = owned.get();
    loop = &wait;
    aborted = false;
    output = Channel();
    error = Channel();

    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingDirectory);
    process->setProcessEnvironment(environment);
    Platform::startAsGroupLeader(*process);
    connect(process, &QProcess::readyReadStandardOutput, this, [this] { readChannel(output, true); });
    connect(process, &QProcess::readyReadStandardError, this, [this] { readChannel(error, false); });
    connect(process, &QProcess::finished, &wait, &QEventLoop::quit);
    connect(process, &QProcess::errorOccurred, &wait, [&wait](QProcess::ProcessError failure) {
        if (failure == QProcess::FailedToStart)
            wait.quit();
    });

    process->start(QIODevice::ReadWrite);
    // A start that fails at once has already reported it; the loop would wait forever.
    if (process->state() != QProcess::NotRunning || process->error() != QProcess::FailedToStart)
        wait.exec();

    if (aborted) {
        result.outcome = Outcome::Aborted;
    } else if (process->error() == QProcess::FailedToStart) {
        result.outcome = Outcome::NotStarted;
        result.errorString = process->errorString();
    } else {
        readChannel(output, true);
        readChannel(error, false);
        deliver(output, true, true);
        deliver(error, false, true);
        if (process->exitStatus() == QProcess::CrashExit) {
            result.outcome = Outcome::Crashed;
            result.errorString = process->errorString();
        } else {
            result.outcome = Outcome::Finished;
            result.exitCode = process->exitCode();
        }
    }
    process->disconnect(this);
    loop = nullptr;
    process = nullptr;
    return result;
}

void MakeRunner::abort()
{
    if (!process || aborted)
        return;
    aborted = true;
    if (process->state() != QProcess::NotRunning)
        Platform::killProcessTree(*process);
    else
        loop->quit();
}

// Appending a line lets events run, which may deliver the next chunk of the same channel
// here again: the inner call only leaves the bytes where they are, and the outer loop takes
// them up once its lines are out, so the order of lines is kept.
void MakeRunner::readChannel(Channel &channel, bool standardOutput)
{
    if (channel.delivering || !process)
        return;
    channel.delivering = true;
    for (;;) {
        const QByteArray chunk =
            standardOutput ? process->readAllStandardOutput() : process->readAllStandardError();
        if (chunk.isEmpty())
            break;
        channel.pending += chunk;
        deliver(channel, standardOutput, false);
    }
    channel.delivering = false;
}

void MakeRunner::deliver(Channel &channel, bool standardOutput, bool all)
{
    qsizetype start = 0;
    for (;;) {
        if (aborted) {
            channel.pending.clear();
            return;
        }
        const qsizetype end = channel.pending.indexOf('\n', start);
        if (end < 0)
            break;
        const QString line = QString::fromLocal8Bit(channel.pending.constData() + start, end - start);
        start = end + 1;
        if (standardOutput)
            emit standardOutputLine(line);
        else
            emit standardErrorLine(line);
    }
    channel.pending.remove(0, start);
    if (all && !channel.pending.isEmpty() && !aborted) {
        const QString line = QString::fromLocal8Bit(channel.pending);
        channel.pending.clear();
        if (standardOutput)
            emit standardOutputLine(line);
        else
            emit standardErrorLine(line);
    }
}
