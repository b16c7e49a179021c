#ifndef FILEWATCHER_H
#define FILEWATCHER_H

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

// Tells when files that the program holds open may have changed on disk: written, replaced,
// deleted or created again. A burst of notifications (an editor writing in several steps, a
// checkout replacing many files) arrives as one report per file. The receiver decides
// whether the content really differs, by comparing fingerprints.
class FileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit FileWatcher(QObject *parent = nullptr);
    ~FileWatcher() override;

    // Watches exactly these files from now on.
    void setPaths(const QStringList &paths);
    QStringList paths() const { return watched.values(); }

    // A digest of the file's bytes; empty when it cannot be read.
    static QByteArray fingerprint(const QString &path);

signals:
    // path may have changed; it may also be gone.
    void changed(const QString &path);

private:
    void schedule(const QString &path);
    void report();
    void rewatch();

    QFileSystemWatcher *watcher;
    QTimer *settle;
    QSet<QString> watched;
    QSet<QString> pending;
};

#endif
