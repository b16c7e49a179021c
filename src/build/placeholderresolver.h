#ifndef PLACEHOLDERRESOLVER_H
#define PLACEHOLDERRESOLVER_H

#include "build/optionvalue.h"

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
// expand them as environment variables.
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

    // What file names are written for. ForRecipe protects a "$" in a file name from make
    // and the shell; ForFileName leaves names as they are on disk.
    enum class Purpose { ForFileName, ForRecipe };

    PlaceholderResolver(const BuildProject &configuration, const QString &projectDirectory, Workbench *workbench);

    void setPurpose(Purpose purpose) { purpose_ = purpose; }

    // Replaces every placeholder of text for node; a null node resolves in the context of
    // the whole configuration (general variables only).
    QString resolve(const QString &text, const ProjectNode *node) const;

    // The option values as "name+value" parts joined with blanks. A value with an
    // identifier takes the node's input file of that kind, quoted.
    QString optionsString(const QList<OptionValue> &values, const ProjectNode *node, Flags flags = {}) const;

    // path relative to the project directory, shaped by flags.
    QString relativePath(const QString &path, Flags flags = {}) const;
    QString absolutePath(const QString &path, Flags flags = {}) const;

    // The OPTION kind of the node's process file specification whose value is the file's
    // suffix; empty when none names it.
    QString fileKind(const ProjectNode *node, const QString &file) const;

    // The clock text as a number of hertz ("4 MHz" gives 4000000); text that does not read
    // as a number is returned unchanged.
    static QString clockValue(const QString &clock);

    static Flags flagsOf(const QString &name);

private:
    QString resolveFrom(const QString &text, const ProjectNode *node, int depth) const;
    std::optional<QString> nodeVariable(const QString &name, const ProjectNode *node) const;
    std::optional<QString> generalVariable(const QString &name, Flags flags) const;
    QString inputList(const ProjectNode *node, Flags flags) const;
    QString inRecipe(const QString &text) const;

    const BuildProject &configuration;
    QString projectDirectory;
    Workbench *workbench;
    Purpose purpose_ = Purpose::ForFileName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PlaceholderResolver::Flags)

#endif
