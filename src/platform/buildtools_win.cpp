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

}
