#include "fuzzinput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

namespace FuzzInput {

namespace {

QTemporaryDir *home = nullptr;

}

void start(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every rejected input would otherwise print a warning; libFuzzer's own output is
    // what matters.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    // Every input is written, saved (with a flush to disk) and removed again; on a disk that
    // costs more than the parsing under test, so the private folder lives in memory when the
    // system offers a shared-memory file system.
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    home = memory.isDir() && memory.isWritable() ? new QTemporaryDir(memory.filePath() + QStringLiteral("/zmxfuzz-XXXXXX"))
                                                  : new QTemporaryDir;
    const QByteArray homePath = QDir(home->path()).absolutePath().toLocal8Bit();
    qputenv("HOME", homePath);
    qputenv("XDG_CONFIG_HOME", homePath + "/config");
    qputenv("XDG_RUNTIME_DIR", homePath);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path() + QStringLiteral("/config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home->path() + QStringLiteral("/config"));
    new QApplication(*argc, *argv);
    // The private folder goes with the process, however libFuzzer ends it.
    std::atexit([] { delete home; });
}

QString freshFolder()
{
    QDir work(home->filePath(QStringLiteral("work")));
    work.removeRecursively();
    const QString folder = work.filePath(QStringLiteral("a/b/c/input"));
    QDir().mkpath(folder);
    return folder;
}

QList<QByteArray> split(const uint8_t *data, size_t size, int count)
{
    const QByteArray all(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts;
    qsizetype from = 0;
    while (parts.size() < count - 1) {
        const qsizetype nul = all.indexOf('\0', from);
        if (nul < 0)
            break;
        parts.append(all.mid(from, nul - from));
        from = nul + 1;
    }
    parts.append(all.mid(from));
    while (parts.size() < count)
        parts.append(QByteArray());
    return parts;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString dataFolder()
{
    return QStringLiteral(ZMX_SOURCE_DIR "/data");
}

}
