#ifndef HANDOFFFILE_H
#define HANDOFFFILE_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The INI file through which the simulator learns the design, firmware, controller and
// clock: one group, written in ISO 8859-1 the way Qt's INI settings format reads it back.
// Whatever a value holds, it stays one value of that group: line breaks, quotes, "=", ";",
// "[" and control characters are escaped, and characters beyond ISO 8859-1 are written as
// \xNNNN escapes (one per UTF-16 unit) instead of being lost.
class HandoffFile
{
public:
    HandoffFile(const QString &path, const QString &group);

    // Entries are written in the order they were set; setting a key again replaces its value.
    void setValue(const QString &key, const QString &value);
    // Replaces the file in one step: a reader sees the old file or the new one, never a part.
    bool write();
    QString errorString() const { return error; }

    // The bytes that follow "KEY=" for value.
    static QByteArray encodedValue(const QString &value);

private:
    QString path;
    QString group;
    QList<QPair<QString, QString>> entries;
    QString error;
};

#endif
