#include "platform/buildtools.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace Platform {

QString makeProgram(const QString &toolsDirectory)
{
    const QFileInfo shipped(QDir(toolsDirectory), QStringLiteral("make"));
    if (shipped.isFile() && shipped.isExecutable())
        return shipped.absoluteFilePath();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("make"));
    return found.isEmpty() ? shipped.absoluteFilePath() : found;
}

QString makefileShell()
{
    return QStringLiteral("/bin/sh");
}

QChar pathListSeparator()
{
    return QLatin1Char(':');
}

namespace {

// Characters the shell gives no meaning to anywhere in a word.
bool plain(QChar c)
{
    return c.isLetterOrNumber() || QStringView(u"_./,+=:@%^-").contains(c);
}

}

QString shellQuoted(const QString &text, ShellQuoting where)
{
    QString result = text;
    switch (where) {
    case ShellQuoting::InDoubleQuotes:
        for (const char *special : {"\\", "\"", "$", "`"})
            result.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
        return result;
    case ShellQuoting::InSingleQuotes:
        return result.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    case ShellQuoting::Bare:
        break;
    }
    if (!text.isEmpty() && std::all_of(text.cbegin(), text.cend(), plain))
        return text;
    return QLatin1Char('\'') + result.replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

QString shellRefusedCharacters()
{
    return QString();
}

}
