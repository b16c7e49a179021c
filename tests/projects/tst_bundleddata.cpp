#include "testfiles.h"
#include "core/xmldocument.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/compilerdetector.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "testregistry.h"

#include <QDir>
#include <QDirIterator>
#include <QDomElement>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

const QString dataDir = QStringLiteral(ZMX_SOURCE_DIR "/data");

struct Board
{
    const char *folder;
    const char *projectFile;
    const char *compiler;
    const char *family;
    const char *controller;
    const char *clock;
};

const Board boards[] = {
    {"avr_atmega328p", "ATmega328P_Board.zmxp", "AVR GCC", "AVR", "ATmega328P", "16MHz"},
    {"mcs51_at89c52", "AT89C52_Board.zmxp", "SDCC MCS51", "8051", "AT89C52", "11.0592MHz"},
    {"pic16f877a", "PIC16F877A_Board.zmxp", "GPUTILS PIC", "PIC16", "PIC16F877A", "4MHz"},
};

const Board *boardNamed(const QString &folder)
{
    for (const Board &board : boards) {
        if (folder == QLatin1String(board.folder))
            return &board;
    }
    return nullptr;
}

QString boardsDir()
{
    return dataDir + QStringLiteral("/devboards");
}

QStringList errorLines(const QStringList &output)
{
    QStringList errors;
    for (const QString &line : output) {
        if (line.startsWith(QLatin1String("error: ")))
            errors.append(line);
    }
    return errors;
}

}

// The development board projects and simulator lists that an installation supplies, read
// by the same classes that the new-project wizard and the build use, with the compiler
// configurations that are installed beside them.
class BundledDataTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;
    QTemporaryDir *work = nullptr;

    std::unique_ptr<Project> openCopy(const Board &board)
    {
        if (!TestFiles::copyTree(boardsDir() + QLatin1Char('/') + QLatin1String(board.folder), work->path()))
            return nullptr;
        auto project = std::make_unique<Project>(compilers, workbench);
        if (!project->load(work->filePath(QLatin1String(board.projectFile))))
            return nullptr;
        return project;
    }

    void addBoardRows()
    {
        QTest::addColumn<QString>("folder");
        for (const Board &board : boards)
            QTest::newRow(board.folder) << QString::fromLatin1(board.folder);
    }

private slots:
    void init()
    {
        workbench = new FakeWorkbench;
        workbench->compilersDir = dataDir + QStringLiteral("/compilers");
        workbench->devBoardsDir = boardsDir();
        workbench->simulatorDir = dataDir + QStringLiteral("/simulator");
        compilers = new BuildConfigList(workbench);
        QVERIFY(compilers->loadAll());
        work = new QTemporaryDir;
    }

    void cleanup()
    {
        delete work;
        delete compilers;
        delete workbench;
        work = nullptr;
        compilers = nullptr;
        workbench = nullptr;
    }

    // The wizard takes the first project file of every board folder; each must be one of
    // ours, and no folder may hold leftovers of a build.
    void everyBoardFolderOffersOneKnownProject()
    {
        QStringList found;
        const QStringList folders = QDir(boardsDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &folder : folders) {
            const QDir dir(boardsDir() + QLatin1Char('/') + folder);
            const QStringList projects = dir.entryList({QStringLiteral("*.zmxp")}, QDir::Files, QDir::Name);
            QCOMPARE(projects.size(), 1);
            const Board *board = boardNamed(folder);
            QVERIFY2(board, qPrintable(folder));
            QCOMPARE(projects.first(), QLatin1String(board->projectFile));
            for (const char *output : {"Debug", "Release"})
                QVERIFY2(!dir.exists(QLatin1String(output)), qPrintable(dir.filePath(QLatin1String(output))));
            found.append(folder);
        }
        QCOMPARE(found.size(), static_cast<int>(std::size(boards)));
    }

    void loadsWithTheBundledCompilers_data() { addBoardRows(); }

    void loadsWithTheBundledCompilers()
    {
        QFETCH(QString, folder);
        const Board &board = *boardNamed(folder);
        const QString directory = boardsDir() + QLatin1Char('/') + folder;

        Project project(compilers, workbench);
        QVERIFY(project.load(directory + QLatin1Char('/') + QLatin1String(board.projectFile)));
        QCOMPARE(errorLines(workbench->output), QStringList());
        QCOMPARE(project.name(), QFileInfo(QLatin1String(board.projectFile)).baseName());
        QVERIFY(!project.description().isEmpty());
        QVERIFY(project.keywords().contains(QLatin1String(board.family)));
        QVERIFY(project.keywords().contains(QLatin1String(board.controller)));

        // Every file exists and belongs to the board folder, so a copied board builds; the
        // board's design file travels with it.
        QStringList headers;
        QStringList designs;
        for (const ProjectFile &file : project.files()) {
            QVERIFY2(file.exists, qPrintable(file.path));
            QVERIFY2(file.path.startsWith(directory + QLatin1Char('/')), qPrintable(file.path));
            if (file.group == QLatin1String("Header Files"))
                headers.append(file.path);
            else if (file.group == QLatin1String("Design Files"))
                designs.append(file.path);
            else
                QCOMPARE(file.group, QStringLiteral("Source Files"));
        }
        QVERIFY(!headers.isEmpty());
        QCOMPARE(designs, QStringList{directory + QLatin1Char('/') + QFileInfo(QLatin1String(board.projectFile)).completeBaseName()
                                      + QStringLiteral(".dsn")});
        QCOMPARE(project.designFile(), designs.first());

        QCOMPARE(project.configurationCount(), 2);
        const QStringList names = {QStringLiteral("Debug"), QStringLiteral("Release")};
        for (int i = 0; i < project.configurationCount(); ++i) {
            const BuildProject *configuration = project.configuration(i);
            QCOMPARE(configuration->name(), names.at(i));
            QCOMPARE(configuration->targetName(), names.at(i));
            QVERIFY(configuration->target());
            QCOMPARE(configuration->compilerName(), QLatin1String(board.compiler));
            QCOMPARE(configuration->family(), QLatin1String(board.family));
            QCOMPARE(configuration->controller(), QLatin1String(board.controller));
            QCOMPARE(configuration->clock(), QLatin1String(board.clock));
            // Every source file is taken by a process of the tool chain; only headers and
            // the design are left over.
            QVERIFY(configuration->root());
            QStringList others = configuration->otherFiles();
            QStringList expected = headers + designs;
            others.sort();
            expected.sort();
            QCOMPARE(others, expected);
        }
    }

    // The project files are exactly what the program writes: saving a loaded copy again
    // changes no byte.
    void storedAsTheProgramWritesThem_data() { addBoardRows(); }

    void storedAsTheProgramWritesThem()
    {
        QFETCH(QString, folder);
        const Board &board = *boardNamed(folder);
        const auto project = openCopy(board);
        QVERIFY(project);
        project->setModified(true);
        QVERIFY(project->save());
        QCOMPARE(TestFiles::contents(work->filePath(QLatin1String(board.projectFile))),
                 TestFiles::contents(boardsDir() + QLatin1Char('/') + folder + QLatin1Char('/') + QLatin1String(board.projectFile)));
    }

    // Every configuration of every board builds with the real tool chain into an Intel HEX
    // file, without a single tool message, and cleans up after itself.
    void buildsWithTheRealToolChain_data() { addBoardRows(); }

    void buildsWithTheRealToolChain()
    {
        QFETCH(QString, folder);
        const Board &board = *boardNamed(folder);
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed; building the boards needs it");
        BuildConfig *config = compilers->find(QLatin1String(board.compiler));
        QVERIFY(config);
        const DetectionResult detection = CompilerDetector(workbench).detect(*config);
        if (!detection.detected())
            QSKIP(qPrintable(QStringLiteral("The %1 tool chain is not installed").arg(QLatin1String(board.compiler))));
        config->storeDetection(true, detection.directory);

        const auto project = openCopy(board);
        QVERIFY(project);
        for (int i = 0; i < project->configurationCount(); ++i) {
            project->setCurrentConfiguration(i);
            const QString target = project->configuration(i)->targetName();
            const QString hex = work->filePath(target + QLatin1Char('/') + target + QStringLiteral(".hex"));
            workbench->output.clear();
            workbench->links.clear();
            QVERIFY2(project->compile(), qPrintable(workbench->output.join(QString())));
            QCOMPARE(workbench->output.last(), QStringLiteral("success: Compiled successfully.\n"));
            if (!workbench->links.isEmpty())
                QFAIL(qPrintable(workbench->links.first().text));
            QVERIFY(TestFiles::isIntelHex(hex));
            QCOMPARE(QFileInfo(project->currentFirmwarePath()), QFileInfo(hex));

            // Clean leaves nothing but the Makefile that the IDE writes.
            QVERIFY(project->clean());
            QCOMPARE(QDir(work->filePath(target)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList({QStringLiteral("Makefile")}));
        }
        for (const ProjectFile &file : project->files())
            QVERIFY(QFile::exists(file.path));
    }

    // The simulator lists name every controller of the bundled tool chains, so that the
    // new-project wizard offers each of them; each name appears once per family.
    void simulatorListsCoverTheToolChains()
    {
        QHash<QString, QSet<QString>> simulated;
        const QStringList files = QDir(dataDir + QStringLiteral("/simulator")).entryList({QStringLiteral("*.xml")}, QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files) {
            const QString path = dataDir + QStringLiteral("/simulator/") + name;
            const std::optional<QDomDocument> document = XmlDocument::read(path, workbench);
            QVERIFY2(document, qPrintable(workbench->allOutput()));
            const QDomElement root = document->documentElement();
            QCOMPARE(root.tagName(), QStringLiteral("SIMULATOR"));
            for (QDomElement family = root.firstChildElement(); !family.isNull(); family = family.nextSiblingElement()) {
                QCOMPARE(family.tagName(), QStringLiteral("FAMILY"));
                const QString familyName = family.attribute(QStringLiteral("NAME"));
                QVERIFY(!familyName.isEmpty());
                QSet<QString> &names = simulated[familyName];
                for (QDomElement controller = family.firstChildElement(); !controller.isNull();
                     controller = controller.nextSiblingElement()) {
                    QCOMPARE(controller.tagName(), QStringLiteral("CONTROLLER"));
                    QStringList known = {controller.attribute(QStringLiteral("NAME"))};
                    for (QDomElement alias = controller.firstChildElement(); !alias.isNull(); alias = alias.nextSiblingElement()) {
                        QCOMPARE(alias.tagName(), QStringLiteral("ALIAS"));
                        known.append(alias.attribute(QStringLiteral("NAME")));
                    }
                    for (const QString &knownName : std::as_const(known)) {
                        QVERIFY2(!knownName.isEmpty(), qPrintable(path));
                        QVERIFY2(!names.contains(knownName.toUpper()), qPrintable(familyName + QLatin1Char(' ') + knownName));
                        names.insert(knownName.toUpper());
                    }
                }
            }
        }

        for (const BuildConfig *config : compilers->configurations()) {
            for (const CompilerFamily &family : config->families()) {
                QVERIFY2(simulated.contains(family.name), qPrintable(family.name));
                for (const CompilerController &controller : family.controllers)
                    QVERIFY2(simulated.value(family.name).contains(controller.name.toUpper()),
                             qPrintable(family.name + QLatin1Char(' ') + controller.name));
            }
        }
    }
};

ZMX_TEST(BundledDataTest)

#include "tst_bundleddata.moc"
