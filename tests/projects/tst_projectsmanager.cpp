#include "app/srcmanager.h"
#include "build/buildproject.h"
#include "dialoganswerer.h"
#include "core/displaysettings.h"
#include "editor/outwindow.h"
#include "editor/outtextedit.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "managerfixture.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "projects/projecttreewidget.h"
#include "testregistry.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QString outputText(SrcManager *window)
{
    return window->output()->textEdit()->toPlainText();
}

QStringList boxTexts(SrcManager *window)
{
    QStringList texts;
    for (int index = 0; index < window->configurationBox()->count(); ++index)
        texts.append(window->configurationBox()->itemText(index));
    return texts;
}

SourceEditor *editorOf(SrcManager *window, const QString &path)
{
    window->openFile(path);
    return window->tabs()->findEditor(path);
}

QStringList menuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *entry : menu->actions())
        texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
    return texts;
}

// Every project action by its enabled state, so that a failure shows the whole picture.
QString actionStates(SrcManager *window)
{
    const std::pair<SrcManager::Action, const char *> watched[] = {
        {SrcManager::NewProject, "new"},         {SrcManager::OpenProject, "open"},
        {SrcManager::OpenSample, "sample"},      {SrcManager::StopBuild, "stop"},
        {SrcManager::AddExistingFile, "add"},    {SrcManager::AddNewFile, "addnew"},
        {SrcManager::AddDesignFile, "adddsn"},   {SrcManager::CreateDesignFile, "newdsn"},
        {SrcManager::RemoveFile, "remove"},      {SrcManager::SaveProject, "save"},
        {SrcManager::SaveProjectAs, "saveas"},   {SrcManager::CloseProject, "close"},
        {SrcManager::ProjectSettings, "options"}, {SrcManager::BuildProject, "build"},
        {SrcManager::CleanProject, "clean"},     {SrcManager::TidyProject, "tidy"},
        {SrcManager::OpenDebugger, "debugger"},  {SrcManager::StartDebugging, "debug"},
    };
    QStringList enabled;
    for (const auto &[id, name] : watched) {
        if (window->action(id)->isEnabled())
            enabled.append(QLatin1String(name));
    }
    return enabled.join(QLatin1Char(' '));
}

const QString idle = QStringLiteral("new open sample");
// In the order of actionStates: the Remove File and Save Project states go between.
QString projectIdle(const QString &removeAndSave = QString())
{
    return QStringLiteral("new open sample add addnew %1saveas close options build clean tidy debugger debug")
        .arg(removeAndSave);
}

}

class ProjectsManagerTest : public QObject
{
    Q_OBJECT

private:
    static bool avrToolChainInstalled()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("avr-gcc")).isEmpty();
    }

    // The AVR board project with the real tool chain, detected as the compilers dialog does.
    static Project *openAvrProject(ManagerFixture &fixture)
    {
        fixture.copyFixture(QStringLiteral("e2e/avr"), QStringLiteral("avr"));
        ManagerFixture::setSetting(QStringLiteral("Compilers"), QStringLiteral(ZMX_SOURCE_DIR "/data/compilers"));
        SrcManager *window = fixture.createWindow();
        window->scanCompilers();
        if (!window->projects()->openProjectFile(fixture.path(QStringLiteral("avr/blink.zmxp")), true))
            return nullptr;
        return window->projects()->currentProject();
    }

private slots:
    void init() { DialogAnswerer::seenTexts().clear(); }

    void opensAProjectAndPicksUpItsConfigurations()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        QSignalSpy changes(manager, &ProjectsManager::projectConfigurationChange);
        QVERIFY(manager->openProjectFile(fixture.projectPath(), false));

        QCOMPARE(manager->projectCount(), 1);
        QCOMPARE(manager->currentProjectIndex(), 0);
        QCOMPARE(manager->projectFileNames(), QStringList(fixture.projectPath()));
        QCOMPARE(manager->indexOfProject(fixture.path(QStringLiteral("src/../blinky.zmxp"))), 0);
        QCOMPARE(manager->indexOfProject(fixture.path(QStringLiteral("other.zmxp"))), -1);
        QCOMPARE(changes.size(), 1);
        QVERIFY(changes.first().first().toString().isEmpty());
        QCOMPARE(boxTexts(window), QStringList({"Debug", "Release", "Configurations..."}));

        // The box drives the project's configuration.
        window->configurationBox()->setCurrentIndex(1);
        QCOMPARE(manager->currentProject()->currentConfigurationIndex(), 1);
        QVERIFY(manager->isProjectFile(fixture.path(QStringLiteral("src/led.c"))));
        QVERIFY(!manager->isProjectFile(fixture.path(QStringLiteral("src/other.c"))));
        QCOMPARE(manager->controllerFamily(fixture.path(QStringLiteral("src/led.c"))), QStringLiteral("AVR"));

        // The project item is shown bold as the current project; no simulator is known, so
        // the hand-off check says so exactly once.
        const QTreeWidgetItem *projectItem = manager->currentProject()->projectTreeItem();
        QCOMPARE(projectItem->text(0), QStringLiteral("blinky"));
        QCOMPARE(projectItem->font(0).weight(), QFont::Bold);
        QCOMPARE(outputText(window).count(QStringLiteral("Cannot launch the design file")), 1);

        // Makefiles written by another project of the same folder are no longer this one's.
        Project *project = manager->currentProject();
        project->setMakefileCurrent(true);
        manager->clearMakefileCurrent(fixture.path(QStringLiteral("src")));
        QVERIFY(project->isMakefileCurrent());
        manager->clearMakefileCurrent(fixture.path(QStringLiteral("src/..")));
        QVERIFY(!project->isMakefileCurrent());
    }

    void openSampleNeedsTheSimulatorInstallation()
    {
        ManagerFixture fixture;
        QVERIFY(fixture.openTypical());
        DialogAnswerer::pressButton(QMessageBox::Ok);
        fixture.window()->action(SrcManager::OpenSample)->trigger();
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY(DialogAnswerer::seenTexts().first().startsWith(
            QStringLiteral("No Quorvin Installation Detected.\nSamples are installed with Quorvin ZMX.\n")));
        // The installation is checked first: the project stays open and nothing was asked.
        QCOMPARE(fixture.manager()->projectCount(), 1);
    }

    void reopeningTheOpenProjectClosesItFirst()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        Project *first = fixture.openTypical();
        QVERIFY(first);
        first->setModified(true);

        // Cancel to the project's own question keeps it.
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        QVERIFY(!manager->openProjectFile(fixture.projectPath(), false));
        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList("Project 'blinky' has been modified.\nDo you want to save your changes?\n"));
        QCOMPARE(manager->projectCount(), 1);
        QCOMPARE(manager->currentProject(), first);

        // Discard closes it, and the same file opens again as a fresh project.
        DialogAnswerer::pressButton(QMessageBox::Discard);
        QVERIFY(manager->openProjectFile(fixture.projectPath(), false));
        QCOMPARE(manager->projectCount(), 1);
        QVERIFY(!manager->currentProject()->isModified());
        QCOMPARE(window->recentProjectList().value(0), fixture.projectPath());
        QCOMPARE(boxTexts(window), QStringList({"Debug", "Release", "Configurations..."}));
    }

    void failedOpensLeaveTheListAlone()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        ManagerFixture::writeFile(fixture.path(QStringLiteral("bare.zmxp")), "<PROJECT/>");
        QVERIFY(!manager->openProjectFile(fixture.path(QStringLiteral("bare.zmxp")), true));
        QVERIFY(!manager->openProjectFile(fixture.path(QStringLiteral("missing.zmxp")), true));
        QCOMPARE(manager->projectCount(), 0);
        QVERIFY(outputText(window).contains(QStringLiteral("Cannot open project %1: it has no build configuration")
                                                .arg(fixture.path(QStringLiteral("bare.zmxp")))));
        QVERIFY(outputText(window).contains(QStringLiteral("Cannot open project %1: the file does not exist")
                                                .arg(fixture.path(QStringLiteral("missing.zmxp")))));
        QVERIFY(boxTexts(window).isEmpty());
        QCOMPARE(actionStates(window), idle);
    }

    void closingAsksAboutModifiedFilesThenAboutTheProject()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        QVERIFY(fixture.openTypical());
        const QString led = fixture.path(QStringLiteral("src/led.c"));
        const QString main = fixture.path(QStringLiteral("src/main.c"));
        const QByteArray ledBefore = ManagerFixture::readFile(led);
        // Opened in the other order: the question names them in the project's order.
        editorOf(window, led)->append(QStringLiteral("// led\n"));
        editorOf(window, main)->append(QStringLiteral("// main\n"));
        editorOf(window, fixture.path(QStringLiteral("notes.txt")));

        DialogAnswerer::pressButton(QMessageBox::Cancel);
        QVERIFY(!manager->closeCurrentProject());
        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList("Files main.c, led.c have been modified.\nDo you want to save your changes?\n"));
        QCOMPARE(manager->projectCount(), 1);
        QCOMPARE(window->tabs()->count(), 3);

        // Discard: nothing is written, the editors go with the project.
        DialogAnswerer::seenTexts().clear();
        DialogAnswerer::pressButton(QMessageBox::Discard);
        window->action(SrcManager::CloseProject)->trigger();
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QCOMPARE(manager->projectCount(), 0);
        QCOMPARE(window->tabs()->count(), 0);
        QCOMPARE(ManagerFixture::readFile(led), ledBefore);
        QCOMPARE(window->recentProjectList().value(0), fixture.projectPath());
        QVERIFY(boxTexts(window).isEmpty());
        QCOMPARE(actionStates(window), idle);

        // Save writes every edited file, then the project's own question decides.
        QVERIFY(fixture.openTypical());
        editorOf(window, led)->append(QStringLiteral("// saved\n"));
        manager->currentProject()->setModified(true);
        DialogAnswerer::seenTexts().clear();
        DialogAnswerer::pressButton(QMessageBox::Save);
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        QVERIFY(!manager->closeCurrentProject());
        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList({"Files led.c have been modified.\nDo you want to save your changes?\n",
                              "Project 'blinky' has been modified.\nDo you want to save your changes?\n"}));
        QVERIFY(ManagerFixture::readFile(led).endsWith("// saved\n"));
        QCOMPARE(manager->projectCount(), 1);
    }

    void aFileThatCannotBeSavedKeepsTheProjectOpen()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        QVERIFY(fixture.openTypical());
        const QString main = fixture.path(QStringLiteral("src/main.c"));
        editorOf(window, main)->append(QStringLiteral("// kept\n"));
        // A directory in the file's place cannot be replaced by the save.
        QVERIFY(QFile::remove(main));
        QVERIFY(QDir().mkpath(main));

        DialogAnswerer::pressButton(QMessageBox::Save);
        DialogAnswerer::pressButton(QMessageBox::Ok);
        QVERIFY(!manager->closeCurrentProject());
        QCOMPARE(DialogAnswerer::seenTexts().size(), 2);
        QVERIFY(DialogAnswerer::seenTexts().at(1).startsWith(QStringLiteral("Cannot write file")));
        QCOMPARE(manager->projectCount(), 1);
        QVERIFY(window->tabs()->findEditor(main));
        QVERIFY(window->tabs()->findEditor(main)->text().endsWith(QStringLiteral("// kept\n")));
    }

    void removeFileAsksAndRemovesOnlyFiles()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        Project *project = fixture.openTypical();
        QVERIFY(project);

        fixture.select(QStringLiteral("C Files"));
        DialogAnswerer::pressButton(QMessageBox::Ok);
        window->action(SrcManager::RemoveFile)->trigger();
        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList("Remove file.\nThe file 'C Files' will be removed from the project."));
        QCOMPARE(project->files().size(), 6);
        QVERIFY(!project->isModified());

        fixture.select(QStringLiteral("led.c"));
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        manager->removeFile();
        QCOMPARE(project->files().size(), 6);

        DialogAnswerer::pressButton(QMessageBox::Ok);
        manager->removeFile();
        QCOMPARE(project->files().size(), 5);
        QCOMPARE(project->indexOfFile(fixture.path(QStringLiteral("src/led.c"))), -1);
        QVERIFY(!fixture.item(QStringLiteral("led.c")));
        QVERIFY(QFile::exists(fixture.path(QStringLiteral("src/led.c"))));
        QVERIFY(project->isModified());
        QVERIFY(window->action(SrcManager::SaveProject)->isEnabled());
        QCOMPARE(project->projectTreeItem()->text(0), QStringLiteral("*blinky"));
    }

    void reloadsTheProjectFileChangedOnDisk()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        QVERIFY(fixture.openTypical());
        const QString main = fixture.path(QStringLiteral("src/main.c"));
        QVERIFY(editorOf(window, main));
        const QByteArray original = ManagerFixture::readFile(fixture.projectPath());
        QVERIFY(original.contains("Blinks the LED"));
        DialogAnswerer::seenTexts().clear();

        // Our own save raises no question.
        manager->currentProject()->setModified(true);
        manager->saveProject();
        QTest::qWait(600);
        QVERIFY(DialogAnswerer::seenTexts().isEmpty());

        // Refused: the project stays as it is, and the same change is not asked about again.
        DialogAnswerer::pressButton(QMessageBox::No);
        ManagerFixture::writeFile(fixture.projectPath(), QByteArray(original).replace("Blinks the LED", "Refused"));
        QTRY_COMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY(DialogAnswerer::seenTexts().first().contains(QStringLiteral("blinky.zmxp has been changed outside")));
        QTest::qWait(600);
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY(manager->currentProject()->description().startsWith(QStringLiteral("Blinks the LED")));

        // Accepted: reloaded, with its editor open again.
        DialogAnswerer::pressButton(QMessageBox::Yes);
        ManagerFixture::writeFile(fixture.projectPath(), QByteArray(original).replace("Blinks the LED", "Reloaded"));
        QTRY_VERIFY(manager->currentProject() && manager->currentProject()->description().startsWith(QStringLiteral("Reloaded")));
        QCOMPARE(DialogAnswerer::seenTexts().size(), 2);
        QCOMPARE(manager->projectCount(), 1);
        QCOMPARE(window->openFileNames(), QStringList(main));
        QCOMPARE(boxTexts(window), QStringList({"Debug", "Release", "Configurations..."}));
    }

    void renamesOnlyWhatTheUserTyped()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow(true);
        ProjectsManager *manager = window->projects();
        Project *project = fixture.openTypical();
        QVERIFY(project);
        ProjectTreeWidget *tree = manager->treeWidget();
        const auto typeIntoEditor = [tree](const QString &text) {
            auto *editor = tree->viewport()->findChild<QLineEdit *>();
            QVERIFY(editor);
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
            // The delegate commits from a queued call, then lets the editor go.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!tree->viewport()->findChild<QLineEdit *>());
        };

        // An empty name changes nothing and the item keeps its text.
        fixture.select(QStringLiteral("C Files"));
        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QString());
        QCOMPARE(project->groups().at(0).name, QStringLiteral("C Files"));
        QCOMPARE(fixture.item(QStringLiteral("C Files")), project->groups().at(0).item);
        QVERIFY(!project->isModified());

        // A name another group has is refused, and the tree does not pretend otherwise.
        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QStringLiteral("Header Files"));
        QCOMPARE(project->groups().at(0).item->text(0), QStringLiteral("C Files"));

        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QStringLiteral("Sources"));
        QCOMPARE(project->groups().at(0).name, QStringLiteral("Sources"));
        QCOMPARE(project->files().at(0).group, QStringLiteral("Sources"));
        QVERIFY(project->isModified());

        fixture.select(QStringLiteral("main.c"));
        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QString());
        QCOMPARE(project->files().at(0).path, fixture.path(QStringLiteral("src/main.c")));
        QCOMPARE(fixture.item(QStringLiteral("main.c")), project->files().at(0).item);

        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QStringLiteral("app.c"));
        QCOMPARE(project->files().at(0).path, fixture.path(QStringLiteral("src/app.c")));
        QVERIFY(QFile::exists(fixture.path(QStringLiteral("src/app.c"))));
        QVERIFY(!QFile::exists(fixture.path(QStringLiteral("src/main.c"))));

        // The modified mark that an editor puts on an item is no rename.
        const QString led = fixture.path(QStringLiteral("src/led.c"));
        editorOf(window, led)->append(QStringLiteral("// edited\n"));
        QCOMPARE(fixture.item(QStringLiteral("*led.c")), project->files().at(1).item);
        QCOMPARE(project->files().at(1).path, led);
        QVERIFY(!QFile::exists(fixture.path(QStringLiteral("src/*led.c"))));

        // Renaming it keeps the mark on the item but out of the name.
        fixture.select(QStringLiteral("*led.c"));
        window->action(SrcManager::Rename)->trigger();
        typeIntoEditor(QStringLiteral("*lamp.c"));
        QCOMPARE(project->files().at(1).path, fixture.path(QStringLiteral("src/lamp.c")));
        QCOMPARE(project->files().at(1).item->text(0), QStringLiteral("*lamp.c"));
        QVERIFY(window->tabs()->findEditor(fixture.path(QStringLiteral("src/lamp.c"))));
    }

    void actionsFollowProjectItemAndBuild()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        window->updateState();
        QCOMPARE(actionStates(window), idle);

        // While a build command runs, every output line lets events through: the states seen
        // then are those of the busy manager.
        QStringList during;
        const auto watchOnce = [&] {
            QTimer::singleShot(0, window, [&] { during.append(actionStates(window)); });
        };
        watchOnce();
        manager->compileProject();
        QCOMPARE(during, QStringList(QStringLiteral("stop")));
        QVERIFY(!manager->isBusy());
        QCOMPARE(actionStates(window), idle);
        QCOMPARE(outputText(window),
                 QStringLiteral("No project selected.\nClick the VASK icon to launch the design file in VASK for "
                                "simulation and debugging.\n"));

        Project *project = fixture.openTypical();
        QVERIFY(project);
        // The typical project has its design file already.
        fixture.select(QStringLiteral("blinky"));
        QCOMPARE(actionStates(window), projectIdle());
        fixture.select(QStringLiteral("C Files"));
        QCOMPARE(actionStates(window), projectIdle(QStringLiteral("remove ")));
        fixture.select(QStringLiteral("led.c"));
        QCOMPARE(actionStates(window), projectIdle(QStringLiteral("remove ")));

        project->setModified(true);
        window->updateState();
        QVERIFY(window->action(SrcManager::SaveProject)->isEnabled());
        QCOMPARE(project->projectTreeItem()->text(0), QStringLiteral("*blinky"));

        during.clear();
        watchOnce();
        window->action(SrcManager::BuildProject)->trigger();
        QCOMPARE(during, QStringList(QStringLiteral("stop")));
        // A build saves the project first.
        QVERIFY(!project->isModified());
        QCOMPARE(actionStates(window), projectIdle(QStringLiteral("remove ")));

        // Without a design file both design commands are offered.
        fixture.select(QStringLiteral("blinky.dsn"));
        DialogAnswerer::pressButton(QMessageBox::Ok);
        manager->removeFile();
        fixture.select(QStringLiteral("blinky"));
        QCOMPARE(actionStates(window), QStringLiteral("new open sample add addnew adddsn newdsn save saveas close "
                                                      "options build clean tidy debugger debug"));
    }

    void stopBuildEndsTheRunningMake()
    {
        if (!avrToolChainInstalled())
            QSKIP("the AVR tool chain and make are needed for a real build");
        ManagerFixture fixture;
        QVERIFY(openAvrProject(fixture));
        SrcManager *window = fixture.window();
        ProjectsManager *manager = window->projects();

        // Each line make prints lets events through; the first one seen while make runs
        // tries to close the project and then presses Stop Build.
        bool done = false;
        bool closed = true;
        QString states;
        std::function<void()> watch = [&] {
            if (done)
                return;
            Project *project = manager->currentProject();
            if (!project || !project->isBuilding()) {
                QTimer::singleShot(0, window, watch);
                return;
            }
            done = true;
            closed = manager->closeCurrentProject();
            states = actionStates(window);
            window->action(SrcManager::StopBuild)->trigger();
        };
        QTimer::singleShot(0, window, watch);
        window->action(SrcManager::BuildProject)->trigger();
        const bool sawTheBuild = done;
        done = true;

        QVERIFY(sawTheBuild);
        QVERIFY(!closed);
        QCOMPARE(states, QStringLiteral("stop"));
        QCOMPARE(manager->projectCount(), 1);
        QVERIFY(outputText(window).contains(QStringLiteral("The project cannot be closed while it is being built.")));
        QVERIFY(outputText(window).contains(QStringLiteral("Build aborted by user")));
        QVERIFY(!manager->currentProject()->isBuilding());
        // This project has no design file yet.
        QCOMPARE(actionStates(window), QStringLiteral("new open sample add addnew adddsn newdsn saveas close options "
                                                      "build clean tidy debugger debug"));
    }

    void buildUsesTheConfigurationOfTheBox()
    {
        if (!avrToolChainInstalled())
            QSKIP("the AVR tool chain and make are needed for a real build");
        ManagerFixture fixture;
        Project *project = openAvrProject(fixture);
        QVERIFY(project);
        SrcManager *window = fixture.window();
        window->configurationBox()->setCurrentIndex(1);
        project->setCurrentConfiguration(0);
        window->action(SrcManager::BuildProject)->trigger();
        QCOMPARE(project->currentConfigurationIndex(), 1);
        QVERIFY(QFile::exists(project->currentFirmwarePath()));
        QVERIFY(project->currentFirmwarePath().contains(QStringLiteral("Release")));
        QVERIFY2(outputText(window).endsWith(QStringLiteral(
                     "Compiled successfully.\n\nClick the VASK icon to launch the design file in VASK for "
                     "simulation and debugging.\n")),
                 qPrintable(outputText(window)));
    }

    void contextMenuOffersTheCommandsOfTheItemKind()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow(true);
        ProjectsManager *manager = window->projects();
        ProjectTreeWidget *tree = manager->treeWidget();
        const auto rightClick = [&](const QString &text) -> QStringList {
            fixture.select(text);
            const QPoint at = text.isEmpty() ? QPoint(5, tree->viewport()->height() - 5)
                                             : tree->visualItemRect(fixture.item(text)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
            QApplication::sendEvent(tree->viewport(), &event);
            QMenu *menu = manager->contextMenu();
            if (!menu || !menu->isVisible())
                return {};
            const QStringList texts = menuTexts(menu);
            menu->close();
            return texts;
        };

        QVERIFY(rightClick(QString()).isEmpty());
        QVERIFY(fixture.openTypical());
        const QStringList common{"-", "&Save Project", "Save Project &As...", "&Close Project", "-",
                                 "&Project Settings", "&Build Project", "C&lean Project"};
        QCOMPARE(rightClick(QStringLiteral("blinky")),
                 QStringList({"&Add Existing File", "&Add New File", "&Add Design File", "Create Design File"})
                     + common);
        QCOMPARE(rightClick(QStringLiteral("C Files")),
                 QStringList({"&Add Existing File", "&Add New File", "&Add Design File", "Create Design File",
                              "&Rename"})
                     + common);
        QCOMPARE(rightClick(QStringLiteral("main.c")), QStringList({"&Remove File", "&Rename"}) + common);
        // Empty space below the items: the project is still current, only the common part.
        tree->setCurrentItem(nullptr);
        QCOMPARE(rightClick(QString()), common);

        // Right-clicking the pane outside the tree shows the same menu.
        fixture.select(QStringLiteral("main.c"));
        QContextMenuEvent paneEvent(QContextMenuEvent::Mouse, QPoint(2, 2), manager->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(manager, &paneEvent);
        QVERIFY(manager->contextMenu()->isVisible());
        QCOMPARE(menuTexts(manager->contextMenu()), QStringList({"&Remove File", "&Rename"}) + common);
        manager->contextMenu()->close();
        // The entries are the window's own actions with the state just set.
        QVERIFY(manager->contextMenu()->actions().contains(window->action(SrcManager::RemoveFile)));
        QVERIFY(!window->action(SrcManager::SaveProject)->isEnabled());
    }

    void treeFormatsComeFromTheDisplaySettings()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        Project *project = fixture.openTypical();
        QVERIFY(project);
        DisplaySettings settings = DisplaySettings::load(window->settings(), DisplaySettings::projectsTree);
        settings.setFont(QStringLiteral("DejaVu Sans"), 12);
        settings.item(QStringLiteral("Files"))->foreground = QColor(Qt::red);
        settings.item(QStringLiteral("Groups"))->bold = true;
        DisplaySettings::saveDisplaySettings(window->settings(), settings);

        window->projects()->applyTreeFormats();
        const QTreeWidgetItem *led = fixture.item(QStringLiteral("led.c"));
        QCOMPARE(led->foreground(0).color(), QColor(Qt::red));
        QCOMPARE(led->font(0).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(led->font(0).pointSize(), 12);
        QCOMPARE(led->font(0).weight(), QFont::Normal);
        QCOMPARE(fixture.item(QStringLiteral("C Files"))->font(0).weight(), QFont::Bold);
        // The projects are not bold by their format, but the current one stays marked.
        QCOMPARE(project->projectTreeItem()->font(0).weight(), QFont::Bold);
        QCOMPARE(project->projectTreeItem()->font(0).pointSize(), 12);

        // A file added later gets the file format too.
        ManagerFixture::writeFile(fixture.path(QStringLiteral("late.c")), "int late;\n");
        QVERIFY(project->addFile(fixture.path(QStringLiteral("late.c"))));
        QCOMPARE(fixture.item(QStringLiteral("late.c"))->foreground(0).color(), QColor(Qt::red));
    }

    void sendFirmwareStopsAtTheFirstFailedCheck()
    {
        ManagerFixture fixture(QStringLiteral("/opt/quorvin"));
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        manager->sendFirmware();
        QCOMPARE(outputText(window), QStringLiteral("No project selected."));

        Project *project = fixture.openTypical();
        QVERIFY(project);
        window->clearOutput();
        manager->sendFirmware();
        QCOMPARE(outputText(window), QString());

        fixture.select(QStringLiteral("blinky.dsn"));
        DialogAnswerer::pressButton(QMessageBox::Ok);
        manager->removeFile();
        window->clearOutput();
        manager->sendFirmware();
        QCOMPARE(outputText(window),
                 QStringLiteral("Use the Add Design File command to associate your VASK schematic with the project."));
    }

    void restoresTheLastProjectAndYieldsToTheCommandLine()
    {
        ManagerFixture fixture;
        ManagerFixture::rememberOpen(fixture.projectPath(), {fixture.path(QStringLiteral("src/led.c")),
                                                             fixture.path(QStringLiteral("elsewhere.c"))});
        SrcManager *window = fixture.createWindow();
        ProjectsManager *manager = window->projects();
        QCOMPARE(manager->projectFileNames(), QStringList(fixture.projectPath()));
        QCOMPARE(window->tabs()->openFileNames(), QStringList(fixture.path(QStringLiteral("src/led.c"))));
        QCOMPARE(boxTexts(window), QStringList({"Debug", "Release", "Configurations..."}));

        // A project named on the command line replaces the restored one.
        ManagerFixture::writeFile(fixture.path(QStringLiteral("second/second.zmxp")),
                                  ManagerFixture::readFile(fixture.projectPath()));
        window->openProject(fixture.path(QStringLiteral("second/second.zmxp")));
        QCOMPARE(manager->projectFileNames(), QStringList(fixture.path(QStringLiteral("second/second.zmxp"))));
        QVERIFY(window->tabs()->openFileNames().isEmpty());
        QCOMPARE(window->recentProjectList().value(0), fixture.projectPath());
    }

    void remembersTheConfigurationChosenForEachProject()
    {
        ManagerFixture fixture;
        ManagerFixture::writeFile(fixture.path(QStringLiteral("second/second.zmxp")),
                                  ManagerFixture::readFile(fixture.path(QStringLiteral("blinky.zmxp"))));
        SrcManager *window = fixture.createWindow();
        QVERIFY(fixture.openTypical());
        window->configurationBox()->setCurrentIndex(1);
        QCOMPARE(window->currentTarget(), QStringLiteral("Release"));
        QCOMPARE(window->projects()->currentProject()->currentConfiguration()->name(), QStringLiteral("Release"));
        // Another project starts with its first configuration, and keeps its own choice.
        window->openProject(fixture.path(QStringLiteral("second/second.zmxp")));
        QCOMPARE(window->currentTarget(), QStringLiteral("Debug"));

        // After a restart, the project comes back with the configuration last chosen for it.
        ManagerFixture::rememberOpen(fixture.projectPath(), {});
        window = fixture.createWindow();
        QCOMPARE(window->projects()->projectFileNames(), QStringList(fixture.projectPath()));
        QCOMPARE(window->currentTarget(), QStringLiteral("Release"));
        QCOMPARE(window->projects()->currentProject()->currentConfiguration()->name(), QStringLiteral("Release"));
    }

    void aVanishedProjectIsNotRestored()
    {
        ManagerFixture fixture;
        ManagerFixture::rememberOpen(fixture.path(QStringLiteral("gone.zmxp")), {});
        SrcManager *window = fixture.createWindow();
        QCOMPARE(window->projects()->projectCount(), 0);
        QCOMPARE(outputText(window), QString());
    }
};

ZMX_TEST(ProjectsManagerTest)

#include "tst_projectsmanager.moc"
