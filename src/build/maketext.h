#ifndef MAKETEXT_H
#define MAKETEXT_H

#include "platform/buildtools.h"

#include <QCoreApplication>
#include <QString>

// The one place where names and values become Makefile text. make reads rule heads and
// variable lines with rules of its own, and hands recipe lines to a shell after expanding
// "$": every piece of text the Makefile writer takes from a project or a compiler
// configuration passes through here, so that neither make nor the shell can read it as
// syntax. What cannot be written safely is named by refusal().
class MakeText
{
    Q_DECLARE_TR_FUNCTIONS(MakeText)

public:
    // Why make cannot hold name as a file in a rule (the character, described for the
    // user), or empty when it can.
    static QString fileNameRefusal(const QString &name);
    // Why text cannot stand in a Makefile line at all (a line break, a control
    // character), or empty when it can.
    static QString valueRefusal(const QString &text);
    // Why text cannot be the value of a "NAME = value" line, or empty when it can.
    static QString variableRefusal(const QString &text);

    // A file name (already checked by fileNameRefusal) as a target or prerequisite.
    static QString ruleName(const QString &name);
    // text as it must stand in a recipe line at a place quoted as where says, for make
    // and then the shell to hand it on unchanged.
    static QString recipeText(const QString &text, Platform::ShellQuoting where = Platform::ShellQuoting::Bare);
    // text as the value of a "NAME = value" line: make keeps it as it is, and where the
    // variable is used in a recipe the shell sees one word.
    static QString variableValue(const QString &text);
    // How the shell quotes what follows text, when text starts quoted as start says.
    static Platform::ShellQuoting quotingAfter(const QString &text, Platform::ShellQuoting start);
};

#endif
