#include "platform/buildtools.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString escapeForRecipe(const QString &text)
{
    // make turns "$$" into "$", and the backslash keeps the shell from expanding it,
    // unquoted and inside double quotes alike.
    QString result = text;
    return result.replace(QLatin1String("$"), QLatin1String("\\$$"));
}

}
