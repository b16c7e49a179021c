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
    pending.clear();
    delivering = false;

    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingDirectory);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    Platform::startAsGroupLeader(*process);
    connect(process, &QProcess::readyReadStandardOutput, this, &MakeRunner::readOutput);
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
        readOutput();
        deliver(true);
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

// Appending a line lets events run, which may deliver the next chunk here again: the inner
// call only leaves the bytes where they are, and the outer loop takes them up once its lines
// are out, so the order of lines is kept.
void MakeRunner::readOutput()
{
    if (delivering || !process)
        return;
    delivering = true;
    for (;;) {
        const QByteArray chunk = process->readAllStandardOutput();
        if (chunk.isEmpty())
            break;
        pending += chunk;
        deliver(false);
    }
    delivering = false;
}

void MakeRunner::deliver(bool all)
{
    qsizetype start = 0;
    for (;;) {
        if (aborted) {
            pending.clear();
            return;
        }
        const qsizetype end = pending.indexOf('\n', start);
        if (end < 0)
            break;
        const QString line = QString::fromLocal8Bit(pending.constData() + start, end - start);
        start = end + 1;
        emit outputLine(line);
    }
    pending.remove(0, start);
    if (all && !pending.isEmpty() && !aborted) {
        const QString line = QString::fromLocal8Bit(pending);
        pending.clear();
        emit outputLine(line);
    }
}
