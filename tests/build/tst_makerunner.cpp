#include "build/makerunner.h"
#include "testregistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/types.h>

namespace {

bool isAlive(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) != "Z";
}

// A stand-in for make: a shell script with the given body.
QString writeScript(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

}

class MakeRunnerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *dir = nullptr;
    MakeRunner *runner = nullptr;
    QStringList lines;

    MakeRunner::Result run(const QByteArray &body, const QStringList &arguments = {})
    {
        const QString script = writeScript(*dir, QStringLiteral("make"), body);
        return runner->run(script, arguments, dir->path(), QProcessEnvironment::systemEnvironment());
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        runner = new MakeRunner;
        lines.clear();
        connect(runner, &MakeRunner::outputLine, this, [this](const QString &line) { lines.append(line); });
    }

    void cleanup()
    {
        delete runner;
        delete dir;
    }

    void joinsLinesSplitAcrossChunks()
    {
        // The pauses make the pieces arrive as reads of their own.
        const MakeRunner::Result result =
            run("printf 'first li'; sleep 0.3; printf 'ne\\n\\nsecond\\n'; sleep 0.3;"
                "printf 'to stderr' >&2; sleep 0.3; printf ' in two\\n' >&2\n"
                "echo \"args: $*\" >&2; echo \"dir: $(pwd)\"; printf 'no line feed' >&2\n",
                {QStringLiteral("--makefile=Debug/Makefile"), QStringLiteral("Debug")});
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::Finished));
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(lines, QStringList({QStringLiteral("first line"), QString(), QStringLiteral("second"),
                                     QStringLiteral("to stderr in two"),
                                     QStringLiteral("args: --makefile=Debug/Makefile Debug"),
                                     QStringLiteral("dir: ") + dir->path(), QStringLiteral("no line feed")}));
    }

    void keepsTheOrderOfBothChannels()
    {
        // Written without pauses, alternating: two pipes could hand them on in any order.
        QByteArray body = "i=0; while [ $i -lt 300 ]; do echo \"out $i\"; echo \"err $i\" >&2; i=$((i+1)); done\n";
        QCOMPARE(run(body).exitCode, 0);
        QStringList expected;
        for (int index = 0; index < 300; ++index)
            expected << QStringLiteral("out %1").arg(index) << QStringLiteral("err %1").arg(index);
        QCOMPARE(lines, expected);
    }

    void keepsOrderWhileEachLineLetsEventsRun()
    {
        // The output window lets events run on every line; the next chunk arriving then
        // must not overtake the lines still being handed on.
        disconnect(runner, &MakeRunner::outputLine, this, nullptr);
        QStringList seen;
        connect(runner, &MakeRunner::outputLine, this, [&seen](const QString &line) {
            seen.append(line);
            QCoreApplication::processEvents();
        });
        const MakeRunner::Result result = run("i=0; while [ $i -lt 20000 ]; do echo \"line $i\"; i=$((i+1)); done\n");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(seen.size(), 20000);
        for (int index = 0; index < seen.size(); ++index) {
            if (seen.at(index) != QStringLiteral("line %1").arg(index))
                QFAIL(qPrintable(QStringLiteral("line %1 is \"%2\"").arg(index).arg(seen.at(index))));
        }
    }

    void reportsExitCodeAndCrash()
    {
        MakeRunner::Result result = run("echo building; exit 3\n");
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::Finished));
        QCOMPARE(result.exitCode, 3);
        QCOMPARE(lines, QStringList({QStringLiteral("building")}));

        result = run("kill -SEGV $$\n");
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::Crashed));
        QVERIFY(!result.errorString.isEmpty());
    }

    void reportsAProgramThatCannotStart()
    {
        const QString script = writeScript(*dir, QStringLiteral("make"), "exit 0\n");
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        MakeRunner::Result result = runner->run(script, {}, dir->path(), QProcessEnvironment::systemEnvironment());
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::NotStarted));
        QVERIFY(!result.errorString.isEmpty());

        result = runner->run(dir->filePath(QStringLiteral("missing")), {}, dir->path(),
                             QProcessEnvironment::systemEnvironment());
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::NotStarted));
        QVERIFY(!runner->isRunning());
    }

    void abortEndsMakeAndWhatItStarted()
    {
        // Aborting outside a run changes nothing.
        runner->abort();
        const QString pidFile = dir->filePath(QStringLiteral("child.pid"));
        connect(runner, &MakeRunner::outputLine, this, [this](const QString &line) {
            if (line == QLatin1String("started"))
                QTimer::singleShot(0, runner, &MakeRunner::abort);
        });
        const MakeRunner::Result result =
            run("sleep 600 & echo $! > child.pid\necho started\nwait\necho never\n");
        QCOMPARE(int(result.outcome), int(MakeRunner::Outcome::Aborted));
        QCOMPARE(lines, QStringList({QStringLiteral("started")}));
        QVERIFY(!runner->isRunning());

        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t child = file.readAll().trimmed().toInt();
        QVERIFY(child > 0);
        // The killed child is gone, or a zombie waiting for whoever adopted it.
        QTRY_VERIFY_WITH_TIMEOUT(!isAlive(child), 10000);

        // The runner is ready for the next run.
        lines.clear();
        QCOMPARE(run("echo again\n").exitCode, 0);
        QCOMPARE(lines, QStringList({QStringLiteral("again")}));
    }

    void passesTheEnvironment()
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        environment.insert(QStringLiteral("TDEV"), QStringLiteral("t100"));
        const QString script = writeScript(*dir, QStringLiteral("make"), "echo \"$TDEV $PATH ${HOME:-unset}\"\n");
        QCOMPARE(runner->run(script, {}, dir->path(), environment).exitCode, 0);
        QCOMPARE(lines, QStringList({QStringLiteral("t100 /usr/bin:/bin unset")}));
    }
};

ZMX_TEST(MakeRunnerTest)

#include "tst_makerunner.moc"
