#include "testfiles.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The compiler configurations shipped in data/compilers, checked against the real tool
// chains: loading, detection, the command lines of their processes and their message
// patterns on what the tools really print.

namespace {

const QString dataDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");

struct Step
{
    QString process;
    QStringList inputs;
    QString output;
};

struct Message
{
    QString file;
    int line = 0;
    int column = 0;
};

// The first definition that matches and names a file, as the build output parser takes it.
std::optional<Message> parse(const QList<MessageDefinition> &definitions, const QString &text)
{
    for (const MessageDefinition &definition : definitions) {
        const QRegularExpressionMatch match = QRegularExpression(definition.pattern).match(text);
        if (!match.hasMatch())
            continue;
        Message message;
        for (const MessageField &field : definition.fields) {
            const QString value = match.captured(field.position);
            if (field.name == QLatin1String("FILENAME"))
                message.file = value;
            else if (field.name == QLatin1String("LINE"))
                message.line = value.toInt() + field.offset;
            else if (field.name == QLatin1String("COLUMN"))
                message.column = value.toInt() + field.offset;
        }
        if (!message.file.isEmpty())
            return message;
    }
    return std::nullopt;
}

QList<MessageDefinition> allMessages(const BuildConfig &config)
{
    QList<MessageDefinition> all;
    for (const BuildProcess *process : config.processes()) {
        for (const MessageDefinition &definition : process->messageDefinitions()) {
            if (!all.contains(definition))
                all.append(definition);
        }
    }
    return all;
}

QStringList treeLines(const BuildTreeNode *node, int depth = 0)
{
    QStringList lines{QString(depth * 2, QLatin1Char(' ')) + node->file() + QLatin1Char(' ') + node->process()->name()};
    for (int index = 0; index < node->childCount(); ++index)
        lines += treeLines(node->child(index), depth + 1);
    return lines;
}

const BuildProcess *processNamed(const BuildConfig &config, const QString &name)
{
    for (const BuildProcess *process : config.processes()) {
        if (process->name() == name)
            return process;
    }
    return nullptr;
}

QString optionsFor(const BuildConfig &config, const QString &target, const QString &tool, const QString &family,
                   const QString &controller)
{
    QStringList parts;
    for (const OptionValue &option : config.defaultOptionValues(target, tool, family, controller))
        parts.append(option.name + option.value);
    return parts.join(QLatin1Char(' '));
}

// The steps' command lines with their file placeholders filled in, the target's and the
// controller's options as each tool's flags, and the tools by name: what the generated
// Makefile will hold, reduced to the placeholders these configurations use.
QString makefile(const BuildConfig &config, const QString &target, const QString &family, const QString &controller,
                 const QString &clock, const QList<Step> &steps)
{
    QString text = QStringLiteral("CLOCK = %1\n").arg(clock);
    for (const QString &tool : config.processToolNames()) {
        text += tool + QLatin1Char('=') + config.toolFile(tool) + QLatin1Char('\n');
        text += tool.toUpper() + QStringLiteral("FLAGS=") + optionsFor(config, target, tool, family, controller) + QLatin1Char('\n');
    }
    text += QStringLiteral("all: ") + steps.last().output + QLatin1Char('\n');
    for (const Step &step : steps) {
        const BuildProcess *process = processNamed(config, step.process);
        if (!process)
            return QString();
        const QFileInfo output(step.output);
        const auto fill = [&](QString command) {
            return command.replace(QLatin1String("%INFILES%"), step.inputs.join(QLatin1Char(' ')))
                .replace(QLatin1String("%INFILE_NAME%"), QFileInfo(step.inputs.first()).baseName())
                .replace(QLatin1String("%INFILE%"), step.inputs.join(QLatin1Char(' ')))
                .replace(QLatin1String("%OUTFILE_DIR%"), output.path())
                .replace(QLatin1String("%OUTFILE_NAME%"), output.completeBaseName())
                .replace(QLatin1String("%OUTFILE%"), step.output)
                .replace(QLatin1String("%OPTIONS%"), QString());
        };
        text += step.output + QStringLiteral(": ") + step.inputs.join(QLatin1Char(' ')) + QLatin1Char('\n');
        text += QStringLiteral("\tmkdir -p ") + output.path() + QLatin1Char('\n');
        for (const QString &command : process->preCommands())
            text += QLatin1Char('\t') + fill(command) + QLatin1Char('\n');
        text += QLatin1Char('\t') + fill(process->commandLine()) + QLatin1Char('\n');
        for (const QString &command : process->postCommands())
            text += QLatin1Char('\t') + fill(command) + QLatin1Char('\n');
    }
    return text;
}

void writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

struct MakeRun
{
    int exitCode = -1;
    QStringList lines;
};

MakeRun runMake(const QString &directory, const CompilerTarget &target, const QString &compilerDir)
{
    QProcess make;
    make.setWorkingDirectory(directory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), environment.value(QStringLiteral("PATH")) + QLatin1Char(':') + compilerDir);
    for (const EnvironmentEntry &entry : target.environment)
        environment.insert(entry.name, entry.value);
    make.setProcessEnvironment(environment);
    make.setProcessChannelMode(QProcess::MergedChannels);
    make.start(QStringLiteral("make"), {QStringLiteral("-f"), QStringLiteral("Makefile")});
    MakeRun run;
    if (!make.waitForFinished(120000))
        return run;
    run.exitCode = make.exitCode();
    run.lines = QString::fromLocal8Bit(make.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

}

class CompilerDataTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<BuildConfigList> list;

    const BuildConfig &config(const QString &name) { return *list->find(name); }

    // Detects the tool chain and builds the program; the directory of the detected tools is
    // what the build puts on the search path.
    void build(const QString &name, const QString &target, const QString &family, const QString &controller,
               const QString &clock, const QMap<QString, QString> &sources, const QList<Step> &steps,
               const QString &failing, const Message &expected)
    {
        const BuildConfig &compiler = config(name);
        const DetectionResult detected = CompilerDetector(workbench.get()).detect(compiler);
        if (!detected.detected())
            QSKIP(qPrintable(name + QStringLiteral(" is not installed here")));

        QTemporaryDir project;
        for (auto source = sources.begin(); source != sources.end(); ++source)
            writeFile(project.filePath(source.key()), source.value());
        const QString text = makefile(compiler, target, family, controller, clock, steps);
        QVERIFY(!text.isEmpty());
        writeFile(project.filePath(QStringLiteral("Makefile")), text);
        const CompilerTarget *targetRecord = compiler.target(target);
        MakeRun run = runMake(project.path(), *targetRecord, detected.directory);
        QVERIFY2(run.exitCode == 0, qPrintable(run.lines.join(QLatin1Char('\n'))));
        QVERIFY(TestFiles::isIntelHex(project.filePath(steps.last().output)));

        // The same build with a mistake: the tool's own message becomes a link.
        writeFile(project.filePath(expected.file), failing);
        run = runMake(project.path(), *targetRecord, detected.directory);
        QVERIFY(run.exitCode != 0);
        bool linked = false;
        for (const QString &line : std::as_const(run.lines)) {
            const std::optional<Message> message = parse(allMessages(compiler), line);
            if (message && message->file == expected.file && message->line == expected.line
                && message->column == expected.column)
                linked = true;
        }
        QVERIFY2(linked, qPrintable(run.lines.join(QLatin1Char('\n'))));
    }

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        list = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(list->loadAll(dataDir));
    }

    void cleanup()
    {
        list.reset();
        workbench.reset();
    }

    void loadsCleanlyWithTheAgreedNames()
    {
        QVERIFY2(workbench->output.isEmpty(), qPrintable(workbench->allOutput()));
        QStringList names = list->names();
        names.sort();
        QCOMPARE(names, QStringList({QStringLiteral("AVR GCC"), QStringLiteral("GPUTILS PIC"), QStringLiteral("SDCC MCS51")}));

        const QList<QPair<QString, QStringList>> controllers = {
            {QStringLiteral("AVR GCC"), {QStringLiteral("AVR"), QStringLiteral("ATmega328P"), QStringLiteral("ATmega16"), QStringLiteral("ATtiny85")}},
            {QStringLiteral("SDCC MCS51"), {QStringLiteral("8051"), QStringLiteral("AT89C51"), QStringLiteral("AT89C52")}},
            {QStringLiteral("GPUTILS PIC"), {QStringLiteral("PIC16"), QStringLiteral("PIC16F877A"), QStringLiteral("PIC16F84A"), QStringLiteral("PIC16F628A")}}};
        for (const auto &[name, wanted] : controllers) {
            const BuildConfig &compiler = config(name);
            QCOMPARE(compiler.families().at(0).name, wanted.first());
            for (const QString &controller : wanted.mid(1)) {
                const int index = compiler.controllerSupported(wanted.first(), controller);
                QVERIFY2(index >= 0, qPrintable(name + QLatin1Char(' ') + controller));
                // The exact spelling, since projects and the simulator list use it.
                QCOMPARE(compiler.families().at(0).controllers.at(index).name, controller);
            }
            for (const QString &target : {QStringLiteral("Debug"), QStringLiteral("Release")}) {
                const CompilerTarget *record = compiler.target(target);
                QVERIFY(record);
                QCOMPARE(record->name, target);
                QCOMPARE(record->output.value, QStringLiteral("hex"));
                QVERIFY(record->buildTree);
            }
            for (const FileKind &kind : compiler.fileKinds())
                QCOMPARE(kind.category, kind.isSource ? QStringLiteral("Source") : QStringLiteral("Header"));
            for (const QString &tool : compiler.processToolNames())
                QVERIFY2(compiler.toolForName(tool), qPrintable(name + QLatin1Char(' ') + tool));
            for (const MessageDefinition &definition : allMessages(compiler))
                QVERIFY2(QRegularExpression(definition.pattern).isValid(), qPrintable(definition.pattern));
            QVERIFY(!compiler.version().isEmpty());
            QVERIFY(compiler.webAddress().startsWith(QStringLiteral("https://")));
        }
    }

    void buildTreesTakeEverySource()
    {
        QCOMPARE(treeLines(config(QStringLiteral("AVR GCC")).target(QStringLiteral("Debug"))->buildTree.get()),
                 QStringList({QStringLiteral("hex Intel HEX file"), QStringLiteral("  elf Link"), QStringLiteral("    o Compile C"),
                              QStringLiteral("    o Assemble")}));
        QCOMPARE(treeLines(config(QStringLiteral("SDCC MCS51")).target(QStringLiteral("Release"))->buildTree.get()),
                 QStringList({QStringLiteral("hex Intel HEX file"), QStringLiteral("  ihx Link"), QStringLiteral("    rel Compile C"),
                              QStringLiteral("    rel Assemble")}));
        QCOMPARE(treeLines(config(QStringLiteral("GPUTILS PIC")).target(QStringLiteral("Debug"))->buildTree.get()),
                 QStringList({QStringLiteral("hex Assemble")}));
        QVERIFY(processNamed(config(QStringLiteral("AVR GCC")), QStringLiteral("Link"))->takesAllInputs());
        QVERIFY(processNamed(config(QStringLiteral("SDCC MCS51")), QStringLiteral("Link"))->takesAllInputs());

        // Controllers pass their device to every tool that needs it.
        QCOMPARE(optionsFor(config(QStringLiteral("AVR GCC")), QStringLiteral("Release"), QStringLiteral("LD"), QStringLiteral("AVR"),
                            QStringLiteral("ATtiny85")),
                 QStringLiteral("-Wl,--gc-sections -mmcu=attiny85"));
        QCOMPARE(optionsFor(config(QStringLiteral("AVR GCC")), QStringLiteral("Debug"), QStringLiteral("OBJCOPY"), QStringLiteral("AVR"),
                            QStringLiteral("ATtiny85")),
                 QString());
        QCOMPARE(optionsFor(config(QStringLiteral("SDCC MCS51")), QStringLiteral("Debug"), QStringLiteral("LD"), QStringLiteral("8051"),
                            QStringLiteral("AT89C52")),
                 QStringLiteral("--debug --code-size 8192 --iram-size 256"));
        QCOMPARE(optionsFor(config(QStringLiteral("GPUTILS PIC")), QStringLiteral("Release"), QStringLiteral("ASM"), QStringLiteral("PIC16"),
                            QStringLiteral("PIC16F628A")),
                 QStringLiteral("-w1 -pp16f628a"));
    }

    void patternsReadTheToolsMessages()
    {
        const auto check = [&](const QString &name, const QString &line, const QString &file, int lineNumber, int column) {
            const std::optional<Message> message = parse(allMessages(config(name)), line);
            QVERIFY2(message, qPrintable(line));
            QCOMPARE(message->file, file);
            QCOMPARE(message->line, lineNumber);
            QCOMPARE(message->column, column);
        };
        const QString avr = QStringLiteral("AVR GCC");
        check(avr, QStringLiteral("src/main.c:12:5: error: 'x' undeclared (first use in this function)"), QStringLiteral("src/main.c"), 11, 4);
        check(avr, QStringLiteral("C:/work/main.c:3:1: warning: return type defaults to 'int'"), QStringLiteral("C:/work/main.c"), 2, 0);
        check(avr, QStringLiteral("blink.S:4: Error: unknown opcode `bogus'"), QStringLiteral("blink.S"), 3, 0);
        check(avr, QStringLiteral("/p/src/main.c:7: undefined reference to `foo'"), QStringLiteral("/p/src/main.c"), 6, 0);
        check(avr, QStringLiteral("main.c:(.text+0x8): undefined reference to `foo'"), QStringLiteral("main.c"), 0, 0);
        QVERIFY(!parse(allMessages(config(avr)), QStringLiteral("main.c: In function 'main':")));
        QVERIFY(!parse(allMessages(config(avr)), QStringLiteral("collect2: error: ld returned 1 exit status")));

        const QString sdcc = QStringLiteral("SDCC MCS51");
        check(sdcc, QStringLiteral("main.c:2: syntax error: token -> 'a' ; column 2"), QStringLiteral("main.c"), 1, 1);
        check(sdcc, QStringLiteral("main.c:1: error 20: Undefined identifier 'y'"), QStringLiteral("main.c"), 0, 0);
        check(sdcc, QStringLiteral("main.c:3: warning 112: function 'foo' implicit declaration"), QStringLiteral("main.c"), 2, 0);
        check(sdcc, QStringLiteral("toggle.asm:5: Error: <o> .org in REL area or directive / mnemonic error"), QStringLiteral("toggle.asm"), 4, 0);
        const QString undefined = QStringLiteral("?ASlink-Warning-Undefined Global '_toggle' referenced by module 'main'");
        QVERIFY(!parse(allMessages(config(sdcc)), undefined));
        bool matched = false;
        for (const MessageDefinition &definition : allMessages(config(sdcc)))
            matched = matched || QRegularExpression(definition.pattern).match(undefined).hasMatch();
        QVERIFY(matched); // shown as an error line without a link

        const QString pic = QStringLiteral("GPUTILS PIC");
        check(pic, QStringLiteral("blink.asm:9:Error[113]   Symbol not previously defined: \"PORTX\""), QStringLiteral("blink.asm"), 8, 0);
        check(pic, QStringLiteral("blink.asm:6:Message[302] Register in operand not in bank 0."), QStringLiteral("blink.asm"), 5, 0);
        check(pic, QStringLiteral("/usr/share/gputils/header/p16f877a.inc:34:Warning[215] Processor superseded by command line."),
              QStringLiteral("/usr/share/gputils/header/p16f877a.inc"), 33, 0);
    }

    void buildsAnAvrProgram()
    {
        const QString main = QStringLiteral("#include <avr/io.h>\n#include <util/delay.h>\nextern void blink_once(void);\n"
                                            "int main(void)\n{\n    DDRB = _BV(PB5);\n    for (;;) {\n        blink_once();\n"
                                            "        _delay_ms(250);\n    }\n}\n");
        const QString blink = QStringLiteral("#include <avr/io.h>\n    .global blink_once\nblink_once:\n"
                                             "    in r24, _SFR_IO_ADDR(PORTB)\n    ldi r25, _BV(PB5)\n    eor r24, r25\n"
                                             "    out _SFR_IO_ADDR(PORTB), r24\n    ret\n");
        const QList<Step> steps = {{QStringLiteral("Compile C"), {QStringLiteral("src/main.c")}, QStringLiteral("Release/main.o")},
                                   {QStringLiteral("Assemble"), {QStringLiteral("blink.S")}, QStringLiteral("Release/blink.o")},
                                   {QStringLiteral("Link"), {QStringLiteral("Release/main.o"), QStringLiteral("Release/blink.o")},
                                    QStringLiteral("Release/firmware.elf")},
                                   {QStringLiteral("Intel HEX file"), {QStringLiteral("Release/firmware.elf")}, QStringLiteral("Release/Release.hex")}};
        build(QStringLiteral("AVR GCC"), QStringLiteral("Release"), QStringLiteral("AVR"), QStringLiteral("ATmega328P"),
              QStringLiteral("16000000"), {{QStringLiteral("src/main.c"), main}, {QStringLiteral("blink.S"), blink}}, steps,
              QStringLiteral("int main(void)\n{\n    return missing;\n}\n"), {QStringLiteral("src/main.c"), 2, 11});
    }

    void buildsAn8051Program()
    {
        const QString main = QStringLiteral("#include <8051.h>\nextern void toggle(void);\nvoid main(void)\n{\n    for (;;)\n        toggle();\n}\n");
        const QString toggle = QStringLiteral("\t.module toggle\n\t.globl _toggle\n\t.area CSEG (CODE)\n_toggle:\n\tcpl\tP1.0\n\tret\n");
        const QList<Step> steps = {{QStringLiteral("Compile C"), {QStringLiteral("main.c")}, QStringLiteral("Debug/main.rel")},
                                   {QStringLiteral("Assemble"), {QStringLiteral("toggle.asm")}, QStringLiteral("Debug/toggle.rel")},
                                   {QStringLiteral("Link"), {QStringLiteral("Debug/main.rel"), QStringLiteral("Debug/toggle.rel")},
                                    QStringLiteral("Debug/firmware.ihx")},
                                   {QStringLiteral("Intel HEX file"), {QStringLiteral("Debug/firmware.ihx")}, QStringLiteral("Debug/Debug.hex")}};
        build(QStringLiteral("SDCC MCS51"), QStringLiteral("Debug"), QStringLiteral("8051"), QStringLiteral("AT89C51"), QString(),
              {{QStringLiteral("main.c"), main}, {QStringLiteral("toggle.asm"), toggle}}, steps,
              QStringLiteral("void main(void)\n{\n    int a = 1\n    a++;\n}\n"), {QStringLiteral("main.c"), 3, 4});
    }

    void buildsAPicProgram()
    {
        const QString blink = QStringLiteral("    #include <p16f877a.inc>\n    __CONFIG _HS_OSC & _WDT_OFF & _LVP_OFF\n    org 0\n"
                                             "    banksel TRISB\n    clrf TRISB\n    banksel PORTB\nloop:\n    comf PORTB, F\n"
                                             "    goto loop\n    end\n");
        const QList<Step> steps = {{QStringLiteral("Assemble"), {QStringLiteral("blink.asm")}, QStringLiteral("Debug/Debug.hex")}};
        build(QStringLiteral("GPUTILS PIC"), QStringLiteral("Debug"), QStringLiteral("PIC16"), QStringLiteral("PIC16F877A"), QString(),
              {{QStringLiteral("blink.asm"), blink}}, steps,
              QStringLiteral("    #include <p16f877a.inc>\n    org 0\n    comf PORTX, F\n    end\n"), {QStringLiteral("blink.asm"), 2, 0});
    }

    void scanOptionMarksTheInstalledToolChains()
    {
        QStringList missing;
        for (const QString &tool : {QStringLiteral("avr-gcc"), QStringLiteral("sdcc"), QStringLiteral("gpasm")}) {
            if (!QFileInfo(QStringLiteral("/usr/bin/") + tool).isExecutable())
                missing.append(tool);
        }
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing.join(QLatin1Char(' ')) + QStringLiteral(" not installed here")));

        QTemporaryDir config;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), {QStringLiteral("--scan_compilers"), QStringLiteral("--quit")});
        QVERIFY(program.waitForFinished(120000));
        QCOMPARE(program.exitCode(), 0);

        QSettings settings(config.filePath(QStringLiteral("Dravenhol Electronics/ZMX Studio.conf")), QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("1"));
        QMap<QString, QPair<bool, QString>> stored;
        const int size = settings.beginReadArray(QStringLiteral("compilers"));
        for (int index = 0; index < size; ++index) {
            settings.setArrayIndex(index);
            stored.insert(settings.value(QStringLiteral("name")).toString(),
                          {settings.value(QStringLiteral("configured")).toBool(), settings.value(QStringLiteral("dir")).toString()});
        }
        settings.endArray();
        for (const QString &name : {QStringLiteral("AVR GCC"), QStringLiteral("SDCC MCS51"), QStringLiteral("GPUTILS PIC")}) {
            QVERIFY2(stored.contains(name), qPrintable(name));
            QCOMPARE(stored.value(name), qMakePair(true, QStringLiteral("/usr/bin")));
        }
    }
};

ZMX_TEST(CompilerDataTest)
#include "tst_compilerdata.moc"
