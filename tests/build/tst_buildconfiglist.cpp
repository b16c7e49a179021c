#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString loadingDir = QStringLiteral(ZMX_FIXTURES "/compilers/loading");

void writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString compiler(const QString &name, const QString &body)
{
    return QStringLiteral("<COMPILER NAME=\"%1\">%2</COMPILER>").arg(name, body);
}

QStringList fileValues(const QList<FileSpec> &specs)
{
    QStringList values;
    for (const FileSpec &spec : specs)
        values.append(spec.value);
    return values;
}

QStringList optionTexts(const QList<OptionValue> &options)
{
    QStringList texts;
    for (const OptionValue &option : options)
        texts.append(option.tool + QLatin1Char('|') + option.name + option.value);
    return texts;
}

QStringList definitionNames(const QList<OptionDefinition> &definitions)
{
    QStringList names;
    for (const OptionDefinition &definition : definitions)
        names.append(definition.name);
    return names;
}

// "file(process)" per node, children indented by two blanks.
void describeTree(const BuildTreeNode *node, int depth, QStringList &lines)
{
    lines.append(QString(depth * 2, QLatin1Char(' ')) + node->file() + QLatin1Char('(') + node->process()->name()
                 + QLatin1Char(')'));
    for (int index = 0; index < node->childCount(); ++index) {
        QCOMPARE(node->child(index)->parent(), node);
        describeTree(node->child(index), depth + 1, lines);
    }
}

}

class BuildConfigListTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *list = nullptr;

    const BuildConfig &alpha() const { return *list->find(QStringLiteral("alpha tools")); }

private slots:
    void init()
    {
        workbench = new FakeWorkbench;
        workbench->compilersDir = loadingDir;
        list = new BuildConfigList(workbench);
        QVERIFY(list->loadAll());
    }

    void cleanup()
    {
        delete list;
        delete workbench;
    }

    void loadsEveryFileAndReportsEachFailure()
    {
        // alpha, beta (same name in other letters), broken, delta, zeta (no COMPILER):
        // the first file of a name wins, a broken one is dropped, a foreign one is empty.
        QCOMPARE(list->names(), QStringList({QStringLiteral("Alpha Tools"), QStringLiteral("Delta Quorvin"), QString()}));
        const QString alphaPath = QDir(loadingDir).absoluteFilePath(QStringLiteral("alpha.xml"));
        const QString betaPath = QDir(loadingDir).absoluteFilePath(QStringLiteral("beta.xml"));
        QCOMPARE(workbench->output.size(), 5);
        QCOMPARE(workbench->output.at(0), QStringLiteral("error: Unknown option parameter type number"));
        QCOMPARE(workbench->output.at(1), QStringLiteral("error: Error loading %1\n").arg(alphaPath));
        QCOMPARE(workbench->output.at(2), QStringLiteral("error: Duplicated compiler configuration \"ALPHA TOOLS\":\n%1,\n%2.\n")
                                              .arg(alphaPath, betaPath));
        QVERIFY(workbench->output.at(3).startsWith(QStringLiteral("message: Error opening broken.xml: ")));
        QVERIFY(workbench->output.at(3).contains(QStringLiteral(" at line 4, column ")));
        QCOMPARE(workbench->output.at(4),
                 QStringLiteral("error: Error loading %1\n").arg(QDir(loadingDir).absoluteFilePath(QStringLiteral("broken.xml"))));

        QCOMPARE(alpha().version(), QStringLiteral("2.1"));
        QCOMPARE(alpha().webAddress(), QStringLiteral("https://example.org/alpha"));
        QCOMPARE(alpha().filePath(), alphaPath);
        QCOMPARE(alpha().filePath(true), QStringLiteral("alpha.xml"));
        QVERIFY(!list->find(QStringLiteral("Broken")));

        // Reloading replaces the list instead of adding to it.
        QVERIFY(list->loadAll());
        QCOMPARE(list->configurations().size(), 3);

        QTemporaryDir empty;
        writeFile(empty.filePath(QStringLiteral("readme.txt")), QStringLiteral("<COMPILER NAME='x'/>"));
        QVERIFY(!list->loadAll(empty.path()));
        QVERIFY(list->configurations().isEmpty());
        QVERIFY(!list->loadAll(empty.filePath(QStringLiteral("missing"))));

        BuildConfigList detached(nullptr);
        QVERIFY(!detached.loadAll());
        QVERIFY(detached.loadAll(loadingDir));
        QCOMPARE(detached.configurations().size(), 3);
    }

    void readsFileKindsAndMatchesSourceFiles()
    {
        QCOMPARE(alpha().fileKinds().size(), 4);
        const FileKind header = alpha().fileKinds().at(2);
        QCOMPARE(header.category, QStringLiteral("Header"));
        QCOMPARE(header.icon, QStringLiteral("project_header.png"));
        QVERIFY(!header.isSource); // only exactly "1" marks a source kind
        QCOMPARE(alpha().sourceSuffixes(), QStringList({QStringLiteral("c"), QStringLiteral("S")}));

        const QStringList files = {QStringLiteral("/p/main.C"), QStringLiteral("/p/start.s"), QStringLiteral("/p/io.h"),
                                   QStringLiteral("/p/board.DSN"), QStringLiteral("/p/c"), QStringLiteral("/p.c/readme")};
        QCOMPARE(alpha().sourceFiles(files),
                 QStringList({QStringLiteral("/p/main.C"), QStringLiteral("/p/start.s"), QStringLiteral("/p/board.DSN")}));
        QCOMPARE(alpha().sourceFiles(files, true), QStringList());
        QCOMPARE(list->allSourceSuffixes(), QStringList({QStringLiteral("c"), QStringLiteral("S"), QStringLiteral("asm")}));
    }

    void readsToolsWithTheirOptionDefinitions()
    {
        // The tool with the unknown parameter type is gone; the others stay.
        QCOMPARE(alpha().tools().size(), 2);
        const BuildTool *cc = alpha().tools().at(0);
        QCOMPARE(cc->file(), QStringLiteral("alpha-cc"));
        QCOMPARE(cc->names(), QStringList({QStringLiteral("CC"), QStringLiteral("AS"), QStringLiteral("LD")}));

        const QList<OptionDefinition> all = cc->optionDefinitions(QString());
        QCOMPARE(all.size(), 5);
        const OptionDefinition &optimise = all.at(0);
        QCOMPARE(optimise.type, OptionDefinition::Choice);
        QCOMPARE(optimise.kind, QStringLiteral("opt"));
        QCOMPARE(optimise.choices.size(), 2);
        QVERIFY(!optimise.choices.at(0).isDefault);
        QCOMPARE(optimise.choices.at(1).value, QStringLiteral("s"));
        QCOMPARE(optimise.choices.at(1).description, QStringLiteral("Size"));
        QVERIFY(optimise.choices.at(1).isDefault);
        QCOMPARE(all.at(1).type, OptionDefinition::None);
        QCOMPARE(all.at(2).type, OptionDefinition::String);
        QVERIFY(all.at(2).multiple);
        QCOMPARE(all.at(2).separator, QStringLiteral(" "));
        QCOMPARE(all.at(3).type, OptionDefinition::Number);
        QCOMPARE(all.at(4).id, QStringLiteral("SCRIPT"));

        QCOMPARE(definitionNames(cc->optionDefinitions(QStringLiteral("AS"))), QStringList({QStringLiteral("-g")}));
        QCOMPARE(definitionNames(cc->optionDefinitions(QStringLiteral("LD"))),
                 QStringList({QStringLiteral("-g"), QStringLiteral("--stack="), QStringLiteral("-T")}));
        QVERIFY(cc->optionDefinitions(QStringLiteral("cc")).isEmpty());
        QVERIFY(cc->optionDefinitions(QStringLiteral("SIZE")).isEmpty());

        const BuildTool *size = alpha().tools().at(1);
        QVERIFY(!size->allOptionDefinitions().at(0).multiple);
        QVERIFY(!size->allOptionDefinitions().at(0).choices.at(0).isDefault);
        QCOMPARE(definitionNames(alpha().toolOptionDefinitions(QStringLiteral("SIZE"))), QStringList({QStringLiteral("-A")}));
        QCOMPARE(alpha().toolOptionDefinitions(QString()).size(), 6);

        QCOMPARE(alpha().toolForName(QStringLiteral("LD")), cc);
        QVERIFY(!alpha().toolForName(QStringLiteral("ld")));
        QCOMPARE(alpha().toolFile(QStringLiteral("SIZE")), QStringLiteral("alpha-size"));
        QCOMPARE(alpha().toolFile(QStringLiteral("HEX")), QString());
    }

    void readsProcessesAndDropsIncompleteOnes()
    {
        QStringList names;
        for (const BuildProcess *process : alpha().processes())
            names.append(process->name());
        QCOMPARE(names, QStringList({QStringLiteral("Intel HEX"), QStringLiteral("Link"), QStringLiteral("Compile"),
                                     QStringLiteral("Assemble"), QStringLiteral("Only shared files"),
                                     QStringLiteral("Loops back")}));
        QCOMPARE(alpha().processToolNames(),
                 QStringList({QStringLiteral("HEX"), QStringLiteral("LD"), QStringLiteral("CC"), QStringLiteral("AS")}));

        const BuildProcess *link = alpha().processes().at(1);
        QVERIFY(link->takesAllInputs());
        QVERIFY(!alpha().processes().at(0)->takesAllInputs());
        QCOMPARE(link->outputs().size(), 1);
        const OutputDefinition elf = link->outputFor(QStringLiteral("ELF"));
        QCOMPARE(elf.output, QStringLiteral("elf"));
        QCOMPARE(elf.name, QStringLiteral("firmware.elf"));
        QCOMPARE(elf.option, QStringLiteral("ELF"));
        QCOMPARE(optionTexts(elf.optionValues), QStringList({QStringLiteral("LD|-Wl,--gc-sections"), QStringLiteral("LD|-g")}));
        QVERIFY(elf.optionValues.at(1).isDefault);
        // The output's own files first, then the files shared by every output.
        QCOMPARE(fileValues(elf.inputs), QStringList({QStringLiteral("o"), QStringLiteral("ld")}));
        QCOMPARE(elf.inputs.at(1).option, QStringLiteral("SCRIPT"));
        QCOMPARE(elf.inputs.at(1).name, QStringLiteral("link.log"));
        QCOMPARE(fileValues(elf.temporaryFiles), QStringList({QStringLiteral("map")}));
        QCOMPARE(elf.temporaryFiles.at(0).name, QStringLiteral("%OUTFILE_DIR%/firmware.map"));
        QCOMPARE(fileValues(elf.errorFiles), QStringList({QStringLiteral("err"), QStringLiteral("log")}));
        QVERIFY(elf.errorFiles.at(0).hideUnmatched);  // "no" is neither empty, "0" nor "false"
        QVERIFY(!elf.errorFiles.at(1).hideUnmatched); // "FALSE"
        QCOMPARE(link->preCommands(), QStringList({QStringLiteral("echo linking")}));
        QCOMPARE(link->postCommands(), QStringList({QStringLiteral("alpha-size %OUTFILE%"), QStringLiteral("echo done")}));
        QCOMPARE(link->messageDefinitions().size(), 1);

        QVERIFY(link->outputFor(QStringLiteral("ELF"), true).name.isEmpty());
        QCOMPARE(link->outputFor(QStringLiteral("ELF"), true).output, QStringLiteral("ELF"));
        QCOMPARE(fileValues(link->inputsFor(QStringLiteral("elf"), true)), fileValues(elf.inputs));
        QVERIFY(link->inputsFor(QStringLiteral("hex")).isEmpty());

        const BuildProcess *compile = alpha().processes().at(2);
        const MessageDefinition message = compile->messageDefinitions().at(0);
        QCOMPARE(message.pattern, QStringLiteral("^([^:]+):(\\d+):(\\d+): (error|warning)"));
        QCOMPARE(message.fields.size(), 3);
        QCOMPARE(message.fields.at(1).offset, 0); // not a number
        QCOMPARE(message.fields.at(2).position, 3);
        QCOMPARE(message.fields.at(2).offset, -1);
        const OutputDefinition object = compile->outputFor(QStringLiteral("o"));
        QCOMPARE(fileValues(object.temporaryFiles), QStringList({QStringLiteral("lst")}));
        QVERIFY(!object.errorFiles.at(0).hideUnmatched); // "0"

        const BuildProcess *assemble = alpha().processes().at(3);
        QCOMPARE(assemble->outputs().size(), 2);
        QCOMPARE(fileValues(assemble->inputsFor(QStringLiteral("lst"))), QStringList({QStringLiteral("S")}));
        QVERIFY(alpha().processes().at(4)->outputs().isEmpty());

        QCOMPARE(alpha().processesProducing(QStringLiteral("O")).size(), 2);
        QVERIFY(alpha().processesProducing(QStringLiteral("O"), true).isEmpty());
        QCOMPARE(alpha().processesProducing(QStringLiteral("elf")),
                 QList<const BuildProcess *>({link, alpha().processes().at(5)}));
    }

    void readsFamiliesTargetsAndDefaultOptions()
    {
        QCOMPARE(alpha().families().size(), 2);
        QCOMPARE(alpha().familyIndex(QStringLiteral("avr")), 1);
        QCOMPARE(alpha().familyIndex(QStringLiteral("PIC")), -1);
        QCOMPARE(alpha().controllerIndex(1, QStringLiteral("ATTINY85")), 1);
        QCOMPARE(alpha().controllerIndex(0, QStringLiteral("ATtiny85")), -1);
        QCOMPARE(alpha().controllerIndex(7, QStringLiteral("ATtiny85")), -1);
        QCOMPARE(alpha().controllerSupported(QStringLiteral("AVR"), QStringLiteral("atmega16")), 0);
        QCOMPARE(alpha().controllerSupported(QStringLiteral("Interleaved"), QStringLiteral("atmega16")), -1);

        const EnvironmentEntry path = alpha().families().at(1).controllers.at(0).environment.at(0);
        QVERIFY(!path.isSet);
        QCOMPARE(path.separator, QStringLiteral(":"));
        QCOMPARE(path.value, QStringLiteral("/opt/alpha"));

        QCOMPARE(alpha().targets().size(), 4);
        const CompilerTarget *debug = alpha().target(QStringLiteral("DEBUG"));
        QVERIFY(debug);
        QCOMPARE(debug->output.value, QStringLiteral("hex")); // the last FILE with an OUTPUT
        QVERIFY(debug->environment.at(0).isSet);
        QVERIFY(debug->environment.at(0).separator.isEmpty());
        QVERIFY(!alpha().target(QStringLiteral("Profile")));
        QVERIFY(alpha().target(QStringLiteral("Nothing"))->output.value.isEmpty());

        const QString avr = QStringLiteral("avr");
        const QString mega = QStringLiteral("ATMEGA16");
        QCOMPARE(optionTexts(alpha().defaultOptionValues(QStringLiteral("debug"), QStringLiteral("CC"), avr, mega)),
                 QStringList({QStringLiteral("CC|-O0"), QStringLiteral("|-g"), QStringLiteral("CC|-mmcu=atmega16")}));
        QCOMPARE(optionTexts(alpha().defaultOptionValues(QStringLiteral("Debug"), QStringLiteral("LD"), avr, mega)),
                 QStringList({QStringLiteral("|-g"), QStringLiteral("LD|-mmcu=atmega16")}));
        QCOMPARE(alpha().defaultOptionValues(QStringLiteral("Debug"), QString(), avr, mega).size(), 4);
        QCOMPARE(optionTexts(alpha().defaultOptionValues(QStringLiteral("Release"), QStringLiteral("CC"), avr,
                                                         QStringLiteral("unknown"))),
                 QStringList({QStringLiteral("CC|-Os")}));
        QVERIFY(alpha().defaultOptionValues(QStringLiteral("Release"), QStringLiteral("CC"), avr, mega).at(0).isDefault);
    }

    void buildsTargetTreesWithoutCycles()
    {
        QStringList lines;
        describeTree(alpha().target(QStringLiteral("Debug"))->buildTree.get(), 0, lines);
        // "Loops back" makes elf from hex, which is already on the way up: it gets a node
        // but adds nothing below it. The linker script input "ld" is made by nothing.
        QCOMPARE(lines, QStringList({QStringLiteral("hex(Intel HEX)"), QStringLiteral("  elf(Link)"),
                                     QStringLiteral("    o(Compile)"), QStringLiteral("    o(Assemble)"),
                                     QStringLiteral("  elf(Loops back)")}));
        const BuildTreeNode *root = alpha().target(QStringLiteral("Release"))->buildTree.get();
        QVERIFY(root);
        QVERIFY(!root->parent());
        QCOMPARE(root->child(0)->output().name, QStringLiteral("firmware.elf"));
        QCOMPARE(root->child(0)->child(1)->output().output, QStringLiteral("o"));
        QVERIFY(!alpha().target(QStringLiteral("Nothing"))->buildTree);
        QVERIFY(!alpha().target(QStringLiteral("Orphan"))->buildTree);
    }

    void choosesTheDefaultCompiler()
    {
        QTemporaryDir dir;
        const QString avr = QStringLiteral("<FAMILY NAME=\"AVR\"><CONTROLLER NAME=\"ATmega16\"/></FAMILY>");
        writeFile(dir.filePath(QStringLiteral("1.xml")),
                  compiler(QStringLiteral("Plain C"), QStringLiteral("<FILE NAME=\"c\" SOURCE=\"1\"/>") + avr));
        writeFile(dir.filePath(QStringLiteral("2.xml")),
                  compiler(QStringLiteral("Other C"), QStringLiteral("<FILE NAME=\"c\" SOURCE=\"1\"/>") + avr));
        writeFile(dir.filePath(QStringLiteral("3.xml")),
                  compiler(QStringLiteral("Dravenhol C"), QStringLiteral("<FILE NAME=\"C\" SOURCE=\"1\"/>") + avr));
        writeFile(dir.filePath(QStringLiteral("4.xml")),
                  compiler(QStringLiteral("Assembler"), QStringLiteral("<FILE NAME=\"asm\" SOURCE=\"1\"/>") + avr));
        writeFile(dir.filePath(QStringLiteral("5.xml")),
                  compiler(QStringLiteral("Quorvin PIC"), QStringLiteral("<FILE NAME=\"c\" SOURCE=\"1\"/>"
                                                                        "<FAMILY NAME=\"PIC\"><CONTROLLER NAME=\"X\"/></FAMILY>")));
        QVERIFY(list->loadAll(dir.path()));

        const QString family = QStringLiteral("avr");
        const QString controller = QStringLiteral("atmega16");
        // Equal counts go to a later configuration only when it carries the maker's name.
        QCOMPARE(list->defaultCompiler(family, controller, {QStringLiteral("a.c"), QStringLiteral("b.c")}),
                 QStringLiteral("Dravenhol C"));
        QCOMPARE(list->defaultCompiler(family, controller,
                                       {QStringLiteral("a.asm"), QStringLiteral("b.asm"), QStringLiteral("c.c")}),
                 QStringLiteral("Assembler"));
        QCOMPARE(list->defaultCompiler(family, controller, {QStringLiteral("board.dsn")}), QStringLiteral("Dravenhol C"));
        QCOMPARE(list->defaultCompiler(family, controller, {}), QStringLiteral("Dravenhol C"));
        QCOMPARE(list->defaultCompiler(QStringLiteral("PIC"), QStringLiteral("X"), {}), QStringLiteral("Quorvin PIC"));
        QCOMPARE(list->defaultCompiler(QStringLiteral("PIC"), QStringLiteral("Y"), {QStringLiteral("a.c")}), QString());

        writeFile(dir.filePath(QStringLiteral("3.xml")), compiler(QStringLiteral("Third C"), avr));
        QVERIFY(list->loadAll(dir.path()));
        QCOMPARE(list->defaultCompiler(family, controller, {QStringLiteral("a.c")}), QStringLiteral("Plain C"));
        QCOMPARE(list->defaultCompiler(family, controller, {QStringLiteral("a.h")}), QString());
    }

    void keepsDetectionResultsInTheSettings()
    {
        BuildConfig *delta = list->find(QStringLiteral("Delta Quorvin"));
        QVERIFY(!delta->isConfigured());
        QCOMPARE(list->names(true), QStringList());

        alpha().storeDetection(true, QStringLiteral("/opt/alpha/bin"));
        delta->storeDetection(false, QStringLiteral("/opt/delta"));
        QCOMPARE(list->names(true), QStringList({QStringLiteral("Alpha Tools")}));
        QCOMPARE(alpha().compilerDirectory(), QStringLiteral("/opt/alpha/bin"));
        QCOMPARE(delta->compilerDirectory(), QString()); // stored, but not configured

        // Rewriting one element keeps the others and the array size.
        delta->storeDetection(true, QStringLiteral("/opt/delta/bin"));
        alpha().storeDetection(false, QString());
        QSettings *settings = workbench->settings();
        QCOMPARE(settings->beginReadArray(QStringLiteral("compilers")), 2);
        settings->setArrayIndex(0);
        QCOMPARE(settings->value(QStringLiteral("name")).toString(), QStringLiteral("Alpha Tools"));
        QCOMPARE(settings->value(QStringLiteral("configured")).toBool(), false);
        settings->setArrayIndex(1);
        QCOMPARE(settings->value(QStringLiteral("dir")).toString(), QStringLiteral("/opt/delta/bin"));
        settings->endArray();
        QCOMPARE(list->names(true), QStringList({QStringLiteral("Delta Quorvin")}));

        // Names are matched exactly; the nameless configuration never gets an element.
        settings->beginWriteArray(QStringLiteral("compilers"), 2);
        settings->setArrayIndex(1);
        settings->setValue(QStringLiteral("name"), QStringLiteral("delta quorvin"));
        settings->endArray();
        QVERIFY(!delta->isConfigured());
        BuildConfig *nameless = list->find(QString());
        nameless->storeDetection(true, QStringLiteral("/x"));
        QVERIFY(!nameless->isConfigured());
        QCOMPARE(settings->beginReadArray(QStringLiteral("compilers")), 2);
        settings->endArray();

        BuildConfig detached(nullptr);
        QVERIFY(detached.load(QDir(loadingDir).absoluteFilePath(QStringLiteral("delta.xml"))));
        detached.storeDetection(true, QStringLiteral("/x"));
        QVERIFY(!detached.isConfigured());
        QVERIFY(detached.compilerDirectory().isEmpty());
    }

    void writesOptionValuesAsTheyAreRead()
    {
        QDomDocument document;
        OptionValue bare;
        bare.name = QStringLiteral("-g");
        QDomElement element = bare.toElement(document);
        QCOMPARE(element.tagName(), QStringLiteral("OPTION"));
        QCOMPARE(element.attributes().count(), 1);
        QCOMPARE(OptionValue::fromElement(element), bare);

        OptionValue full{QStringLiteral("-T"), QStringLiteral("LD"), QStringLiteral("x.ld"), QStringLiteral("SCRIPT"), true};
        element = full.toElement(document);
        QCOMPARE(element.attribute(QStringLiteral("DEFAULT")), QStringLiteral("1"));
        QCOMPARE(OptionValue::fromElement(element), full);
        element.setAttribute(QStringLiteral("DEFAULT"), QStringLiteral("yes"));
        QVERIFY(!OptionValue::fromElement(element).isDefault);
    }
};

ZMX_TEST(BuildConfigListTest)
#include "tst_buildconfiglist.moc"
