#ifndef SOURCEFILE_H
#define SOURCEFILE_H

#include <QByteArray>
#include <QString>
#include <QStringView>

// A source file's text as the editor reads it from disk and writes it back, for work on
// files that no editor shows: the same decoding, the same atomic save. One object can load
// file after file; it keeps its buffers, so a pass over many files allocates little.
class SourceFile
{
public:
    // Reads path; on failure errorString() names the reason and false is returned.
    bool load(const QString &path);
    QStringView text() const { return QStringView(buffer.constData(), length); }
    const QString &errorString() const { return error; }
    // Whether saving the unchanged text would give back the very bytes that were read;
    // a file that would not is never rewritten, so nothing of it is lost.
    bool roundTrips() const;
    // Replaces the file's content with text in the same encoding; the old content stays
    // until the new one is completely on disk.
    bool save(QStringView text);

    static QByteArray encode(QStringView text);

private:
    QString path;
    QByteArray bytes;
    QString buffer;
    qsizetype length = 0;
    QString error;
};

#endif
