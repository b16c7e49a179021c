#include "editor/textfile.h"

#include "platform/textencoding.h"

#include <QCoreApplication>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// A byte-order mark is text like any other: it is kept, not skipped, so it is written back.
constexpr QStringConverter::Flags keepBom = QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless;

}

TextFile::Content TextFile::decode(const QByteArray &bytes)
{
    // Plain ASCII means the same characters in every local encoding, and back.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return uchar(byte) < 0x80; }))
        return {QString::fromLatin1(bytes), Encoding::Local};
    QStringDecoder local(QStringConverter::System, keepBom);
    const QString text = local(bytes);
    // Decoding without complaint is not enough: only a text that gives back the very same
    // bytes may be saved in this encoding without corrupting the file.
    if (!local.hasError() && encode(text, Encoding::Local) == bytes)
        return {text, Encoding::Local};
    return {QString::fromLatin1(bytes), Encoding::Latin1};
}

QByteArray TextFile::encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Latin1:
        return text.toLatin1();
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Local:
        break;
    }
    QStringEncoder local(QStringConverter::System, QStringConverter::Flag::Stateless);
    return local(text);
}

bool TextFile::canEncode(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Latin1)
        return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xff; });
    // A surrogate without its partner names no character; encoders quietly write "?" for it.
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text.at(index);
        if (c.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
            ++index;
        else if (c.isSurrogate())
            return false;
    }
    if (encoding == Encoding::Utf8)
        return true;
    QStringEncoder local(QStringConverter::System, QStringConverter::Flag::Stateless);
    (void)local.encode(text);
    return !local.hasError();
}

QString TextFile::encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Latin1:
        return QStringLiteral("ISO-8859-1");
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Local:
        break;
    }
    return Platform::localEncodingName();
}

std::optional<TextFile::Content> TextFile::read(const QString &path, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, bytes, error))
        return std::nullopt;
    return decode(bytes);
}

bool TextFile::readBytes(const QString &path, QByteArray &bytes, QString *error)
{
    // A folder is only looked for when reading fails, so a pass over many files costs no
    // extra look-up per file.
    const auto fail = [&](const QFile &file) {
        if (error)
            *error = QFileInfo(path).isDir() ? QCoreApplication::translate("TextFile", "%1 is a folder").arg(path)
                                             : file.errorString();
        return false;
    };
    // Binary, so that the line ends of the file reach the text as they are.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file);
    if (file.isSequential()) {
        bytes = file.readAll();
        return true;
    }
    // One read of the size the file has; a file that shrank meanwhile gives what it holds.
    bytes.resize(file.size());
    const qint64 got = file.read(bytes.data(), bytes.size());
    if (got < 0)
        return fail(file);
    bytes.resize(got);
    return true;
}

bool TextFile::write(const QString &path, const QString &text, Encoding encoding, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(encode(text, encoding)) >= 0 && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
