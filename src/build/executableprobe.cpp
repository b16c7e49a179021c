#include "build/executableprobe.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <functional>

namespace {

// Runs the event loop until done() holds or the time is up; processes that change state
// wake it, so nothing polls.
bool waitUntil(QProcess &process, const std::function<bool()> &done, int limitMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    QObject::connect(&process, &QProcess::stateChanged, &loop, check);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, check);
    timer.start(limitMs);
    loop.exec();
    return done();
}

}

std::optional<QString> ExecutableProbe::run(const QString &program, const QString &argument)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    bool started = false;
    QObject::connect(&process, &QProcess::started, [&] { started = true; });
    const auto notRunning = [&] { return process.state() == QProcess::NotRunning; };

    process.start(program, argument.isEmpty() ? QStringList() : QStringList{argument});
    waitUntil(process, [&] { return process.state() != QProcess::Starting; }, startLimitMs);
    // A banner never needs input: a program that reads it sees the end at once.
    if (process.state() == QProcess::Running)
        process.closeWriteChannel();

    if (!waitUntil(process, notRunning, finishLimitMs)) {
        process.terminate();
        if (!waitUntil(process, notRunning, stopLimitMs)) {
            process.kill();
            waitUntil(process, notRunning, stopLimitMs);
        }
        return std::nullopt;
    }
    if (!started || process.exitStatus() == QProcess::CrashExit)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAll());
}
