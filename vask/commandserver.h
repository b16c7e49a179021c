#ifndef COMMANDSERVER_H
#define COMMANDSERVER_H

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;

// The local socket "VASK-<pid>" through which the IDE commands the simulator: each request
// is three 32-bit little-endian integers (message 1424, command, 0) and gets one byte back
// once it has been handled: 1 when it was understood, 0 otherwise.
class CommandServer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 message = 1424;
    enum Command { StopRun = 2, Close = 3, Reload = 4 };

    // handler runs each understood command and says whether the command is one it knows.
    explicit CommandServer(std::function<bool(int command)> handler, QObject *parent = nullptr);
    ~CommandServer() override;

    // Listens under "VASK-" + pid (or the given name); false with a message.
    bool listen(QString *error, const QString &name = QString());
    QString name() const;

private:
    void accept();
    void readRequests(QLocalSocket *socket);

    std::function<bool(int)> handler;
    QLocalServer *server;
};

#endif
