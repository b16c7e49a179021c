#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Makes the real program fault while its event loop runs.
class CrashTest : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode;
        QString errors;
    };

    Run runFaultingProgram(const QString &workingDirectory, const QString &editedFile = QString())
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), workingDirectory + QStringLiteral("/config"));
        environment.insert(QStringLiteral("ZMXSTUDIO_TEST_CRASH"), QStringLiteral("100"));
        environment.insert(QStringLiteral("ZMXSTUDIO_CRASH_NOTIFY"), QStringLiteral("stderr"));
        // Under AddressSanitizer: the program leaves through the crash path on purpose, with
        // its window and documents still allocated, so a leak check would only report them.
        const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           sanitizer + QLatin1String(sanitizer.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
        if (!editedFile.isEmpty())
            environment.insert(QStringLiteral("ZMXSTUDIO_TEST_CRASH_EDIT"), editedFile);
        program.setProcessEnvironment(environment);
        // A known simulator path keeps the start-up check from asking anything.
        QDir().mkpath(workingDirectory + QStringLiteral("/config/Dravenhol Electronics"));
        QFile settings(workingDirectory + QStringLiteral("/config/Dravenhol Electronics/ZMX Studio.conf"));
        if (!settings.open(QIODevice::WriteOnly))
            return {-3000, QString()};
        settings.write("[1]\nQuorvin=/opt/simulator\n");
        settings.close();
        program.setWorkingDirectory(workingDirectory);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), {});
        if (!program.waitForFinished(30000))
            return {-1000, QString()};
        if (program.exitStatus() != QProcess::NormalExit)
            return {-2000, QString::fromLocal8Bit(program.readAllStandardError())};
        return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardError())};
    }

private slots:
    void faultInEventLoopWritesDumpAndExitsWithMinusOne()
    {
        QTemporaryDir directory;
        QFile stale(directory.filePath(QStringLiteral("minidump.dmp")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(100000, 'x'));
        stale.close();

        const QString source = directory.filePath(QStringLiteral("main.c"));
        QFile original(source);
        QVERIFY(original.open(QIODevice::WriteOnly));
        original.write("int main(void) { return 0; }\n");
        original.close();

        const Run run = runFaultingProgram(directory.path(), source);
        QCOMPARE(run.exitCode, 255);
        QVERIFY2(run.errors.contains(QStringLiteral("Crashed, minidump created.")), qPrintable(run.errors));
        // The editor's unsaved text was written out after the fault.
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), QByteArray("unsaved work\nint main(void) { return 0; }\n"));
        QFile dump(directory.filePath(QStringLiteral("minidump.dmp")));
        QVERIFY(dump.open(QIODevice::ReadOnly));
        const QByteArray report = dump.readAll();
        QVERIFY2(report.startsWith("ZMX Studio crash report\nsignal 11"), report.left(200).constData());
        QVERIFY(report.size() < 100000);
    }

    void dumpThatCannotBeCreatedStaysSilent()
    {
        QTemporaryDir directory;
        // A directory in the dump's place defeats creation even for the superuser.
        QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("minidump.dmp")));
        const Run run = runFaultingProgram(directory.path());
        QCOMPARE(run.exitCode, 255);
        QVERIFY2(!run.errors.contains(QStringLiteral("Crashed")), qPrintable(run.errors));
    }
};

ZMX_TEST(CrashTest)

#include "tst_crash.moc"
