#include "app/srcmanager.h"

#include "app/workingdirectories.h"
#include "editor/srctabsholder.h"
#include "platform/simulatorinstallation.h"
#include "projects/projectsmanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

namespace {

// Unlike the installation's folders, the projects folder is the user's: it is made on demand.
QString createdProjectsDirectory()
{
    const QString path = WorkingDirectories::projects();
    QDir().mkpath(path);
    return path;
}

}

void SrcManager::openSettings(bool systemScope)
{
    auto *store = new QSettings(systemScope ? QSettings::SystemScope : QSettings::UserScope,
                                QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio"), this);
    store->beginGroup(QStringLiteral("1"));
    delete settingsStore;
    settingsStore = store;
}

QVariant SrcManager::settingsValue(const QString &key, const QVariant &defaultValue)
{
    return settingsStore->value(key, defaultValue);
}

void SrcManager::setSettingsValue(const QString &key, const QVariant &value)
{
    settingsStore->setValue(key, value);
}

QString SrcManager::directory(const QString &key, bool defaultOnly, QString (*computeDefault)())
{
    if (!defaultOnly) {
        const QString stored = settingsStore->value(key).toString();
        if (!stored.isEmpty())
            return stored;
    }
    const QString computed = computeDefault();
    if (!defaultOnly)
        settingsStore->setValue(key, computed);
    return computed;
}

QString SrcManager::compilersDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Compilers"), defaultOnly, &WorkingDirectories::compilers);
}

QString SrcManager::toolsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Tools"), defaultOnly, &WorkingDirectories::tools);
}

QString SrcManager::simulatorDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Simulator"), defaultOnly, &WorkingDirectories::simulator);
}

QString SrcManager::syntaxDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Syntax"), defaultOnly, &WorkingDirectories::syntax);
}

QString SrcManager::devBoardsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("DevBoards"), defaultOnly, &WorkingDirectories::devBoards);
}

QString SrcManager::projectsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Projects"), defaultOnly, &createdProjectsDirectory);
}

void SrcManager::setCompilersDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Compilers"), path);
}

void SrcManager::setToolsDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Tools"), path);
}

void SrcManager::setSimulatorDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Simulator"), path);
}

void SrcManager::setSyntaxDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Syntax"), path);
}

void SrcManager::setDevBoardsDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("DevBoards"), path);
}

void SrcManager::setProjectsDirectory(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Projects"), path);
}

void SrcManager::setQuorvinPath(const QString &path)
{
    settingsStore->setValue(QStringLiteral("Quorvin"), path);
}

QString SrcManager::quorvinPath(bool detect)
{
    const QString stored = settingsStore->value(QStringLiteral("Quorvin")).toString();
    if (!stored.isEmpty() && !detect)
        return stored;
    const Platform::SimulatorInstallation found = Platform::SimulatorLocator::instance().locate();
    quorvinTooOld = found.tooOld;
    if (found.directory.isEmpty())
        return QString();
    const QString result = found.holdsProgram ? found.directory : stored;
    if (!detect)
        settingsStore->setValue(QStringLiteral("Quorvin"), result);
    return result;
}

void SrcManager::checkQuorvinInstallation()
{
    QString path = quorvinPath();
    const QString previous = path;
    if (path.isEmpty() || Platform::SimulatorLocator::instance().isProvisional(path)) {
        path = quorvinPath(true);
        if (!path.isEmpty())
            setQuorvinPath(path);
    }
    if (path != previous)
        scanCompilers();
    if (path.isEmpty()) {
        QMessageBox box(this);
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("ZMX Studio"));
        box.setText(quorvinTooOld ? tr("Quorvin Detected but it is too old. Version 7.8 or later is required.")
                                  : tr("No Quorvin Installation Detected."));
        box.setInformativeText(tr("Quorvin can be obtained from Dravenhol Electronics or your distributor.\n"
                                  " If Quorvin is installed you may need to manually enter its path."));
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    }
    updateState();
}

void SrcManager::scanCompilers()
{
    projectsManager->scanCompilers();
}

void SrcManager::openProject(const QString &fileName)
{
    projectsManager->openProjectFile(fileName, true);
}

bool SrcManager::readSettings()
{
    rememberedFiles.clear();
    const int windowCount = settingsStore->beginReadArray(QStringLiteral("windows"));
    for (int index = 0; index < windowCount; ++index) {
        settingsStore->setArrayIndex(index);
        rememberedFiles.append(settingsStore->value(QStringLiteral("name")).toString());
    }
    settingsStore->endArray();

    QString project;
    const int projectCount = settingsStore->beginReadArray(QStringLiteral("projects"));
    if (projectCount > 0) {
        settingsStore->setArrayIndex(0);
        project = settingsStore->value(QStringLiteral("file")).toString();
    }
    settingsStore->endArray();

    recentProjects = settingsStore->value(QStringLiteral("MRUProjects")).toStringList();
    recentFiles = settingsStore->value(QStringLiteral("MRUFiles")).toStringList();
    createMRUMenu();

    // A project that has gone since the last run is simply not restored.
    if (!project.isEmpty() && QFileInfo::exists(project))
        projectsManager->openProjectFile(project, false);
    rememberedFiles.clear();

    const QByteArray state = settingsStore->value(QStringLiteral("state")).toByteArray();
    if (state.isEmpty())
        return false;
    const QByteArray geometry = settingsStore->value(QStringLiteral("geometry")).toByteArray();
    if (geometry.isEmpty())
        return false;
    restoreGeometry(geometry);
    QCoreApplication::processEvents();
    restoreState(state, 0);
    QCoreApplication::processEvents();
    return true;
}

void SrcManager::writeSettings()
{
    settingsStore->setValue(QStringLiteral("geometry"), saveGeometry());
    settingsStore->setValue(QStringLiteral("state"), saveState(0));

    const QStringList projectFiles = projectsManager->projectFileNames();
    settingsStore->beginWriteArray(QStringLiteral("projects"), int(projectFiles.size()));
    for (int index = 0; index < projectFiles.size(); ++index) {
        settingsStore->setArrayIndex(index);
        settingsStore->setValue(QStringLiteral("file"), projectFiles.at(index));
    }
    settingsStore->endArray();
    for (const QString &project : projectFiles)
        newMRUProject(project);

    const QStringList editorFiles = tabsHolder->openFileNames();
    for (const QString &file : editorFiles) {
        if (!projectsManager->isProjectFile(file))
            newMRUFile(file);
    }
    settingsStore->setValue(QStringLiteral("MRUProjects"), recentProjects);
    settingsStore->setValue(QStringLiteral("MRUFiles"), recentFiles);

    settingsStore->beginWriteArray(QStringLiteral("windows"), int(editorFiles.size()));
    for (int index = 0; index < editorFiles.size(); ++index) {
        settingsStore->setArrayIndex(index);
        settingsStore->setValue(QStringLiteral("name"), editorFiles.at(index));
    }
    settingsStore->endArray();
}
