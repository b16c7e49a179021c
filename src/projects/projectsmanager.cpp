#include "projects/projectsmanager.h"

#include "app/srcmanager.h"
#include "build/buildconfiglist.h"
#include "build/compilersdialog.h"

#include <QTreeWidget>

ProjectsManager::ProjectsManager(SrcManager *owner)
    : QDockWidget(owner), owner(owner), buildConfigs(new BuildConfigList(owner, this))
{
    setObjectName(QStringLiteral("Projects"));
    setWindowTitle(tr("Projects"));
    setWidget(new QTreeWidget(this));
    buildConfigs->loadAll();
}

bool ProjectsManager::isBusy() const
{
    return busy;
}

int ProjectsManager::projectCount() const
{
    return 0;
}

QStringList ProjectsManager::projectFileNames() const
{
    return QStringList();
}

QStringList ProjectsManager::configurationNames() const
{
    return QStringList();
}

bool ProjectsManager::isProjectFile(const QString &) const
{
    return false;
}

QString ProjectsManager::controllerFamily(const QString &) const
{
    return QString();
}

bool ProjectsManager::askToClose(int)
{
    return true;
}

bool ProjectsManager::openProjectFile(const QString &, bool)
{
    return false;
}

void ProjectsManager::setCurrentConfiguration(int) {}

void ProjectsManager::requestAbort() {}

void ProjectsManager::fileModified(const QString &, bool) {}

void ProjectsManager::openSample() {}

void ProjectsManager::newProject() {}

void ProjectsManager::openProject() {}

void ProjectsManager::saveProject() {}

void ProjectsManager::saveProjectAs() {}

void ProjectsManager::closeProject() {}

void ProjectsManager::newFile() {}

void ProjectsManager::addFile() {}

void ProjectsManager::newDesignFile() {}

void ProjectsManager::removeFile() {}

void ProjectsManager::projectSettings() {}

void ProjectsManager::compileProject() {}

void ProjectsManager::cleanProject() {}

void ProjectsManager::tidyProject() {}

void ProjectsManager::showCompilersDialog()
{
    busy = true;
    CompilersDialog dialog(owner, buildConfigs, owner);
    dialog.exec();
    busy = false;
}

void ProjectsManager::showConfigurationsDialog() {}

void ProjectsManager::debugOpen() {}

void ProjectsManager::debugRun() {}

void ProjectsManager::renameItem() {}

void ProjectsManager::updateState() {}

// The same detection and storing as Check All and OK in the dialog, which is never shown.
void ProjectsManager::scanCompilers()
{
    CompilersDialog dialog(owner, buildConfigs, owner);
    dialog.checkAllButtonClicked();
    dialog.saveButtonClicked();
}
