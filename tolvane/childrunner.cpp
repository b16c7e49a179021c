#include "childrunner.h"

#include "signalforwarder.h"

#include <QProcess>

#include <cstdio>

ChildRunner::ChildRunner(const QString &program, const QStringList &arguments)
    : m_program(program)
    , m_arguments(arguments)
{
}

std::optional<int> ChildRunner::run() const
{
    QProcess process;
    SignalForwarder forwarder;
    // Nothing is buffered here: the child writes to our descriptors itself, so its
    // output keeps its order and survives a crash of either process.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(m_program, m_arguments, QIODevice::ReadWrite);

    // A program that never ran reports a normal exit with code 0; without this
    // check a missing tool would pass as a success.
    if (!process.waitForStarted(-1)) {
        const QByteArray message = "tolvane: cannot start \"" + m_program.toLocal8Bit()
                + "\": " + process.errorString().toLocal8Bit() + '\n';
        std::fputs(message.constData(), stderr);
        std::fflush(stderr);
        return std::nullopt;
    }
    forwarder.setChild(process.processId());

    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return process.exitCode();
}
