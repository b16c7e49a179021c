#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>
#include <memory>

namespace {

// "TOOL[options](children)" for process nodes, the path relative to base for leaves.
QString describe(const ProjectNode *node, const QDir &base)
{
    if (!node)
        return QStringLiteral("-");
    if (!node->isProcess())
        return base.relativeFilePath(node->file());
    QString text = node->toolName();
    if (!node->optionValues().isEmpty()) {
        QStringList options;
        for (const OptionValue &value : node->optionValues())
            options.append(value.name + value.value);
        text += QLatin1Char('[') + options.join(QLatin1Char(' ')) + QLatin1Char(']');
    }
    QStringList children;
    for (int index = 0; index < node->childCount(); ++index)
        children.append(describe(node->child(index), base));
    return text + QLatin1Char('(') + children.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// "NAME=VALUE/TOOL" for each value, with "#ID" and "!" for the default flag when set.
QStringList describe(const QList<OptionValue> &values)
{
    QStringList result;
    for (const OptionValue &value : values) {
        QString text = value.name + QLatin1Char('=') + value.value + QLatin1Char('/') + value.tool;
        if (!value.id.isEmpty())
            text += QLatin1Char('#') + value.id;
        if (value.isDefault)
            text += QLatin1Char('!');
        result.append(text);
    }
    return result;
}

}

class BuildProjectTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<BuildConfigList> compilers;
    std::unique_ptr<QTemporaryDir> folder;
    QString projectPath;

    QString path(const QString &name) const { return folder->filePath(name); }
    QString tree(const BuildProject &configuration) const
    {
        return describe(configuration.root(), QDir(folder->path()));
    }

    std::unique_ptr<BuildProject> configured(const QString &controller = QStringLiteral("ATmega16"),
                                             const QString &target = QStringLiteral("Debug"))
    {
        auto configuration = std::make_unique<BuildProject>(workbench.get(), compilers.get());
        configuration->setName(target);
        configuration->selectCompiler(QStringLiteral("Test Chain"));
        configuration->selectController(QStringLiteral("AVR"), controller, true);
        configuration->selectTarget(target);
        return configuration;
    }

    QString saved(const BuildProject &configuration) const
    {
        QString text;
        QXmlStreamWriter writer(&text);
        writer.setAutoFormatting(true);
        writer.setAutoFormattingIndent(1);
        configuration.save(writer, projectPath);
        // The line break after the element belongs to the parent's formatting.
        return text.mid(text.indexOf(QLatin1Char('<'))) + QLatin1Char('\n');
    }

    // Loads the element from text; the result tells whether reading succeeded.
    bool load(BuildProject &configuration, const QString &text) const
    {
        QDomDocument document;
        if (!document.setContent(text))
            return false;
        return configuration.load(document.documentElement(), projectPath);
    }

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        compilers = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(compilers->loadAll(QStringLiteral(ZMX_FIXTURES "/projects/compilers")));
        QVERIFY(compilers->find(QStringLiteral("Test Chain")));
        folder = std::make_unique<QTemporaryDir>();
        projectPath = path(QStringLiteral("blinky.zmxp"));
    }

    void cleanup()
    {
        compilers.reset();
        workbench.reset();
        folder.reset();
    }

    void placesFilesUnderTheShallowestProcess()
    {
        auto configuration = configured();
        QVERIFY(configuration->addFile(path(QStringLiteral("src/main.c")), false));
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(src/main.c)))"));

        // The link step takes all inputs at once, so a second source gets its own compile
        // step beside the first; a compile step that already has its input takes no other.
        QVERIFY(configuration->addFile(path(QStringLiteral("src/util.C")), false));
        QVERIFY(configuration->addFile(path(QStringLiteral("start.S")), false));
        // Objects are taken by the link step directly (depth 0) rather than by the archive
        // step below it.
        QVERIFY(configuration->addFile(path(QStringLiteral("lib/prebuilt.o")), false));
        QCOMPARE(tree(*configuration),
                 QStringLiteral("HEX(LD(CC(src/main.c) CC(src/util.C) AS(start.S) lib/prebuilt.o))"));

        QVERIFY(!configuration->addFile(path(QStringLiteral("README.txt")), false));
        QVERIFY(!configuration->addFile(QDir::toNativeSeparators(path(QStringLiteral("board.dsn"))), false));
        QCOMPARE(configuration->otherFiles(),
                 QStringList({path(QStringLiteral("README.txt")), path(QStringLiteral("board.dsn"))}));

        // A file already present changes nothing, in the tree or among the other files.
        QVERIFY(configuration->addFile(path(QStringLiteral("src/../src/main.c")), false));
        QVERIFY(configuration->addFile(path(QStringLiteral("README.txt")), false));
        QCOMPARE(configuration->allFiles(),
                 QStringList({path(QStringLiteral("src/main.c")), path(QStringLiteral("src/util.C")),
                              path(QStringLiteral("start.S")), path(QStringLiteral("lib/prebuilt.o")),
                              path(QStringLiteral("README.txt")), path(QStringLiteral("board.dsn"))}));
        QVERIFY(configuration->containsFile(path(QStringLiteral("start.S"))));
        QVERIFY(!configuration->containsFile(path(QStringLiteral("other.c"))));
    }

    void keepsFilesWithoutTargetAmongTheOtherFiles()
    {
        auto configuration = configured(QStringLiteral("ATmega16"), QStringLiteral("Nightly"));
        QVERIFY(!configuration->target());
        QVERIFY(!configuration->addFile(path(QStringLiteral("main.c")), true));
        QCOMPARE(configuration->otherFiles(), QStringList(path(QStringLiteral("main.c"))));
        QVERIFY(workbench->output.isEmpty());

        // Selecting a real target takes the files into its tree.
        QVERIFY(configuration->selectTarget(QStringLiteral("Release")));
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(main.c)))"));
        QVERIFY(configuration->otherFiles().isEmpty());

        // Switching targets keeps the files; an unknown target keeps its name for saving.
        QVERIFY(!configuration->selectTarget(QStringLiteral("Nightly")));
        QCOMPARE(configuration->targetName(), QStringLiteral("Nightly"));
        QCOMPARE(configuration->allFiles(), QStringList(path(QStringLiteral("main.c"))));
        QVERIFY(!configuration->ensureRoot(true));
        QCOMPARE(workbench->output, QStringList(QStringLiteral("error: Cannot select build target.")));
    }

    void appliesAndNormalizesDefaultOptionValues()
    {
        auto configuration = configured();
        configuration->addFile(path(QStringLiteral("main.c")), true);
        // Every tool has a single node, so all its defaults are configuration-wide, each with
        // the tool it was found at.
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(main.c)))"));
        const QStringList wide = {QStringLiteral("-g=/HEX"), QStringLiteral("-g=/LD"), QStringLiteral("-O=0/CC!"),
                                  QStringLiteral("-g=/CC"), QStringLiteral("-mmcu==atmega16/CC")};
        QCOMPARE(describe(configuration->optionValues()), wide);

        // A second compile step gets the same defaults, which stay configuration-wide.
        configuration->addFile(path(QStringLiteral("util.c")), true);
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(main.c) CC(util.c)))"));
        QCOMPARE(describe(configuration->optionValues()), wide);

        // Selecting the same controller again changes nothing; another one swaps its own
        // default only.
        QVERIFY(configuration->selectController(QStringLiteral("AVR"), QStringLiteral("ATmega16"), true));
        QCOMPARE(describe(configuration->optionValues()), wide);
        QVERIFY(configuration->selectController(QStringLiteral("AVR"), QStringLiteral("ATmega328P"), true));
        QCOMPARE(describe(configuration->optionValues()),
                 QStringList({QStringLiteral("-g=/HEX"), QStringLiteral("-g=/LD"), QStringLiteral("-mmcu==atmega328p/CC"),
                              QStringLiteral("-O=0/CC!"), QStringLiteral("-g=/CC")}));
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(main.c) CC(util.c)))"));

        QVERIFY(!configuration->selectController(QStringLiteral("AVR"), QStringLiteral("ATtiny85"), true));
        QVERIFY(!configuration->selectController(QStringLiteral("PIC16"), QStringLiteral("ATmega16"), true));
        QCOMPARE(configuration->controller(), QStringLiteral("ATmega328P"));
    }

    void normalizesNodeValuesHeldByEveryNodeOfATool()
    {
        BuildProject configuration(workbench.get(), compilers.get());
        QVERIFY(load(configuration, QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/>
 <FILE TOOL="HEX">
  <FILE TOOL="LD">
   <FILE TOOL="CC">
    <FILE NAME="a.c"/>
    <OPTION NAME="-Wall"/>
    <OPTION NAME="-I" VALUE="inc" ID="INC"/>
    <OPTION NAME="-DA"/>
   </FILE>
   <FILE TOOL="CC">
    <FILE NAME="b.c"/>
    <OPTION NAME="-Wall" TOOL="CC"/>
    <OPTION NAME="-I" VALUE="inc" ID="INC"/>
    <OPTION NAME="-O" VALUE="2"/>
   </FILE>
  </FILE>
 </FILE>
 <OPTION NAME="-O" VALUE="2" TOOL="CC"/>
</CONFIGURATION>)")));
        QCOMPARE(tree(configuration),
                 QStringLiteral("HEX(LD(CC[-Wall -Iinc -DA](a.c) CC[-Wall -Iinc -O2](b.c)))"));

        // "-O2" is configuration-wide already, "-Wall" is held by both compile steps (one
        // with its tool left empty), "-DA" by one only; "-I" has an identifier and stays.
        configuration.normalizeOptionValues(false);
        QCOMPARE(tree(configuration), QStringLiteral("HEX(LD(CC[-Iinc -DA](a.c) CC[-Iinc](b.c)))"));
        QCOMPARE(describe(configuration.optionValues()),
                 QStringList({QStringLiteral("-O=2/CC"), QStringLiteral("-Wall=/CC")}));

        configuration.normalizeOptionValues(true);
        QCOMPARE(tree(configuration), QStringLiteral("HEX(LD(CC[-DA](a.c) CC(b.c)))"));
        QCOMPARE(describe(configuration.optionValues()),
                 QStringList({QStringLiteral("-O=2/CC"), QStringLiteral("-Wall=/CC"), QStringLiteral("-I=inc/CC#INC")}));

        // Equal configuration-wide values: the later one stays.
        configuration.optionValues().prepend({QStringLiteral("-Wall"), QStringLiteral("cc"), QString(), QString(), true});
        configuration.normalizeOptionValues(true);
        QCOMPARE(describe(configuration.optionValues()),
                 QStringList({QStringLiteral("-O=2/CC"), QStringLiteral("-Wall=/CC"), QStringLiteral("-I=inc/CC#INC")}));
    }

    void writesTheConfigurationElementExactly()
    {
        auto configuration = configured();
        configuration->setClock(QStringLiteral("8000000"));
        configuration->addFile(path(QStringLiteral("src/main.c")), true);
        configuration->addFile(path(QStringLiteral("start.S")), true);
        configuration->addFile(path(QStringLiteral("notes.txt")), true);
        configuration->addFile(QDir::cleanPath(folder->path() + QStringLiteral("/../shared/board.dsn")), true);
        configuration->optionValues().append(
            {QStringLiteral("-T"), QStringLiteral("LD"), QStringLiteral("link.ld"), QStringLiteral("SCRIPT"), false});
        const QString expected = QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16" CLOCK="8000000"/>
 <FILE TOOL="HEX">
  <FILE TOOL="LD">
   <FILE TOOL="CC">
    <FILE NAME="src/main.c"/>
   </FILE>
   <FILE TOOL="AS">
    <FILE NAME="start.S"/>
   </FILE>
  </FILE>
 </FILE>
 <FILE NAME="notes.txt"/>
 <FILE NAME="../shared/board.dsn"/>
 <OPTION NAME="-g" TOOL="HEX"/>
 <OPTION NAME="-g" TOOL="LD"/>
 <OPTION NAME="-O" VALUE="0" TOOL="CC" DEFAULT="1"/>
 <OPTION NAME="-g" TOOL="CC"/>
 <OPTION NAME="-mmcu=" VALUE="atmega16" TOOL="CC"/>
 <OPTION NAME="-g" TOOL="AS"/>
 <OPTION NAME="-T" VALUE="link.ld" TOOL="LD" ID="SCRIPT"/>
</CONFIGURATION>
)");
        QCOMPARE(saved(*configuration), expected);
    }

    void readsAndWritesBackEveryPart()
    {
        // Node files, node options at every level, leaves, other files, attributes missing
        // or empty; the clock is left out when empty.
        const QString text = QStringLiteral(R"(<CONFIGURATION NAME="Release" COMPILER="Test Chain" TARGET="Release">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega328P"/>
 <FILE NAME="Release/blinky.hex" TOOL="HEX">
  <OPTION NAME="-R" VALUE=".eeprom"/>
  <FILE NAME="Release/blinky.elf" TOOL="LD">
   <OPTION NAME="-Wl,-Map" DEFAULT="1"/>
   <FILE NAME="Release/main.o" TOOL="CC">
    <OPTION NAME="-DMAIN" VALUE="1" TOOL="CC" ID="DEF"/>
    <FILE NAME="main.c"/>
   </FILE>
   <FILE TOOL="AR">
    <FILE TOOL="CC">
     <FILE NAME="lib/ring.c"/>
    </FILE>
   </FILE>
  </FILE>
 </FILE>
 <FILE NAME="docs/readme.txt"/>
 <OPTION NAME="-O" VALUE="s" TOOL="CC" DEFAULT="1"/>
</CONFIGURATION>
)");
        BuildProject configuration(workbench.get(), compilers.get());
        QVERIFY(load(configuration, text));
        QCOMPARE(configuration.name(), QStringLiteral("Release"));
        QCOMPARE(configuration.controller(), QStringLiteral("ATmega328P"));
        QVERIFY(configuration.clock().isEmpty());
        QCOMPARE(configuration.root()->file(), path(QStringLiteral("Release/blinky.hex")));
        QCOMPARE(tree(configuration),
                 QStringLiteral("HEX[-R.eeprom](LD[-Wl,-Map](CC[-DMAIN1](main.c) AR(CC(lib/ring.c))))"));
        QCOMPARE(saved(configuration), text);

        // A copy is equal and independent.
        const std::unique_ptr<BuildProject> copy = configuration.copy();
        QCOMPARE(saved(*copy), text);
        copy->removeFile(path(QStringLiteral("main.c")));
        copy->setName(QStringLiteral("Changed"));
        QCOMPARE(saved(configuration), text);
        QVERIFY(saved(*copy) != text);
    }

    void rejectsBrokenConfigurationElements_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("output");
        QTest::newRow("other tag") << QStringLiteral(R"(<CONFIG NAME="Debug" COMPILER="Test Chain">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/></CONFIG>)") << QString();
        QTest::newRow("unknown compiler") << QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Missing Chain">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/></CONFIGURATION>)")
                                          << QStringLiteral("error: Cannot find compiler Missing Chain required for project.");
        QTest::newRow("no controller") << QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain"/>)")
                                       << QString();
        QTest::newRow("two trees") << QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/>
 <FILE TOOL="HEX"/>
 <FILE TOOL="HEX"/></CONFIGURATION>)") << QString();
        QTest::newRow("root of another tool") << QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/>
 <FILE TOOL="LD"/></CONFIGURATION>)") << QString();
        QTest::newRow("step the compiler lacks") << QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/>
 <FILE TOOL="HEX"><FILE TOOL="CC"/></FILE></CONFIGURATION>)") << QString();
    }

    void rejectsBrokenConfigurationElements()
    {
        QFETCH(QString, text);
        QFETCH(QString, output);
        BuildProject configuration(workbench.get(), compilers.get());
        QVERIFY(!load(configuration, text));
        QCOMPARE(workbench->output, output.isEmpty() ? QStringList() : QStringList(output));
    }

    void readsWhatTheCompilerNoLongerOffers()
    {
        // The compiler is looked up ignoring case; a controller it does not list and a
        // configuration without compiler survive a round trip.
        BuildProject configuration(workbench.get(), compilers.get());
        QVERIFY(load(configuration, QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="TEST CHAIN" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega8515" CLOCK="4 MHz"/></CONFIGURATION>)")));
        QCOMPARE(configuration.compilerName(), QStringLiteral("Test Chain"));
        QCOMPARE(saved(configuration), QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega8515" CLOCK="4 MHz"/>
</CONFIGURATION>
)"));

        const QString withoutCompiler = QStringLiteral(R"(<CONFIGURATION NAME="Debug" TARGET="Debug">
 <CONTROLLER FAMILY="8051" TYPE="AT89C51"/>
 <FILE NAME="main.c"/>
</CONFIGURATION>
)");
        BuildProject bare(workbench.get(), compilers.get());
        QVERIFY(load(bare, withoutCompiler));
        QVERIFY(!bare.compiler());
        QCOMPARE(saved(bare), withoutCompiler);
        QVERIFY(workbench->output.isEmpty());
    }

    void removesFilesAndStepsLeftWithoutInputs()
    {
        auto configuration = configured();
        for (const char *name : {"main.c", "util.c", "start.S", "notes.txt"})
            configuration->addFile(path(QLatin1String(name)), false);

        QVERIFY(configuration->removeFile(QDir::toNativeSeparators(path(QStringLiteral("notes.txt")))));
        QVERIFY(configuration->otherFiles().isEmpty());
        QVERIFY(configuration->removeFile(path(QStringLiteral("util.c"))));
        QCOMPARE(tree(*configuration), QStringLiteral("HEX(LD(CC(main.c) AS(start.S)))"));
        QVERIFY(!configuration->removeFile(path(QStringLiteral("util.c"))));
        QVERIFY(configuration->removeFile(path(QStringLiteral("./start.S"))));
        QVERIFY(configuration->removeFile(path(QStringLiteral("main.c"))));
        QVERIFY(!configuration->root());
        QVERIFY(configuration->allFiles().isEmpty());
    }

    void renamesFilesInTheTreeAndAmongTheOthers()
    {
        BuildProject configuration(workbench.get(), compilers.get());
        QVERIFY(load(configuration, QStringLiteral(R"(<CONFIGURATION NAME="Debug" COMPILER="Test Chain" TARGET="Debug">
 <CONTROLLER FAMILY="AVR" TYPE="ATmega16"/>
 <FILE NAME="Debug/blinky.hex" TOOL="HEX">
  <FILE NAME="Debug/blinky.elf" TOOL="LD">
   <FILE NAME="Debug/main.o" TOOL="CC">
    <FILE NAME="main.c"/>
   </FILE>
   <FILE NAME="lib.o"/>
  </FILE>
 </FILE>
 <FILE NAME="notes.txt"/>
</CONFIGURATION>)")));
        QVERIFY(!configuration.renameFile(path(QStringLiteral("main.c")), path(QStringLiteral("notes.txt"))));
        QVERIFY(!configuration.renameFile(path(QStringLiteral("main.c")), path(QStringLiteral("lib.o"))));
        QVERIFY(!configuration.renameFile(path(QStringLiteral("gone.c")), path(QStringLiteral("new.c"))));
        QVERIFY(!configuration.renameFile(path(QStringLiteral("Debug/main.o")), path(QStringLiteral("new.o"))));

        // The compile step was named after its only input; the Makefile writer names it again.
        QVERIFY(configuration.renameFile(path(QStringLiteral("main.c")), path(QStringLiteral("blinky.c"))));
        const ProjectNode *compile = configuration.root()->child(0)->child(0);
        QCOMPARE(compile->child(0)->file(), path(QStringLiteral("blinky.c")));
        QVERIFY(compile->file().isEmpty());
        // The link step has two inputs and keeps its name.
        QVERIFY(configuration.renameFile(path(QStringLiteral("lib.o")), path(QStringLiteral("ring.o"))));
        QCOMPARE(configuration.root()->child(0)->file(), path(QStringLiteral("Debug/blinky.elf")));

        QVERIFY(configuration.renameFile(path(QStringLiteral("notes.txt")), path(QStringLiteral("readme.txt"))));
        QCOMPARE(configuration.allFiles(),
                 QStringList({path(QStringLiteral("blinky.c")), path(QStringLiteral("ring.o")),
                              path(QStringLiteral("readme.txt"))}));
    }

    void switchingCompilersPlacesTheFilesAgain()
    {
        BuildProject configuration(workbench.get(), compilers.get());
        configuration.addFile(path(QStringLiteral("main.c")), true);
        configuration.addFile(path(QStringLiteral("board.dsn")), true);
        QVERIFY(!configuration.root());
        QVERIFY(!configuration.selectCompiler(QStringLiteral("Missing Chain")));

        QVERIFY(configuration.selectTarget(QStringLiteral("Debug")) == false);
        QVERIFY(configuration.selectCompiler(QStringLiteral("Test Chain")));
        QCOMPARE(tree(configuration), QStringLiteral("HEX(LD(CC(main.c)))"));
        QCOMPARE(configuration.otherFiles(), QStringList(path(QStringLiteral("board.dsn"))));
        QCOMPARE(describe(configuration.optionValues()),
                 QStringList({QStringLiteral("-g=/HEX"), QStringLiteral("-g=/LD"), QStringLiteral("-O=0/CC!"),
                              QStringLiteral("-g=/CC")}));
        // The same name again changes nothing.
        configuration.optionValues().clear();
        QVERIFY(configuration.selectCompiler(QStringLiteral("Test Chain")));
        QVERIFY(configuration.optionValues().isEmpty());
    }
};

ZMX_TEST(BuildProjectTest)

#include "tst_buildproject.moc"
