#include "platform/paths.h"

#include <QDir>
#include <QVector>
#include <windows.h>
#include <shlobj.h>

namespace Platform {

QString shortPathName(const QString &path)
{
    const std::wstring longPath = QDir::toNativeSeparators(path).toStdWString();
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0)
        return QString();
    QVector<wchar_t> buffer(int(needed) + 1);
    const DWORD written = GetShortPathNameW(longPath.c_str(), buffer.data(), DWORD(buffer.size()));
    if (written == 0 || written >= DWORD(buffer.size()))
        return QString();
    return QString::fromWCharArray(buffer.data(), int(written));
}

QString makefilePath(const QString &path)
{
    QString result = path;
    result.replace(QLatin1String("//"), QLatin1String("/"));
    result.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return result;
}

QString documentsFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PERSONAL, FALSE))
        return QString();
    return QString::fromWCharArray(buffer);
}

QString handoffDirectory()
{
    // Without TEMP the file would land in the root of the current drive.
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

bool caseInsensitiveFileNames()
{
    return true;
}

}
