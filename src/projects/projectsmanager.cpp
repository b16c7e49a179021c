#include "projects/projectsmanager.h"

#include "core/displaysettings.h"
#include "core/filewatcher.h"
#include "core/waitcursor.h"
#include "core/workbench.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "core/simulatorlink.h"
#include "projects/project.h"
#include "projects/projecttreewidget.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QXmlStreamWriter>

ProjectsManager::ProjectsManager(Workbench *owner, QWidget *parent)
    : QDockWidget(parent ? parent : owner ? owner->dialogParent() : nullptr), owner(owner), buildConfigs(new BuildConfigList(owner, this)),
      tree(new ProjectTreeWidget(this)), projectFileWatcher(new FileWatcher(this))
{
    setObjectName(QStringLiteral("Projects"));
    setWindowTitle(tr("Project"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    tree->setColumnCount(1);
    tree->header()->hide();
    rootItem = tree->invisibleRootItem();
    rootItem->setExpanded(true);
    setWidget(tree);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &ProjectsManager::itemDoubleClicked);
    connect(tree, &QTreeWidget::itemClicked, this, &ProjectsManager::itemClicked);
    connect(tree, &QTreeWidget::itemChanged, this, &ProjectsManager::itemChanged);
    // Keyboard moves and drops change the current item without a click; the actions that
    // depend on the kind of item must follow them too.
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { itemClicked(current, 0); });

    connect(projectFileWatcher, &FileWatcher::changed, this, &ProjectsManager::projectFileChanged);

    buildConfigs->loadAll();
    lastCurrentIndex = currentProjectIndex();
}

ProjectsManager::~ProjectsManager()
{
    // The projects close their editors and remove their items, so they go while the tree
    // and the main window are still whole; the tree's signals no longer matter by then.
    disconnect(tree, nullptr, this, nullptr);
    const QList<Project *> open = projects;
    projects.clear();
    qDeleteAll(open);
    // Stops and closes the simulator while the window can still be reached.
    simulator.reset();
}

void ProjectsManager::setSimulatorLink(std::unique_ptr<SimulatorLink> link)
{
    simulator = std::move(link);
    for (Project *open : std::as_const(projects))
        open->setSimulatorLink(simulator.get());
}

int ProjectsManager::currentProjectIndex() const
{
    const QTreeWidgetItem *item = tree->currentItem();
    for (int index = 0; index < projects.size(); ++index) {
        if (projects.at(index)->ownsItem(item))
            return index;
    }
    return projects.isEmpty() ? -1 : 0;
}

Project *ProjectsManager::currentProject() const
{
    return project(currentProjectIndex());
}

Project *ProjectsManager::project(int index) const
{
    return index >= 0 && index < projects.size() ? projects.at(index) : nullptr;
}

QString ProjectsManager::projectFileName(int index) const
{
    const Project *found = project(index);
    return found ? found->fileName() : QString();
}

QStringList ProjectsManager::projectFileNames() const
{
    QStringList names;
    for (const Project *open : projects)
        names.append(open->fileName());
    return names;
}

int ProjectsManager::indexOfProject(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (int index = 0; index < projects.size(); ++index) {
        if (projects.at(index)->fileName() == absolute)
            return index;
    }
    return -1;
}

Project *ProjectsManager::projectOfItem(const QTreeWidgetItem *item) const
{
    for (Project *open : projects) {
        if (open->ownsItem(item))
            return open;
    }
    return nullptr;
}

QStringList ProjectsManager::configurationNames() const
{
    QStringList names;
    if (const Project *current = currentProject()) {
        for (int index = 0; index < current->configurationCount(); ++index)
            names.append(current->configuration(index)->name());
    }
    return names;
}

bool ProjectsManager::isProjectFile(const QString &path) const
{
    for (const Project *open : projects) {
        if (open->indexOfFile(path) >= 0)
            return true;
    }
    return false;
}

QString ProjectsManager::controllerFamily(const QString &path) const
{
    for (const Project *open : projects) {
        const QString family = open->familyForFile(path);
        if (!family.isEmpty())
            return family;
    }
    const Project *current = currentProject();
    return current ? current->currentFamily() : QString();
}

bool ProjectsManager::openProjectFile(const QString &path, bool quiet)
{
    if (!closeCurrentProject())
        return false;
    if (indexOfProject(path) >= 0) {
        if (!quiet)
            reportAlreadyOpened(path);
        return false;
    }

    WaitCursor waitCursor;
    Project *opened = createProject();
    const bool loaded = opened->load(path);
    if (loaded) {
        projects.append(opened);
        opened->reopenFiles();
        itemClicked(tree->currentItem(), 0);
        opened->attachToTree(rootItem);
        sendFirmware();
    } else {
        const QString reason = opened->loadError();
        delete opened;
        reportNotOpened(path, reason);
    }
    updateWindowState();
    followCurrentProject();
    return loaded;
}

bool ProjectsManager::askToClose(int index)
{
    Project *closing = project(index);
    if (!closing)
        return true;
    // A building project is never closed, so nothing may be asked or saved for it either.
    if (closing->isBuilding()) {
        message(tr("The project cannot be closed while it is being built."));
        return false;
    }

    QStringList modifiedFiles;
    QStringList editedPaths;
    if (owner) {
        for (const ProjectFile &file : closing->files()) {
            if (owner->isEditorModified(file.path)) {
                editedPaths.append(file.path);
                modifiedFiles.append(QFileInfo(file.path).fileName());
            }
        }
    }
    if (!modifiedFiles.isEmpty()) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            this, QGuiApplication::applicationDisplayName(),
            tr("Files %1 have been modified.\nDo you want to save your changes?")
                .arg(modifiedFiles.join(QStringLiteral(", "))),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer != QMessageBox::Save && answer != QMessageBox::Discard)
            return false;
        if (answer == QMessageBox::Save) {
            // Closing discards the editors without a question, so a file that could not
            // be written keeps the project open rather than losing the changes.
            for (const QString &path : std::as_const(editedPaths)) {
                if (!owner->saveEditor(path, false))
                    return false;
            }
        }
    }
    return closing->maybeSave();
}

bool ProjectsManager::closeCurrentProject()
{
    const int index = currentProjectIndex();
    const bool mayClose = askToClose(index);
    if (mayClose)
        removeProject(index);
    lastCurrentIndex = currentProjectIndex();
    return mayClose;
}

void ProjectsManager::removeProject(int index)
{
    Project *closing = project(index);
    if (!closing || closing->isBuilding())
        return;
    if (owner)
        owner->newMRUProject(closing->fileName());
    // The simulator shows the closing project's design.
    closeSimulator();
    projects.removeAt(index);
    delete closing;
    followCurrentProject();
    applyTreeFormats();
    updateWindowState();
    lastCurrentIndex = currentProjectIndex();
}

void ProjectsManager::reloadCompilers()
{
    // The builder of a running build holds the configurations it started with.
    if (busy) {
        reloadPending = true;
        return;
    }
    reloadPending = false;
    const QString directory = owner ? owner->compilersDirectory() : QString();

    // A project whose compiler the new directory lacks would lose its configuration: the
    // directory is then taken at the next start, when that project is read afresh.
    BuildConfigList candidate(nullptr);
    candidate.loadAll(directory);
    QStringList missing;
    for (const Project *open : std::as_const(projects)) {
        for (int index = 0; index < open->configurationCount(); ++index) {
            const QString name = open->configuration(index)->compilerName();
            if (!name.isEmpty() && !candidate.find(name) && !missing.contains(name))
                missing.append(name);
        }
    }
    if (!missing.isEmpty()) {
        error(tr("The compilers directory %1 has no configuration for %2, which the open project uses; "
                 "it takes effect at the next start.\n")
                  .arg(QDir::toNativeSeparators(directory), missing.join(QStringLiteral(", "))));
        return;
    }

    // The configurations go through their project file form, which names the compiler
    // only, so that they bind to the configurations read below.
    QList<QByteArray> kept;
    for (const Project *open : std::as_const(projects)) {
        QByteArray xml;
        QXmlStreamWriter writer(&xml);
        writer.writeStartDocument();
        writer.writeStartElement(QStringLiteral("PROJECT"));
        for (int index = 0; index < open->configurationCount(); ++index)
            open->configuration(index)->save(writer, open->fileName());
        writer.writeEndElement();
        writer.writeEndDocument();
        kept.append(xml);
    }
    buildConfigs->loadAll();
    for (int index = 0; index < projects.size(); ++index) {
        Project *open = projects.at(index);
        QDomDocument document;
        document.setContent(kept.at(index));
        std::vector<std::unique_ptr<BuildProject>> rebound;
        for (QDomElement element = document.documentElement().firstChildElement(QStringLiteral("CONFIGURATION"));
             !element.isNull(); element = element.nextSiblingElement(QStringLiteral("CONFIGURATION"))) {
            auto configuration = std::make_unique<BuildProject>(owner, buildConfigs);
            configuration->load(element, open->fileName());
            rebound.push_back(std::move(configuration));
        }
        const int current = open->currentConfigurationIndex();
        open->setConfigurations(std::move(rebound));
        open->setCurrentConfiguration(current);
        open->setMakefileCurrent(false);
    }
}

void ProjectsManager::applyTreeFormats()
{
    QSettings *store = owner ? owner->settings() : nullptr;
    projectFormat = DisplaySettings::formatForItem(store, DisplaySettings::projectsTree, QStringLiteral("Projects"));
    groupFormat = DisplaySettings::formatForItem(store, DisplaySettings::projectsTree, QStringLiteral("Groups"));
    fileFormat = DisplaySettings::formatForItem(store, DisplaySettings::projectsTree, QStringLiteral("Files"));
    for (Project *open : std::as_const(projects))
        open->applyFormats(projectFormat, groupFormat, fileFormat);
    markCurrentProject();
}

void ProjectsManager::clearMakefileCurrent(const QString &directory)
{
    const QString absolute = QDir(directory).absolutePath();
    for (Project *open : std::as_const(projects)) {
        if (!open->fileName().isEmpty() && QFileInfo(open->fileName()).absolutePath() == absolute)
            open->setMakefileCurrent(false);
    }
}

void ProjectsManager::setCurrentConfiguration(int index)
{
    if (Project *current = currentProject())
        current->setCurrentConfiguration(index);
}

void ProjectsManager::requestAbort()
{
    if (Project *current = currentProject())
        current->abortBuild();
}

void ProjectsManager::fileModified(const QString &path, bool modified)
{
    for (Project *open : std::as_const(projects))
        open->setFileModified(path, modified);
}

void ProjectsManager::showContextMenu(const QPoint &globalPosition)
{
    updateWindowState();
    const Project *current = currentProject();
    if (!current || !owner)
        return;
    if (!menu)
        menu = new QMenu(this);
    menu->clear();
    const auto add = [this](std::initializer_list<Workbench::Action> ids) {
        for (Workbench::Action id : ids) {
            if (QAction *action = owner->action(id))
                menu->addAction(action);
        }
    };
    switch (current->itemKind(tree->currentItem())) {
    case Project::ProjectItem:
        add({Workbench::AddExistingFile, Workbench::AddNewFile, Workbench::AddDesignFile,
             Workbench::CreateDesignFile});
        break;
    case Project::GroupItem:
        add({Workbench::AddExistingFile, Workbench::AddNewFile, Workbench::AddDesignFile,
             Workbench::CreateDesignFile, Workbench::Rename});
        break;
    case Project::FileItem:
        add({Workbench::RemoveFile, Workbench::Rename});
        break;
    default:
        break;
    }
    menu->addSeparator();
    add({Workbench::SaveProject, Workbench::SaveProjectAs, Workbench::CloseProject});
    menu->addSeparator();
    add({Workbench::ProjectSettings, Workbench::BuildProject, Workbench::CleanProject});
    menu->popup(globalPosition);
}

void ProjectsManager::contextMenuEvent(QContextMenuEvent *event)
{
    showContextMenu(event->globalPos());
    event->accept();
}

void ProjectsManager::updateState()
{
    // Save As and every open or close pass through here.
    projectFileWatcher->setPaths(projectFileNames());
    if (!owner)
        return;
    const auto enable = [this](std::initializer_list<Workbench::Action> ids, bool enabled) {
        for (Workbench::Action id : ids) {
            if (QAction *action = owner->action(id))
                action->setEnabled(enabled);
        }
    };
    enable({Workbench::NewProject, Workbench::OpenProject, Workbench::OpenSample}, !busy);
    enable({Workbench::StopBuild}, busy);
    enable({Workbench::AddExistingFile, Workbench::AddNewFile, Workbench::AddDesignFile,
            Workbench::CreateDesignFile, Workbench::RemoveFile, Workbench::SaveProject, Workbench::SaveProjectAs,
            Workbench::CloseProject, Workbench::ProjectSettings, Workbench::BuildProject, Workbench::CleanProject,
            Workbench::TidyProject, Workbench::OpenDebugger, Workbench::StartDebugging},
           false);
    // These act on the simulator, whatever the projects do.
    enable({Workbench::StopDebugging}, simulator && simulator->isDebugging());
    enable({Workbench::CloseSimulator}, simulator && simulator->isRunning());

    const Project *current = busy ? nullptr : currentProject();
    if (!current)
        return;
    enable({Workbench::SaveProject}, current->isModified());
    enable({Workbench::SaveProjectAs, Workbench::CloseProject, Workbench::ProjectSettings,
            Workbench::BuildProject, Workbench::CleanProject, Workbench::TidyProject, Workbench::OpenDebugger,
            Workbench::StartDebugging, Workbench::AddExistingFile, Workbench::AddNewFile},
           true);
    enable({Workbench::AddDesignFile, Workbench::CreateDesignFile}, current->designFile().isEmpty());
    const int kind = current->itemKind(tree->currentItem());
    enable({Workbench::RemoveFile}, kind == Project::GroupItem || kind == Project::FileItem);
    for (Project *open : std::as_const(projects))
        open->updateItemText();
}

void ProjectsManager::itemDoubleClicked(QTreeWidgetItem *item, int)
{
    updateWindowState();
    if (Project *current = currentProject())
        current->openFile(item);
}

void ProjectsManager::itemClicked(QTreeWidgetItem *, int)
{
    updateWindowState();
    markCurrentProject();
    followCurrentProject();
}

void ProjectsManager::itemChanged(QTreeWidgetItem *item, int)
{
    // Only a committed in-place edit renames; the projects change texts, icons and fonts
    // of their items all the time.
    if (item != tree->committingItem())
        return;
    Project *current = currentProject();
    const QString before = tree->textBeforeCommit();
    if (!current || item->text(0) == before)
        return;
    const int kind = current->itemKind(item);
    const int group = kind == Project::GroupItem ? current->groupIndexOfItem(item) : -1;
    const int file = kind == Project::FileItem ? current->fileIndexOfItem(item) : -1;
    if (group < 0 && file < 0)
        return;
    // The editor starts from the shown text, which carries the modified mark of an open
    // file; the mark is no part of the name.
    const QChar mark = QLatin1Char('*');
    const bool marked = file >= 0 && before.startsWith(mark);
    QString name = item->text(0);
    if (marked && name.startsWith(mark))
        name.remove(0, 1);
    if (!name.isEmpty()) {
        if (group >= 0)
            current->renameGroup(group, name);
        else
            current->renameFile(file, name);
    }
    // Whether taken, refused or empty, the item shows the name the project now has.
    if (group >= 0) {
        item->setText(0, current->groups().at(group).name);
    } else {
        const QString shown = QFileInfo(current->files().at(file).path).fileName();
        item->setText(0, marked ? mark + shown : shown);
    }
    updateWindowState();
}

Project *ProjectsManager::createProject()
{
    auto *created = new Project(buildConfigs, owner);
    created->setSimulatorLink(simulator.get());
    connect(created, &Project::treeFormatsNeeded, this, &ProjectsManager::applyTreeFormats);
    connect(created, &Project::designLaunchRequested, this, &ProjectsManager::debugOpen);
    return created;
}


void ProjectsManager::projectFileChanged(const QString &path)
{
    const int index = indexOfProject(path);
    Project *changed = project(index);
    // A build saves the project itself; what it found on disk is overwritten anyway.
    if (!changed || changed->isBuilding() || !changed->noticeDiskChange())
        return;
    if (!QFileInfo::exists(path)) {
        error(tr("The project file %1 was deleted outside the program; Save Project writes it again.")
                  .arg(QDir::toNativeSeparators(path)));
        return;
    }
    QString question = tr("The project file %1 has been changed outside the program.\nReload the project?")
                           .arg(QDir::toNativeSeparators(path));
    if (changed->isModified())
        question += QLatin1Char('\n') + tr("Your unsaved changes to the project will be lost.");
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), question,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(changed->isModified() ? QMessageBox::No : QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes)
        return;

    // Closing asks about edited files as usual; the editors of the project come back after.
    QStringList editedFiles;
    if (owner) {
        for (const QString &file : owner->openFileNames()) {
            if (changed->indexOfFile(file) >= 0)
                editedFiles.append(file);
        }
    }
    const QString target = owner ? owner->currentTarget() : QString();
    const bool wasModified = changed->isModified();
    changed->setModified(false);
    if (!openProjectFile(path, true)) {
        if (projects.contains(changed))
            changed->setModified(wasModified);
        return;
    }
    if (owner) {
        for (const QString &file : std::as_const(editedFiles))
            owner->openFile(file);
    }
    emit projectConfigurationChange(target);
}

void ProjectsManager::markCurrentProject()
{
    const int current = currentProjectIndex();
    for (int index = 0; index < projects.size(); ++index)
        projects.at(index)->markCurrent(index == current);
}

void ProjectsManager::followCurrentProject()
{
    const int current = currentProjectIndex();
    if (current != lastCurrentIndex) {
        lastCurrentIndex = current;
        emit projectConfigurationChange(QString());
    }
}

void ProjectsManager::reportAlreadyOpened(const QString &path)
{
    QMessageBox box(this);
    box.setText(tr("Project %1 is already opened").arg(path));
    box.exec();
}

void ProjectsManager::reportNotOpened(const QString &path, const QString &reason)
{
    error(tr("Cannot open project %1: %2\n").arg(QDir::toNativeSeparators(path), reason));
}

void ProjectsManager::updateWindowState()
{
    if (owner)
        owner->updateState();
}

void ProjectsManager::message(const QString &text)
{
    if (owner)
        owner->addMessage(text);
}

void ProjectsManager::error(const QString &text)
{
    if (owner)
        owner->addError(text);
}

void ProjectsManager::success(const QString &text)
{
    if (owner)
        owner->addSuccess(text);
}
