#include "testfiles.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "dialoganswerer.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "testregistry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QTreeWidget>
#include <memory>

#if __has_include(<sys/resource.h>)
#include <csignal>
#include <sys/resource.h>
#define ZMX_HAVE_FILE_SIZE_LIMIT 1
#endif

namespace {

const QString typicalFixture = QStringLiteral(ZMX_FIXTURES "/projects/typical");

void write(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

bool sameIcon(const QIcon &icon, const QString &name)
{
    return icon.pixmap(16).toImage() == QIcon(QStringLiteral(":/images/") + name).pixmap(16).toImage();
}

QStringList texts(const QTreeWidgetItem *parent)
{
    QStringList result;
    for (int index = 0; index < parent->childCount(); ++index)
        result.append(parent->child(index)->text(0));
    return result;
}

// A configuration-only project: description, no files.
QByteArray emptyProject(const QByteArray &files = QByteArray())
{
    return "<PROJECT DESCRIPTION=\"\"><FILES>" + files
         + "</FILES><CONFIGURATION NAME=\"Debug\" COMPILER=\"Test Chain\" TARGET=\"Debug\">"
           "<CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega16\"/></CONFIGURATION></PROJECT>";
}

}

class ProjectTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<BuildConfigList> compilers;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<QTreeWidget> tree;

    QString path(const QString &name) const { return folder->filePath(name); }

    std::unique_ptr<Project> open(const QString &file)
    {
        auto project = std::make_unique<Project>(compilers.get(), workbench.get());
        if (!project->load(file))
            return nullptr;
        return project;
    }

    std::unique_ptr<Project> openTypical()
    {
        TestFiles::copyTree(typicalFixture, folder->path());
        auto project = open(path(QStringLiteral("blinky.zmxp")));
        if (project)
            project->attachToTree(tree->invisibleRootItem());
        return project;
    }

    std::unique_ptr<Project> openEmpty()
    {
        write(path(QStringLiteral("empty.zmxp")), emptyProject());
        auto project = open(path(QStringLiteral("empty.zmxp")));
        if (project)
            project->attachToTree(tree->invisibleRootItem());
        return project;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(QStringLiteral(":/images/project_c.png")));
    }

    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        compilers = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(compilers->loadAll(QStringLiteral(ZMX_FIXTURES "/projects/compilers")));
        folder = std::make_unique<QTemporaryDir>();
        tree = std::make_unique<QTreeWidget>();
    }

    void cleanup()
    {
        tree.reset();
        compilers.reset();
        workbench.reset();
        folder.reset();
    }

    void roundTripsTheTypicalFile()
    {
        auto project = openTypical();
        QVERIFY(project);
        QVERIFY(workbench->output.isEmpty());
        QCOMPARE(project->name(), QStringLiteral("blinky"));
        QCOMPARE(project->description(), QStringLiteral("Blinks the LED on PB5 once a second."));
        QCOMPARE(project->keywords(), QStringList({QStringLiteral("led"), QStringLiteral("timer & interrupt")}));
        QCOMPARE(project->configurationCount(), 2);
        QCOMPARE(project->files().size(), 6);
        QCOMPARE(project->files().at(2).path, path(QStringLiteral("inc/led.h")));
        QCOMPARE(project->files().at(2).group, QStringLiteral("Header Files"));
        QVERIFY(!project->isModified());
        QCOMPARE(project->designFile(), path(QStringLiteral("blinky.dsn")));
        QCOMPARE(project->familyForFile(path(QStringLiteral("src/led.c"))), QStringLiteral("AVR"));
        QVERIFY(project->familyForFile(path(QStringLiteral("src/other.c"))).isEmpty());

        project->setModified(true);
        QVERIFY(project->save());
        QVERIFY(!project->isModified());
        QCOMPARE(QString::fromUtf8(TestFiles::contents(path(QStringLiteral("blinky.zmxp")))),
                 QString::fromUtf8(TestFiles::contents(typicalFixture + QStringLiteral("/blinky.zmxp"))));
        QVERIFY(!QDir(folder->path()).entryList(QDir::Files).filter(QStringLiteral("blinky.zmxp.")).size());
    }

    void storesPathsRelativeToTheProjectFile()
    {
        // A file in a subfolder, one beside the project folder, one named by absolute path,
        // one below the simulator installation through the placeholder, one missing.
        workbench->quorvin = path(QStringLiteral("quorvin"));
        write(path(QStringLiteral("quorvin/Samples/lib.c")), "int lib;\n");
        write(path(QStringLiteral("outside/share.c")), "int share;\n");
        write(path(QStringLiteral("project/src/deep/x.c")), "int x;\n");
        write(path(QStringLiteral("project/p.zmxp")),
              emptyProject("<FILE NAME=\"src/deep/x.c\" GROUP=\"C Files\"/>"
                           "<FILE NAME=\"../outside/share.c\" GROUP=\"C Files\"/>"
                           "<FILE NAME=\"" + path(QStringLiteral("abs/gone.c")).toUtf8() + "\" GROUP=\"Lost\"/>"
                           "<FILE NAME=\"%QUORVIN_DIR%/Samples/lib.c\" GROUP=\"C Files\"/>"));
        auto project = open(path(QStringLiteral("project/p.zmxp")));
        QVERIFY(project);
        QCOMPARE(project->files().at(3).path, path(QStringLiteral("quorvin/Samples/lib.c")));
        QVERIFY(project->files().at(3).exists);
        QVERIFY(!project->files().at(2).exists);
        QCOMPARE(workbench->output,
                 QStringList(QStringLiteral("error: File '%1' not found")
                                 .arg(QDir::toNativeSeparators(path(QStringLiteral("abs/gone.c"))))));

        project->setModified(true);
        QVERIFY(project->save());
        const QString saved = QString::fromUtf8(TestFiles::contents(path(QStringLiteral("project/p.zmxp"))));
        QVERIFY2(saved.contains(QStringLiteral(R"( <FILES>
  <FILE NAME="src/deep/x.c" GROUP="C Files"/>
  <FILE NAME="../outside/share.c" GROUP="C Files"/>
  <FILE NAME="../abs/gone.c" GROUP="Lost"/>
  <FILE NAME="../quorvin/Samples/lib.c" GROUP="C Files"/>
 </FILES>)")), qPrintable(saved));
        QVERIFY(saved.contains(QStringLiteral(R"(    <FILE TOOL="CC">
     <FILE NAME="../outside/share.c"/>
    </FILE>)")));
    }

    void buildsTheTreeForTheAvrToolChain()
    {
        // A project as the new-project wizard or a hand-written file leaves it: files and a
        // configuration without a tree, which loading builds with the default options.
        BuildConfigList installed(workbench.get());
        QVERIFY(installed.loadAll(QStringLiteral(ZMX_SOURCE_DIR "/data/compilers")));
        for (const char *name : {"main.c", "uart.c", "vectors.S", "board.h"})
            write(path(QLatin1String(name)), "");
        write(path(QStringLiteral("avr.zmxp")),
              "<PROJECT DESCRIPTION=\"\"><FILES><FILE NAME=\"main.c\"/><FILE NAME=\"uart.c\"/>"
              "<FILE NAME=\"vectors.S\"/><FILE NAME=\"board.h\"/></FILES>"
              "<CONFIGURATION NAME=\"Debug\" COMPILER=\"AVR GCC\" TARGET=\"Debug\">"
              "<CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega328P\" CLOCK=\"16000000\"/></CONFIGURATION></PROJECT>");
        Project project(&installed, workbench.get());
        QVERIFY(project.load(path(QStringLiteral("avr.zmxp"))));
        project.attachToTree(tree->invisibleRootItem());
        QCOMPARE(texts(project.projectTreeItem()), QStringList({QStringLiteral("Source Files"),
                                                                 QStringLiteral("Header Files")}));
        const ProjectNode *link = project.currentConfiguration()->root()->child(0);
        QCOMPARE(project.currentConfiguration()->root()->toolName(), QStringLiteral("OBJCOPY"));
        QCOMPARE(link->toolName(), QStringLiteral("LD"));
        QCOMPARE(link->childCount(), 3);
        QCOMPARE(link->child(2)->toolName(), QStringLiteral("AS"));
        QCOMPARE(link->child(2)->child(0)->file(), path(QStringLiteral("vectors.S")));
        QCOMPARE(project.currentConfiguration()->otherFiles(), QStringList(path(QStringLiteral("board.h"))));

        // What is saved reads back to the same file.
        project.setModified(true);
        QVERIFY(project.save());
        const QByteArray first = TestFiles::contents(path(QStringLiteral("avr.zmxp")));
        QVERIFY(first.contains("<OPTION NAME=\"-mmcu=\" VALUE=\"atmega328p\" TOOL=\"CC\"/>"));
        Project reloaded(&installed, workbench.get());
        QVERIFY(reloaded.load(path(QStringLiteral("avr.zmxp"))));
        reloaded.setModified(true);
        QVERIFY(reloaded.save());
        QCOMPARE(TestFiles::contents(path(QStringLiteral("avr.zmxp"))), first);
        QVERIFY(workbench->output.isEmpty());
    }

    void reportsFilesThatCannotBeLoaded()
    {
        // Not a PROJECT document: an empty project that loads.
        write(path(QStringLiteral("other.zmxp")), "<?xml version='1.0'?>\n<COMPILER NAME=\"x\"/>\n");
        auto other = open(path(QStringLiteral("other.zmxp")));
        QVERIFY(other);
        QCOMPARE(other->name(), QStringLiteral("other"));
        QCOMPARE(other->configurationCount(), 0);
        QVERIFY(other->designFile().isEmpty());

        write(path(QStringLiteral("bare.zmxp")), "<PROJECT DESCRIPTION=\"x\"><FILES/></PROJECT>");
        QVERIFY(!open(path(QStringLiteral("bare.zmxp"))));
        QVERIFY(workbench->output.isEmpty());

        QVERIFY(!open(path(QStringLiteral("missing.zmxp"))));
        QVERIFY(workbench->output.isEmpty());

        write(path(QStringLiteral("broken.zmxp")), "<PROJECT>\n<FILES>\n</PROJECT>\n");
        QVERIFY(!open(path(QStringLiteral("broken.zmxp"))));
        QCOMPARE(workbench->output.size(), 1);
        QVERIFY(workbench->output.at(0).startsWith(QStringLiteral("message: Error opening broken.zmxp: ")));
        QVERIFY2(workbench->output.at(0).endsWith(QStringLiteral(" at line 3, column 10\n")),
                 qPrintable(workbench->output.at(0)));

        workbench->output.clear();
        write(path(QStringLiteral("unknown.zmxp")),
              "<PROJECT><CONFIGURATION NAME=\"Debug\" COMPILER=\"Nowhere CC\"><CONTROLLER FAMILY=\"AVR\" "
              "TYPE=\"ATmega16\"/></CONFIGURATION></PROJECT>");
        QVERIFY(!open(path(QStringLiteral("unknown.zmxp"))));
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("error: Cannot find compiler Nowhere CC required for project."),
                              QStringLiteral("error: The configuration \"Debug\" of project %1 could not be loaded.")
                                  .arg(QDir::toNativeSeparators(path(QStringLiteral("unknown.zmxp"))))}));
    }

    void turnsAwayFileNamesMakeCannotTake_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason"); // empty: added
        QTest::newRow("blank") << QStringLiteral("my main.c") << QString();
        QTest::newRow("dollar") << QStringLiteral("$(touch X).c") << QString();
        QTest::newRow("semicolon") << QStringLiteral("a;touch X;.c") << QStringLiteral("\";\"");
        QTest::newRow("line break") << QStringLiteral("a\nb.c") << QStringLiteral("a line break");
    }

    void turnsAwayFileNamesMakeCannotTake()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        auto project = openEmpty();
        QVERIFY(project);
        write(path(name), "");
        workbench->output.clear();
        QCOMPARE(project->addFile(path(name)), reason.isEmpty());
        QCOMPARE(project->indexOfFile(name) >= 0, reason.isEmpty());
        if (!reason.isEmpty()) {
            QCOMPARE(workbench->output,
                     QStringList{QStringLiteral("error: The file name \"%1\" holds %2, which make cannot take; the file was "
                                                "not added.")
                                     .arg(path(name), reason)});
            QVERIFY(!project->isModified());
        }
    }

    void saysWhyAProjectCannotBeOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray controller = "<CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega16\"/>";
        QTest::newRow("missing") << "missing.zmxp" << QByteArray() << "the file does not exist";
        QTest::newRow("a folder") << "folder.zmxp" << QByteArray() << "it is a folder, not a project file";
        QTest::newRow("not well-formed") << "broken.zmxp" << QByteArray("<PROJECT>\n<FILES>\n</PROJECT>\n")
                                         << "at line 3, column 10";
        QTest::newRow("no configuration") << "bare.zmxp" << QByteArray("<PROJECT><FILES/></PROJECT>")
                                          << "it has no build configuration";
        QTest::newRow("no controller")
            << "nocontroller.zmxp"
            << QByteArray("<PROJECT><CONFIGURATION NAME=\"Debug\" COMPILER=\"Test Chain\" TARGET=\"Debug\"/></PROJECT>")
            << "configuration \"Debug\" has no controller";
        QTest::newRow("unknown compiler")
            << "unknown.zmxp"
            << QByteArray("<PROJECT><CONFIGURATION NAME=\"Debug\" COMPILER=\"Nowhere CC\">" + controller
                          + "</CONFIGURATION></PROJECT>")
            << "configuration \"Debug\" needs the compiler \"Nowhere CC\", which is not available";
        QTest::newRow("every configuration named")
            << "two.zmxp"
            << QByteArray("<PROJECT><CONFIGURATION NAME=\"A\" COMPILER=\"Test Chain\"/>"
                          "<CONFIGURATION NAME=\"B\" COMPILER=\"Test Chain\"><FILE TOOL=\"NONE\"/>" + controller
                          + "</CONFIGURATION></PROJECT>")
            << "configuration \"A\" has no controller; configuration \"B\" cannot be read";
    }

    void saysWhyAProjectCannotBeOpened()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        if (name == QLatin1String("folder.zmxp"))
            QVERIFY(QDir().mkpath(path(name)));
        else if (!content.isEmpty())
            write(path(name), content);
        Project project(compilers.get(), workbench.get());
        QVERIFY(!project.load(path(name)));
        QVERIFY2(project.loadError().endsWith(reason), qPrintable(project.loadError()));
    }

    void showsFilesInDefaultGroupsWithTheirIcons()
    {
        auto project = openEmpty();
        QVERIFY(project);
        QSignalSpy formats(project.get(), &Project::treeFormatsNeeded);
        for (const char *name : {"main.c", "boot.S", "board.h", "prebuilt.o", "readme.txt", "data.bin", "board.dsn"})
            write(path(QLatin1String(name)), "");
        for (const char *name : {"main.c", "boot.S", "board.h", "prebuilt.o", "readme.txt", "data.bin", "board.dsn",
                                 "lost.c"})
            QVERIFY(project->addFile(path(QLatin1String(name))));
        QCOMPARE(formats.count(), 8);
        QVERIFY(project->isModified());

        QTreeWidgetItem *projectItem = project->projectTreeItem();
        QCOMPARE(tree->topLevelItem(0), projectItem);
        QCOMPARE(projectItem->text(0), QStringLiteral("*empty"));
        QCOMPARE(int(projectItem->flags()), 45);
        QVERIFY(projectItem->isExpanded());
        QVERIFY(sameIcon(projectItem->icon(0), QStringLiteral("project.png")));
        QCOMPARE(texts(projectItem), QStringList({QStringLiteral("C Files"), QStringLiteral("Assembly Files"),
                                                  QStringLiteral("Header Files"), QStringLiteral("Object Files"),
                                                  QStringLiteral("Other Files"), QStringLiteral("Design Files")}));
        const QTreeWidgetItem *cFiles = projectItem->child(0);
        QCOMPARE(int(cFiles->flags()), 43);
        QVERIFY(cFiles->isExpanded());
        QCOMPARE(texts(cFiles), QStringList({QStringLiteral("main.c"), QStringLiteral("lost.c")}));
        QCOMPARE(int(cFiles->child(0)->flags()), 47);
        QCOMPARE(texts(projectItem->child(4)), QStringList({QStringLiteral("readme.txt"), QStringLiteral("data.bin")}));

        const QStringList icons = {QStringLiteral("project_c.png"),     QStringLiteral("project_assembly.png"),
                                   QStringLiteral("project_header.png"), QStringLiteral("project_other.png"),
                                   QStringLiteral("project_other.png"), QStringLiteral("project_other.png"),
                                   QStringLiteral("project_design.png"), QStringLiteral("project_lost.png")};
        for (int index = 0; index < icons.size(); ++index)
            QVERIFY2(sameIcon(project->files().at(index).item->icon(0), icons.at(index)), qPrintable(icons.at(index)));

        QCOMPARE(project->itemKind(projectItem), int(Project::ProjectItem));
        QCOMPARE(project->itemKind(cFiles), int(Project::GroupItem));
        QCOMPARE(project->itemKind(cFiles->child(1)), int(Project::FileItem));
        QCOMPARE(project->itemKind(nullptr), int(Project::ForeignItem));
        QTreeWidgetItem stranger;
        QVERIFY(!project->ownsItem(&stranger));

        QTextCharFormat groupFormat;
        groupFormat.setFontItalic(true);
        groupFormat.setForeground(Qt::darkBlue);
        QTextCharFormat fileFormat;
        fileFormat.setBackground(Qt::yellow);
        project->applyFormats(QTextCharFormat(), groupFormat, fileFormat);
        QVERIFY(cFiles->font(0).italic());
        QCOMPARE(cFiles->foreground(0).color(), QColor(Qt::darkBlue));
        QCOMPARE(cFiles->child(1)->background(0).color(), QColor(Qt::yellow));
        QVERIFY(!projectItem->font(0).italic());

        // Regrouping forgets the groups a user gave and builds the default ones again.
        project->renameGroup(0, QStringLiteral("Sources"));
        project->regroupFiles();
        QCOMPARE(project->groups().at(0).name, QStringLiteral("C Files"));
        QCOMPARE(project->groups().size(), 6);
    }

    void findsFilesByNameAndByIdentity()
    {
        auto project = openTypical();
        QVERIFY(project);
        QCOMPARE(project->indexOfFile(QStringLiteral("LED.C")), 1);
        QCOMPARE(project->indexOfFile(QStringLiteral("elsewhere/led.h")), 2);
        QCOMPARE(project->indexOfFile(path(QStringLiteral("inc/../src/led.c"))), 1);
        QVERIFY(QFile::link(path(QStringLiteral("src")), path(QStringLiteral("alias"))));
        QCOMPARE(project->indexOfFile(path(QStringLiteral("alias/main.c"))), 0);
        QCOMPARE(project->indexOfFile(path(QStringLiteral("src/gone.c"))), -1);

        // Two files that do not exist are still two files.
        QVERIFY(project->addFile(path(QStringLiteral("missing/a.c"))));
        QVERIFY(project->addFile(path(QStringLiteral("missing/b.c"))));
        QCOMPARE(project->indexOfFile(path(QStringLiteral("missing/b.c"))), 7);

        // A file added through a linked folder while missing is still found once it exists.
        QVERIFY(project->addFile(path(QStringLiteral("alias/later.c"))));
        QCOMPARE(project->indexOfFile(path(QStringLiteral("alias/later.c"))), 8);
        write(path(QStringLiteral("src/later.c")), "int later;\n");
        QCOMPARE(project->indexOfFile(path(QStringLiteral("src/later.c"))), 8);
        QVERIFY(!project->addFile(path(QStringLiteral("src/later.c")), QString()));

        // Nothing is found while no configuration is selected.
        auto none = std::make_unique<Project>(compilers.get(), workbench.get());
        QCOMPARE(none->indexOfFile(QStringLiteral("main.c")), -1);
    }

    void refusesDuplicatesAndASecondDesign()
    {
        auto project = openTypical();
        QVERIFY(project);
        project->setMakefileCurrent(true);
        QVERIFY(!project->addFile(path(QStringLiteral("src/main.c")), QString()));
        QVERIFY(!project->addFile(path(QStringLiteral("second.dsn")), QString()));
        QVERIFY(project->isMakefileCurrent());
        QCOMPARE(project->files().size(), 6);

        // The variant of the dialogs answers true even when nothing was added.
        QVERIFY(project->addFile(QStringLiteral("main.c")));
        QVERIFY(!project->isModified());
        QVERIFY(!project->isMakefileCurrent());

        QVERIFY(project->addFile(QStringLiteral("extra.c"), QStringLiteral("Mine")));
        QCOMPARE(project->files().last().group, QStringLiteral("Mine"));
        QCOMPARE(project->configuration(1)->allFiles().at(3), path(QStringLiteral("extra.c")));
    }

    void movesAndReordersMarkingTheProjectModified()
    {
        auto project = openTypical();
        QVERIFY(project);
        QTreeWidgetItem *projectItem = project->projectTreeItem();
        QTreeWidgetItem *cFiles = projectItem->child(0);
        QTreeWidgetItem *main = cFiles->child(0);
        QTreeWidgetItem *led = cFiles->child(1);

        // Onto itself and the first file onto its own group (which appends it) first.
        project->moveFileItem(main, main);
        QVERIFY(!project->isModified());
        project->moveFileItem(led, main);
        QCOMPARE(texts(cFiles), QStringList({QStringLiteral("led.c"), QStringLiteral("main.c")}));
        QVERIFY(project->isModified());
        QCOMPARE(projectItem->text(0), QStringLiteral("*blinky"));
        QCOMPARE(project->files().at(0).path, path(QStringLiteral("src/led.c")));

        // Into another group: the file takes that group's name.
        project->setModified(false);
        QTreeWidgetItem *headers = projectItem->child(1);
        project->moveFileItem(main, headers);
        QCOMPARE(texts(headers), QStringList({QStringLiteral("led.h"), QStringLiteral("main.c")}));
        QCOMPARE(project->files().at(2).group, QStringLiteral("Header Files"));
        QVERIFY(project->isModified());

        // Onto the project item: back to its default group.
        project->moveFileItem(main, projectItem);
        QCOMPARE(texts(cFiles), QStringList({QStringLiteral("led.c"), QStringLiteral("main.c")}));
        QCOMPARE(project->files().at(1).group, QStringLiteral("C Files"));

        QTreeWidgetItem stranger;
        project->moveFileItem(main, &stranger);
        project->moveFileItem(&stranger, cFiles);
        QCOMPARE(texts(cFiles), QStringList({QStringLiteral("led.c"), QStringLiteral("main.c")}));

        // Group items moved in the tree reorder the files.
        project->setModified(false);
        QTreeWidgetItem *other = projectItem->takeChild(4);
        projectItem->insertChild(0, other);
        project->reorderFiles();
        QVERIFY(project->isModified());
        QCOMPARE(project->files().at(0).path, path(QStringLiteral("notes.txt")));
        QCOMPARE(project->groups().at(0).name, QStringLiteral("Other Files"));
    }

    void renamesGroupsAndFiles()
    {
        auto project = openTypical();
        QVERIFY(project);
        QTreeWidgetItem *cFiles = project->projectTreeItem()->child(0);

        cFiles->setText(0, QStringLiteral("Header Files"));
        project->renameGroup(0, QStringLiteral("Header Files"));
        QCOMPARE(cFiles->text(0), QStringLiteral("C Files"));
        QVERIFY(!project->isModified());
        project->renameGroup(0, QStringLiteral("Sources"));
        QCOMPARE(project->files().at(1).group, QStringLiteral("Sources"));
        QVERIFY(project->isModified());

        // Renaming copies the file, repoints every configuration and the editor, and removes
        // the old file.
        QTreeWidgetItem *led = cFiles->child(1);
        led->setText(0, QStringLiteral("main.c"));
        project->renameFile(1, QStringLiteral("main.c"));
        QCOMPARE(led->text(0), QStringLiteral("led.c"));
        QVERIFY(QFile::exists(path(QStringLiteral("src/led.c"))));

        // A configuration that refuses undoes the renames of those before it.
        project->configuration(1)->addFile(path(QStringLiteral("src/lamp.c")), false);
        project->renameFile(1, QStringLiteral("lamp.c"));
        QCOMPARE(project->files().at(1).path, path(QStringLiteral("src/led.c")));
        QVERIFY(project->configuration(0)->containsFile(path(QStringLiteral("src/led.c"))));
        QVERIFY(!project->configuration(0)->containsFile(path(QStringLiteral("src/lamp.c"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("src/lamp.c"))));
        QVERIFY(project->configuration(1)->removeFile(path(QStringLiteral("src/lamp.c"))));

        project->renameFile(1, QStringLiteral("lamp.c"));
        QCOMPARE(project->files().at(1).path, path(QStringLiteral("src/lamp.c")));
        QVERIFY(!QFile::exists(path(QStringLiteral("src/led.c"))));
        QCOMPARE(TestFiles::contents(path(QStringLiteral("src/lamp.c"))), TestFiles::contents(typicalFixture + QStringLiteral("/src/led.c")));
        QVERIFY(project->configuration(0)->allFiles().contains(path(QStringLiteral("src/lamp.c"))));
        QVERIFY(project->configuration(1)->allFiles().contains(path(QStringLiteral("src/lamp.c"))));
        QCOMPARE(workbench->editorCalls, QStringList(QStringLiteral("rename %1 -> %2")
                                                         .arg(path(QStringLiteral("src/led.c")),
                                                              path(QStringLiteral("src/lamp.c")))));
    }

    void removesFilesFromTreeAndConfigurations()
    {
        auto project = openTypical();
        QVERIFY(project);
        project->removeFile(7);
        QCOMPARE(project->files().size(), 6);
        project->removeFile(3);
        QCOMPARE(project->files().size(), 5);
        QCOMPARE(texts(project->projectTreeItem()->child(2)), QStringList());
        QVERIFY(!project->configuration(0)->containsFile(path(QStringLiteral("start.S"))));
        QVERIFY(!project->configuration(1)->containsFile(path(QStringLiteral("start.S"))));
        QCOMPARE(workbench->editorCalls, QStringList(QStringLiteral("close ") + path(QStringLiteral("start.S"))));
        QVERIFY(project->isModified());
        QVERIFY(QFile::exists(path(QStringLiteral("start.S"))));
    }

    void reportsAProjectFileThatCannotBeWritten()
    {
        auto project = openTypical();
        QVERIFY(project);
        project->setModified(true);
        QVERIFY(QDir(folder->path()).removeRecursively());
        QVERIFY(!project->save());
        QVERIFY(project->isModified());
        QCOMPARE(workbench->output.size(), 1);
        QVERIFY2(workbench->output.at(0).startsWith(
                     QStringLiteral("error: Cannot save project file %1: ")
                         .arg(QDir::toNativeSeparators(path(QStringLiteral("blinky.zmxp"))))),
                 qPrintable(workbench->output.at(0)));
        QVERIFY(workbench->output.at(0).size() > 40);
    }

    void keepsTheOldFileWhenWritingStopsHalfWay()
    {
#ifdef ZMX_HAVE_FILE_SIZE_LIMIT
        auto project = openTypical();
        QVERIFY(project);
        const QByteArray before = TestFiles::contents(path(QStringLiteral("blinky.zmxp")));
        project->setDescription(QString(400000, QLatin1Char('x')));
        project->setModified(true);

        // A file size limit makes the write fail the way a full disk does.
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = 100000;
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool saved = project->save();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!saved);
        QCOMPARE(TestFiles::contents(path(QStringLiteral("blinky.zmxp"))), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files).filter(QStringLiteral("zmxp")),
                 QStringList(QStringLiteral("blinky.zmxp")));
        QCOMPARE(workbench->output.size(), 1);
        QVERIFY(workbench->output.at(0).startsWith(QStringLiteral("error: Cannot save project file ")));
#else
        QSKIP("This system has no file size limit to make a write fail.");
#endif
    }

    void asksBeforeClosingAModifiedProject()
    {
        auto project = openTypical();
        QVERIFY(project);
        QVERIFY(project->maybeSave());
        project->setModified(true);
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        QVERIFY(!project->maybeSave());
        QCOMPARE(DialogAnswerer::seenTexts().last(),
                 QStringLiteral("Project 'blinky' has been modified.\nDo you want to save your changes?\n"));
        DialogAnswerer::pressButton(QMessageBox::Discard);
        QVERIFY(project->maybeSave());
        QVERIFY(project->isModified());
        project->setDescription(QStringLiteral("Changed"));
        DialogAnswerer::pressButton(QMessageBox::Save);
        QVERIFY(project->maybeSave());
        QVERIFY(!project->isModified());
        QVERIFY(TestFiles::contents(path(QStringLiteral("blinky.zmxp"))).contains("DESCRIPTION=\"Changed\""));

        // Saving with the files saves every file's editor too.
        project->setModified(true);
        QVERIFY(project->saveWithFiles());
        QCOMPARE(workbench->editorCalls.size(), 6);
        QCOMPARE(workbench->editorCalls.first(), QStringLiteral("save ") + path(QStringLiteral("src/main.c")));
    }

    void confirmsADesignOutsideTheProjectFolder()
    {
        auto project = openTypical();
        QVERIFY(project);
        QVERIFY(project->confirmDesignLocation(path(QStringLiteral("other.dsn"))));
        QVERIFY(project->confirmDesignLocation(path(QStringLiteral("elsewhere/file.c"))));
        DialogAnswerer::pressButton(QMessageBox::No);
        QVERIFY(!project->confirmDesignLocation(path(QStringLiteral("elsewhere/other.DSN"))));
        QVERIFY(DialogAnswerer::seenTexts().last().startsWith(
            QStringLiteral("Are you sure you want the schematic file to be outside the project's directory?\n")));
        DialogAnswerer::pressButton(QMessageBox::Yes);
        QVERIFY(project->confirmDesignLocation(path(QStringLiteral("elsewhere/other.dsn"))));

        // A design file is handed to the simulator; other files go to the editor.
        QSignalSpy launches(project.get(), &Project::designLaunchRequested);
        project->openFile(project->files().at(4).item);
        project->openFile(project->files().at(0).item);
        QCOMPARE(launches.count(), 1);
        QCOMPARE(launches.at(0).at(0).toString(), path(QStringLiteral("blinky.dsn")));
        QCOMPARE(workbench->openedFiles, QStringList(path(QStringLiteral("src/main.c"))));
    }

    void createsNewFiles()
    {
        auto project = openTypical();
        QVERIFY(project);
        write(path(QStringLiteral("kept.c")), "int kept;\n");
        const auto answerWith = [](const QString &file) {
            DialogAnswerer::handleNext([file](QWidget *dialog) {
                auto *chooser = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(chooser);
                chooser->selectFile(file);
                static_cast<QDialog *>(chooser)->accept();
            });
        };
        answerWith(path(QStringLiteral("fresh.c")));
        QVERIFY(project->newFile());
        QVERIFY(QFile::exists(path(QStringLiteral("fresh.c"))));
        answerWith(path(QStringLiteral("kept.c")));
        QVERIFY(project->newFile());
        QCOMPARE(TestFiles::contents(path(QStringLiteral("kept.c"))), QByteArray("int kept;\n"));
        QCOMPARE(project->files().size(), 8);
        QVERIFY(project->isModified());
        QVERIFY(workbench->output.isEmpty());

        // The design file is created empty, but it joins the project only when the
        // simulator opens it; a second design or another extension is refused at once.
        QVERIFY(!project->newDesignFile(path(QStringLiteral("second.dsn"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("second.dsn"))));
        project->removeFile(4);
        QVERIFY(!project->newDesignFile(path(QStringLiteral("board.sch"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("board.sch"))));
        write(path(QStringLiteral("board.dsn")), "old design");
        QVERIFY(!project->newDesignFile(path(QStringLiteral("board.dsn"))));
        QCOMPARE(TestFiles::contents(path(QStringLiteral("board.dsn"))), QByteArray());
    }

    void namesAndShowsTheProject()
    {
        Project first(compilers.get(), workbench.get());
        Project second(compilers.get(), workbench.get());
        first.updateName();
        second.updateName();
        const int number = first.name().mid(7).toInt();
        QVERIFY(first.name().startsWith(QStringLiteral("Project")));
        QCOMPARE(second.name(), QStringLiteral("Project%1").arg(number + 1));
        first.updateName();
        QCOMPARE(first.name(), QStringLiteral("Project%1").arg(number));

        auto project = openTypical();
        QVERIFY(project);
        project->markCurrent(true);
        QCOMPARE(project->projectTreeItem()->font(0).weight(), QFont::Bold);
        project->markCurrent(false);
        QCOMPARE(project->projectTreeItem()->font(0).weight(), QFont::Normal);

        project->setFileModified(path(QStringLiteral("src/led.c")), true);
        project->setFileModified(path(QStringLiteral("src/led.c")), true);
        QCOMPARE(project->files().at(1).item->text(0), QStringLiteral("*led.c"));
        project->setFileModified(path(QStringLiteral("src/led.c")), false);
        QCOMPARE(project->files().at(1).item->text(0), QStringLiteral("led.c"));

        project->reopenFiles();
        QCOMPARE(workbench->openedFiles.size(), 6);
        QCOMPARE(workbench->openedFiles.at(5), path(QStringLiteral("notes.txt")));

        QTextEdit view;
        project->showInfo(&view);
        QCOMPARE(view.toPlainText(), QStringLiteral("blinky\nBlinks the LED on PB5 once a second.\n\tFamily: AVR\n"
                                                    "\tController: ATmega16\n\tCompiler: Test Chain\n\tFiles:\n"
                                                    "\t\tmain.c\n\t\tled.c\n\t\tled.h\n\t\tstart.S\n"
                                                    "\t\tblinky.dsn\n\t\tnotes.txt\n\n"));
        QCOMPARE(view.textCursor().position(), 0);
    }

    void closesEditorsWhenDestroyed()
    {
        auto project = openTypical();
        QVERIFY(project);
        workbench->addMessage(QStringLiteral("build output"));
        project.reset();
        QVERIFY(workbench->output.isEmpty());
        QCOMPARE(workbench->editorCalls.size(), 6);
        QCOMPARE(workbench->editorCalls.first(), QStringLiteral("discard ") + path(QStringLiteral("src/main.c")));
        QCOMPARE(tree->topLevelItemCount(), 0);

        // A project that failed to load leaves the output alone.
        write(path(QStringLiteral("bare.zmxp")), "<PROJECT/>");
        auto failed = std::make_unique<Project>(compilers.get(), workbench.get());
        QVERIFY(!failed->load(path(QStringLiteral("bare.zmxp"))));
        workbench->addMessage(QStringLiteral("kept"));
        failed.reset();
        QCOMPARE(workbench->output, QStringList(QStringLiteral("message: kept")));
    }
};

ZMX_TEST(ProjectTest)

#include "tst_project.moc"
