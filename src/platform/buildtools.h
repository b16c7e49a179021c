#ifndef PLATFORM_BUILDTOOLS_H
#define PLATFORM_BUILDTOOLS_H

#include <QString>

namespace Platform {

// The make program to run: the one shipped in the tools directory when present.
QString makeProgram(const QString &toolsDirectory);

// Value of the Makefile's SHELL line.
QString makefileShell();

// Separator between entries of PATH.
QChar pathListSeparator();

// Where a piece of text stands in a command line of the Makefile's shell.
enum class ShellQuoting { Bare, InDoubleQuotes, InSingleQuotes };

// text written so that the Makefile's shell hands it to the tool as it is, as one word when
// it stands bare, and as part of the quoted string it stands in otherwise.
QString shellQuoted(const QString &text, ShellQuoting where);

// The printable characters the Makefile's shell cannot take in a quoted word.
QString shellRefusedCharacters();

}

#endif
