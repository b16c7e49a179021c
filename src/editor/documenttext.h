#ifndef DOCUMENTTEXT_H
#define DOCUMENTTEXT_H

#include <QString>

class QsciScintillaBase;

// An editor's text as a string, with the way between the editor's positions (bytes of
// its UTF-8 text) and offsets into the string (UTF-16 units).
class DocumentText
{
public:
    explicit DocumentText(QsciScintillaBase *editor);

    const QString &text() const { return text_; }
    int length() const { return int(bytes.size()); }
    qsizetype offsetOf(int position) const;
    // Counting can start from a known pair, so walking a document once converts many offsets.
    int positionOf(qsizetype offset, qsizetype knownOffset = 0, int knownPosition = 0) const;

private:
    QByteArray bytes;
    QString text_;
};

#endif
