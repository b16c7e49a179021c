#include "standininstallation.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <csignal>
#include <sys/types.h>

StandInInstallation::StandInInstallation() : previousTemp(qgetenv("TEMP"))
{
    QDir(folder.path()).mkpath(QStringLiteral("bin"));
    QDir(folder.path()).mkpath(QStringLiteral("temp"));
    valid = QFile::link(QStringLiteral(ZMX_SIMULATOR_STANDIN), folder.filePath(QStringLiteral("bin/vask")));
    qputenv("ZMX_STANDIN_LOG", folder.filePath(QStringLiteral("standin.log")).toLocal8Bit());
    qputenv("TEMP", tempPath().toLocal8Bit());
    setMode(QString());
}

StandInInstallation::~StandInInstallation()
{
    killAll();
    qputenv("TEMP", previousTemp);
    qunsetenv("ZMX_STANDIN_LOG");
    setMode(QString());
}

void StandInInstallation::setMode(const QString &mode)
{
    qputenv("ZMX_STANDIN_MODE", mode.toLocal8Bit());
}

QList<QJsonObject> StandInInstallation::entries(const QString &event) const
{
    QList<QJsonObject> found;
    QFile log(folder.filePath(QStringLiteral("standin.log")));
    if (!log.open(QIODevice::ReadOnly))
        return found;
    while (!log.atEnd()) {
        const QJsonObject entry = QJsonDocument::fromJson(log.readLine()).object();
        if (event.isEmpty() || entry.value(QStringLiteral("event")).toString() == event)
            found.append(entry);
    }
    return found;
}

QList<int> StandInInstallation::commands() const
{
    QList<int> found;
    for (const QJsonObject &entry : entries(QStringLiteral("command")))
        found.append(entry.value(QStringLiteral("command")).toInt());
    return found;
}

QJsonObject StandInInstallation::lastHandoff() const
{
    const QList<QJsonObject> read = entries(QStringLiteral("ini"));
    return read.isEmpty() ? QJsonObject() : read.last().value(QStringLiteral("values")).toObject();
}

void StandInInstallation::killAll() const
{
    for (const QJsonObject &start : entries(QStringLiteral("start"))) {
        const pid_t pid = pid_t(start.value(QStringLiteral("pid")).toInteger());
        if (pid > 0 && ::kill(pid, 0) == 0)
            ::kill(pid, SIGKILL);
    }
}
