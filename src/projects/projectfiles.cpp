// Project: the files, their groups and the tree items that show them.
#include "projects/project.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildproject.h"
#include "build/maketext.h"
#include "core/simulatorlink.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTextCharFormat>
#include <QTreeWidgetItem>
#include <algorithm>

namespace {

constexpr Qt::ItemFlags projectItemFlags =
    Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
constexpr Qt::ItemFlags groupItemFlags =
    Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
constexpr Qt::ItemFlags fileItemFlags = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
                                      | Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;

bool isDesignFile(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("dsn"), Qt::CaseInsensitive) == 0;
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Icons are shared by all items that show them.
QIcon treeIcon(const QString &name)
{
    static QHash<QString, QIcon> icons;
    const auto found = icons.constFind(name);
    if (found != icons.constEnd())
        return *found;
    return *icons.insert(name, QIcon(QStringLiteral(":/images/") + name));
}

void applyFormat(QTreeWidgetItem *item, const QTextCharFormat &format)
{
    item->setFont(0, format.font());
    item->setForeground(0, format.foreground());
    item->setBackground(0, format.background());
}

}

QString Project::projectDirectory() const
{
    return fileName_.isEmpty() ? QDir::currentPath() : QFileInfo(fileName_).absolutePath();
}

QString Project::absolutePath(const QString &path) const
{
    return QDir::cleanPath(QDir(projectDirectory()).absoluteFilePath(QDir::fromNativeSeparators(path)));
}

QString Project::withInstallationDirectory(const QString &path) const
{
    QString replaced = path;
    replaced.replace(QLatin1String("%QUORVIN_DIR%"), mainWindow ? mainWindow->quorvinPath() : QString());
    return replaced;
}

// The canonical path of an existing file; for a missing one the canonical path of its folder
// with its name, or else its cleaned absolute path. Two names of one file (links, letter case
// where the file system ignores it) give the same identity, two files that do not exist are
// told apart by their paths, and a file created later keeps the identity it had while missing.
QString Project::fileIdentity(const QString &path) const
{
    const auto cached = identities.constFind(path);
    if (cached != identities.constEnd())
        return *cached;
    const QFileInfo info(path);
    // Resolving the folder once and the file by its own entry spares a walk of every part of
    // the path for each of a project's thousands of files; a linked file is resolved whole.
    const QString absoluteFolder = info.absolutePath();
    QString folder = folderIdentities.value(absoluteFolder);
    if (folder.isEmpty()) {
        folder = QFileInfo(absoluteFolder).canonicalFilePath();
        if (!folder.isEmpty())
            folderIdentities.insert(absoluteFolder, folder);
    }
    const QString name = info.fileName();
    const bool plainName = !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
    QString identity;
    if (!plainName || info.isSymLink())
        identity = info.canonicalFilePath();
    else if (!folder.isEmpty() && info.exists())
        identity = folder + QLatin1Char('/') + name;
    if (identity.isEmpty())
        identity = folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + name;
    if (Platform::caseInsensitiveFileNames())
        identity = identity.toLower();
    identities.insert(path, identity);
    return identity;
}

void Project::refreshIdentityIndex() const
{
    // Entries are appended far more often than changed; only a change in the middle costs
    // a rebuild. A path that was assigned anew has other data than its indexed copy.
    qsizetype unchanged = 0;
    const qsizetype common = std::min(indexedPaths.size(), files_.size());
    while (unchanged < common && indexedPaths.at(unchanged).constData() == files_.at(unchanged).path.constData()
           && indexedPaths.at(unchanged).size() == files_.at(unchanged).path.size())
        ++unchanged;
    if (unchanged < indexedPaths.size()) {
        indexedPaths.clear();
        entriesByIdentity.clear();
        unchanged = 0;
    }
    for (qsizetype index = unchanged; index < files_.size(); ++index) {
        const QString &path = files_.at(index).path;
        indexedPaths.append(path);
        // The first entry wins, by its path or by the short form that tool output may use.
        for (const QString &form : {path, Platform::shortPathName(path)}) {
            if (!form.isEmpty() && !entriesByIdentity.contains(fileIdentity(form)))
                entriesByIdentity.insert(fileIdentity(form), static_cast<int>(index));
        }
    }
}

QString Project::buildFilePath(const QString &name) const
{
    const int index = indexOfFile(name);
    return index >= 0 ? files_.at(index).path : QString();
}

bool Project::hasBuildSources() const
{
    const QString source = tr("source");
    const QString linker = tr("linker");
    return std::any_of(files_.cbegin(), files_.cend(), [&](const ProjectFile &file) {
        return file.group.contains(source, Qt::CaseInsensitive) || file.group.contains(linker, Qt::CaseInsensitive);
    });
}

int Project::indexOfFile(const QString &path) const
{
    if (!currentConfiguration())
        return -1;
    if (QDir::isRelativePath(path)) {
        const QString name = QFileInfo(path).fileName();
        for (qsizetype index = 0; index < files_.size(); ++index) {
            if (fileNameOf(files_.at(index).path).compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(index);
        }
        return -1;
    }
    refreshIdentityIndex();
    return entriesByIdentity.value(fileIdentity(path), -1);
}

QString Project::designFile() const
{
    const BuildProject *current = currentConfiguration();
    if (!current)
        return QString();
    const QStringList files = current->allFiles();
    const auto found = std::find_if(files.cbegin(), files.cend(), isDesignFile);
    return found == files.cend() ? QString() : *found;
}

QString Project::groupForFile(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix();
    QString word = tr("Other");
    if (suffix.toUpper() == QLatin1String("DSN")) {
        word = tr("Design");
    } else if (const BuildProject *current = currentConfiguration(); current && current->compiler()) {
        for (const FileKind &kind : current->compiler()->fileKinds()) {
            if (kind.name.toUpper() == suffix.toUpper()) {
                if (!kind.category.isEmpty())
                    word = kind.category;
                break;
            }
        }
    }
    return tr("%1 Files").arg(word);
}

QString Project::iconForFile(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    if (suffix == QLatin1String("DSN"))
        return QStringLiteral("project_design.png");
    if (const BuildProject *current = currentConfiguration(); current && current->compiler()) {
        for (const FileKind &kind : current->compiler()->fileKinds()) {
            if (kind.name.toUpper() == suffix) {
                if (!kind.icon.isEmpty())
                    return kind.icon;
                break;
            }
        }
    }
    return QStringLiteral("project_other.png");
}

bool Project::addFile(const QString &path, const QString &group)
{
    if (!addFileEntry(path, group))
        return false;
    if (projectItem)
        emit treeFormatsNeeded();
    return true;
}

bool Project::addFileEntry(const QString &path, const QString &group)
{
    const QString replaced = withInstallationDirectory(path);
    if (indexOfFile(replaced) >= 0)
        return false;
    const QString absolute = absolutePath(replaced);
    if (isDesignFile(absolute) && !designFile().isEmpty())
        return false;

    ProjectFile entry;
    entry.path = absolute;
    entry.group = group;
    entry.exists = QFileInfo::exists(absolute);
    if (!entry.exists && mainWindow)
        mainWindow->addError(tr("File '%1' not found").arg(QDir::toNativeSeparators(absolute)));
    files_.append(entry);
    for (const auto &configuration : configurations)
        configuration->addFile(absolute, true);

    makefileCurrent = false;
    createFileItem(static_cast<int>(files_.size() - 1));
    return true;
}

// A file make cannot name would stop every build; it is turned away when the user adds
// it, while a project file that already lists one keeps it.
bool Project::acceptsFileName(const QString &path) const
{
    const QString reason = MakeText::fileNameRefusal(QDir(projectDirectory()).relativeFilePath(absolutePath(path)));
    if (reason.isEmpty())
        return true;
    if (mainWindow) {
        mainWindow->addError(tr("The file name \"%1\" holds %2, which make cannot take; the file was not added.")
                                 .arg(QDir::toNativeSeparators(path), reason));
    }
    return false;
}

bool Project::addFile(const QString &path)
{
    if (!acceptsFileName(path))
        return false;
    if (addFile(path, QString())) {
        modified = true;
        updateItemText();
    }
    makefileCurrent = false;
    return true;
}

bool Project::addFiles()
{
    const QStringList paths = QFileDialog::getOpenFileNames(mainWindow ? mainWindow->dialogParent() : nullptr,
                                                            tr("Open File"), projectDirectory(),
                                                            tr("All files (*.*)"));
    // The tree formats are applied once for all files rather than once for each.
    bool result = false;
    bool added = false;
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        result = acceptsFileName(path) && confirmDesignLocation(path);
        if (result) {
            added = addFileEntry(path, QString()) || added;
            modified = true;
            updateItemText();
        }
    }
    if (added && projectItem)
        emit treeFormatsNeeded();
    makefileCurrent = false;
    return result;
}

void Project::removeFile(int index)
{
    if (index < 0 || index >= files_.size())
        return;
    const ProjectFile entry = files_.takeAt(index);
    if (mainWindow)
        mainWindow->saveEditor(entry.path, true);
    delete entry.item;
    modified = true;
    updateItemText();
    makefileCurrent = false;
    for (const auto &configuration : configurations)
        configuration->removeFile(entry.path);
}

void Project::renameFile(int index, const QString &newFileName)
{
    if (index < 0 || index >= files_.size())
        return;
    const QString oldPath = files_.at(index).path;
    const QFileInfo old(oldPath);
    if (newFileName == old.fileName())
        return;
    const QString newPath = old.absoluteDir().filePath(newFileName);
    if (!QFile::copy(oldPath, newPath)) {
        if (QTreeWidgetItem *item = files_.at(index).item)
            item->setText(0, old.fileName());
        return;
    }
    for (size_t done = 0; done < configurations.size(); ++done) {
        if (configurations[done]->renameFile(oldPath, newPath))
            continue;
        while (done > 0)
            configurations[--done]->renameFile(newPath, oldPath);
        QFile::remove(newPath);
        return;
    }
    if (mainWindow)
        mainWindow->renameEditor(oldPath, newPath);
    files_[index].path = newPath;
    modified = true;
    updateItemText();
    QFile::remove(oldPath);
}

int Project::groupIndex(const QString &name) const
{
    for (qsizetype index = 0; index < groups_.size(); ++index) {
        if (groups_.at(index).name == name)
            return static_cast<int>(index);
    }
    return -1;
}

int Project::ensureGroup(const QString &name)
{
    const int existing = groupIndex(name);
    if (existing >= 0 || name.isEmpty() || !projectItem)
        return existing;
    auto *item = new QTreeWidgetItem(projectItem, QStringList(name));
    item->setFlags(groupItemFlags);
    item->setExpanded(true);
    groups_.append({name, item});
    return static_cast<int>(groups_.size() - 1);
}

void Project::renameGroup(int index, const QString &newName)
{
    if (index < 0 || index >= groups_.size() || groups_.at(index).name == newName)
        return;
    if (groupIndex(newName) >= 0) {
        // The tree was edited in place; it has to show the name the group keeps.
        groups_.at(index).item->setText(0, groups_.at(index).name);
        return;
    }
    groups_[index].name = newName;
    groups_.at(index).item->setText(0, newName);
    reorderFiles();
    updateItemText();
}

void Project::createFileItem(int index)
{
    if (!projectItem || index < 0 || index >= files_.size() || files_.at(index).item)
        return;
    ProjectFile &entry = files_[index];
    if (entry.group.isEmpty())
        entry.group = groupForFile(entry.path);
    const int group = ensureGroup(entry.group);
    if (group < 0)
        return;
    auto *item = new QTreeWidgetItem(groups_.at(group).item, QStringList(fileNameOf(entry.path)));
    item->setFlags(fileItemFlags);
    item->setIcon(0, treeIcon(entry.exists ? iconForFile(entry.path) : QStringLiteral("project_lost.png")));
    entry.item = item;
}

void Project::attachToTree(QTreeWidgetItem *root)
{
    tree = root;
    if (!projectItem) {
        projectItem = new QTreeWidgetItem(tree);
        projectItem->setFlags(projectItemFlags);
        projectItem->setIcon(0, treeIcon(QStringLiteral("project.png")));
        projectItem->setExpanded(true);
    }
    for (qsizetype index = 0; index < files_.size(); ++index)
        createFileItem(static_cast<int>(index));
    emit treeFormatsNeeded();
    updateItemText();
}

int Project::fileIndexOfItem(const QTreeWidgetItem *item) const
{
    if (!item)
        return -1;
    for (qsizetype index = 0; index < files_.size(); ++index) {
        if (files_.at(index).item == item)
            return static_cast<int>(index);
    }
    return -1;
}

int Project::groupIndexOfItem(const QTreeWidgetItem *item) const
{
    if (!item)
        return -1;
    for (qsizetype index = 0; index < groups_.size(); ++index) {
        if (groups_.at(index).item == item)
            return static_cast<int>(index);
    }
    return -1;
}

int Project::itemKind(const QTreeWidgetItem *item) const
{
    if (!item)
        return ForeignItem;
    if (item == projectItem)
        return ProjectItem;
    if (fileIndexOfItem(item) >= 0)
        return FileItem;
    if (groupIndexOfItem(item) >= 0)
        return GroupItem;
    return ForeignItem;
}

void Project::applyFormats(const QTextCharFormat &projectFormat, const QTextCharFormat &groupFormat,
                           const QTextCharFormat &fileFormat)
{
    if (projectItem)
        applyFormat(projectItem, projectFormat);
    for (const ProjectGroup &group : std::as_const(groups_))
        applyFormat(group.item, groupFormat);
    for (const ProjectFile &file : std::as_const(files_)) {
        if (file.item)
            applyFormat(file.item, fileFormat);
    }
}

void Project::regroupFiles()
{
    for (const ProjectGroup &group : std::as_const(groups_))
        delete group.item;
    groups_.clear();
    for (ProjectFile &file : files_) {
        file.item = nullptr;
        file.group.clear();
    }
    for (qsizetype index = 0; index < files_.size(); ++index)
        createFileItem(static_cast<int>(index));
}

void Project::moveFileItem(QTreeWidgetItem *item, QTreeWidgetItem *target)
{
    const int file = fileIndexOfItem(item);
    if (file < 0 || itemKind(target) == ForeignItem)
        return;
    if (target == projectItem) {
        const int home = ensureGroup(groupForFile(files_.at(file).path));
        if (home < 0)
            return;
        target = groups_.at(home).item;
    }
    int group = groupIndexOfItem(target);
    if (group < 0)
        group = groupIndexOfItem(target->parent());
    if (group < 0)
        return;

    QTreeWidgetItem *groupItem = groups_.at(group).item;
    const int oldPosition = item->parent() == groupItem ? groupItem->indexOfChild(item) : -1;
    const int position = target == groupItem ? -1 : groupItem->indexOfChild(target);
    if (oldPosition >= 0 && oldPosition == position)
        return;
    QTreeWidgetItem *oldParent = item->parent();
    oldParent->takeChild(oldParent->indexOfChild(item));
    if (position < 0)
        groupItem->addChild(item);
    else
        groupItem->insertChild(position, item);

    files_[file].group = groups_.at(group).name;
    if (groupItem->indexOfChild(item) != 0 || oldPosition != 0)
        modified = true;
    reorderFiles();
    updateItemText();
}

void Project::reorderFiles()
{
    if (!projectItem)
        return;
    std::stable_sort(groups_.begin(), groups_.end(), [this](const ProjectGroup &a, const ProjectGroup &b) {
        return projectItem->indexOfChild(a.item) < projectItem->indexOfChild(b.item);
    });

    QHash<const QTreeWidgetItem *, qsizetype> owners;
    for (qsizetype index = 0; index < files_.size(); ++index) {
        if (files_.at(index).item)
            owners.insert(files_.at(index).item, index);
    }
    QList<ProjectFile> reordered;
    reordered.reserve(files_.size());
    for (const ProjectGroup &group : std::as_const(groups_)) {
        for (int child = 0; child < group.item->childCount(); ++child) {
            const auto owner = owners.constFind(group.item->child(child));
            if (owner == owners.constEnd())
                continue;
            ProjectFile entry = files_.at(*owner);
            if (entry.group != group.name) {
                entry.group = group.name;
                modified = true;
            }
            if (*owner != reordered.size())
                modified = true;
            reordered.append(entry);
        }
    }
    if (reordered.size() == files_.size() && modified)
        files_ = reordered;
}

void Project::openFile(const QString &path)
{
    if (isDesignFile(path))
        emit designLaunchRequested(path);
    else if (mainWindow)
        mainWindow->openFile(path);
}

void Project::openFile(const QTreeWidgetItem *item)
{
    const int index = fileIndexOfItem(item);
    if (index >= 0)
        openFile(files_.at(index).path);
}

void Project::reopenFiles()
{
    if (!mainWindow)
        return;
    for (const ProjectFile &file : std::as_const(files_))
        mainWindow->reopenFile(file.path);
}

bool Project::newFile()
{
    const QString path = QFileDialog::getSaveFileName(mainWindow ? mainWindow->dialogParent() : nullptr,
                                                      tr("New File Name"), projectDirectory(),
                                                      tr("All files (*.*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return false;
    if (isDesignFile(path))
        return newDesignFile(path);
    if (!QFile::exists(path)) {
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly)) {
            if (mainWindow)
                mainWindow->addError(tr("Cannot create file %1: %2").arg(QDir::toNativeSeparators(path), created.errorString()));
            return false;
        }
    }
    return addFile(path);
}

bool Project::newDesignFile(const QString &path)
{
    QString design = path;
    if (design.isEmpty()) {
        design = QFileDialog::getSaveFileName(mainWindow ? mainWindow->dialogParent() : nullptr,
                                              tr("New Design File Name"), projectDirectory(),
                                              tr("Design files (*.dsn)"));
        if (design.isEmpty())
            return false;
    }
    if (!isDesignFile(design) || !designFile().isEmpty() || !confirmDesignLocation(design))
        return false;
    if (QFile::exists(design) && !QFile::remove(design))
        return false;
    // The simulator is told the firmware file too, whose name the Makefiles fix.
    if (currentFirmwarePath().isEmpty())
        prepareBuild();
    QFile created(design);
    if (!created.open(QIODevice::WriteOnly)) {
        if (mainWindow)
            mainWindow->addError(tr("Cannot create the design file %1: %2")
                                     .arg(QDir::toNativeSeparators(design), created.errorString()));
        return false;
    }
    created.close();
    // The design joins the project only once the simulator has opened it. The simulator
    // is told the project's real controller, family, firmware and clock, that the design
    // is new, and not to run firmware that may not be built yet.
    if (!simulator || !mainWindow)
        return false;
    simulator->stopDebugging();
    simulator->sendFirmware(design, currentController(), currentFamily(), currentFirmwarePath(), currentClock(),
                            false, true);
    if (!simulator->launch(mainWindow->quorvinPath()))
        return false;
    return addFile(design);
}

bool Project::confirmDesignLocation(const QString &path) const
{
    return confirmDesignLocation(path, fileName_);
}

bool Project::confirmDesignLocation(const QString &path, const QString &projectFile) const
{
    if (!isDesignFile(path))
        return true;
    const Qt::CaseSensitivity sensitivity =
        Platform::caseInsensitiveFileNames() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (QFileInfo(path).absolutePath().compare(QFileInfo(projectFile).absolutePath(), sensitivity) == 0)
        return true;
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    tr("Are you sure you want the schematic file to be outside the project's directory?"),
                    QMessageBox::Yes | QMessageBox::No, mainWindow ? mainWindow->dialogParent() : nullptr);
    box.setInformativeText(tr("This is not recommended as it can cause problems locating the source code when "
                              "debugging."));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
