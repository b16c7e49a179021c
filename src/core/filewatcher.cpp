#include "core/filewatcher.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {

// Long enough for a tool that writes a file in pieces to finish, short enough to feel immediate.
constexpr int settleMilliseconds = 150;

}

FileWatcher::FileWatcher(QObject *parent)
    : QObject(parent), watcher(new QFileSystemWatcher(this)), settle(new QTimer(this))
{
    settle->setSingleShot(true);
    settle->setInterval(settleMilliseconds);
    connect(settle, &QTimer::timeout, this, &FileWatcher::report);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &FileWatcher::schedule);
    // A file replaced by a rename, or deleted and written anew, is seen only through its folder.
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &directory) {
        for (const QString &path : std::as_const(watched)) {
            if (QFileInfo(path).absolutePath() == directory)
                schedule(path);
        }
    });
}

FileWatcher::~FileWatcher() = default;

void FileWatcher::setPaths(const QStringList &paths)
{
    QSet<QString> wanted;
    for (const QString &path : paths) {
        if (!path.isEmpty())
            wanted.insert(QFileInfo(path).absoluteFilePath());
    }
    if (wanted == watched)
        return;
    watched = wanted;
    pending.intersect(watched);
    const QStringList files = watcher->files();
    const QStringList directories = watcher->directories();
    if (!files.isEmpty())
        watcher->removePaths(files);
    if (!directories.isEmpty())
        watcher->removePaths(directories);
    rewatch();
}

// Watching stops when a file goes away (and a replaced file is a new one), so the list is
// renewed after every change.
void FileWatcher::rewatch()
{
    QSet<QString> directories;
    for (const QString &path : std::as_const(watched)) {
        directories.insert(QFileInfo(path).absolutePath());
        if (QFileInfo::exists(path) && !watcher->files().contains(path))
            watcher->addPath(path);
    }
    for (const QString &directory : std::as_const(directories)) {
        if (QFileInfo(directory).isDir() && !watcher->directories().contains(directory))
            watcher->addPath(directory);
    }
}

void FileWatcher::schedule(const QString &path)
{
    if (!watched.contains(path))
        return;
    pending.insert(path);
    settle->start();
}

void FileWatcher::report()
{
    rewatch();
    const QSet<QString> reported = pending;
    pending.clear();
    for (const QString &path : reported) {
        // A receiver may ask the user, and meanwhile stop watching this file.
        if (watched.contains(path))
            emit changed(path);
    }
}

QByteArray FileWatcher::fingerprint(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}
