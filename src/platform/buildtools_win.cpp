#include "platform/buildtools.h"

#include <QDir>

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

QString escapeForRecipe(const QString &text)
{
    // The command shell gives "$" no meaning; only make has to be told.
    QString result = text;
    return result.replace(QLatin1String("$"), QLatin1String("$$"));
}

}
