#include "app/commandlineoptions.h"
#include "app/srcmanager.h"
#include "testregistry.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records what the command line asks of the window, in order.
class RecordingWindow : public SrcManager
{
public:
    QStringList calls;

    void openSettings(bool systemScope) override
    {
        calls.append(systemScope ? QStringLiteral("settings:system") : QStringLiteral("settings:user"));
        SrcManager::openSettings(systemScope);
    }
    void scanCompilers() override { calls.append(QStringLiteral("scan")); }
    void openProject(const QString &fileName) override { calls.append(QStringLiteral("open:") + fileName); }
    void setAdvancedMode(bool advanced) override
    {
        calls.append(QStringLiteral("advanced"));
        SrcManager::setAdvancedMode(advanced);
    }
};

}

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void optionsActInOrderAndIgnoreCase_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("quit");
        QTest::newRow("nothing") << QStringList{"zmxstudio"} << QStringList{} << false;
        QTest::newRow("scan then quit") << QStringList{"zmxstudio", "--scan_compilers", "--quit"}
                                        << QStringList{"scan"} << true;
        QTest::newRow("quit does not stop a later scan")
            << QStringList{"zmxstudio", "--quit", "--scan_compilers"} << QStringList{"scan"} << true;
        QTest::newRow("admin scan reopens settings first")
            << QStringList{"zmxstudio", "--scan_compilers_admin", "-q"}
            << QStringList{"settings:system", "scan"} << true;
        QTest::newRow("letter case") << QStringList{"zmxstudio", "--QUIT", "--Advanced", "--SCAN_Compilers"}
                                     << QStringList{"advanced", "scan"} << true;
        QTest::newRow("short forms") << QStringList{"zmxstudio", "-Q", "-A"} << QStringList{"advanced"} << true;
        QTest::newRow("projects by extension only")
            << QStringList{"zmxstudio", "/p/a.zmxp", "/p/B.ZMXP", "/p/c.zmx", "/p/d.xml", "--unknown"}
            << QStringList{"open:/p/a.zmxp", "open:/p/B.ZMXP"} << false;
        QTest::newRow("program path is not an option")
            << QStringList{"/opt/tools.zmxp", "--advanced"} << QStringList{"open:/opt/tools.zmxp", "advanced"} << false;
    }

    void optionsActInOrderAndIgnoreCase()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, calls);
        QFETCH(bool, quit);
        RecordingWindow window;
        window.calls.clear();
        CommandLineOptions options(&window, arguments);
        options.parse();
        QCOMPARE(window.calls, calls);
        QCOMPARE(options.quitRequested(), quit);
        QCOMPARE(window.advancedMode(), calls.contains(QStringLiteral("advanced")));
    }

    void runsThatShowNoWindowNeedNoDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("quit") << QStringList{"--quit"} << QString() << QStringList{};
        QTest::newRow("quit, short and advanced") << QStringList{"-q", "--advanced"} << QString() << QStringList{};
        QTest::newRow("quit in capitals") << QStringList{"-Q"} << QString() << QStringList{};
        QTest::newRow("scan then quit") << QStringList{"--scan_compilers", "--QUIT"} << QString() << QStringList{};
        QTest::newRow("help") << QStringList{"--help"} << QStringLiteral("Usage: zmxstudio") << QStringList{};
        QTest::newRow("help wins over everything") << QStringList{"--scan_compilers", "--HELP", "--bogus"}
                                                   << QStringLiteral("--scan_compilers_admin") << QStringList{};
        QTest::newRow("version") << QStringList{"--version"} << QStringLiteral("ZMX Studio " ZMX_VERSION "\n")
                                 << QStringList{};
        QTest::newRow("unknown options warn once each")
            << QStringList{"-q", "--bogus", "/tmp/notes.txt", "-x", "--build-all"} << QString()
            << QStringList{"zmxstudio: unknown option --bogus ignored; --help lists the options",
                           "zmxstudio: unknown option -x ignored; --help lists the options",
                           "zmxstudio: unknown option --build-all ignored; --help lists the options"};
    }

    void runsThatShowNoWindowNeedNoDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QStringList, warnings);
        QTemporaryDir config;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No display at all: a run that never shows the window must not need one.
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), arguments);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        if (output.isEmpty())
            QCOMPARE(printed, QString());
        else if (output.endsWith(QLatin1Char('\n')))
            QCOMPARE(printed, output);
        else
            QVERIFY2(printed.contains(output), qPrintable(printed));
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        // Only our own lines count; the platform may add notes of its own.
        const QStringList ours = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^zmxstudio: ")));
        QCOMPARE(ours, warnings);
        // The information runs do nothing else: no settings are written.
        if (!output.isEmpty())
            QVERIFY(QDir(config.path()).isEmpty());
    }
};

ZMX_TEST(CommandLineTest)

#include "tst_commandline.moc"
