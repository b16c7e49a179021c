#include "managerfixture.h"

#include "fakesimulatorlocator.h"
#include "app/srcmanager.h"
#include "projects/projectsmanager.h"
#include "projects/projecttreewidget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTest>

ManagerFixture::ManagerFixture(const QString &quorvin)
{
    copyFixture(QStringLiteral("projects/typical"), QString());
    QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
    setSetting(QStringLiteral("Compilers"), QStringLiteral(ZMX_FIXTURES "/projects/compilers"));
    setSetting(QStringLiteral("Projects"), folder.path());
    setSetting(QStringLiteral("Quorvin"), quorvin);
    // Without a stored installation none is found either, whatever lies beside the tests.
    FakeSimulatorLocator::install();
}

void ManagerFixture::setSetting(const QString &key, const QVariant &value)
{
    QSettings store(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio"));
    store.setValue(QStringLiteral("1/") + key, value);
}

void ManagerFixture::copyFixture(const QString &fixture, const QString &to) const
{
    const QDir from(QStringLiteral(ZMX_FIXTURES "/") + fixture);
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = folder.filePath(QDir(to).filePath(from.relativeFilePath(source)));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

ManagerFixture::~ManagerFixture()
{
    // The window goes before the folder that its project lives in.
    mainWindow.reset();
    FakeSimulatorLocator::uninstall();
}

void ManagerFixture::rememberOpen(const QString &project, const QStringList &editorFiles)
{
    QSettings store(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio"));
    store.beginGroup(QStringLiteral("1"));
    store.beginWriteArray(QStringLiteral("projects"), 1);
    store.setArrayIndex(0);
    store.setValue(QStringLiteral("file"), project);
    store.endArray();
    store.beginWriteArray(QStringLiteral("windows"), int(editorFiles.size()));
    for (int index = 0; index < editorFiles.size(); ++index) {
        store.setArrayIndex(index);
        store.setValue(QStringLiteral("name"), editorFiles.at(index));
    }
    store.endArray();
}

SrcManager *ManagerFixture::createWindow(bool show)
{
    mainWindow = std::make_unique<SrcManager>();
    if (show) {
        mainWindow->setWindowState(Qt::WindowNoState);
        mainWindow->resize(1000, 700);
        mainWindow->show();
        if (!QTest::qWaitForWindowExposed(mainWindow.get()))
            return nullptr;
    }
    return mainWindow.get();
}

ProjectsManager *ManagerFixture::manager() const
{
    return mainWindow ? mainWindow->projects() : nullptr;
}

ProjectTreeWidget *ManagerFixture::tree() const
{
    return mainWindow ? mainWindow->projects()->treeWidget() : nullptr;
}

Project *ManagerFixture::openTypical(bool show)
{
    if (!mainWindow && !createWindow(show))
        return nullptr;
    if (!manager()->openProjectFile(projectPath(), true))
        return nullptr;
    return manager()->currentProject();
}

QTreeWidgetItem *ManagerFixture::item(const QString &text) const
{
    const QList<QTreeWidgetItem *> found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void ManagerFixture::select(const QString &text) const
{
    tree()->setCurrentItem(item(text));
}

void ManagerFixture::writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

QByteArray ManagerFixture::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
