#ifndef STANDININSTALLATION_H
#define STANDININSTALLATION_H

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// A simulator installation in a scratch folder whose program is the stand-in, with the
// stand-in's log. Hand-off files go to a temporary folder of its own (TEMP). Stand-ins that
// still run when it goes are killed.
class StandInInstallation
{
public:
    StandInInstallation();
    ~StandInInstallation();

    bool isValid() const { return valid; }
    QString path() const { return folder.path(); }
    QString tempPath() const { return folder.filePath(QStringLiteral("temp")); }
    // Behaviour of the stand-ins started from now on: "", "exit", "silent" or "crash".
    static void setMode(const QString &mode);

    // The logged entries, oldest first; only those of one event when it is given.
    QList<QJsonObject> entries(const QString &event = QString()) const;
    // The commands received, in order.
    QList<int> commands() const;
    // Keys and values of the hand-off file as the stand-in read it the last time.
    QJsonObject lastHandoff() const;
    int starts() const { return int(entries(QStringLiteral("start")).size()); }
    // Ends every stand-in this installation started that still runs.
    void killAll() const;

private:
    QTemporaryDir folder;
    QByteArray previousTemp;
    bool valid = false;
};

#endif
