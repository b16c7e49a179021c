#include "projects/projectcopier.h"

#include "core/workbench.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <algorithm>

namespace {

// Whether a path relative to a folder climbs out of it.
bool climbsOut(const QString &relative)
{
    return relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

}

ProjectCopier::ProjectCopier(Workbench *mainWindow) : mainWindow(mainWindow) {}

void ProjectCopier::error(const QString &text) const
{
    if (mainWindow)
        mainWindow->addError(text);
}

bool ProjectCopier::plan(const QStringList &files, const QString &newDirectory, bool keepStructure)
{
    pairs_.clear();
    if (files.isEmpty())
        return true;
    const QDir target(newDirectory);
    if (!keepStructure) {
        // Two files of one name would end as one copy, and the project would lose one.
        QHash<QString, QString> byName;
        for (const QString &file : files) {
            const QString name = QFileInfo(file).fileName();
            const QString key = name.toLower();
            if (byName.contains(key)) {
                error(tr("Cannot put %1 and %2 into one folder: they have the same name. Keep the "
                                  "subdirectories structure instead.")
                          .arg(native(byName.value(key)), native(file)));
                return false;
            }
            byName.insert(key, file);
            pairs_.append({file, target.filePath(name)});
        }
        return true;
    }

    QStringList sorted = files;
    std::sort(sorted.begin(), sorted.end());
    QDir root = QFileInfo(sorted.first()).absoluteDir();
    for (qsizetype index = 1; index < sorted.size(); ++index) {
        const QString relative = root.relativeFilePath(sorted.at(index));
        if (QDir::isAbsolutePath(relative)) {
            error(tr("Some project files are on a different disk - could not repeat directories structure."));
            return false;
        }
        if (climbsOut(relative)) {
            if (!root.cdUp())
                return false;
            index = 0;
        }
    }
    for (const QString &file : std::as_const(sorted))
        pairs_.append({file, QDir::cleanPath(target.filePath(root.relativeFilePath(file)))});
    return true;
}

void ProjectCopier::addCreatedFolder(const QString &folder)
{
    if (!folder.isEmpty())
        createdFolders.prepend(folder);
}

bool ProjectCopier::ensureFolder(const QString &folder)
{
    // Each missing level is remembered so that an empty one can go again.
    QStringList missing;
    for (QFileInfo level(folder); !level.exists() && !level.isRoot(); level = QFileInfo(level.absolutePath()))
        missing.prepend(level.absoluteFilePath());
    for (const QString &level : std::as_const(missing)) {
        if (!QDir().mkdir(level))
            return false;
        createdFolders.append(level);
    }
    return QFileInfo(folder).isDir();
}

bool ProjectCopier::copy()
{
    // The sources are never replaced, even where a destination of one is another.
    QList<QFileInfo> sources;
    for (const Pair &pair : std::as_const(pairs_))
        sources.append(QFileInfo(pair.source));
    QWidget *parent = mainWindow ? mainWindow->dialogParent() : nullptr;

    Overwrite overwrite = Overwrite::Ask;
    for (const Pair &pair : std::as_const(pairs_)) {
        const QFileInfo destination(pair.destination);
        if (destination == QFileInfo(pair.source))
            continue;
        if (sources.contains(destination)) {
            error(tr("Could not copy file %1 to %2: the destination is a file of the project")
                      .arg(native(pair.source), native(pair.destination)));
            return false;
        }
        if (destination.exists() || destination.isSymLink()) {
            bool replace = overwrite == Overwrite::All;
            if (overwrite == Overwrite::Ask) {
                QMessageBox box(QMessageBox::Question, tr("File Exists"),
                                tr("Destination file %1 exists\nDdo you want to overwrite it?")
                                    .arg(native(pair.destination)),
                                QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
                                parent);
                const int answer = box.exec();
                replace = answer == QMessageBox::Yes || answer == QMessageBox::YesToAll;
                if (answer == QMessageBox::YesToAll)
                    overwrite = Overwrite::All;
                else if (answer == QMessageBox::NoToAll)
                    overwrite = Overwrite::None;
            }
            // A destination the user keeps is the copy: the project will use it as it is.
            if (!replace)
                continue;
            if (!QFile::remove(pair.destination)) {
                error(tr("Could not delete file %1").arg(native(pair.destination)));
                return false;
            }
        }
        const QString folder = destination.absolutePath();
        if (!ensureFolder(folder)) {
            error(tr("Could not create directory %1").arg(native(folder)));
            return false;
        }
        if (!QFile::copy(pair.source, pair.destination)) {
            error(tr("Could not copy file %1 to %2").arg(native(pair.source), native(pair.destination)));
            return false;
        }
        copied.append(pair.destination);
    }
    return true;
}

void ProjectCopier::reportCopies() const
{
    if (!mainWindow)
        return;
    if (copied.isEmpty()) {
        mainWindow->addMessage(tr("No file was copied."));
        return;
    }
    QStringList names;
    for (const QString &path : copied)
        names.append(native(path));
    mainWindow->addMessage(tr("These copies were made and left in place:\n%1").arg(names.join(QLatin1Char('\n'))));
}

void ProjectCopier::removeEmptyFolders() const
{
    for (auto folder = createdFolders.crbegin(); folder != createdFolders.crend(); ++folder)
        QDir().rmdir(*folder);
}
