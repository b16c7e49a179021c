#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

bool TestFiles::copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QByteArray TestFiles::contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestFiles::isIntelHex(const QString &path)
{
    static const QRegularExpression record(QStringLiteral("^:[0-9A-Fa-f]{10,}$"));
    QList<QByteArray> records;
    for (const QByteArray &line : contents(path).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!record.match(QString::fromLatin1(trimmed)).hasMatch())
            return false;
        records.append(trimmed);
    }
    return records.size() > 1 && records.last() == ":00000001FF";
}

bool TestFiles::dropDesign(const QString &projectFile)
{
    QFile file(projectFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> kept;
    QString design;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int at = line.indexOf(".dsn\"");
        if (at < 0) {
            kept.append(line);
            continue;
        }
        const int start = line.indexOf("NAME=\"") + 6;
        design = QString::fromUtf8(line.mid(start, at + 4 - start));
    }
    file.close();
    if (!design.isEmpty())
        QFile::remove(QFileInfo(projectFile).dir().filePath(design));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(kept.join('\n')) >= 0;
}
