#include "app/workingdirectories.h"

#include "core/helpers.h"

#include <QCoreApplication>
#include <QDir>

// The application directory's parent, then its subdirectory name when that exists.
QString WorkingDirectories::besideApplication(const QString &name)
{
    QDir dir(QCoreApplication::applicationDirPath());
    dir.cdUp();
    dir.cd(name);
    return dir.absolutePath();
}

QString WorkingDirectories::compilers()
{
    return besideApplication(QStringLiteral("compilers"));
}

QString WorkingDirectories::tools()
{
    return QDir(QCoreApplication::applicationDirPath()).absolutePath();
}

QString WorkingDirectories::simulator()
{
    return besideApplication(QStringLiteral("simulator"));
}

QString WorkingDirectories::syntax()
{
    return besideApplication(QStringLiteral("syntax"));
}

QString WorkingDirectories::devBoards()
{
    return besideApplication(QStringLiteral("devboards"));
}

QString WorkingDirectories::translations()
{
    return besideApplication(QStringLiteral("translations"));
}

QString WorkingDirectories::projects()
{
    return QDir(documentsFolder()).absoluteFilePath(QStringLiteral("ZMX Studio Projects"));
}
