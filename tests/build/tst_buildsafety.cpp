#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/compilerdetector.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>

namespace {

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Every file below directory with its contents, by relative path.
QHash<QString, QByteArray> snapshot(const QString &directory)
{
    QHash<QString, QByteArray> files;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(directory).relativeFilePath(path), TestFiles::contents(path));
    }
    return files;
}

// Moves the modification time of every file below directory back, so that whatever is
// written afterwards is newer, without waiting for the clock.
void backdate(const QString &directory)
{
    QDirIterator it(directory, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    }
}

QDateTime modified(const QString &path)
{
    return QFileInfo(path).lastModified();
}

}

// Projects of the kind people download and share: whatever their file names and values,
// a build runs nothing they spell, Clean removes only what the build made, and a changed
// header or configuration is built again. Real avr-gcc, sdcc and gpasm, real make.
class BuildSafetyTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;

    bool detect(const QString &compiler)
    {
        BuildConfig *config = compilers->find(compiler);
        if (!config)
            return false;
        const DetectionResult result = CompilerDetector(workbench).detect(*config);
        config->storeDetection(result.detected(), result.directory);
        return result.detected();
    }

    // An ATmega328P project with one C source and its header; option is a value of the
    // compiler's -D option for the whole configuration.
    static QByteArray avrProject(const QString &source, const QString &configuration, const QString &type,
                                 const QString &clock, const QString &option)
    {
        QByteArray text;
        QXmlStreamWriter xml(&text);
        xml.writeStartElement(QStringLiteral("PROJECT"));
        xml.writeStartElement(QStringLiteral("FILES"));
        for (const auto &[name, group] : {std::pair{source, "Source Files"}, std::pair{QStringLiteral("defs.h"), "Header Files"}}) {
            xml.writeStartElement(QStringLiteral("FILE"));
            xml.writeAttribute(QStringLiteral("NAME"), name);
            xml.writeAttribute(QStringLiteral("GROUP"), QLatin1String(group));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("CONFIGURATION"));
        xml.writeAttribute(QStringLiteral("NAME"), configuration);
        xml.writeAttribute(QStringLiteral("COMPILER"), QStringLiteral("AVR GCC"));
        xml.writeAttribute(QStringLiteral("TARGET"), QStringLiteral("Debug"));
        xml.writeStartElement(QStringLiteral("CONTROLLER"));
        xml.writeAttribute(QStringLiteral("FAMILY"), QStringLiteral("AVR"));
        xml.writeAttribute(QStringLiteral("TYPE"), type);
        xml.writeAttribute(QStringLiteral("CLOCK"), clock);
        xml.writeEndElement();
        if (!option.isEmpty()) {
            xml.writeStartElement(QStringLiteral("OPTION"));
            xml.writeAttribute(QStringLiteral("NAME"), QStringLiteral("-D"));
            xml.writeAttribute(QStringLiteral("VALUE"), option);
            xml.writeAttribute(QStringLiteral("TOOL"), QStringLiteral("CC"));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
        return text;
    }

private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed; these builds need it");
        workbench = new FakeWorkbench;
        workbench->compilersDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");
        compilers = new BuildConfigList(workbench);
        QVERIFY(compilers->loadAll());
    }

    void cleanup()
    {
        delete compilers;
        delete workbench;
        compilers = nullptr;
        workbench = nullptr;
    }

    void runsNothingANameOrValueSpells_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("refusal"); // a part of the error line; empty: it builds
        const auto name = [](const char *tag, const QString &source, const QString &refusal = QString()) {
            QTest::newRow(tag) << source << QStringLiteral("Debug") << QStringLiteral("ATmega328P")
                               << QStringLiteral("16 MHz") << QString() << refusal;
        };
        name("plain", QStringLiteral("main.c"));
        name("blank", QStringLiteral("old main.c"));
        name("asterisk", QStringLiteral("x * y.c"));
        name("question mark", QStringLiteral("what?.c"));
        name("quotes", QStringLiteral("it's \"main\".c"));
        name("dollar", QStringLiteral("price$x.c"));
        name("make call", QStringLiteral("$(touch X).c"));
        name("backticks", QStringLiteral("a`touch X`.c"));
        name("ampersands", QStringLiteral("a&touch X&.c"));
        name("hash", QStringLiteral("#main.c"));
        name("letters", QStringLiteral("grüße.c"));
        name("leading dash", QStringLiteral("-main.c"));
        name("semicolons", QStringLiteral("a;touch X;.c"), QStringLiteral("holds \";\", which make cannot take"));
        name("bar", QStringLiteral("a|touch X.c"), QStringLiteral("holds \"|\", which make cannot take"));
        name("percent", QStringLiteral("100%.c"), QStringLiteral("holds \"%\", which make cannot take"));
        name("colon", QStringLiteral("a:b.c"), QStringLiteral("holds \":\", which make cannot take"));
        name("line break", QStringLiteral("a\ntouch X.c"), QStringLiteral("holds a line break, which make cannot take"));

        const auto value = [](const char *tag, const QString &configuration, const QString &type, const QString &clock,
                              const QString &option, const QString &refusal) {
            QTest::newRow(tag) << QStringLiteral("main.c") << configuration << type << clock << option << refusal;
        };
        const QString debug = QStringLiteral("Debug");
        const QString mega = QStringLiteral("ATmega328P");
        const QString mhz = QStringLiteral("16 MHz");
        value("clock runs make", debug, mega, QStringLiteral("$(shell touch X)"), QString(),
              QStringLiteral("the CLOCK \"$(shell touch X)\" is not a frequency"));
        value("clock overflows", debug, mega, QStringLiteral("1e300MHz"), QString(),
              QStringLiteral("the CLOCK \"1e300MHz\" is not a frequency from 1 Hz to 4294967295 Hz"));
        value("negative clock", debug, mega, QStringLiteral("-5MHz"), QString(), QStringLiteral("the CLOCK \"-5MHz\""));
        value("controller adds a line", debug, QStringLiteral("ATmega328P\nX := $(shell touch X)"), mhz, QString(),
              QStringLiteral("the TYPE \"ATmega328P\\nX := $(shell touch X)\" holds a line break"));
        value("option runs the shell", debug, mega, mhz, QStringLiteral("MSG=FOO;touch X;"), QString());
        value("option adds a rule", debug, mega, mhz, QStringLiteral("A=1\nevil:\n\ttouch X"),
              QStringLiteral("the OPTION \"-DA=1\\nevil:\\n\ufffdtouch X\" holds a line break"));
        value("name leaves the folder", QStringLiteral("../../victim"), mega, mhz, QString(),
              QStringLiteral("the configuration name \"../../victim\" names the files the build makes"));
        value("name runs make", QStringLiteral("$(shell touch X)"), mega, mhz, QString(), QString());
    }

    void runsNothingANameOrValueSpells()
    {
        QFETCH(QString, source);
        QFETCH(QString, configuration);
        QFETCH(QString, type);
        QFETCH(QString, clock);
        QFETCH(QString, option);
        QFETCH(QString, refusal);
        if (!detect(QStringLiteral("AVR GCC")))
            QSKIP("The AVR GCC tool chain is not installed (.ci/run installs it)");
        QTemporaryDir work;
        const QString folder = work.filePath(QStringLiteral("board"));
        QVERIFY(writeFile(folder + QLatin1Char('/') + source,
                          "#include \"defs.h\"\nint main(void) { return ANSWER; }\n"));
        QVERIFY(writeFile(folder + QStringLiteral("/defs.h"), "#define ANSWER 42\n"));
        // Files the build does not make, where a careless Clean would find them.
        QVERIFY(writeFile(folder + QStringLiteral("/main.o"), "mine\n"));
        QVERIFY(writeFile(folder + QStringLiteral("/Debug/notes.txt"), "mine too\n"));
        QVERIFY(writeFile(work.filePath(QStringLiteral("victim.hex")), "not the build's\n"));
        QVERIFY(writeFile(folder + QStringLiteral("/p.zmxp"), avrProject(source, configuration, type, clock, option)));
        const QHash<QString, QByteArray> before = snapshot(work.path());

        Project project(compilers, workbench);
        QVERIFY(project.load(folder + QStringLiteral("/p.zmxp")));
        project.setCurrentConfiguration(0);
        workbench->output.clear();
        const bool built = project.compile();
        const QString output = workbench->output.join(QLatin1Char('\n'));
        if (refusal.isEmpty()) {
            QVERIFY2(built, qPrintable(output));
            QVERIFY(TestFiles::isIntelHex(folder + QLatin1Char('/') + configuration + QLatin1Char('/') + configuration + QStringLiteral(".hex")));
        } else {
            QVERIFY(!built);
            QVERIFY2(output.contains(refusal), qPrintable(output));
            QVERIFY(output.endsWith(QStringLiteral("error: Cannot create Makefile.")));
        }
        QVERIFY2(!snapshot(work.path()).contains(QStringLiteral("board/X")), "a name or value ran a command");

        project.clean();
        const QHash<QString, QByteArray> after = snapshot(work.path());
        for (auto file = before.cbegin(); file != before.cend(); ++file) {
            if (!file.key().endsWith(QLatin1String(".zmxp")))
                QVERIFY2(after.value(file.key()) == file.value(), qPrintable(file.key()));
        }
        // What stays beyond that is what the IDE itself wrote, not the build.
        QStringList added;
        for (auto file = after.cbegin(); file != after.cend(); ++file) {
            if (!before.contains(file.key()))
                added.append(file.key());
        }
        const QStringList makefile{QStringLiteral("board/%1/Makefile").arg(configuration)};
        QVERIFY2(added.isEmpty() || added == makefile, qPrintable(added.join(QLatin1Char(' '))));
    }

    void rebuildsWhatAHeaderOrTheConfigurationChanges_data()
    {
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("projectFile");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("object"); // made from a source that includes the header
        QTest::newRow("avr-gcc") << "AVR GCC" << "avr" << "blink.zmxp" << "src/led.h" << "Debug/led.o";
        QTest::newRow("sdcc") << "SDCC MCS51" << "mcs51" << "serial.zmxp" << "uart.h" << "Debug/uart.rel";
        QTest::newRow("gpasm") << "GPUTILS PIC" << "pic" << "toggle.zmxp" << "pins.inc" << "Debug/Debug.hex";
    }

    void rebuildsWhatAHeaderOrTheConfigurationChanges()
    {
        QFETCH(QString, compiler);
        QFETCH(QString, fixture);
        QFETCH(QString, projectFile);
        QFETCH(QString, header);
        QFETCH(QString, object);
        if (!detect(compiler))
            QSKIP(qPrintable(QStringLiteral("The %1 tool chain is not installed (.ci/run installs it)").arg(compiler)));
        QTemporaryDir work;
        const auto at = [&work](const QString &relative) { return work.filePath(relative); };
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/") + fixture, work.path()));
        Project project(compilers, workbench);
        QVERIFY(project.load(at(projectFile)));
        project.setCurrentConfiguration(0);
        if (fixture == QLatin1String("pic")) {
            // The assembler source takes an include file of the project's own.
            QVERIFY(writeFile(at(header), "; nothing yet\n"));
            QVERIFY(writeFile(at(QStringLiteral("toggle.asm")),
                              TestFiles::contents(at(QStringLiteral("toggle.asm"))).replace("    org 0", "    include \"pins.inc\"\n    org 0")));
            QVERIFY(project.addFile(at(header)));
        }
        const QString hex = at(QStringLiteral("Debug/Debug.hex"));
        const auto build = [&] {
            workbench->output.clear();
            return project.compile();
        };
        const auto upToDate = [&] {
            return workbench->output.contains(QStringLiteral("message: Already compiled, target is up to date."));
        };

        QVERIFY2(build(), qPrintable(workbench->output.join(QLatin1Char('\n'))));
        QVERIFY(TestFiles::isIntelHex(hex));
        QVERIFY(build());
        QVERIFY(upToDate());

        // A changed header: what includes it is made again, and the HEX file from it.
        backdate(at(QStringLiteral("Debug")));
        const QDateTime objectBefore = modified(at(object));
        const QDateTime hexBefore = modified(hex);
        const QString makefile = at(QStringLiteral("Debug/Makefile"));
        const QDateTime makefileBefore = modified(makefile);
        QVERIFY(writeFile(at(header), TestFiles::contents(at(header)) + "\n"));
        QVERIFY(build());
        QVERIFY(!upToDate());
        // Nothing in the project changed, so neither did the Makefile: it is not written again.
        QCOMPARE(modified(makefile), makefileBefore);
        QVERIFY(modified(at(object)) > objectBefore);
        QVERIFY(modified(hex) > hexBefore);
        QVERIFY(build());
        QVERIFY(upToDate());

        // A header that is gone leaves the build working.
        if (fixture != QLatin1String("pic")) {
            backdate(at(QStringLiteral("Debug")));
            QVERIFY(QFile::rename(at(header), at(header) + QStringLiteral(".gone")));
            build();
            QVERIFY2(!workbench->allOutput().contains(QStringLiteral("No rule to make target")), qPrintable(workbench->allOutput()));
            QVERIFY(QFile::rename(at(header) + QStringLiteral(".gone"), at(header)));
            QVERIFY(build());
        }

        // A changed clock: everything is made again, and then it is up to date.
        backdate(at(QStringLiteral("Debug")));
        const QDateTime clockBefore = modified(hex);
        project.configuration(0)->setClock(QStringLiteral("8 MHz"));
        QVERIFY(build());
        QVERIFY(modified(hex) > clockBefore);
        QVERIFY(modified(at(object)) > clockBefore);
        QVERIFY(modified(makefile) > clockBefore);
        QVERIFY(build());
        QVERIFY(upToDate());
    }
};

ZMX_TEST(BuildSafetyTest)

#include "tst_buildsafety.moc"
