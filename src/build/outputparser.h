#ifndef OUTPUTPARSER_H
#define OUTPUTPARSER_H

#include "build/buildprocess.h"
#include "build/makefilewriter.h"
#include "core/buildmessage.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <functional>

class Workbench;

// Turns the lines that make and the tools print, and the lines of the tools' error files,
// into output-window lines: a line that a message definition resolves to a file becomes a
// link to that file, line and column.
class OutputParser
{
    Q_DECLARE_TR_FUNCTIONS(OutputParser)

public:
    // The absolute path of the project file with that file name (ignoring letter case and
    // any directory part), or empty when the project has none.
    using ProjectFileLookup = std::function<QString(const QString &)>;

    explicit OutputParser(Workbench *workbench);

    void setDefinitions(const QList<MessageDefinition> &definitions);
    void setProjectFileLookup(ProjectFileLookup lookup) { projectFile = std::move(lookup); }
    // Where relative file names are looked for after the project's files; both empty when
    // no valid configuration is selected.
    void setDirectories(const QString &projectDirectory, const QString &buildDirectory);

    // Tries the definitions in order; values found by one that fails to resolve a file stay
    // for the next. True when a definition led to an absolute or existing file.
    bool parseMessage(const QString &text, QString &file, int &line, int &column) const;
    // The same, also telling the kind that the definition's KIND field captured (an error
    // when the definition has none); text is left for the caller.
    bool parseMessage(const QString &text, BuildMessage &message) const;
    bool matchesAnyMessage(const QString &text) const;

    // One whole line as make or a tool printed it, on either channel, without its line
    // feed. A resolved message becomes an error link; a line that a definition matches, or
    // that reports an error in words, an error line; anything else a message line.
    void outputLine(QString text);
    // An error or fatal error in words, or make giving up on a target.
    static bool reportsError(const QString &text);
    // Reads each error file that exists, after make has ended.
    void readErrorFiles(const QList<ErrorFile> &files);

    // The errors and warnings among the links since the last reset.
    int errorCount() const { return errors; }
    int warningCount() const { return warnings; }
    void resetCounts();
    // "2 errors, 1 warning" for the counts.
    QString countsText() const;

private:
    struct Definition
    {
        QRegularExpression pattern;
        QList<MessageField> fields;
    };

    bool resolveFile(QString &file) const;
    // Shows text as a link when a definition resolves it; false when none does.
    bool addLink(QString &text, bool error);

    Workbench *workbench;
    QList<Definition> definitions;
    ProjectFileLookup projectFile;
    QString projectDirectory;
    QString buildDirectory;
    int errors = 0;
    int warnings = 0;
};

#endif
