#include "editor/sourcefile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

// The editor keeps files in the local 8-bit encoding.
QByteArray SourceFile::encode(QStringView text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

bool SourceFile::load(const QString &filePath)
{
    path = filePath;
    error.clear();
    length = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.isSequential()) {
        bytes = file.readAll();
    } else {
        bytes.resize(file.size());
        const qint64 read = file.read(bytes.data(), bytes.size());
        if (read < 0) {
            error = file.errorString();
            return false;
        }
        bytes.resize(read);
    }
    // Decoding never gives more UTF-16 units than there are bytes.
    if (buffer.size() < bytes.size())
        buffer.resize(bytes.size());
    QStringDecoder decoder(QStringConverter::System);
    length = decoder.appendToBuffer(buffer.data(), bytes) - buffer.constData();
    return true;
}

bool SourceFile::roundTrips() const
{
    return encode(text()) == bytes;
}

bool SourceFile::save(QStringView text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(text)) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
