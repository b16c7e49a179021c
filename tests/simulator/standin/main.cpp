// A stand-in for the simulator program, for the tests of the IDE's side of the link.
//
// Takes "/P:<hand-off file>", serves the local socket "VASK-<pid>", answers every message
// with one byte and quits after command 3. Each thing it sees goes to the file named by
// ZMX_STANDIN_LOG as one JSON object per line:
//   {"event":"start","pid":N,"args":[...],"cwd":"..."}
//   {"event":"ini","path":"...","groups":[...],"values":{"KEY":"value",...},"raw":"..."}
//   {"event":"command","message":N,"command":N,"parameter":N}
// The hand-off file is read at start and after every command 4, the way a Qt program reads
// an ISO 8859-1 INI file. ZMX_STANDIN_MODE changes its behaviour:
//   exit    ends at once (exit code 0) after logging its start
//   silent  takes messages but never answers them
//   crash   aborts just after it answered the command 4 that starts a simulation (AUTORUN=1)

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <csignal>

namespace {

void log(const QJsonObject &entry)
{
    QFile file(qEnvironmentVariable("ZMX_STANDIN_LOG"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
}

// Returns whether the file asks for the simulation to run at once.
bool logHandoffFile(const QString &path)
{
    QJsonObject entry{{"event", "ini"}, {"path", path}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        entry.insert("error", file.errorString());
        log(entry);
        return false;
    }
    const QString text = QString::fromLatin1(file.readAll());
    entry.insert("raw", text);
    // Qt's INI reader takes UTF-8; the file is ISO 8859-1.
    QTemporaryDir scratch;
    const QString copy = scratch.filePath("handoff.ini");
    QFile converted(copy);
    if (converted.open(QIODevice::WriteOnly))
        converted.write(text.toUtf8());
    converted.close();
    QSettings settings(copy, QSettings::IniFormat);
    QJsonArray groups;
    QJsonObject values;
    const QStringList groupNames = settings.childGroups();
    for (const QString &group : groupNames) {
        groups.append(group);
        settings.beginGroup(group);
        const QStringList keys = settings.childKeys();
        for (const QString &key : keys)
            values.insert(key, settings.value(key).toString());
        settings.endGroup();
    }
    entry.insert("groups", groups);
    entry.insert("values", values);
    log(entry);
    return groupNames.size() == 1 && values.value("AUTORUN").toString() == "1";
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString mode = qEnvironmentVariable("ZMX_STANDIN_MODE");
    const QStringList arguments = application.arguments().mid(1);
    log({{"event", "start"},
         {"pid", QCoreApplication::applicationPid()},
         {"args", QJsonArray::fromStringList(arguments)},
         {"cwd", QDir::currentPath()}});
    if (mode == "exit")
        return 0;

    QString handoffPath;
    if (arguments.size() == 1 && arguments.first().startsWith("/P:"))
        handoffPath = arguments.first().mid(3);
    if (!handoffPath.isEmpty())
        logHandoffFile(handoffPath);

    const QString name = QStringLiteral("VASK-%1").arg(QCoreApplication::applicationPid());
    QLocalServer server;
    QLocalServer::removeServer(name);
    if (!server.listen(name)) {
        log({{"event", "error"}, {"text", server.errorString()}});
        return 2;
    }
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [&, socket] {
                if (socket->bytesAvailable() < 12)
                    return;
                const QByteArray packet = socket->read(12);
                const quint32 message = qFromLittleEndian<quint32>(packet.constData());
                const qint32 command = qFromLittleEndian<qint32>(packet.constData() + 4);
                const qint32 parameter = qFromLittleEndian<qint32>(packet.constData() + 8);
                log({{"event", "command"},
                     {"message", qint64(message)},
                     {"command", command},
                     {"parameter", parameter}});
                const bool running = command == 4 && !handoffPath.isEmpty() && logHandoffFile(handoffPath);
                if (mode == "silent")
                    return;
                socket->write("\1", 1);
                socket->flush();
                if (command == 3)
                    QTimer::singleShot(0, &application, &QCoreApplication::quit);
                else if (running && mode == "crash")
                    QTimer::singleShot(100, [] { std::raise(SIGKILL); });
            });
        }
    });
    return application.exec();
}
