#include "testregistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1) : QByteArray();
}

}

// zmxstudio --build / --clean: no window, no display needed, output on standard output,
// the exit code telling the result, the settings left as they were.
class BatchBuildTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *work = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }
    QString settingsFile() const { return at(QStringLiteral("config/Dravenhol Electronics/ZMX Studio.conf")); }

    struct Run
    {
        int exitCode;
        QStringList lines;
    };

    Run run(const QStringList &arguments, const QByteArray &fakeExit = "0")
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        environment.insert(QStringLiteral("FAKE_EXIT"), QString::fromLatin1(fakeExit));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::SeparateChannels);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), arguments);
        if (!program.waitForFinished(120000))
            return {-1, {}};
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
    }

private slots:
    void init()
    {
        work = new QTemporaryDir;
        QVERIFY(writeFile(at(QStringLiteral("tools/make")),
                          "#!/bin/sh\necho \"args: $*\"\necho 'main.c:3:1: error: boom' >&2\n"
                          "mkdir -p First Second && touch First/First.hex Second/Second.hex\nexit $FAKE_EXIT\n"));
        QFile::setPermissions(at(QStringLiteral("tools/make")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(writeFile(at(QStringLiteral("project/main.c")), "int main;\n"));
        QVERIFY(writeFile(at(QStringLiteral("project/p.zmxp")), R"(<PROJECT>
 <FILES><FILE NAME="main.c" GROUP="Source Files"/></FILES>
 <CONFIGURATION NAME="First" COMPILER="Test Chain" TARGET="Debug"><CONTROLLER FAMILY="TF" TYPE="t100"/></CONFIGURATION>
 <CONFIGURATION NAME="Second" COMPILER="Test Chain" TARGET="Debug"><CONTROLLER FAMILY="TF" TYPE="t100"/></CONFIGURATION>
</PROJECT>
)"));
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            settings.beginGroup(QStringLiteral("1"));
            settings.setValue(QStringLiteral("Compilers"), QStringLiteral(ZMX_FIXTURES "/makefile"));
            settings.setValue(QStringLiteral("Tools"), at(QStringLiteral("tools")));
            settings.setValue(QStringLiteral("Build/Make jobs"), 0);
            settings.beginWriteArray(QStringLiteral("compilers"), 1);
            settings.setArrayIndex(0);
            settings.setValue(QStringLiteral("name"), QStringLiteral("Test Chain"));
            settings.setValue(QStringLiteral("configured"), true);
            settings.setValue(QStringLiteral("dir"), QStringLiteral("/opt/tchain/bin"));
            settings.endArray();
        }
        QVERIFY(QFile::exists(settingsFile()));
    }

    void cleanup() { delete work; }

    void buildsWithoutWindowOrDisplay()
    {
        const QByteArray before = digest(settingsFile());
        Run result = run({QStringLiteral("--build"), at(QStringLiteral("project/p.zmxp"))});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.lines.contains(QStringLiteral("args: --makefile=First/Makefile Debug")));
        QVERIFY(result.lines.contains(at(QStringLiteral("project/main.c")) + QStringLiteral(":3:1: main.c:3:1: error: boom")));
        QCOMPARE(result.lines.last(), QStringLiteral("Compiled successfully."));
        QVERIFY(QFile::exists(at(QStringLiteral("project/First/Makefile"))));

        result = run({QStringLiteral("--BUILD"), QStringLiteral("--configuration=second"), at(QStringLiteral("project/p.zmxp"))}, "2");
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines.last(), QStringLiteral("Error code 2"));

        result = run({QStringLiteral("--clean"), at(QStringLiteral("project/p.zmxp"))});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.lines.contains(QStringLiteral("args: --makefile=First/Makefile clean -s")));
        QCOMPARE(result.lines.last(), QStringLiteral("Cleaned."));
        QCOMPARE(digest(settingsFile()), before);
    }

    // The job count of Editor Configuration holds for builds without a window too.
    void batchBuildRunsTheJobsOfTheSetting()
    {
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("1/Build/Make jobs"), 3);
        }
        const Run result = run({QStringLiteral("--build"), at(QStringLiteral("project/p.zmxp"))});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.lines.contains(QStringLiteral("args: -j3 --output-sync=target --makefile=First/Makefile Debug")),
                 qPrintable(result.lines.join(QLatin1Char('\n'))));
    }

    void interruptEndsTheToolsToo()
    {
        // A tool that would run for minutes, started by make.
        QVERIFY(writeFile(at(QStringLiteral("tools/make")),
                          "#!/bin/sh\nsleep 300 &\necho $! > \"$TOOL_PID\"\nwait\n"));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        environment.insert(QStringLiteral("TOOL_PID"), at(QStringLiteral("tool.pid")));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), {QStringLiteral("--build"), at(QStringLiteral("project/p.zmxp"))});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile(at(QStringLiteral("tool.pid"))).size() > 0, 30000);
        QFile pidFile(at(QStringLiteral("tool.pid")));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QByteArray tool = pidFile.readAll().trimmed();

        ::kill(pid_t(program.processId()), SIGINT);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::CrashExit);
        // Gone, or at most a zombie waiting for a parent that does not reap it.
        const auto toolRuns = [&tool] {
            QFile status(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(tool)));
            if (!status.open(QIODevice::ReadOnly))
                return false;
            const QByteArray line = status.readAll();
            const qsizetype end = line.lastIndexOf(')');
            return end < 0 || line.mid(end + 2, 1) != "Z";
        };
        QTRY_VERIFY_WITH_TIMEOUT(!toolRuns(), 10000);
    }

    void readsTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("last"); // the last output line
        const QString project = QStringLiteral("@/project/p.zmxp");
        QTest::newRow("name after an equals sign") << QStringList{"--build", "--configuration=second", project} << 0
                                                   << "Compiled successfully.";
        QTest::newRow("name as the next argument") << QStringList{"--build", "--Configuration", "Second", project} << 0
                                                   << "Compiled successfully.";
        QTest::newRow("build and clean") << QStringList{"--build", "--clean", project} << 2
                                         << "--build and --clean cannot be given together.";
        QTest::newRow("clean and build") << QStringList{"--clean", project, "--build"} << 2
                                         << "--build and --clean cannot be given together.";
        QTest::newRow("two projects") << QStringList{"--build", project, "@/other.zmxp"} << 2
                                      << "Give one project file, not 2: @/project/p.zmxp, @/other.zmxp.";
        QTest::newRow("no name") << QStringList{"--clean", project, "--configuration"} << 2
                                 << "--configuration needs the name of a configuration.";
    }

    void readsTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, last);
        for (QString &argument : arguments)
            argument.replace(QLatin1Char('@'), work->path());
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.lines.last(), last.replace(QLatin1Char('@'), work->path()));
        // A refused command line builds nothing; an accepted one builds the configuration named.
        QFile makefile(at(QStringLiteral("project/Second/Makefile")));
        QCOMPARE(makefile.exists(), exitCode == 0);
        if (exitCode == 0) {
            QVERIFY(makefile.open(QIODevice::ReadOnly));
            QVERIFY(makefile.readAll().contains("\nDebug:\tSecond/Second.hex\n"));
        }
    }

    void buildsNothingWhenTheConfigurationCannotBeLoaded()
    {
        // The first configuration has no controller: it cannot be loaded, and the second
        // must not be built in its place.
        QVERIFY(writeFile(at(QStringLiteral("project/p.zmxp")), R"(<PROJECT>
 <FILES><FILE NAME="main.c" GROUP="Source Files"/></FILES>
 <CONFIGURATION NAME="First" COMPILER="Test Chain" TARGET="Debug"/>
 <CONFIGURATION NAME="Second" COMPILER="Test Chain" TARGET="Debug"><CONTROLLER FAMILY="TF" TYPE="t100"/></CONFIGURATION>
</PROJECT>
)"));
        const Run result = run({QStringLiteral("--build"), at(QStringLiteral("project/p.zmxp"))});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines, QStringList({QStringLiteral("The configuration \"First\" of project %1 could not be loaded.")
                                                .arg(at(QStringLiteral("project/p.zmxp"))),
                                            QStringLiteral("The configuration \"First\" could not be loaded; nothing was built.")}));
        QVERIFY(!QFile::exists(at(QStringLiteral("project/Second/Makefile"))));
    }

    void failsOnWhatItCannotOpen()
    {
        Run result = run({QStringLiteral("--build"), QStringLiteral("--configuration=Third"), at(QStringLiteral("project/p.zmxp"))});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines, QStringList({QStringLiteral("The project has no configuration named \"Third\".")}));

        result = run({QStringLiteral("--build"), at(QStringLiteral("project/missing.zmxp"))});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines.last(), QStringLiteral("Cannot open project %1: the file does not exist").arg(at(QStringLiteral("project/missing.zmxp"))));

        result = run({QStringLiteral("--clean")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines, QStringList({QStringLiteral("No project file given.")}));
    }
};

ZMX_TEST(BatchBuildTest)

#include "tst_batchbuild.moc"
