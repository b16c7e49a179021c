#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "testregistry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString fixtures = QStringLiteral(ZMX_FIXTURES "/e2e");

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

bool replaceInFile(const QString &path, const QString &before, const QString &after)
{
    QString text = readText(path);
    if (!text.contains(before))
        return false;
    text.replace(before, after);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) && file.write(text.toUtf8()) > 0;
}

// An Intel HEX file: records that start with ":" and an end-of-file record.
bool isIntelHex(const QString &path)
{
    const QStringList lines = readText(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() > 1 && std::all_of(lines.cbegin(), lines.cend(), [](const QString &line) {
               return line.startsWith(QLatin1Char(':'));
           }) && lines.last().trimmed() == QLatin1String(":00000001FF");
}

}

// Real tool chains, real make, the generated Makefile, through Project::compile and
// Project::clean as the Build and Clean commands run them.
class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;
    QTemporaryDir *work = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }

    // Detects the tool chain as the compilers dialog does; false when it is not installed.
    bool detect(const QString &compiler)
    {
        BuildConfig *config = compilers->find(compiler);
        if (!config)
            return false;
        const DetectionResult result = CompilerDetector(workbench).detect(*config);
        config->storeDetection(result.detected(), result.directory);
        return result.detected();
    }

    std::unique_ptr<Project> open(const QString &fixture, const QString &projectFile)
    {
        if (!copyTree(fixtures + QLatin1Char('/') + fixture, work->path()))
            return nullptr;
        auto project = std::make_unique<Project>(compilers, workbench);
        if (!project->load(at(projectFile)))
            return nullptr;
        project->setCurrentConfiguration(0);
        workbench->output.clear();
        return project;
    }

    QString lastLine() const { return workbench->output.isEmpty() ? QString() : workbench->output.last(); }

    // The first error link of the last run.
    FakeWorkbench::Link firstErrorLink() const
    {
        for (const FakeWorkbench::Link &link : workbench->links) {
            if (link.error || link.text.contains(QLatin1String("error"), Qt::CaseInsensitive))
                return link;
        }
        return {};
    }

private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed; the end-to-end builds need it");
        workbench = new FakeWorkbench;
        workbench->compilersDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");
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

    void buildsAvrProjectWithAssemblerToHex()
    {
        if (!detect(QStringLiteral("AVR GCC")))
            QSKIP("The AVR GCC tool chain (avr-gcc, avr-libc, binutils-avr) is not installed");
        const auto project = open(QStringLiteral("avr"), QStringLiteral("blink.zmxp"));
        QVERIFY(project);

        QVERIFY2(project->compile(), qPrintable(workbench->output.join(QLatin1Char('\n'))));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));
        QVERIFY(isIntelHex(at(QStringLiteral("Debug/Debug.hex"))));
        for (const char *object : {"Debug/main.o", "Debug/led.o", "Debug/delay.o", "Debug/firmware.elf"})
            QVERIFY2(QFile::exists(at(QLatin1String(object))), object);
        // The clock reached the compiler through the Makefile.
        QVERIFY(readText(at(QStringLiteral("Debug/Makefile"))).contains(QStringLiteral("\nCLOCK = 16000000\n")));

        QVERIFY(project->compile());
        QVERIFY(workbench->output.contains(QStringLiteral("message: Already compiled, target is up to date.")));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));

        QVERIFY(project->clean());
        QCOMPARE(lastLine(), QStringLiteral("message: Cleaned.\n"));
        for (const char *output : {"Debug/Debug.hex", "Debug/main.o", "Debug/delay.o", "Debug/firmware.elf"})
            QVERIFY2(!QFile::exists(at(QLatin1String(output))), output);
        QVERIFY(QFile::exists(at(QStringLiteral("src/main.c"))));

        // A second configuration builds into a folder of its own.
        project->setCurrentConfiguration(1);
        QVERIFY(project->compile());
        QVERIFY(isIntelHex(at(QStringLiteral("Release/Release.hex"))));
    }

    void linksAvrGccErrorsToFileLineAndColumn()
    {
        if (!detect(QStringLiteral("AVR GCC")))
            QSKIP("The AVR GCC tool chain (avr-gcc, avr-libc, binutils-avr) is not installed");
        const auto project = open(QStringLiteral("avr"), QStringLiteral("blink.zmxp"));
        QVERIFY(project);
        QVERIFY(replaceInFile(at(QStringLiteral("src/led.c")), QStringLiteral("    PORTB ^= _BV(PB5);"),
                              QStringLiteral("    PORTB ^= _BV(PB5)")));
        QVERIFY(!project->compile());
        const FakeWorkbench::Link link = firstErrorLink();
        QCOMPARE(link.file, at(QStringLiteral("src/led.c")));
        QCOMPARE(link.line, 12);
        QCOMPARE(link.column, 0);
        QVERIFY(link.text.startsWith(QStringLiteral("src/led.c:13:1: error:")));
        QVERIFY(lastLine().startsWith(QStringLiteral("message: Error code ")));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
    }

    void buildsMcs51ProjectWithSdcc()
    {
        if (!detect(QStringLiteral("SDCC MCS51")))
            QSKIP("The SDCC tool chain (sdcc) is not installed");
        const auto project = open(QStringLiteral("mcs51"), QStringLiteral("serial.zmxp"));
        QVERIFY(project);
        QVERIFY2(project->compile(), qPrintable(workbench->output.join(QLatin1Char('\n'))));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));
        QVERIFY(isIntelHex(at(QStringLiteral("Debug/Debug.hex"))));

        QVERIFY(project->compile());
        QVERIFY(workbench->output.contains(QStringLiteral("message: Already compiled, target is up to date.")));

        QVERIFY(replaceInFile(at(QStringLiteral("uart.c")), QStringLiteral("    TMOD = 0x20;"), QStringLiteral("    TMOD = 0x20")));
        QVERIFY(!project->compile());
        const FakeWorkbench::Link link = firstErrorLink();
        QCOMPARE(link.file, at(QStringLiteral("uart.c")));
        QCOMPARE(link.line, 8);
        QVERIFY(link.text.startsWith(QStringLiteral("uart.c:9:")));

        QVERIFY(project->clean());
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/main.rel"))));
    }

    void buildsPicAssemblerProjectWithGpasm()
    {
        if (!detect(QStringLiteral("GPUTILS PIC")))
            QSKIP("The gputils tool chain (gpasm) is not installed");
        const auto project = open(QStringLiteral("pic"), QStringLiteral("toggle.zmxp"));
        QVERIFY(project);
        QVERIFY2(project->compile(), qPrintable(workbench->output.join(QLatin1Char('\n'))));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));
        QVERIFY(isIntelHex(at(QStringLiteral("Debug/Debug.hex"))));

        QVERIFY(project->compile());
        QVERIFY(workbench->output.contains(QStringLiteral("message: Already compiled, target is up to date.")));

        QVERIFY(replaceInFile(at(QStringLiteral("toggle.asm")), QStringLiteral("    clrf TRISB"), QStringLiteral("    clrfx TRISB")));
        QVERIFY(!project->compile());
        const FakeWorkbench::Link link = firstErrorLink();
        QCOMPARE(link.file, at(QStringLiteral("toggle.asm")));
        QCOMPARE(link.line, 8);
        QCOMPARE(link.column, 0);
        QVERIFY(link.text.contains(QStringLiteral("Error[")));

        QVERIFY(project->clean());
        QCOMPARE(lastLine(), QStringLiteral("message: Cleaned.\n"));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
    }
};

ZMX_TEST(EndToEndTest)

#include "tst_endtoend.moc"
