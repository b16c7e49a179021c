#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Platform {

QString shortPathName(const QString &path)
{
    QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return QString();
    return info.absoluteFilePath();
}

QString makefilePath(const QString &path)
{
    QString result = path;
    result.replace(QLatin1String("//"), QLatin1String("/"));
    return result;
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString handoffDirectory()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

bool caseInsensitiveFileNames()
{
    return false;
}

}
