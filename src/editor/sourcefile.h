#ifndef SOURCEFILE_H
#define SOURCEFILE_H

#include <QByteArray>
#include <QString>

// A source file's text as the editor reads it from disk and writes it back, for work on
// files that no editor shows: the same decoding, the same atomic save.
class SourceFile
{
public:
    // Reads path; on failure error names the reason and false is returned.
    bool load(const QString &path);
    const QString &text() const { return text_; }
    const QString &errorString() const { return error; }
    // Whether saving the unchanged text would give back the very bytes that were read;
    // a file that would not is never rewritten, so nothing of it is lost.
    bool roundTrips() const;
    // Replaces the file's content with text in the same encoding; the old content stays
    // until the new one is completely on disk.
    bool save(const QString &text);

    static QString decode(const QByteArray &bytes);
    static QByteArray encode(const QString &text);

private:
    QString path;
    QByteArray bytes;
    QString text_;
    QString error;
};

#endif
