#include "platform/simulatorwindow.h"

#include <QLocalSocket>
#include <QtEndian>

namespace Platform {

namespace {

// The simulator serves a local socket named after its process instead of a window.
QString socketName(qint64 processId)
{
    return QStringLiteral("VASK-%1").arg(processId);
}

constexpr int connectTimeoutMs = 1000;
constexpr int replyTimeoutMs = 5000;

}

bool simulatorWindowExists(qint64 processId)
{
    if (processId <= 0)
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketName(processId));
    const bool found = socket.waitForConnected(connectTimeoutMs);
    socket.abort();
    return found;
}

bool sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter)
{
    if (processId <= 0)
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketName(processId));
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    uchar packet[12];
    qToLittleEndian<quint32>(message, packet);
    qToLittleEndian<qint32>(command, packet + 4);
    qToLittleEndian<qint32>(parameter, packet + 8);
    socket.write(reinterpret_cast<const char *>(packet), sizeof packet);
    if (!socket.waitForBytesWritten(replyTimeoutMs))
        return false;
    // Like a synchronous window message: wait until the simulator acknowledges it.
    const bool answered = socket.bytesAvailable() > 0 || socket.waitForReadyRead(replyTimeoutMs);
    socket.abort();
    return answered;
}

void bringSimulatorToFront(qint64 processId)
{
    Q_UNUSED(processId)
}

}
