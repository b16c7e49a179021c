#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/projectbuilder.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>

namespace {

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// A recording workbench that can act when a given line appears, as a user would while
// make runs.
class ReactingWorkbench : public FakeWorkbench
{
public:
    QString trigger;
    std::function<void()> reaction;

    void addMessage(const QString &text) override
    {
        FakeWorkbench::addMessage(text);
        if (reaction && text == trigger)
            reaction();
    }
};

const QByteArray testProject = R"(<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>
<PROJECT DESCRIPTION="">
 <KEYWORDS/>
 <FILES>
  <FILE NAME="main.c" GROUP="%1"/>
 </FILES>
 <CONFIGURATION NAME="Main" COMPILER="Test Chain" TARGET="Debug">
  <CONTROLLER FAMILY="TF" TYPE="t100" CLOCK="1 MHz"/>
 </CONFIGURATION>
</PROJECT>
)";

}

// The checks and outcomes of a build, with stand-ins for make in the tools directory.
class ProjectBuilderTest : public QObject
{
    Q_OBJECT

private:
    ReactingWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;
    QTemporaryDir *work = nullptr;
    std::unique_ptr<Project> project;

    QString at(const QString &relative) const { return work->filePath(relative); }
    QString make() const { return at(QStringLiteral("tools/make")); }

    // A make that makes the target, as the real one does, before it does what body says.
    void fakeMake(const QByteArray &body)
    {
        QVERIFY(writeFile(make(), "#!/bin/sh\nmkdir -p Main && touch Main/Main.hex\n" + body));
        QFile::setPermissions(make(), QFile::permissions(make()) | QFileDevice::ExeOwner);
    }

    void openProject(const QString &group = QStringLiteral("Source Files"))
    {
        QVERIFY(writeFile(at(QStringLiteral("main.c")), "int main;\n"));
        QVERIFY(writeFile(at(QStringLiteral("p.zmxp")), QString::fromUtf8(testProject).arg(group).toUtf8()));
        project = std::make_unique<Project>(compilers, workbench);
        QVERIFY(project->load(at(QStringLiteral("p.zmxp"))));
        project->setCurrentConfiguration(0);
        workbench->output.clear();
    }

    static QString jobsKey()
    {
        return QLatin1String(ProjectBuilder::makeJobsGroup) + QLatin1Char('/') + QLatin1String(ProjectBuilder::makeJobsKey);
    }

    QStringList messages() const
    {
        QStringList lines;
        for (const QString &line : workbench->output) {
            if (line.startsWith(QLatin1String("message: ")))
                lines.append(line.mid(9));
        }
        return lines;
    }

private slots:
    void init()
    {
        workbench = new ReactingWorkbench;
        workbench->compilersDir = QStringLiteral(ZMX_FIXTURES "/makefile");
        work = new QTemporaryDir;
        workbench->toolsDir = at(QStringLiteral("tools"));
        QDir().mkpath(workbench->toolsDir);
        compilers = new BuildConfigList(workbench);
        QVERIFY(compilers->loadAll());
        compilers->find(QStringLiteral("Test Chain"))->storeDetection(true, QStringLiteral("/opt/tchain/bin"));
        fakeMake("echo \"args: $*\"\n");
        // One step at a time: make is called exactly as it always was.
        workbench->setSettingsValue(jobsKey(), 0);
    }

    void cleanup()
    {
        project.reset();
        delete compilers;
        delete work;
        delete workbench;
    }

    void checksTheConfigurationFirst()
    {
        Project empty(compilers, workbench);
        QVERIFY(!empty.compile());
        QCOMPARE(workbench->output, QStringList({QStringLiteral(
                                        "error: Compilation failed. No project configurations defined, check the Project Settings.")}));

        QVERIFY(writeFile(at(QStringLiteral("bare.zmxp")), R"(<PROJECT><FILES/>
            <CONFIGURATION NAME="Main"><CONTROLLER FAMILY="" TYPE=""/></CONFIGURATION></PROJECT>)"));
        Project bare(compilers, workbench);
        QVERIFY(bare.load(at(QStringLiteral("bare.zmxp"))));
        workbench->output.clear();
        QVERIFY(!bare.compile());
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("error: No controller family defined."), QStringLiteral("error: No controller defined."),
                              QStringLiteral("error: No compiler defined."),
                              QStringLiteral("error: Compilation failed. Check the Project Settings.")}));

        openProject();
        compilers->find(QStringLiteral("Test Chain"))->storeDetection(false, QString());
        QVERIFY(!project->compile());
        QCOMPARE(workbench->output, QStringList({QStringLiteral("error: The selected compiler 'Test Chain' is not installed."),
                                                 QStringLiteral("error: Compilation failed. Check the Project Settings.")}));
        QVERIFY(!QFile::exists(at(QStringLiteral("Main/Makefile"))));
        QCOMPARE(workbench->buildTargetUpdates.size(), 2);
    }

    void runsMakeWithItsArgumentsAndEnvironment()
    {
        openProject();
        fakeMake("echo \"args: $*\"; echo \"cwd: $(pwd)\"; echo \"path: $PATH\"; echo \"tdev: $TDEV\"; echo \"tpath: $TPATH\"\n");
        qputenv("TPATH", "/base");
        const QByteArray path = qgetenv("PATH");

        QCOMPARE(project->currentFirmwarePath(), at(QStringLiteral("Main/Main.hex")));
        project->setRebuildAll(true);
        QVERIFY(project->compile());
        qunsetenv("TPATH");
        QCOMPARE(messages(), QStringList({QStringLiteral("args: -B --makefile=Main/Makefile Debug"),
                                          QStringLiteral("cwd: ") + work->path(),
                                          QStringLiteral("path: ") + QString::fromLocal8Bit(path) + QStringLiteral(":/opt/tchain/bin"),
                                          QStringLiteral("tdev: t100"), QStringLiteral("tpath: /base:/opt/tchain/bin/extra"),
                                          QStringLiteral("0 errors, 0 warnings")}));
        QCOMPARE(workbench->output.last(), QStringLiteral("success: Compiled successfully.\n"));
        // The build's counts stay in the status bar after it.
        QCOMPARE(workbench->statusMessages,
                 QStringList({QStringLiteral("Building"), QString(), QStringLiteral("0 errors, 0 warnings")}));
        QVERIFY(project->isMakefileCurrent());

        // A successful compile clears the rebuild request; the target's variables apply
        // to its own goal only.
        QVERIFY(project->compile());
        QCOMPARE(messages().first(), QStringLiteral("args: --makefile=Main/Makefile Debug"));
        QCOMPARE(messages().at(4), QStringLiteral("tpath: /opt/tchain/bin/extra"));
        QVERIFY(project->clean());
        QCOMPARE(messages().first(), QStringLiteral("args: --makefile=Main/Makefile clean -s"));
        QCOMPARE(messages().at(4), QStringLiteral("tpath: "));
        QCOMPARE(messages().last(), QStringLiteral("Cleaned.\n"));
        QCOMPARE(workbench->statusMessages.mid(6), QStringList({QStringLiteral("Cleaning"), QString()}));
        QVERIFY(project->tidy());
        QCOMPARE(messages().first(), QStringLiteral("args: --makefile=Main/Makefile tidy"));
        QCOMPARE(messages().last(), QStringLiteral("Tidied.\n"));
        QCOMPARE(workbench->statusMessages.mid(8), QStringList({QStringLiteral("Building"), QString()}));
    }

    // The stored count as the Editor Configuration dialog or a hand-edited file leaves it.
    void makeRunsAsManyJobsAsTheSettingSays_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("options");
        const QString processors = QStringLiteral("-j%1 --output-sync=target ").arg(QThread::idealThreadCount());
        QTest::newRow("0: serial") << QVariant(0) << QString();
        QTest::newRow("3") << QVariant(3) << QStringLiteral("-j3 --output-sync=target ");
        QTest::newRow("as text") << QVariant(QStringLiteral(" 5 ")) << QStringLiteral("-j5 --output-sync=target ");
        QTest::newRow("largest") << QVariant(256) << QStringLiteral("-j256 --output-sync=target ");
        QTest::newRow("missing") << QVariant() << processors;
        QTest::newRow("negative") << QVariant(-2) << processors;
        QTest::newRow("too many") << QVariant(257) << processors;
        QTest::newRow("not a number") << QVariant(QStringLiteral("many")) << processors;
    }

    void makeRunsAsManyJobsAsTheSettingSays()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, options);
        openProject();
        if (stored.isValid())
            workbench->setSettingsValue(jobsKey(), stored);
        else
            workbench->settings()->remove(jobsKey());
        project->setRebuildAll(true);
        QVERIFY(project->compile());
        QCOMPARE(messages().first(), QStringLiteral("args: -B ") + options + QStringLiteral("--makefile=Main/Makefile Debug"));
        QVERIFY(project->clean());
        QCOMPARE(messages().first(), QStringLiteral("args: ") + options + QStringLiteral("--makefile=Main/Makefile clean -s"));
    }

    void reportsHowMakeEnded()
    {
        openProject();
        fakeMake("echo 'main.c:3:1: error: boom' >&2; exit 2\n");
        project->setRebuildAll(true);
        QVERIFY(!project->compile());
        QCOMPARE(workbench->links.size(), 1);
        QCOMPARE(workbench->links.first().file, at(QStringLiteral("main.c")));
        QCOMPARE(workbench->output.last(), QStringLiteral("error: Error code 2\n"));

        // A failed compile keeps the rebuild request.
        fakeMake("echo \"args: $*\"; kill -SEGV $$\n");
        QVERIFY(!project->compile());
        QCOMPARE(messages().first(), QStringLiteral("args: -B --makefile=Main/Makefile Debug"));
        QVERIFY(workbench->output.last().startsWith(QStringLiteral("error: Process seems to be crashed: ")));

        // make that exists but cannot be run is a failure, not a success.
        fakeMake("");
        QVERIFY(writeFile(make(), "#!/nonexistent/interpreter\n"));
        QVERIFY(!project->compile());
        QVERIFY(workbench->output.last().startsWith(QStringLiteral("error: Cannot start %1: ").arg(make())));
        QVERIFY(!project->isBuilding());
    }

    void showsBothChannelsInTheOrderWritten()
    {
        openProject();
        fakeMake("echo 'cc -c main.c'; echo 'main.c:3:1: error: boom' >&2; echo '    3 | x' >&2; echo 'next step'\n"
                 "echo 'make: *** [Makefile:9: main.o] Error 1' >&2; exit 2\n");
        QVERIFY(!project->compile());
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("message: cc -c main.c"),
                              QStringLiteral("error link: %1#2.0 main.c:3:1: error: boom").arg(at(QStringLiteral("main.c"))),
                              QStringLiteral("message:     3 | x"), QStringLiteral("message: next step"),
                              QStringLiteral("error: make: *** [Makefile:9: main.o] Error 1"),
                              QStringLiteral("message: 1 error, 0 warnings"), QStringLiteral("error: Error code 2\n")}));
    }

    void abortsAndRefusesNestedRuns()
    {
        openProject();
        fakeMake("echo started; exec sleep 600\n");
        bool nestedRefused = false;
        workbench->trigger = QStringLiteral("started");
        workbench->reaction = [&] {
            QVERIFY(project->isBuilding());
            const int lines = workbench->output.size();
            nestedRefused = !project->compile() && !project->clean() && workbench->output.size() == lines;
            project->abortBuild();
        };
        QVERIFY(!project->compile());
        QVERIFY(nestedRefused);
        QCOMPARE(messages(), QStringList({QStringLiteral("started"), QStringLiteral("Build aborted by user\n")}));
        QVERIFY(!project->isBuilding());

        QVERIFY(!project->clean());
        QCOMPARE(messages().last(), QStringLiteral("Clean aborted by user\n"));
        QVERIFY(!project->tidy());
        QCOMPARE(messages().last(), QStringLiteral("Build aborted by user\n"));

        // Outside a run the abort has no effect on the next one.
        workbench->reaction = nullptr;
        project->abortBuild();
        fakeMake("echo done\n");
        QVERIFY(project->compile());
    }

    void stopEndsTheWholeToolTree()
    {
        // A tool that ignores the polite request to end, with a child that ignores it too.
        openProject();
        fakeMake("trap '' TERM\nsleep 600 &\necho $! > child.pid\necho started\nwait\n");
        workbench->trigger = QStringLiteral("started");
        workbench->reaction = [&] { project->abortBuild(); };
        QVERIFY(!project->compile());
        bool ok = false;
        const int child = TestFiles::contents(at(QStringLiteral("child.pid"))).trimmed().toInt(&ok);
        QVERIFY(ok && child > 0);
        // Gone, or a zombie waiting for whoever inherited it: either way it runs no more.
        const auto gone = [child] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
            return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        };
        QTRY_VERIFY_WITH_TIMEOUT(gone(), 1000);
    }

    void readsErrorFilesAfterDeletingOldOnes()
    {
        openProject();
        // Left over from an earlier run: deleted before make starts.
        QVERIFY(writeFile(at(QStringLiteral("main.err")), "stale line\n"));
        QVERIFY(writeFile(at(QStringLiteral("Main/link.log")), "stale log\n"));
        fakeMake("printf 'main.c:2:1: warning: w\\nnote from the compiler\\n' > main.err\n"
                 "printf 'unmatched log line\\n' > Main/link.log\nexit 1\n");
        QVERIFY(!project->compile());
        // The test chain's definition names no kind, so its one link counts as an error.
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("error link: %1#1.0 main.c:2:1: warning: w").arg(at(QStringLiteral("main.c"))),
                              QStringLiteral("message: note from the compiler"), QStringLiteral("message: 1 error, 0 warnings"),
                              QStringLiteral("error: Error code 1\n")}));
    }

    void succeedsOnlyWhenTheTargetIsMade_data()
    {
        QTest::addColumn<QByteArray>("make");
        QTest::addColumn<bool>("oldTarget");
        QTest::addColumn<bool>("rebuildAll");
        QTest::addColumn<bool>("success");
        // "-q" asks whether the target is up to date; the exit code answers.
        QTest::newRow("made") << QByteArray("mkdir -p Main; touch Main/Main.hex") << false << false << true;
        QTest::newRow("never made") << QByteArray("exit 0") << false << false << false;
        QTest::newRow("old and up to date") << QByteArray("[ \"$1\" = -q ] && exit 0; exit 0") << true << false << true;
        QTest::newRow("old and not remade") << QByteArray("[ \"$1\" = -q ] && exit 1; exit 0") << true << false << false;
        QTest::newRow("old after a rebuild of all") << QByteArray("[ \"$1\" = -q ] && exit 0; exit 0") << true << true
                                                    << false;
    }

    void succeedsOnlyWhenTheTargetIsMade()
    {
        QFETCH(QByteArray, make);
        QFETCH(bool, oldTarget);
        QFETCH(bool, rebuildAll);
        QFETCH(bool, success);
        openProject();
        QVERIFY(writeFile(this->make(), "#!/bin/sh\n" + make + "\n"));
        const QString target = at(QStringLiteral("Main/Main.hex"));
        if (oldTarget) {
            QVERIFY(writeFile(target, ":00000001FF\n"));
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        project->setRebuildAll(rebuildAll);
        QCOMPARE(project->compile(), success);
        QCOMPARE(workbench->output.last(),
                 success ? QStringLiteral("success: Compiled successfully.\n")
                         : QStringLiteral("error: make ended without an error, but the build did not make %1.").arg(target));
        QVERIFY(!project->isBuilding());
    }

    void refusesWhatCannotBuild()
    {
        openProject(QStringLiteral("Other Files"));
        QVERIFY(!project->compile());
        QCOMPARE(workbench->output.last(), QStringLiteral("error: No source files to build"));
        openProject(QStringLiteral("My Linker Scripts"));
        QVERIFY(project->compile());

        compilers->find(QStringLiteral("Test Chain"))->storeDetection(true, QString());
        QVERIFY(writeFile(at(QStringLiteral("main.err")), "stale line\n"));
        QVERIFY(!project->compile());
        QCOMPARE(workbench->output.last(), QStringLiteral("error: Compiler is not configured.\n"));
        QVERIFY(!QFile::exists(at(QStringLiteral("main.err"))));

        QFile::remove(make());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(at(QStringLiteral("tools"))));
        const bool compiled = project->compile();
        qputenv("PATH", path);
        QVERIFY(!compiled);
        QCOMPARE(workbench->output.last(), QStringLiteral("error: make does not exist in path '%1'").arg(make()));
    }
};

ZMX_TEST(ProjectBuilderTest)

#include "tst_projectbuilder.moc"
