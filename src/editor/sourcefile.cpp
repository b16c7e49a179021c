#include "editor/sourcefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

QString SourceFile::decode(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QByteArray SourceFile::encode(const QString &text)
{
    return text.toLocal8Bit();
}

bool SourceFile::load(const QString &filePath)
{
    path = filePath;
    error.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    text_ = decode(bytes);
    return true;
}

bool SourceFile::roundTrips() const
{
    return encode(text_) == bytes;
}

bool SourceFile::save(const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(text)) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    text_ = text;
    return true;
}
