#ifndef BUILDPROCESS_H
#define BUILDPROCESS_H

#include "build/optionvalue.h"

#include <QDomElement>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// An input, temporary or error file of a process: value is the file name or pattern (for
// the tree, a suffix), name an optional explicit name with placeholders, option the kind
// that ties the file to an option definition with the same ID. hideUnmatched matters for
// error files only: when true, the lines of that file that match no message definition are
// shown; when false they are dropped.
struct FileSpec
{
    QString value;
    QString name;
    QString option;
    bool hideUnmatched = true;
};

// What one process produces from which files (a FILE with a non-empty OUTPUT).
struct OutputDefinition
{
    QString output;                 // the file name or pattern produced (for the tree, a suffix)
    QString name;                   // explicit file name with placeholders, may be empty
    QString option;                 // the OPTION attribute of the output FILE
    QList<OptionValue> optionValues; // the FILE's own OPTION children, then the PROCESS's
    QList<FileSpec> inputs;
    QList<FileSpec> temporaryFiles;
    QList<FileSpec> errorFiles;
    // Files the tool writes listing what else the output was made from (make rules), so
    // that a changed header rebuilds the output.
    QList<FileSpec> dependencyFiles;
};

// A capture group of a message pattern: FILENAME, LINE or COLUMN (other names are kept but
// mean nothing), the group number, and a number added to numeric values.
struct MessageField
{
    QString name;
    int position = 0;
    int offset = 0;

    bool operator==(const MessageField &other) const
    {
        return name == other.name && position == other.position && offset == other.offset;
    }
};

// A regular expression for lines of tool output and what its groups mean.
struct MessageDefinition
{
    QString pattern;
    QList<MessageField> fields;

    bool operator==(const MessageDefinition &other) const
    {
        return pattern == other.pattern && fields == other.fields;
    }
};

// One translation step of a tool chain (PROCESS element): which tool runs it, its command
// line template and what it turns into what.
class BuildProcess : public QObject
{
    Q_OBJECT

public:
    explicit BuildProcess(QObject *parent = nullptr);

    // False (silently) when TOOL or CMDLINE is empty or a message FIELD has a POSITION
    // that is not an integer.
    bool load(const QDomElement &element);

    QString tool() const { return tool_; }
    QString name() const { return name_; }
    QString commandLine() const { return commandLine_; }
    const QList<OutputDefinition> &outputs() const { return outputs_; }
    const QList<MessageDefinition> &messageDefinitions() const { return messages; }
    const QStringList &preCommands() const { return preCommands_; }
    const QStringList &postCommands() const { return postCommands_; }

    // The output definition whose output equals file; an empty one whose output is file
    // when there is none. Letter case is ignored unless caseSensitive.
    OutputDefinition outputFor(const QString &file, bool caseSensitive = false) const;
    // The inputs of that output definition; none when there is no such definition.
    QList<FileSpec> inputsFor(const QString &file, bool caseSensitive = false) const;
    // A process whose command line holds "%INFILES" takes every input in one command.
    bool takesAllInputs() const;

private:
    const OutputDefinition *findOutput(const QString &file, bool caseSensitive) const;

    QString tool_;
    QString name_;
    QString commandLine_;
    QList<OutputDefinition> outputs_;
    QList<MessageDefinition> messages;
    QStringList preCommands_;
    QStringList postCommands_;
};

#endif
