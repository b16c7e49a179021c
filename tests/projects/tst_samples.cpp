#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/compilerdetector.h"
#include "dialoganswerer.h"
#include "fakesimulatorlocator.h"
#include "fakeworkbench.h"
#include "managerfixture.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "projects/samplecopier.h"
#include "projects/sampleproject.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

const QString dataDir = QStringLiteral(ZMX_SOURCE_DIR "/data");
const QString samplesDir = dataDir + QStringLiteral("/samples");

QStringList sampleFiles(const QString &root)
{
    QStringList found;
    QDirIterator files(root, {QStringLiteral("*.zmxp")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found.append(files.next());
    found.sort();
    return found;
}

QStringList relativeFiles(const QString &root)
{
    QStringList found;
    QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found.append(QDir(root).relativeFilePath(files.next()));
    found.sort();
    return found;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// A sample written from one of ours with its keyword list and description replaced.
void variant(const QString &from, const QString &to, const QByteArray &keyword, const QByteArray &description)
{
    QByteArray text = TestFiles::contents(from);
    text.replace("<KEYWORDS>", "<KEYWORDS>\n  <KEYWORD NAME=\"" + keyword + "\"/>");
    const int start = text.indexOf("DESCRIPTION=\"") + 13;
    text.replace(start, text.indexOf('"', start) - start, description);
    writeFile(to, text);
}

void setReadOnly(const QString &root, bool readOnly)
{
    QDirIterator entries(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (entries.hasNext())
        paths.append(entries.next());
    for (const QString &path : paths) {
        const QFileDevice::Permissions write = QFileDevice::WriteOwner | QFileDevice::WriteUser;
        const QFileDevice::Permissions now = QFile::permissions(path);
        QFile::setPermissions(path, readOnly ? now & ~write : now | write);
    }
}

// Detection of the bundled tool chain that the sample names; false when it is not installed.
bool detectCompiler(Workbench *workbench, BuildConfigList &compilers, const QString &name)
{
    BuildConfig *config = compilers.find(name);
    if (!config)
        return false;
    const DetectionResult detection = CompilerDetector(workbench).detect(*config);
    if (!detection.detected())
        return false;
    config->storeDetection(true, detection.directory);
    return true;
}

// A window over our compiler configurations and the given simulator installation, with the
// AVR test project open.
Project *openAvrProject(ManagerFixture &fixture, const QString &installationPath)
{
    fixture.copyFixture(QStringLiteral("e2e/avr"), QStringLiteral("avr"));
    ManagerFixture::setSetting(QStringLiteral("Compilers"), dataDir + QStringLiteral("/compilers"));
    FakeSimulatorLocator::install(installationPath);
    SrcManager *window = fixture.createWindow();
    if (!window->projects()->openProjectFile(fixture.path(QStringLiteral("avr/blink.zmxp")), true))
        return nullptr;
    return window->projects()->currentProject();
}

}

// The sample projects we ship, the Open Sample dialog over a simulator installation, and
// the copy that a chosen sample opens as.
class SamplesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir installation;
    QString samplesCopy;

private slots:
    void initTestCase()
    {
        // Our samples plus the cases the filters must get right: a keyword in two letter
        // cases, a second sample of an existing name, a file that is no project.
        samplesCopy = installation.filePath(QStringLiteral("SAMPLES"));
        QVERIFY(TestFiles::copyTree(samplesDir, samplesCopy));
        variant(samplesDir + QStringLiteral("/AVR/AVR_Timer_Blink/AVR_Timer_Blink.zmxp"),
                samplesCopy + QStringLiteral("/zz/Display/LCD_Clock.zmxp"), "LCD", "A clock on a character LCD.");
        variant(samplesDir + QStringLiteral("/8051/8051_Serial_Hello/8051_Serial_Hello.zmxp"),
                samplesCopy + QStringLiteral("/zz/Other/lcd_menu.zmxp"), "lcd", "A menu on a character LCD.");
        variant(samplesDir + QStringLiteral("/AVR/AVR_UART_Echo/AVR_UART_Echo.zmxp"),
                samplesCopy + QStringLiteral("/zz/Copy/AVR_UART_Echo.zmxp"), "Copy", "The second echo.");
        writeFile(samplesCopy + QStringLiteral("/zz/broken.zmxp"), "<PROJECT");
        writeFile(samplesCopy + QStringLiteral("/zz/notes.txt"), "not a sample");
    }

    void init() { DialogAnswerer::seenTexts().clear(); }
    void cleanup() { FakeSimulatorLocator::uninstall(); }

    // Six or more samples over the three tool chains and the usual topics, each described,
    // each with a Debug and a Release configuration; the build tree carries them as the
    // installation's SAMPLES folder.
    void bundledSamplesCoverChainsAndTopics()
    {
        FakeWorkbench workbench;
        workbench.compilersDir = dataDir + QStringLiteral("/compilers");
        BuildConfigList compilers(&workbench);
        QVERIFY(compilers.loadAll());
        const QStringList files = sampleFiles(samplesDir);
        QVERIFY(files.size() >= 6);
        QSet<QString> chains;
        QSet<QString> keywords;
        for (const QString &path : files) {
            Project project(&compilers, &workbench);
            QVERIFY2(project.load(path), qPrintable(workbench.allOutput()));
            QVERIFY2(!project.description().isEmpty(), qPrintable(path));
            QCOMPARE(project.configurationCount(), 2);
            QCOMPARE(project.configuration(0)->name(), QStringLiteral("Debug"));
            QCOMPARE(project.configuration(1)->name(), QStringLiteral("Release"));
            for (const ProjectFile &file : project.files())
                QVERIFY2(file.exists, qPrintable(file.path));
            chains.insert(project.currentCompilerName());
            for (const QString &keyword : project.keywords())
                keywords.insert(keyword);
        }
        QCOMPARE(chains, (QSet<QString>{"AVR GCC", "SDCC MCS51", "GPUTILS PIC"}));
        for (const char *topic : {"Timer", "UART", "LED", "ADC", "Interrupt", "Assembler"})
            QVERIFY2(keywords.contains(QLatin1String(topic)), topic);

        const QString built = QStringLiteral(ZMX_BUILD_DIR "/vask/SAMPLES");
        QCOMPARE(relativeFiles(built), relativeFiles(samplesDir));
    }

    void everySampleBuilds_data()
    {
        QTest::addColumn<QString>("sample");
        for (const QString &path : sampleFiles(samplesDir))
            QTest::newRow(qPrintable(QFileInfo(path).completeBaseName())) << path;
    }

    // Every configuration of every sample, copied as Open Sample copies it, builds with the
    // real tool chain into an Intel HEX file without a single tool message.
    void everySampleBuilds()
    {
        QFETCH(QString, sample);
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        FakeWorkbench workbench;
        workbench.compilersDir = dataDir + QStringLiteral("/compilers");
        BuildConfigList compilers(&workbench);
        QVERIFY(compilers.loadAll());
        QTemporaryDir projects;
        const QString copy = SampleCopier(&workbench).copy(sample, projects.path());
        QVERIFY2(!copy.isEmpty(), qPrintable(workbench.allOutput()));

        Project project(&compilers, &workbench);
        QVERIFY(project.load(copy));
        if (!detectCompiler(&workbench, compilers, project.currentCompilerName()))
            QSKIP(qPrintable(project.currentCompilerName() + QStringLiteral(" is not installed")));
        for (int index = 0; index < project.configurationCount(); ++index) {
            project.setCurrentConfiguration(index);
            workbench.output.clear();
            workbench.links.clear();
            QVERIFY2(project.compile(), qPrintable(workbench.allOutput()));
            if (!workbench.links.isEmpty())
                QFAIL(qPrintable(workbench.links.first().text));
            QVERIFY(TestFiles::isIntelHex(project.currentFirmwarePath()));
        }
        // The sample itself was never written.
        QCOMPARE(relativeFiles(QFileInfo(sample).absolutePath()).filter(QStringLiteral("Makefile")), QStringList());
    }

    void filtersAndSummary_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("all, in scan order")
            << "All" << "All"
            << QStringList{"8051_External_Interrupt", "8051_Serial_Hello", "AVR_ADC_Bargraph", "AVR_Timer_Blink",
                           "AVR_UART_Echo", "PIC16_LED_Chaser", "PIC16_Timer0_Interrupt", "AVR_UART_Echo",
                           "LCD_Clock", "lcd_menu"};
        QTest::newRow("upper-case keyword") << "LCD" << "All" << QStringList{"LCD_Clock", "lcd_menu"};
        QTest::newRow("lower-case keyword") << "lcd" << "All" << QStringList{"LCD_Clock", "lcd_menu"};
        QTest::newRow("keyword and family") << "lcd" << "8051" << QStringList{"lcd_menu"};
        QTest::newRow("timers of the AVR") << "Timer" << "AVR" << QStringList{"AVR_Timer_Blink", "LCD_Clock"};
        QTest::newRow("assembler") << "Assembler" << "All" << QStringList{"PIC16_LED_Chaser", "PIC16_Timer0_Interrupt"};
        QTest::newRow("family only") << "All" << "PIC16" << QStringList{"PIC16_LED_Chaser", "PIC16_Timer0_Interrupt"};
        QTest::newRow("nothing passes") << "ADC" << "8051" << QStringList{};
    }

    void filtersAndSummary()
    {
        QFETCH(QString, category);
        QFETCH(QString, family);
        QFETCH(QStringList, listed);
        FakeWorkbench workbench;
        workbench.compilersDir = dataDir + QStringLiteral("/compilers");
        workbench.quorvin = installation.path();
        BuildConfigList compilers(&workbench);
        QVERIFY(compilers.loadAll());
        SampleProject dialog(nullptr, &workbench, &compilers);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("SampleProject"));
        QCOMPARE(dialog.helpTopic(), 12);
        QCOMPARE(dialog.sampleCount(), 10);
        QVERIFY(workbench.output.isEmpty());

        auto *categories = dialog.findChild<QComboBox *>(QStringLiteral("categoryComboBox"));
        auto *families = dialog.findChild<QComboBox *>(QStringLiteral("controllerComboBox"));
        QCOMPARE(families->itemText(0), QStringLiteral("All"));
        QCOMPARE(families->count(), 4);
        QCOMPARE(categories->itemText(0), QStringLiteral("All"));
        QStringList keywords;
        for (int index = 1; index < categories->count(); ++index)
            keywords.append(categories->itemText(index));
        QStringList sorted = keywords;
        sorted.sort();
        QCOMPARE(keywords, sorted);
        QCOMPARE(QSet<QString>(keywords.begin(), keywords.end()).size(), keywords.size());

        categories->setCurrentIndex(categories->findText(category));
        families->setCurrentIndex(families->findText(family));
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("projectsListWidget"));
        QStringList shown;
        for (int row = 0; row < list->count(); ++row)
            shown.append(list->item(row)->text());
        QCOMPARE(shown, listed);

        // The first row is current and summarised; of two samples of one name the first wins.
        auto *summary = dialog.findChild<QTextEdit *>(QStringLiteral("projectInfoTextEdit"));
        if (listed.isEmpty()) {
            QVERIFY(summary->toPlainText().isEmpty());
            return;
        }
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(summary->toPlainText().startsWith(listed.first() + QLatin1Char('\n')));
        list->setCurrentItem(list->findItems(QStringLiteral("AVR_UART_Echo"), Qt::MatchExactly).value(0));
        if (listed.contains(QStringLiteral("AVR_UART_Echo"))) {
            QVERIFY(summary->toPlainText().contains(QStringLiteral("USART0")));
            QCOMPARE(dialog.samplePath(QStringLiteral("AVR_UART_Echo")),
                     samplesCopy + QStringLiteral("/AVR/AVR_UART_Echo/AVR_UART_Echo.zmxp"));
        }
    }

    // Open Sample, end to end: the installation stays untouched (it is read-only here), the
    // chosen sample opens as a copy in the projects folder, a second copy gets a number, and
    // the copy builds.
    void openingASampleOpensACopyThatBuilds()
    {
        ManagerFixture fixture;
        QVERIFY(openAvrProject(fixture, installation.path()));
        SrcManager *window = fixture.window();
        ProjectsManager *manager = fixture.manager();
        const QString sampleFolder = samplesCopy + QStringLiteral("/AVR/AVR_Timer_Blink");
        const QStringList before = relativeFiles(sampleFolder);
        setReadOnly(installation.path(), true);

        const auto openByName = [manager](const QString &name) {
            SampleProject *dialog = manager->sampleDialog();
            QVERIFY(dialog && dialog->isVisible());
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("projectsListWidget"));
            list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
            QVERIFY(!dialog->isVisible());
        };
        window->action(SrcManager::OpenSample)->trigger();
        openByName(QStringLiteral("AVR_Timer_Blink"));
        window->action(SrcManager::OpenSample)->trigger();
        openByName(QStringLiteral("AVR_Timer_Blink"));
        setReadOnly(installation.path(), false);

        QCOMPARE(manager->projectCount(), 1);
        const QString copy = fixture.path(QStringLiteral("AVR_Timer_Blink_2/AVR_Timer_Blink.zmxp"));
        QCOMPARE(manager->currentProject()->fileName(), copy);
        QVERIFY(QFile::exists(fixture.path(QStringLiteral("AVR_Timer_Blink/AVR_Timer_Blink.zmxp"))));
        QCOMPARE(relativeFiles(fixture.path(QStringLiteral("AVR_Timer_Blink_2"))), before);
        QVERIFY(QFileInfo(fixture.path(QStringLiteral("AVR_Timer_Blink_2/main.c"))).isWritable());
        QVERIFY(DialogAnswerer::seenTexts().isEmpty());

        if (!detectCompiler(window, *manager->buildConfigList(), QStringLiteral("AVR GCC")))
            QSKIP("the AVR tool chain is not installed");
        window->action(SrcManager::BuildProject)->trigger();
        QVERIFY(TestFiles::isIntelHex(manager->currentProject()->currentFirmwarePath()));
        QVERIFY(manager->currentProject()->currentFirmwarePath().startsWith(fixture.path(QStringLiteral("AVR_Timer_Blink_2/"))));
        QCOMPARE(relativeFiles(sampleFolder), before);
    }

    // Looking at the samples costs nothing: Cancel keeps the open project, and a sample is
    // copied only once the project agreed to close.
    void cancellingKeepsTheProject()
    {
        ManagerFixture fixture;
        Project *project = openAvrProject(fixture, installation.path());
        QVERIFY(project);
        project->setModified(true);
        fixture.window()->action(SrcManager::OpenSample)->trigger();
        SampleProject *dialog = fixture.manager()->sampleDialog();
        QVERIFY(dialog && dialog->isVisible());
        dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        QCOMPARE(fixture.manager()->currentProject(), project);

        // Cancel at the save question: the project stays and nothing is copied.
        fixture.window()->action(SrcManager::OpenSample)->trigger();
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QCOMPARE(fixture.manager()->currentProject(), project);
        QVERIFY(!QFileInfo::exists(fixture.path(QStringLiteral("8051_External_Interrupt"))));
        project->setModified(false);
    }

    void freeFolderAddsANumber_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{} << "Blink";
        QTest::newRow("taken") << QStringList{"Blink"} << "Blink_2";
        QTest::newRow("taken twice") << QStringList{"Blink", "Blink_2"} << "Blink_3";
        QTest::newRow("a file of the name") << QStringList{"Blink", "Blink_2/", "Blink_3"} << "Blink_4";
        QTest::newRow("gap") << QStringList{"Blink", "Blink_3"} << "Blink_2";
    }

    void freeFolderAddsANumber()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        QTemporaryDir projects;
        for (const QString &name : existing) {
            if (name.endsWith(QLatin1Char('/')))
                writeFile(projects.filePath(name.chopped(1)), "file");
            else
                QDir().mkpath(projects.filePath(name));
        }
        QCOMPARE(SampleCopier::freeFolder(projects.path(), QStringLiteral("Blink")), projects.filePath(expected));
    }

    // What a copy takes along: the sample's folder with its notes and subfolders; not the
    // build output, not the folders of other samples, not the other samples of the folder.
    // A file outside the folder stays where it is and the copy names it by its full path.
    void copyTakesTheSampleFolderOnly()
    {
        QTemporaryDir root;
        const QString sample = root.filePath(QStringLiteral("SAMPLES/Echo"));
        QVERIFY(TestFiles::copyTree(samplesDir + QStringLiteral("/AVR/AVR_UART_Echo"), sample));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("SAMPLES/shared"))));
        QVERIFY(QFile::rename(sample + QStringLiteral("/uart.h"), root.filePath(QStringLiteral("SAMPLES/shared/uart.h"))));
        QByteArray project = TestFiles::contents(sample + QStringLiteral("/AVR_UART_Echo.zmxp"));
        project.replace("NAME=\"uart.h\"", "NAME=\"../shared/uart.h\"");
        QFile::remove(sample + QStringLiteral("/AVR_UART_Echo.zmxp"));
        writeFile(sample + QStringLiteral("/AVR_UART_Echo.zmxp"), project);
        writeFile(sample + QStringLiteral("/README.txt"), "wiring");
        writeFile(sample + QStringLiteral("/docs/pinout.txt"), "pins");
        writeFile(sample + QStringLiteral("/Debug/main.o"), "object");
        writeFile(sample + QStringLiteral("/Release/Makefile"), "all:");
        writeFile(sample + QStringLiteral("/Other.zmxp"), "<PROJECT/>");
        writeFile(sample + QStringLiteral("/nested/Nested.zmxp"), "<PROJECT/>");
        writeFile(sample + QStringLiteral("/nested/nested.c"), "int x;");

        FakeWorkbench workbench;
        workbench.compilersDir = dataDir + QStringLiteral("/compilers");
        QTemporaryDir projects;
        const QString copy = SampleCopier(&workbench).copy(sample + QStringLiteral("/AVR_UART_Echo.zmxp"), projects.path());
        QCOMPARE(copy, projects.filePath(QStringLiteral("AVR_UART_Echo/AVR_UART_Echo.zmxp")));
        QCOMPARE(relativeFiles(projects.filePath(QStringLiteral("AVR_UART_Echo"))),
                 (QStringList{"AVR_UART_Echo.zmxp", "README.txt", "docs/pinout.txt", "main.c", "uart.c"}));

        BuildConfigList compilers(&workbench);
        QVERIFY(compilers.loadAll());
        Project loaded(&compilers, &workbench);
        QVERIFY(loaded.load(copy));
        QStringList paths;
        for (const ProjectFile &file : loaded.files()) {
            QVERIFY2(file.exists, qPrintable(file.path));
            paths.append(file.path);
        }
        QVERIFY(paths.contains(QFileInfo(root.filePath(QStringLiteral("SAMPLES/shared/uart.h"))).absoluteFilePath()));
        QVERIFY(paths.contains(projects.filePath(QStringLiteral("AVR_UART_Echo/uart.c"))));

        // A sample that cannot be read leaves no folder behind.
        workbench.output.clear();
        QVERIFY(SampleCopier(&workbench).copy(sample + QStringLiteral("/Missing.zmxp"), projects.path()).isEmpty());
        QVERIFY(workbench.allOutput().contains(QStringLiteral("Missing.zmxp")));
        QVERIFY(!QFileInfo::exists(projects.filePath(QStringLiteral("Missing"))));
    }
};

ZMX_TEST(SamplesTest)

#include "tst_samples.moc"
