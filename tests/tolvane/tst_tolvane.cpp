#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace {

const QByteArray usage =
        "Example usage:\nTolvane --good-exits=0,1 --executable=path_to_executable arg1 ... argn";

struct Outcome
{
    bool ended = false; // ended by itself, normally, within the time limit
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct Launch
{
    QStringList arguments;
    QByteArray input;
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess::ProcessChannelMode channels = QProcess::SeparateChannels;
};

// Helper programs are named in test data as @name@ so the data stays readable.
QStringList expand(QStringList arguments)
{
    const QList<QPair<QString, QString>> helpers = {
        {"@exitwith@", EXITWITH_PATH}, {"@printargs@", PRINTARGS_PATH}, {"@crash@", CRASH_PATH},
        {"@flood@", FLOOD_PATH}, {"@echostdin@", ECHOSTDIN_PATH}};
    for (QString &argument : arguments) {
        for (const auto &[name, path] : helpers)
            argument.replace(name, path);
    }
    return arguments;
}

Outcome run(const Launch &launch)
{
    QProcess process;
    process.setProcessChannelMode(launch.channels);
    process.setProcessEnvironment(launch.environment);
    if (!launch.workingDirectory.isEmpty())
        process.setWorkingDirectory(launch.workingDirectory);
    process.start(QStringLiteral(TOLVANE_PATH), expand(launch.arguments));
    process.write(launch.input);
    process.closeWriteChannel();

    Outcome outcome;
    outcome.ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    outcome.exitCode = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    if (launch.channels == QProcess::SeparateChannels)
        outcome.err = process.readAllStandardError();
    return outcome;
}

Outcome run(const QStringList &arguments)
{
    Launch launch;
    launch.arguments = arguments;
    return run(launch);
}

} // namespace

class TolvaneTest : public QObject
{
    Q_OBJECT

private slots:
    void mapping_data();
    void mapping();
    void help_data();
    void help();
    void argumentsPassUnchanged_data();
    void argumentsPassUnchanged();
    void executableIsValuePart_data();
    void executableIsValuePart();
    void startFailureIsFailure_data();
    void startFailureIsFailure();
    void crashIsFailureWhateverTheList();
    void misuseIsExplained_data();
    void misuseIsExplained();
    void endingTheWrapperEndsTheChild_data();
    void endingTheWrapperEndsTheChild();
    void outputReachesCallerInOrder();
    void standardInputReachesChild();
};

void TolvaneTest::mapping_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("expected");

    const QString exe = QStringLiteral("--executable=@exitwith@");
    QTest::newRow("default list, 0") << QStringList{exe, "0"} << 0;
    QTest::newRow("default list, 1") << QStringList{exe, "1"} << 1;
    QTest::newRow("0,1 with 1") << QStringList{"--good-exits=0,1", exe, "1"} << 0;
    QTest::newRow("0,1 with 2") << QStringList{"--good-exits=0,1", exe, "2"} << 1;
    QTest::newRow("0 not implied by a list") << QStringList{"--good-exits=3,255", exe, "0"} << 1;
    QTest::newRow("last of the list") << QStringList{"--good-exits=3,255", exe, "255"} << 0;
    QTest::newRow("capitals") << QStringList{"--GOOD-EXITS=2", "--EXECUTABLE=@exitwith@", "2"} << 0;
    QTest::newRow("longer option names")
            << QStringList{"--Good-Exits-List=4", "--Executable-Path=@exitwith@", "4"} << 0;
    QTest::newRow("later list replaces earlier")
            << QStringList{"--good-exits=5", "--good-exits=7", exe, "5"} << 1;
    QTest::newRow("list behind executable belongs to child")
            << QStringList{exe, "2", "--good-exits=2"} << 1;
    QTest::newRow("empty pieces do not make 0 good")
            << QStringList{"--good-exits=,,3,", exe, "0"} << 1;
    QTest::newRow("empty pieces keep the number") << QStringList{"--good-exits=,,3,", exe, "3"} << 0;
    QTest::newRow("word reads as 0, 0") << QStringList{"--good-exits=abc", exe, "0"} << 0;
    QTest::newRow("unknown arguments skipped")
            << QStringList{"--verbose", "--good-exits=6", "stray", exe, "6"} << 0;
}

void TolvaneTest::mapping()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, expected);

    const Outcome outcome = run(arguments);
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, expected);
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(outcome.err, QByteArray());
}

void TolvaneTest::help_data()
{
    QTest::addColumn<QString>("request");
    for (const char *request : {"--help", "-h", "-H", "--HELP", "--helpful"})
        QTest::newRow(request) << QString::fromLatin1(request);
}

void TolvaneTest::help()
{
    QFETCH(QString, request);

    // The program behind must not run: its "x" would show up in the output.
    const Outcome outcome = run({request, "--executable=@printargs@", "x"});
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, usage);
    QCOMPARE(outcome.err, QByteArray());
}

void TolvaneTest::argumentsPassUnchanged_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("childArguments");

    QTest::newRow("plain") << QStringList{"--good-exits=0,1"} << QStringList{"a", "b"};
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("option-like and awkward")
            << QStringList{}
            << QStringList{"--good-exits=5", "--executable=other", "-h", "--help", "",
                           "two words", "k=v", " ", "\"quoted\"", "$HOME", "*", "\xc3\xa4\xe2\x82\xac"};
}

void TolvaneTest::argumentsPassUnchanged()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, childArguments);

    const Outcome outcome = run(options + QStringList{"--executable=@printargs@"} + childArguments);
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 0);
    QByteArray expected;
    for (const QString &argument : childArguments)
        expected += argument.toUtf8() + '\n';
    QCOMPARE(outcome.out, expected);
}

void TolvaneTest::executableIsValuePart_data()
{
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("option");

    QTest::newRow("after the first =") << "a=b" << "--executable=./a=b";
    QTest::newRow("no = takes the whole argument") << "--Executable" << "--Executable";
}

void TolvaneTest::executableIsValuePart()
{
    QFETCH(QString, programName);
    QFETCH(QString, option);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(PRINTARGS_PATH), dir.filePath(programName)));

    // A bare program name is looked up on PATH, a relative path in the working directory.
    Launch launch;
    launch.arguments = QStringList{option, "reached"};
    launch.workingDirectory = dir.path();
    launch.environment.insert(QStringLiteral("PATH"), dir.path());
    const Outcome outcome = run(launch);
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, QByteArray("reached\n"));
}

void TolvaneTest::startFailureIsFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("directory") << "directory";
    QTest::newRow("not executable") << "not executable";
}

void TolvaneTest::startFailureIsFailure()
{
    QFETCH(QString, kind);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString program = dir.filePath(QStringLiteral("tool"));
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tool")));
    } else if (kind == QLatin1String("not executable")) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }

    // The list names every code a program that never ran might be credited with.
    const Outcome outcome = run({"--good-exits=0,1,127,255,-1", "--executable=" + program});
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY2(outcome.err.startsWith("tolvane: cannot start \"" + program.toUtf8() + "\": "),
             outcome.err.constData());
    QVERIFY(outcome.err.endsWith('\n'));
}

void TolvaneTest::crashIsFailureWhateverTheList()
{
    QStringList everyCode;
    for (int code = -255; code <= 255; ++code)
        everyCode.append(QString::number(code));

    const Outcome outcome = run({"--good-exits=" + everyCode.join(','), "--executable=@crash@"});
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QByteArray("about to crash\n"));
}

void TolvaneTest::misuseIsExplained_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("problem");
    QTest::newRow("empty executable") << QStringList{"--executable=", "0"}
                                      << QByteArray("tolvane: --executable= names no program\n");
    QTest::newRow("no executable") << QStringList{"--good-exits=0,1"}
                                   << QByteArray("tolvane: no program given (--executable=PATH is missing)\n");
    QTest::newRow("no arguments") << QStringList{}
                                  << QByteArray("tolvane: no program given (--executable=PATH is missing)\n");
    QTest::newRow("help only counts first") << QStringList{"--good-exits=0", "--help"}
                                            << QByteArray("tolvane: no program given (--executable=PATH is missing)\n");
}

void TolvaneTest::misuseIsExplained()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, problem);

    const Outcome outcome = run(arguments);
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(outcome.err, problem + usage + '\n');
}

void TolvaneTest::endingTheWrapperEndsTheChild_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TolvaneTest::endingTheWrapperEndsTheChild()
{
    QFETCH(int, signal);

    QProcess wrapper;
    // The shell says its process number and becomes the long sleep under that number.
    wrapper.start(QStringLiteral(TOLVANE_PATH),
                  {"--executable=/bin/sh", "-c", "echo $$; exec sleep 60"});
    QVERIFY(wrapper.waitForReadyRead(10000));
    const pid_t child = pid_t(wrapper.readLine().trimmed().toLongLong());
    QVERIFY(child > 0);
    QCOMPARE(::kill(child, 0), 0);

    ::kill(pid_t(wrapper.processId()), signal);
    QVERIFY(wrapper.waitForFinished(10000));
    QCOMPARE(wrapper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(wrapper.exitCode(), 1);
    // The wrapper waited for its child, so the number is free again.
    QCOMPARE(::kill(child, 0), -1);
    QCOMPARE(errno, ESRCH);
}

void TolvaneTest::outputReachesCallerInOrder()
{
    // Far more than a pipe holds, so a wrapper that read the child's output and
    // passed it on later would show up as reordering or loss.
    const int lines = 100000;
    QByteArray merged, even, odd;
    for (int i = 0; i < lines; ++i) {
        const QByteArray line = QByteArray::number(i) + '\n';
        merged += line;
        (i % 2 == 0 ? even : odd) += line;
    }

    Launch launch;
    launch.arguments = QStringList{"--executable=@flood@", QString::number(lines)};
    launch.channels = QProcess::MergedChannels;
    const Outcome together = run(launch);
    QVERIFY(together.ended);
    QCOMPARE(together.exitCode, 0);
    QVERIFY(together.out == merged + "end");

    launch.channels = QProcess::SeparateChannels;
    const Outcome apart = run(launch);
    QVERIFY(apart.ended);
    QCOMPARE(apart.exitCode, 0);
    QVERIFY(apart.out == even + "end");
    QVERIFY(apart.err == odd);
}

void TolvaneTest::standardInputReachesChild()
{
    QByteArray input;
    for (int i = 0; input.size() < 1 << 20; ++i)
        input += "line " + QByteArray::number(i) + '\n';

    Launch launch;
    launch.arguments = QStringList{"--executable=@echostdin@"};
    launch.input = input;
    const Outcome outcome = run(launch);
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.out == input);
}

QTEST_GUILESS_MAIN(TolvaneTest)
#include "tst_tolvane.moc"
