#ifndef BUILDMESSAGE_H
#define BUILDMESSAGE_H

#include <QString>

// One message of a build that names a place in a file: where the output link leads, what the
// tool said there and how serious it is. Line and column count from 0, as the editor does.
struct BuildMessage
{
    enum class Kind { Error, Warning, Note };

    QString file;
    int line = 0;
    int column = 0;
    QString text;
    Kind kind = Kind::Error;

    // The kind a tool's own word for it names ("fatal error", "Warning", "note", "Message"...);
    // a word that names neither an error nor a warning is a note.
    static Kind kindFromWord(const QString &word)
    {
        if (word.contains(QLatin1String("error"), Qt::CaseInsensitive))
            return Kind::Error;
        if (word.contains(QLatin1String("warning"), Qt::CaseInsensitive))
            return Kind::Warning;
        return Kind::Note;
    }

    bool operator==(const BuildMessage &other) const
    {
        return file == other.file && line == other.line && column == other.column && text == other.text &&
               kind == other.kind;
    }
};

#endif
