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

}
