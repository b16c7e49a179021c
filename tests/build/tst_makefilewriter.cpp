#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/makefilewriter.h"
#include "build/placeholderresolver.h"
#include "build/projectnode.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString chainDir = QStringLiteral(ZMX_FIXTURES "/makefile");

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

ProjectNode *findProcess(ProjectNode *node, const QString &file)
{
    if (!node)
        return nullptr;
    if (node->isProcess() && QFileInfo(node->file()).fileName() == file)
        return node;
    for (int index = 0; index < node->childCount(); ++index) {
        if (ProjectNode *found = findProcess(node->child(index), file))
            return found;
    }
    return nullptr;
}

}

// The test chain: HEX(elf) <- LD(o..., ld) <- CC(c) / AS(s), see fixtures/makefile.
class MakefileWriterTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;
    BuildProject *configuration = nullptr;
    QTemporaryDir *project = nullptr;

    QString dir() const { return project->path(); }
    QString at(const QString &relative) const { return project->filePath(relative); }

    void addFiles(const QStringList &files)
    {
        for (const QString &file : files) {
            touch(at(file));
            configuration->addFile(at(file), true);
        }
    }

private slots:
    void init()
    {
        workbench = new FakeWorkbench;
        workbench->compilersDir = chainDir;
        workbench->toolsDir = QStringLiteral("/opt/ide tools");
        compilers = new BuildConfigList(workbench);
        QVERIFY(compilers->loadAll());
        compilers->find(QStringLiteral("Test Chain"))->storeDetection(true, QStringLiteral("/opt//tchain/bin"));
        project = new QTemporaryDir;
        configuration = new BuildProject(workbench, compilers);
        configuration->setName(QStringLiteral("Main"));
        QVERIFY(configuration->selectCompiler(QStringLiteral("Test Chain")));
        QVERIFY(configuration->selectController(QStringLiteral("TF"), QStringLiteral("t100"), true));
        QVERIFY(configuration->selectTarget(QStringLiteral("Debug")));
        configuration->setClock(QStringLiteral("32.768 kHz"));
    }

    void cleanup()
    {
        delete configuration;
        delete compilers;
        delete project;
        delete workbench;
    }

    void writesEverySectionInOrder()
    {
        addFiles({QStringLiteral("src/main.c"), QStringLiteral("src/util.c"), QStringLiteral("start.s"),
                  QStringLiteral("app.ld")});
        configuration->optionValues().append({QStringLiteral("-Wall"), QString(), QString(), QString(), false});

        MakefileWriter writer(*configuration, dir(), workbench);
        QVERIFY(writer.write());
        QCOMPARE(writer.makefile(), at(QStringLiteral("Main/Makefile")));
        const QString ruler(79, QLatin1Char('#'));
        const QString expected = ruler + QStringLiteral("\n# Makefile for project \n") + ruler + QStringLiteral(R"(

## General options
PROJECT = 
MCU = t100
COMPILER = "Test Chain"
TARGET = Debug
CLOCK = 32768
SHELL = /bin/sh

## Tools general options
FLAGS=-Wall
CCFLAGS=-g -mmcu=t100 -Wall

## Processing Tools
HEX=thex
LD=tld
CC=%COMPILER_DIR%/tcc
AS=%COMPILER_DIR%/tcc
#  @/Main/Main.hex: TOOL=HEX
#     @/Main/firmware.elf: TOOL=LD
#     Pre: echo linking firmware
#     Post: tsize Main/firmware.elf
#        @/Main/main.o: TOOL=CC
#           @/src/main.c
#        @/Main/util.o: TOOL=CC
#           @/src/util.c
#        @/Main/start.o: TOOL=AS
#           @/start.s
#        @/app.ld

# Build tree:
all:	Debug
.PHONY:	all Debug tidy clean

Debug:	Main/Main.hex

Main/Main.hex:	Main/firmware.elf Main/Makefile.flags
	$(HEX) Main/firmware.elf Main/Main.hex %PATH%

Main/firmware.elf:	Main/main.o Main/util.o Main/start.o app.ld Main/Makefile.flags
	echo linking firmware
	$(LD)  -o Main/firmware.elf Main/main.o Main/util.o Main/start.o -T"app.ld"
	tsize Main/firmware.elf

Main/main.o:	src/main.c Main/Makefile.flags
	$(CC) $(CCFLAGS)  -c src/main.c -o Main/main.o -DF=32768

Main/util.o:	src/util.c Main/Makefile.flags
	$(CC) $(CCFLAGS)  -c src/util.c -o Main/util.o -DF=32768

Main/start.o:	start.s Main/Makefile.flags
	$(AS) -c start.s -o Main/start.o

# tidy - delete all temporary files which are not involved in the target generation
tidy:
	rm -rf Main/firmware.map

# cleanup - delete all generated files
clean:	tidy
	rm -rf Main/Main.hex
	rm -rf Main/firmware.elf
	rm -rf Main/main.o
	rm -rf Main/util.o
	rm -rf Main/start.o
	rm -rf Main/Makefile.flags

# What the files were made from and with
Main/Makefile.flags:
)").replace(QLatin1Char('@'), dir());
        const QString written = readText(writer.makefile());
        if (written != expected) {
            const QStringList got = written.split(QLatin1Char('\n'));
            const QStringList want = expected.split(QLatin1Char('\n'));
            for (int line = 0; line < qMax(got.size(), want.size()); ++line)
                QCOMPARE(got.value(line), want.value(line));
        }

        QCOMPARE(writer.errorFiles(),
                 QList<ErrorFile>({{at(QStringLiteral("Main/link.log")), false}, {at(QStringLiteral("main.err")), true},
                                   {at(QStringLiteral("util.err")), true}}));
        QVERIFY(!writer.errorFileHidden(0));
        QVERIFY(writer.errorFileHidden(1));
        QVERIFY(writer.errorFileHidden(3));
        QVERIFY(writer.errorFileHidden(-1));
        QCOMPARE(writer.outputFile(), at(QStringLiteral("Main/Main.hex")));
        QVERIFY(workbench->output.isEmpty());
    }

    void queriesWhatMakeRunsWith()
    {
        addFiles({QStringLiteral("main.c"), QStringLiteral("start.s")});
        MakefileWriter writer(*configuration, dir(), workbench);
        // The compile and assemble steps share one definition; it is listed once.
        const QList<MessageDefinition> definitions = writer.messageDefinitions();
        QCOMPARE(definitions.size(), 2);
        QCOMPARE(definitions.at(0).pattern, QStringLiteral("^(\\S+): undefined reference"));
        QCOMPARE(definitions.at(1).fields.size(), 3);

        const QList<EnvironmentEntry> debug = writer.environment(QStringLiteral("debug"));
        QCOMPARE(debug.size(), 2);
        QCOMPARE(debug.at(0).name, QStringLiteral("TDEV"));
        QVERIFY(debug.at(0).isSet);
        QCOMPARE(debug.at(1).name, QStringLiteral("TPATH"));
        QCOMPARE(debug.at(1).value, QStringLiteral("/opt//tchain/bin/extra"));
        QCOMPARE(debug.at(1).separator, QStringLiteral(":"));
        QCOMPARE(writer.environment(QStringLiteral("clean")).size(), 1);

        QCOMPARE(writer.compilerDirectories(), QStringList({QStringLiteral("/opt//tchain/bin")}));
        BuildProject bare(workbench, compilers);
        QVERIFY(MakefileWriter(bare, dir(), workbench).compilerDirectories().isEmpty());
        QVERIFY(MakefileWriter(bare, dir(), workbench).environment(QStringLiteral("Debug")).isEmpty());
        QVERIFY(MakefileWriter(bare, dir(), workbench).outputFile().isEmpty());
    }

    void resolvesEveryVariableAndFlag()
    {
        addFiles({QStringLiteral("my src/main file.c"), QStringLiteral("two.c")});
        MakefileWriter writer(*configuration, dir(), workbench);
        QVERIFY(writer.write());
        ProjectNode *root = configuration->root();
        ProjectNode *link = root->child(0);
        ProjectNode *compile = findProcess(root, QStringLiteral("main file.o"));
        QVERIFY(compile);
        PlaceholderResolver resolver(*configuration, dir(), workbench);
        const auto resolve = [&](const char *text, const ProjectNode *node) {
            return resolver.resolve(QString::fromUtf8(text), node);
        };

        QCOMPARE(resolve("%INFILE%", compile), QStringLiteral("my src/main file.c"));
        QCOMPARE(resolve("%INFILE_QUOTED%", compile), QStringLiteral("\"my src/main file.c\""));
        QCOMPARE(resolve("%INFILE_USCORE%", compile), QStringLiteral("my_src/main_file.c"));
        QCOMPARE(resolve("%INFILE_NAME%", compile), QStringLiteral("main file"));
        QCOMPARE(resolve("%InFile_Name_UsCore%", compile), QStringLiteral("main_file"));
        QCOMPARE(resolve("%INFILE_DIR%", compile), QStringLiteral("my src"));
        QCOMPARE(resolve("%INFILE_DIR_QUOTED%", compile), QStringLiteral("\"my src\""));
        QCOMPARE(resolve("%INFILE_SHORT_DOS%", compile), QStringLiteral("my src/main file.c"));
        // With two inputs _NAME gives the whole list and _DIR nothing.
        QCOMPARE(resolve("%INFILES_NAME%", link), QStringLiteral("Main/main file.o Main/two.o"));
        QCOMPARE(resolve("%INFILE_DIR%", link), QStringLiteral("%INFILE_DIR%"));

        QCOMPARE(resolve("%OUTFILE%", compile), QStringLiteral("Main/main file.o"));
        QCOMPARE(resolve("%OUTFILE_NAME%", root), QStringLiteral("Main"));
        QCOMPARE(resolve("%OUTFILE_NAME_USCORE%", compile), QStringLiteral("main_file"));
        QCOMPARE(resolve("%OUTFILE_DIR%", compile), QStringLiteral("Main"));
        QCOMPARE(resolve("%OUTFILE_QUOTED_USCORE%", compile), QStringLiteral("\"Main/main_file.o\""));

        QCOMPARE(resolve("%COMPILER_DIR%", compile), QStringLiteral("/opt//tchain/bin"));
        QCOMPARE(resolve("%COMPILER_DIR_DOS%", compile), QStringLiteral("/opt/tchain/bin"));
        QCOMPARE(resolve("%COMPILER_NAME%", nullptr), QStringLiteral("Test Chain"));
        QCOMPARE(resolve("%COMPILER%", nullptr), QStringLiteral("%COMPILER%"));
        QCOMPARE(resolve("%TARGET_DIR%", nullptr), QStringLiteral("."));
        QCOMPARE(resolve("%TARGET_NAME%", nullptr), QStringLiteral("Main/Main.hex"));
        QCOMPARE(resolve("%TARGET%", nullptr), QStringLiteral("%TARGET%"));
        QCOMPARE(resolve("%BIN_DIR%", nullptr), QStringLiteral("/opt/ide tools"));
        QCOMPARE(resolve("%BIN_DIR_QUOTED_USCORE%", nullptr), QStringLiteral("\"/opt/ide_tools\""));
        QCOMPARE(resolve("%BIN%", nullptr), QStringLiteral("%BIN%"));
        QCOMPARE(resolve("-DF_CPU=%clock%UL", nullptr), QStringLiteral("-DF_CPU=32768UL"));

        // Unknown names go back in upper case for the shell; "%%" stays for the caller,
        // and a lone "%" is kept as it is.
        QCOMPARE(resolve("a %Path% b %% c %", compile), QStringLiteral("a %PATH% b %% c %"));
        // Node variables need a node; without one they are unknown.
        QCOMPARE(resolve("%INFILE% %OPTIONS%", nullptr), QStringLiteral("%INFILE% %OPTIONS%"));
        QVERIFY(workbench->output.isEmpty());
    }

    void resolvesValuesThatHoldPlaceholders()
    {
        addFiles({QStringLiteral("main.c")});
        MakefileWriter(*configuration, dir(), workbench).write();
        ProjectNode *compile = findProcess(configuration->root(), QStringLiteral("main.o"));
        compile->optionValues() = {{QStringLiteral("-DF="), QString(), QStringLiteral("%CLOCK%"), QString(), false},
                                   {QStringLiteral("-DP="), QString(), QStringLiteral("100%%"), QString(), false}};
        PlaceholderResolver resolver(*configuration, dir(), workbench);
        QCOMPARE(resolver.resolve(QStringLiteral("[%OPTIONS%]"), compile), QStringLiteral("[-DF=32768 -DP=100%]"));

        // A file named after its own placeholder would resolve forever: it counts as
        // unknown, and so does a chain that keeps leading back.
        compile->setFile(at(QStringLiteral("Main/%OUTFILE%.o")));
        QCOMPARE(resolver.resolve(QStringLiteral("%OUTFILE%"), compile), QStringLiteral("%OUTFILE%"));
        compile->setFile(at(QStringLiteral("Main/%INFILE%.o")));
        compile->child(0)->setFile(at(QStringLiteral("%OUTFILE%.c")));
        QVERIFY(resolver.resolve(QStringLiteral("%OUTFILE%"), compile).contains(QLatin1String("%")));
    }

    void passesFilesOfAKindThroughOptions()
    {
        addFiles({QStringLiteral("main.c"), QStringLiteral("board script.ld")});
        MakefileWriter writer(*configuration, dir(), workbench);
        QVERIFY(writer.write());
        ProjectNode *link = configuration->root()->child(0);
        PlaceholderResolver resolver(*configuration, dir(), workbench);
        QCOMPARE(resolver.fileKind(link, at(QStringLiteral("x.LD"))), QStringLiteral("SCRIPT"));
        QCOMPARE(resolver.fileKind(link, at(QStringLiteral("x.o"))), QString());
        // Without an option value of that kind, the tool's option definition names it.
        QCOMPARE(resolver.resolve(QStringLiteral("%INFILES%"), link),
                 QStringLiteral("Main/main.o -T\"board script.ld\""));
        QCOMPARE(resolver.resolve(QStringLiteral("%INFILES_QUOTED%"), link),
                 QStringLiteral("\"Main/main.o\" -T\"board script.ld\""));
        // With one, the file leaves the input list and takes the option's value.
        link->optionValues().append({QStringLiteral("-Wl,-T,"), QStringLiteral("LD"), QString(), QStringLiteral("script"), false});
        QCOMPARE(resolver.resolve(QStringLiteral("%INFILES%"), link), QStringLiteral("Main/main.o"));
        QCOMPARE(resolver.resolve(QStringLiteral("%OPTIONS_USCORE%"), link), QStringLiteral("-Wl,-T,\"board_script.ld\""));
    }

    void readsClockTexts_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("value"); // null: refused
        QTest::newRow("empty") << QString() << QStringLiteral("");
        QTest::newRow("hertz") << QStringLiteral("8000000") << QStringLiteral("8000000");
        QTest::newRow("MHz") << QStringLiteral("4 MHz") << QStringLiteral("4000000");
        QTest::newRow("fraction MHz") << QStringLiteral("7.3728MHz") << QStringLiteral("7372800");
        QTest::newRow("kHz") << QStringLiteral("32.768 kHz") << QStringLiteral("32768");
        QTest::newRow("k only") << QStringLiteral("455k") << QStringLiteral("455000");
        QTest::newRow("Hz") << QStringLiteral("100 Hz") << QStringLiteral("100");
        QTest::newRow("fraction cut") << QStringLiteral("1.5 Hz") << QStringLiteral("1");
        QTest::newRow("largest") << QStringLiteral("4294967295") << QStringLiteral("4294967295");
        QTest::newRow("too large") << QStringLiteral("4294967296") << QString();
        QTest::newRow("overflowing") << QStringLiteral("1e300MHz") << QString();
        QTest::newRow("negative") << QStringLiteral("-5MHz") << QString();
        QTest::newRow("zero") << QStringLiteral("0 Hz") << QString();
        QTest::newRow("below one hertz") << QStringLiteral("0.5 Hz") << QString();
        QTest::newRow("infinite") << QStringLiteral("inf") << QString();
        QTest::newRow("not a number") << QStringLiteral("nan") << QString();
        QTest::newRow("leading M") << QStringLiteral("M4") << QString();
        QTest::newRow("words") << QStringLiteral("fast") << QString();
        QTest::newRow("make code") << QStringLiteral("$(shell touch X)") << QString();
    }

    void readsClockTexts()
    {
        QFETCH(QString, clock);
        QFETCH(QString, value);
        const std::optional<QString> read = PlaceholderResolver::clockValue(clock);
        QCOMPARE(read.has_value(), !value.isNull());
        QCOMPARE(read.value_or(QString()), value.isNull() ? QString() : value);
    }

    void namesFilesFromExplicitNamesAndTemplates()
    {
        addFiles({QStringLiteral("main.c")});
        MakefileWriter writer(*configuration, dir(), workbench);
        writer.setOutputPath(at(QStringLiteral("out/firmware.hex")));
        QCOMPARE(writer.outputFile(), at(QStringLiteral("out/firmware.hex")));
        // Once the root has a file, the rule derives it again.
        QCOMPARE(writer.outputFile(), at(QStringLiteral("Main/Main.hex")));

        // A renamed source gives its object file a new name.
        QVERIFY(configuration->renameFile(at(QStringLiteral("main.c")), at(QStringLiteral("core.c"))));
        touch(at(QStringLiteral("core.c")));
        QVERIFY(writer.write());
        QVERIFY(readText(writer.makefile()).contains(QStringLiteral("\nMain/core.o:\tcore.c Main/Makefile.flags\n")));
    }

    void writesNamesWithBlanksAndDollarsSafely()
    {
        addFiles({QStringLiteral("my file.c"), QStringLiteral("price$x.c"), QStringLiteral("-x.c")});
        MakefileWriter writer(*configuration, dir(), workbench);
        QVERIFY(writer.write());
        const QString text = readText(writer.makefile());
        // Rule heads name the files the recipes make, escaped for make; recipes quote them
        // for the shell; a name that starts with "-" is no option.
        QVERIFY(text.contains(QStringLiteral("\nMain/firmware.elf:\tMain/my\\ file.o Main/price$$x.o Main/-x.o ")));
        QVERIFY(text.contains(QStringLiteral("\nMain/my\\ file.o:\tmy\\ file.c Main/Makefile.flags\n")));
        QVERIFY(text.contains(QStringLiteral("-c 'my file.c' -o 'Main/my file.o'")));
        QVERIFY(text.contains(QStringLiteral("-c 'price$$x.c' -o 'Main/price$$x.o'")));
        QVERIFY(text.contains(QStringLiteral("-c ./-x.c -o Main/-x.o")));
        QVERIFY(text.contains(QStringLiteral("\trm -rf 'Main/price$$x.o'\n")));
        QVERIFY(text.contains(QStringLiteral("\trm -rf 'Main/my file.o'\n")));
    }

    void refusesValuesTheMakefileCannotTake_data()
    {
        QTest::addColumn<QString>("configuration"); // the CONFIGURATION element's attributes and children
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("error");
        const QStringList main{QStringLiteral("main.c")};
        const QString project = QStringLiteral("error: Project p.zmxp, configuration ");
        QTest::newRow("name with a slash") << "NAME='../x'><CONTROLLER FAMILY='TF' TYPE='t100'" << main
                                           << "error: Project p.zmxp: the configuration name \"../x\" names the files the "
                                              "build makes and must not hold \"/\", \"\\\" or \"..\".";
        QTest::newRow("controller with a line") << "NAME='Main'><CONTROLLER FAMILY='TF' TYPE='t100&#10;X := 1'" << main
                                                << project + "\"Main\": the TYPE \"t100\\nX := 1\" holds a line break, "
                                                             "which a Makefile cannot take.";
        QTest::newRow("clock in words") << "NAME='Main'><CONTROLLER FAMILY='TF' TYPE='t100' CLOCK='fast'" << main
                                        << project + "\"Main\": the CLOCK \"fast\" is not a frequency from 1 Hz to 4294967295 Hz.";
        QTest::newRow("option with a line")
            << "NAME='Main'><CONTROLLER FAMILY='TF' TYPE='t100'/><OPTION NAME='-D' VALUE='A&#10;b:' TOOL='CC'" << main
            << project + "\"Main\": the OPTION \"-DA\\nb:\" holds a line break, which a Makefile cannot take.";
        QTest::newRow("option with a backslash before a hash")
            << "NAME='Main'><CONTROLLER FAMILY='TF' TYPE='t100'/><OPTION NAME='-D' VALUE='A=\\#' TOOL='CC'" << main
            << project + "\"Main\": the OPTION \"-DA=\\#\" holds a backslash before \"#\" or at the end, which a "
                         "Makefile cannot take.";
        QTest::newRow("two sources, one object")
            << "NAME='Main'><CONTROLLER FAMILY='TF' TYPE='t100'" << QStringList{"main.c", "sub/main.c"}
            << "error: Two steps of the build would make the same file @/Main/main.o; rename one of the files @/main.c "
               "and @/sub/main.c.";
    }

    void refusesValuesTheMakefileCannotTake()
    {
        QFETCH(QString, configuration);
        QFETCH(QStringList, files);
        QFETCH(QString, error);
        QDomDocument document;
        QVERIFY(document.setContent(QStringLiteral("<CONFIGURATION COMPILER=\"Test Chain\" TARGET=\"Debug\" %1/></CONFIGURATION>")
                                        .arg(configuration)));
        BuildProject loaded(workbench, compilers);
        QVERIFY(loaded.load(document.documentElement(), at(QStringLiteral("p.zmxp"))));
        for (const QString &file : files) {
            touch(at(file));
            loaded.addFile(at(file), true);
        }
        workbench->output.clear();
        MakefileWriter writer(loaded, dir(), workbench);
        writer.setProjectFile(at(QStringLiteral("p.zmxp")));
        QVERIFY(!writer.write());
        QCOMPARE(workbench->output, QStringList{error.replace(QLatin1Char('@'), dir())});
        QVERIFY(!QFile::exists(writer.makefile()));
    }

    void refusesAToolChainWithoutItsTools_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("tool that failed to load")
            << QByteArray("<TOOL FILE='cc' NAME='CC'><OPTION NAME='-O' PARAM='number'/></TOOL>")
            << QStringList{"error: The compiler configuration @/chain.xml could not load its tool or process \"CC\"; it cannot build.",
                           "error: The compiler configuration @/chain.xml has no tool \"CC\" for its processes."};
        QTest::newRow("no tool of that name") << QByteArray("<TOOL FILE='cc' NAME='XX'/>")
                                              << QStringList{"error: The compiler configuration @/chain.xml has no tool \"CC\" for its processes."};
        QTest::newRow("tool file with a line") << QByteArray("<TOOL FILE='cc&#10;all: ; touch X' NAME='CC'/>")
                                               << QStringList{"error: Project p.zmxp, configuration \"Main\": the TOOL FILE "
                                                              "\"cc\\nall: ; touch X\" holds a line break, which a Makefile cannot take."};
    }

    void refusesAToolChainWithoutItsTools()
    {
        QFETCH(QByteArray, tool);
        QFETCH(QStringList, errors);
        QTemporaryDir chains;
        QFile chain(chains.filePath(QStringLiteral("chain.xml")));
        QVERIFY(chain.open(QIODevice::WriteOnly));
        chain.write("<COMPILER NAME='Chain'><FILE NAME='c' SOURCE='1'/>" + tool + R"(
            <PROCESS TOOL="CC" NAME="Compile" CMDLINE="$(CC) -o %OUTFILE% %INFILE%"><FILE OUTPUT="hex" INPUT="c"/></PROCESS>
            <FAMILY NAME="F"><CONTROLLER NAME="c"/></FAMILY><TARGET NAME="Debug"><FILE OUTPUT="hex"/></TARGET></COMPILER>)");
        chain.close();
        BuildConfigList list(workbench);
        QVERIFY(list.loadAll(chains.path()));
        BuildProject broken(workbench, &list);
        broken.setName(QStringLiteral("Main"));
        QVERIFY(broken.selectCompiler(QStringLiteral("Chain")));
        QVERIFY(broken.selectTarget(QStringLiteral("Debug")));
        touch(at(QStringLiteral("main.c")));
        QVERIFY(broken.addFile(at(QStringLiteral("main.c")), true));
        workbench->output.clear();
        MakefileWriter writer(broken, dir(), workbench);
        writer.setProjectFile(at(QStringLiteral("p.zmxp")));
        QVERIFY(!writer.write());
        for (QString &error : errors)
            error.replace(QLatin1Char('@'), chains.path());
        QCOMPARE(workbench->output, errors);
    }

    void reportsWhatStopsTheMakefile()
    {
        // No target: the tree cannot be made.
        BuildProject noTarget(workbench, compilers);
        QVERIFY(noTarget.selectCompiler(QStringLiteral("Test Chain")));
        QVERIFY(!MakefileWriter(noTarget, dir(), workbench).write());
        QCOMPARE(workbench->output, QStringList({QStringLiteral("error: Cannot select build target.")}));

        // A file name that resolves to nothing.
        QTemporaryDir chains;
        QFile chain(chains.filePath(QStringLiteral("empty.xml")));
        QVERIFY(chain.open(QIODevice::WriteOnly));
        chain.write(R"(<COMPILER NAME="Empty Name"><FILE NAME="c" SOURCE="1"/><TOOL FILE="cc" NAME="CC"/>
            <PROCESS TOOL="CC" NAME="Link" CMDLINE="cc -o %OUTFILE% %INFILE%"><FILE OUTPUT="bin" NAME="%OPTIONS%" INPUT="c"/></PROCESS>
            <FAMILY NAME="F"><CONTROLLER NAME="c"/></FAMILY><TARGET NAME="Debug"><FILE OUTPUT="bin"/></TARGET></COMPILER>)");
        chain.close();
        BuildConfigList emptyNames(workbench);
        QVERIFY(emptyNames.loadAll(chains.path()));
        BuildProject unnamed(workbench, &emptyNames);
        QVERIFY(unnamed.selectCompiler(QStringLiteral("Empty Name")));
        QVERIFY(unnamed.selectTarget(QStringLiteral("Debug")));
        touch(at(QStringLiteral("main.c")));
        QVERIFY(unnamed.addFile(at(QStringLiteral("main.c")), true));
        workbench->output.clear();
        QVERIFY(!MakefileWriter(unnamed, dir(), workbench).write());
        QCOMPARE(workbench->output, QStringList({QStringLiteral("error: Not all intermediate file names are filled. It "
                                                                "should be an error in compiler configuration file.")}));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Makefile"))));

        workbench->output.clear();
        addFiles({QStringLiteral("main.c")});
        MakefileWriter writer(*configuration, dir(), workbench);
        QVERIFY(writer.write());

        // The build directory cannot be created: a file stands in its place.
        QFile::remove(at(QStringLiteral("Main/Makefile")));
        QDir(at(QStringLiteral("Main"))).removeRecursively();
        touch(at(QStringLiteral("Main")));
        QVERIFY(!writer.write());
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("message: Cannot open file %1 for writing\n").arg(at(QStringLiteral("Main/Makefile")))}));
    }

    // make -j runs the compile steps side by side: they must not share a file the tools
    // write, and the folders they write into exist before make starts.
    void parallelStepsDoNotShareFiles_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shared");
        QTest::addColumn<QString>("folder");
        QTest::newRow("own files") << QString() << QString() << QString() << QStringLiteral("Main");
        QTest::newRow("one error file") << QStringLiteral("ERROR=\"err\"")
                                        << QStringLiteral("ERROR=\"log\" NAME=\"%OUTFILE_DIR%/cc.log\"")
                                        << QStringLiteral("Main/cc.log") << QStringLiteral("Main");
        QTest::newRow("one temporary file") << QStringLiteral("TEMP=\"lst\"")
                                            << QStringLiteral("TEMP=\"lst\" NAME=\"listing.lst\"")
                                            << QStringLiteral("listing.lst") << QStringLiteral("Main");
        QTest::newRow("objects in a sub-folder") << QStringLiteral("<FILE OUTPUT=\"o\">\n   <FILE INPUT=\"c\"")
                                                 << QStringLiteral("<FILE OUTPUT=\"o\" NAME=\"obj/%INFILE_NAME%.o\">\n   <FILE INPUT=\"c\"")
                                                 << QString() << QStringLiteral("Main/obj");
    }

    void parallelStepsDoNotShareFiles()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, shared);
        QFETCH(QString, folder);
        QString chain = readText(chainDir + QStringLiteral("/testchain.xml"));
        QVERIFY(chain.contains(before));
        if (!before.isEmpty())
            chain.replace(before, after);
        QTemporaryDir chains;
        QFile file(chains.filePath(QStringLiteral("testchain.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(chain.toUtf8()) > 0);
        file.close();
        workbench->compilersDir = chains.path();
        QVERIFY(compilers->loadAll());
        BuildProject parts(workbench, compilers);
        parts.setName(QStringLiteral("Main"));
        QVERIFY(parts.selectCompiler(QStringLiteral("Test Chain")));
        QVERIFY(parts.selectController(QStringLiteral("TF"), QStringLiteral("t100"), true));
        QVERIFY(parts.selectTarget(QStringLiteral("Debug")));
        for (const QString &source : {QStringLiteral("one.c"), QStringLiteral("two.c")}) {
            touch(at(source));
            parts.addFile(at(source), true);
        }
        MakefileWriter writer(parts, dir(), workbench);
        QVERIFY2(writer.write(), qPrintable(workbench->output.join(u'\n')));
        const QString written = readText(writer.makefile());
        QCOMPARE(written.contains(QLatin1String("\n.NOTPARALLEL:\n")), !shared.isEmpty());
        if (!shared.isEmpty())
            QVERIFY2(written.contains(QStringLiteral("# Several steps write %1,").arg(shared)), qPrintable(written));
        QVERIFY2(QFileInfo(at(folder)).isDir(), qPrintable(written));
    }

    void makeHandsDollarNamesToTheTool()
    {
        const QString make = QStandardPaths::findExecutable(QStringLiteral("make"));
        if (make.isEmpty())
            QSKIP("make is not installed");
        workbench->compilersDir = QStringLiteral(ZMX_FIXTURES "/makefile/copy");
        QVERIFY(compilers->loadAll());
        BuildProject copy(workbench, compilers);
        copy.setName(QStringLiteral("Main"));
        QVERIFY(copy.selectCompiler(QStringLiteral("Copy Chain")));
        QVERIFY(copy.selectController(QStringLiteral("Any"), QStringLiteral("any"), true));
        QVERIFY(copy.selectTarget(QStringLiteral("Debug")));
        const QStringList sources = {QStringLiteral("price$x.c"), QStringLiteral("$HOME.c"), QStringLiteral("plain.c")};
        for (const QString &source : sources) {
            QFile file(at(source));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(source.toUtf8() + '\n');
            file.close();
            copy.addFile(at(source), true);
        }
        MakefileWriter writer(copy, dir(), workbench);
        QVERIFY(writer.write());

        QProcess process;
        process.setWorkingDirectory(dir());
        process.start(make, {QStringLiteral("--makefile=Main/Makefile"), QStringLiteral("Debug")});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QVERIFY(QFile::exists(at(QStringLiteral("Main/price$x.o"))));
        QVERIFY(QFile::exists(at(QStringLiteral("Main/$HOME.o"))));
        QCOMPARE(readText(at(QStringLiteral("Main/Main.hex"))), QStringLiteral("price$x.c\n$HOME.c\nplain.c\n"));

        process.start(make, {QStringLiteral("--makefile=Main/Makefile"), QStringLiteral("clean"), QStringLiteral("-s")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(!QFile::exists(at(QStringLiteral("Main/price$x.o"))));
        QVERIFY(!QFile::exists(at(QStringLiteral("Main/Main.hex"))));
        QVERIFY(QFile::exists(at(QStringLiteral("price$x.c"))));
    }
};

ZMX_TEST(MakefileWriterTest)

#include "tst_makefilewriter.moc"
