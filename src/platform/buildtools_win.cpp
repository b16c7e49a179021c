#include "platform/buildtools.h"

#include <QDir>

#include <algorithm>

namespace Platform {

QString makeProgram(const QString &toolsDirectory)
{
    return QDir(toolsDirectory).absoluteFilePath(QStringLiteral("make.exe"));
}

QString makefileShell()
{
    return qEnvironmentVariable("ComSpec");
}

QChar pathListSeparator()
{
    return QLatin1Char(';');
}

QString shellQuoted(const QString &text, ShellQuoting where)
{
    // The command shell knows only double quotes; inside them nothing but "%" (which a
    // Makefile name cannot hold) and the quote itself (which no Windows file name holds)
    // has a meaning.
    if (where == ShellQuoting::InDoubleQuotes)
        return text;
    const bool plain = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isLetterOrNumber() || QStringView(u"_./\\,+=:@-").contains(c);
    });
    return plain ? text : QLatin1Char('"') + text + QLatin1Char('"');
}

QString shellRefusedCharacters()
{
    return QStringLiteral("\"");
}

}
