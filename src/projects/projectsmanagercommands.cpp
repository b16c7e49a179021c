#include "projects/projectsmanager.h"

#include "core/waitcursor.h"
#include "core/workbench.h"
#include "build/buildproject.h"
#include "build/compilersdialog.h"
#include "projects/project.h"
#include "projects/projecttreewidget.h"
#include "projects/samplecopier.h"
#include "projects/sampleproject.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

void ProjectsManager::newProject()
{
    if (!closeCurrentProject())
        return;
    Project *created = createProject();
    if (!created->newProjectWizard()) {
        // Nothing of it was shown: its going must not clear the output that says why.
        created->detachFromWindow();
        delete created;
        return;
    }
    if (indexOfProject(created->fileName()) >= 0) {
        reportAlreadyOpened(created->fileName());
        created->detachFromWindow();
        delete created;
        return;
    }
    projects.append(created);
    applyTreeFormats();
    followCurrentProject();
    updateWindowState();
    created->regroupFiles();
    created->attachToTree(rootItem);
}

void ProjectsManager::openProject()
{
    if (!closeCurrentProject())
        return;
    Project *opened = createProject();
    if (!opened->openWithDialog()) {
        const QString path = opened->fileName();
        const QString reason = opened->loadError();
        delete opened;
        if (!path.isEmpty())
            reportNotOpened(path, reason);
        return;
    }
    if (indexOfProject(opened->fileName()) >= 0) {
        reportAlreadyOpened(opened->fileName());
        delete opened;
        return;
    }
    projects.append(opened);
    applyTreeFormats();
    updateWindowState();
    sendFirmware();
    followCurrentProject();
    opened->attachToTree(rootItem);
}

// The installation is checked before anything else, and the open project is closed only
// once a sample is chosen: looking at the samples costs the user nothing.
void ProjectsManager::openSample()
{
    if (!owner || owner->quorvinPath().isEmpty()) {
        QMessageBox box(this);
        box.setText(tr("No Quorvin Installation Detected."));
        box.setInformativeText(tr("Samples are installed with Quorvin ZMX.\n"
                                  "Quorvin ZMX is available from Dravenhol Electronics and its distributors."));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return;
    }
    // The samples are read once; only an installation chosen since then reads them again.
    const QString installation = owner->quorvinPath() + QDir::separator() + QStringLiteral("SAMPLES");
    if (samples && samples->samplesDirectory() != installation) {
        delete samples;
        samples = nullptr;
    }
    if (!samples) {
        WaitCursor waitCursor;
        samples = new SampleProject(this, owner, buildConfigs, owner->dialogParent());
    }
    samples->show();
    samples->raise();
    samples->activateWindow();
}

bool ProjectsManager::openSampleCopy(const QString &samplePath)
{
    if (!owner || !closeCurrentProject())
        return false;
    const QString copy = SampleCopier(owner).copy(samplePath, owner->projectsDirectory());
    if (copy.isEmpty())
        return false;
    if (!openProjectFile(copy, false))
        return false;
    message(tr("Sample %1 was copied to %2; the copy is open.\n")
                .arg(QFileInfo(samplePath).completeBaseName(), QDir::toNativeSeparators(QFileInfo(copy).absolutePath())));
    return true;
}

void ProjectsManager::saveProject()
{
    if (Project *current = currentProject()) {
        current->save();
        updateWindowState();
    }
}

void ProjectsManager::saveProjectAs()
{
    if (Project *current = currentProject()) {
        current->saveAs(current->fileName(), true);
        updateWindowState();
    }
}

void ProjectsManager::closeProject()
{
    closeCurrentProject();
}

void ProjectsManager::addFile()
{
    if (Project *current = currentProject()) {
        current->addFiles();
        updateWindowState();
    }
}

void ProjectsManager::newFile()
{
    if (Project *current = currentProject()) {
        current->newFile();
        updateWindowState();
    }
}

void ProjectsManager::newDesignFile()
{
    if (Project *current = currentProject()) {
        current->newDesignFile(QString());
        updateWindowState();
    }
}

void ProjectsManager::removeFile()
{
    Project *current = currentProject();
    if (!current)
        return;
    QTreeWidgetItem *item = tree->currentItem();
    const int index = current->fileIndexOfItem(item);
    // The item's text carries the modified mark of an open file; the name does not.
    QString name = index >= 0 ? QFileInfo(current->files().at(index).path).fileName() : QString();
    if (index < 0 && item)
        name = item->text(0);

    QMessageBox box(this);
    box.setText(tr("Remove file."));
    box.setInformativeText(QLatin1String("The file '") + name + QLatin1String("' will be removed from the project."));
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() == QMessageBox::Ok) {
        current->removeFile(index);
        updateWindowState();
    }
}

void ProjectsManager::projectSettings()
{
    Project *current = currentProject();
    if (!current)
        return;
    current->showOptions();
    updateState();
    const BuildProject *configuration = current->currentConfiguration();
    emit projectConfigurationChange(configuration ? configuration->name() : QString());
}

void ProjectsManager::showCompilersDialog()
{
    busy = true;
    CompilersDialog dialog(owner, buildConfigs, window());
    dialog.exec();
    busy = false;
}

void ProjectsManager::showConfigurationsDialog()
{
    if (Project *current = currentProject()) {
        current->showConfigurations();
        updateWindowState();
    }
}

void ProjectsManager::compileProject()
{
    runBuildCommand([this](Project &current) {
        const QString target = owner ? owner->currentTarget() : QStringLiteral("Debug");
        for (int index = 0; index < current.configurationCount(); ++index) {
            if (current.configuration(index)->name() == target)
                current.setCurrentConfiguration(index);
        }
        return current.compile();
    }, true, tr("Building"));
}

void ProjectsManager::cleanProject()
{
    runBuildCommand([](Project &current) { return current.clean(); }, false, tr("Cleaning"));
}

void ProjectsManager::tidyProject()
{
    runBuildCommand([](Project &current) { return current.tidy(); }, false, tr("Tidying"));
}

void ProjectsManager::runBuildCommand(const std::function<bool(Project &)> &operation, bool compiling,
                                      const QString &what)
{
    busy = true;
    updateWindowState();
    emit buildStarted(what);
    bool succeeded = false;
    if (Project *current = currentProject()) {
        succeeded = operation(*current);
    } else {
        message(tr("No project selected."));
    }
    if (compiling)
        handOverBuild(succeeded);
    busy = false;
    if (reloadPending)
        reloadCompilers();
    emit buildFinished();
    updateWindowState();
}

void ProjectsManager::renameItem()
{
    if (QTreeWidgetItem *item = tree->currentItem())
        tree->editItem(item, 0);
}

// The same detection and storing as Check All and OK in the dialog, which is never shown.
void ProjectsManager::scanCompilers()
{
    CompilersDialog dialog(owner, buildConfigs, window());
    dialog.checkAllButtonClicked();
    dialog.saveButtonClicked();
}
