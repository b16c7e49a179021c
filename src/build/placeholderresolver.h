#ifndef PLACEHOLDERRESOLVER_H
#define PLACEHOLDERRESOLVER_H

#include "build/optionvalue.h"
#include "platform/buildtools.h"

#include <QFlags>
#include <QList>
#include <QString>
#include <optional>

class BuildProject;
class ProjectNode;
class Workbench;

// Turns the "%NAME%" placeholders of a compiler configuration's command lines, file names
// and option values into text for one node of a build configuration's tree. Names the
// resolver does not know are written back in upper case, so that the shell make runs can
// expand them as environment variables. A value put in is never read again for
// placeholders: a file whose name holds "%" keeps it.
class PlaceholderResolver
{
public:
    // The suffixes a placeholder name may carry.
    enum Flag {
        Dos = 0x01,        // _DOS: separators as the Makefile's shell expects them
        Name = 0x02,       // _NAME: the base name only
        Directory = 0x04,  // _DIR: the directory only
        Short = 0x08,      // _SHORT: short (8.3) path forms
        Quoted = 0x10,     // _QUOTED: enclosed in double quotes
        Underscore = 0x20, // _USCORE: blanks replaced by "_"
    };
    Q_DECLARE_FLAGS(Flags, Flag)

    // What the text is for. ForRecipe writes every value put in so that make and the
    // shell hand it to the tool as it is (file names, directories and option values each
    // as one word, or as part of the quoted string they stand in); ForFileName leaves
    // values as they are on disk.
    enum class Purpose { ForFileName, ForRecipe };

    PlaceholderResolver(const BuildProject &configuration, const QString &projectDirectory, Workbench *workbench);

    void setPurpose(Purpose purpose) { purpose_ = purpose; }

    // Replaces every placeholder of text for node; a null node resolves in the context of
    // the whole configuration (general variables only).
    // With collapsePercent, a "%%" of text (not of the values put in) becomes "%".
    QString resolve(const QString &text, const ProjectNode *node, bool collapsePercent = false) const;

    // The option values as "name+value" parts joined with blanks. A value with an
    // identifier takes the node's input file of that kind, quoted. An option name that
    // ends with a blank is a word of its own, else name and value form one word.
    QString optionsString(const QList<OptionValue> &values, const ProjectNode *node, Flags flags = {},
                          Platform::ShellQuoting where = Platform::ShellQuoting::Bare) const;

    // path relative to the project directory, shaped by flags.
    QString relativePath(const QString &path, Flags flags = {}) const;
    QString absolutePath(const QString &path, Flags flags = {}) const;

    // The OPTION kind of the node's process file specification whose value is the file's
    // suffix; empty when none names it.
    QString fileKind(const ProjectNode *node, const QString &file) const;

    // The clock text as a number of hertz ("4 MHz" gives 4000000); empty for an empty
    // clock; none when the text is not a whole number of hertz from 1 to maximumClock
    // once the fraction is cut off.
    static std::optional<QString> clockValue(const QString &clock);
    // The largest clock the tools take: F_CPU and its kin are unsigned 32-bit numbers.
    static constexpr qint64 maximumClock = 4294967295;

    static Flags flagsOf(const QString &name);

private:
    using Where = Platform::ShellQuoting;
    std::optional<QString> nodeVariable(const QString &name, const ProjectNode *node, Where where) const;
    std::optional<QString> generalVariable(const QString &name, Flags flags, Where where) const;
    QString inputList(const ProjectNode *node, Flags flags, Where where) const;
    // text as it must stand where it is put in.
    QString word(const QString &text, Where where) const;
    // A path shaped by flags without _QUOTED, then quoted as _QUOTED and the purpose ask.
    QString pathWord(const QString &path, Flags flags, Where where) const;
    QString relativeText(const QString &path, Flags flags) const;

    const BuildProject &configuration;
    QString projectDirectory;
    Workbench *workbench;
    Purpose purpose_ = Purpose::ForFileName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PlaceholderResolver::Flags)

#endif
