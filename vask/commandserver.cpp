#include "commandserver.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

CommandServer::CommandServer(std::function<bool(int)> handler, QObject *parent)
    : QObject(parent)
    , handler(std::move(handler))
    , server(new QLocalServer(this))
{
    connect(server, &QLocalServer::newConnection, this, &CommandServer::accept);
}

CommandServer::~CommandServer() = default;

bool CommandServer::listen(QString *error, const QString &name)
{
    const QString wanted = name.isEmpty() ? QStringLiteral("VASK-%1").arg(QCoreApplication::applicationPid()) : name;
    // A socket file left by a crashed process of the same id would block the name.
    QLocalServer::removeServer(wanted);
    if (server->listen(wanted))
        return true;
    *error = QCoreApplication::translate("CommandServer", "Cannot listen for the IDE's commands on %1: %2")
                 .arg(wanted, server->errorString());
    return false;
}

QString CommandServer::name() const
{
    return server->serverName();
}

void CommandServer::accept()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        readRequests(socket);
    }
}

void CommandServer::readRequests(QLocalSocket *socket)
{
    while (socket->bytesAvailable() >= 12) {
        const QByteArray request = socket->read(12);
        const auto word = [&request](int index) { return qFromLittleEndian<qint32>(request.constData() + 4 * index); };
        const bool understood = word(0) == message && handler(word(1));
        socket->write(understood ? "\x01" : "\x00", 1);
        socket->flush();
    }
}
