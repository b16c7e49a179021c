#include "platform/simulatorwindow.h"

#include "platform/eventwait.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QtEndian>

namespace Platform {

namespace {

// The simulator serves a local socket named after its process instead of a window.
QString socketName(qint64 processId)
{
    return QStringLiteral("VASK-%1").arg(processId);
}

// Connecting to a local socket is decided at once unless the server's backlog is full.
bool connectTo(QLocalSocket &socket, qint64 processId, int timeoutMs)
{
    socket.connectToServer(socketName(processId));
    waitUntil([&socket] { return socket.state() != QLocalSocket::ConnectingState; }, timeoutMs);
    return socket.state() == QLocalSocket::ConnectedState;
}

}

QString simulatorProgram(const QString &installationDirectory)
{
    return QDir(installationDirectory).filePath(QStringLiteral("bin/vask"));
}

bool simulatorWindowExists(qint64 processId)
{
    if (processId <= 0)
        return false;
    QLocalSocket socket;
    const bool found = connectTo(socket, processId, simulatorReplyTimeoutMs);
    socket.abort();
    return found;
}

SimulatorReply sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter)
{
    if (processId <= 0)
        return SimulatorReply::NoWindow;
    const QDeadlineTimer deadline(simulatorReplyTimeoutMs);
    QLocalSocket socket;
    if (!connectTo(socket, processId, simulatorReplyTimeoutMs)) {
        const bool refused = socket.state() == QLocalSocket::UnconnectedState;
        socket.abort();
        return refused ? SimulatorReply::NoWindow : SimulatorReply::NoAnswer;
    }
    uchar packet[12];
    qToLittleEndian<quint32>(message, packet);
    qToLittleEndian<qint32>(command, packet + 4);
    qToLittleEndian<qint32>(parameter, packet + 8);
    socket.write(reinterpret_cast<const char *>(packet), sizeof packet);
    socket.flush();
    // Like a synchronous window message: the one-byte reply says the simulator handled it.
    // A simulator that drops the connection without it has not.
    waitUntil([&socket] { return socket.bytesAvailable() > 0 || socket.state() != QLocalSocket::ConnectedState; },
              int(deadline.remainingTime()));
    const bool answered = socket.bytesAvailable() > 0;
    socket.abort();
    return answered ? SimulatorReply::Handled : SimulatorReply::NoAnswer;
}

void bringSimulatorToFront(qint64 processId)
{
    Q_UNUSED(processId)
}

}
