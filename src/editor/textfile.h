#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <QByteArray>
#include <QString>
#include <optional>

// How a source file's bytes become text and back. Bytes that are valid in the local 8-bit
// encoding are read in it; any other file is read as Latin-1, where every byte is a
// character, and written back in it. A file read and written unchanged is byte-identical.
class TextFile
{
public:
    enum class Encoding { Local, Latin1, Utf8 };

    struct Content
    {
        QString text;
        Encoding encoding = Encoding::Local;
    };

    static Content decode(const QByteArray &bytes);
    static QByteArray encode(const QString &text, Encoding encoding);
    // Whether every character of text has a byte form in encoding.
    static bool canEncode(const QString &text, Encoding encoding);
    static QString encodingName(Encoding encoding);

    // The whole file; none when it cannot be read, with the system's reason in error.
    static std::optional<Content> read(const QString &path, QString *error = nullptr);
    // The file's bytes into bytes, whose storage is reused from file to file. False with the
    // reason in error.
    static bool readBytes(const QString &path, QByteArray &bytes, QString *error = nullptr);
    // Replaces the file only once the new content is completely on disk. False with the
    // system's reason in error.
    static bool write(const QString &path, const QString &text, Encoding encoding, QString *error = nullptr);
};

#endif
