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

// A file name as it must stand in a Makefile recipe line for make and the Makefile's shell
// to hand it to the tool unchanged.
QString escapeForRecipe(const QString &text);

}

#endif
