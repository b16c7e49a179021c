#include "fakeworkbench.h"
#include "platform/simulatorwindow.h"
#include "simulator/quorvininterface.h"
#include "standininstallation.h"
#include "testregistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <memory>

namespace {

// The hand-off file as a Qt program reads an ISO 8859-1 INI file: decoded from Latin-1,
// parsed by Qt's own INI reader. Each value as "GROUP/KEY".
QHash<QString, QString> readHandoff(const QString &path, QStringList *groups)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QTemporaryDir scratch;
    QFile copy(scratch.filePath(QStringLiteral("copy.ini")));
    if (!copy.open(QIODevice::WriteOnly))
        return {};
    copy.write(QString::fromLatin1(file.readAll()).toUtf8());
    copy.close();
    QSettings reader(copy.fileName(), QSettings::IniFormat);
    *groups = reader.childGroups();
    QHash<QString, QString> values;
    for (const QString &key : reader.allKeys())
        values.insert(key, reader.value(key).toString());
    return values;
}

}

// The link to the simulator, driven against the stand-in installed as the simulator.
class QuorvinInterfaceTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StandInInstallation> installation;
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<QuorvinInterface> link;
    QString design;
    QString firmware;

    // Hands the design over quietly and starts the stand-in on it, as Open Debugger does.
    bool launchStandIn()
    {
        link->sendFirmwareQuietly(design, QStringLiteral("atmega328p"), QStringLiteral("avr"), firmware,
                                  QStringLiteral("16000000"));
        return link->launch(installation->path());
    }

    QString output() const { return workbench->allOutput(); }

private slots:
    void init()
    {
        installation = std::make_unique<StandInInstallation>();
        QVERIFY(installation->isValid());
        workbench = std::make_unique<FakeWorkbench>();
        link = std::make_unique<QuorvinInterface>(workbench.get());
        design = installation->path() + QStringLiteral("/board/Board.dsn");
        firmware = installation->path() + QStringLiteral("/board/Debug/Debug.hex");
        QDir().mkpath(installation->path() + QStringLiteral("/board"));
        QFile(design).open(QIODevice::WriteOnly);
    }

    void cleanup()
    {
        installation->killAll();
        link.reset();
        workbench.reset();
        installation.reset();
    }

    void handoffFileKeepsItsStructureWhateverTheValuesHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain path") << QStringLiteral("/home/ann/Boards/Blink.dsn");
        QTest::newRow("line breaks") << QStringLiteral("a\nDEVICE=EVIL\r\n[OTHER]\nX=1");
        QTest::newRow("group and comment") << QStringLiteral("[QUORVIN] ; not a comment # nor this");
        QTest::newRow("separators") << QStringLiteral("key=value, list; more");
        QTest::newRow("quotes and backslashes") << QStringLiteral("C:\\Boards\\\"Blink\".dsn\\");
        QTest::newRow("outer spaces") << QStringLiteral("  padded  ");
        QTest::newRow("leading at") << QStringLiteral("@Variant(x)");
        QTest::newRow("latin-1") << QStringLiteral("/home/zoë/Schaltplän/µC.dsn");
        QTest::newRow("beyond latin-1") << QStringLiteral("/home/Ωmega/电路/😀.dsn");
        QTest::newRow("escape then hex digit") << QStringLiteral("Ω1f\tA\x01" "b");
        QTest::newRow("control characters") << QStringLiteral("bell\a tab\t del\x7f c1\u0085 nul") + QChar(0) + QStringLiteral("0");
        QTest::newRow("empty") << QString();
    }

    // The reader gets back exactly one group with the seven keys and every value as it was
    // (the controller and family upper-cased), whatever a path, a name or a clock holds.
    void handoffFileKeepsItsStructureWhateverTheValuesHold()
    {
        QFETCH(QString, text);
        QVERIFY(!link->sendFirmware(text, QStringLiteral("pic16f877a") + text, QStringLiteral("pic16") + text,
                                    text + QStringLiteral(".hex"), text, true, false));
        QStringList groups;
        const QHash<QString, QString> values = readHandoff(link->iniPath(), &groups);
        QCOMPARE(groups, QStringList{QStringLiteral("QUORVIN")});
        QCOMPARE(values.size(), 7);
        QCOMPARE(values.value(QStringLiteral("QUORVIN/DESIGNFILE")), text);
        QCOMPARE(values.value(QStringLiteral("QUORVIN/DEVICE")), (QStringLiteral("pic16f877a") + text).toUpper());
        QCOMPARE(values.value(QStringLiteral("QUORVIN/FAMILY")), (QStringLiteral("pic16") + text).toUpper());
        QCOMPARE(values.value(QStringLiteral("QUORVIN/PROGRAM")), text + QStringLiteral(".hex"));
        QCOMPARE(values.value(QStringLiteral("QUORVIN/CLOCK")), text);
        QCOMPARE(values.value(QStringLiteral("QUORVIN/AUTORUN")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("QUORVIN/NEWDESIGN")), QStringLiteral("0"));

        // ISO 8859-1: one byte per character it holds, the rest escaped; one line per key.
        QFile file(link->iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count('\n'), 8);
        QVERIFY(!bytes.contains('\r'));
        if (text.contains(QStringLiteral("zoë")))
            QVERIFY(bytes.contains(QByteArray("zo\xeb")));
        // Nothing was sent: no simulator runs.
        QCOMPARE(output(), QString());
    }

    void handoffFileHoldsTheProjectDataAsTheSimulatorExpects()
    {
        QVERIFY(!link->sendFirmware(QStringLiteral("/Work/Blink.DSN"), QStringLiteral("pic16f877a"), QStringLiteral("pic16"),
                                    QStringLiteral("/Work/Debug/Blink.Hex"), QStringLiteral("20MHz"), false, true));
        QFile file(link->iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[QUORVIN]\nDESIGNFILE=/Work/Blink.DSN\nPROGRAM=/Work/Debug/Blink.Hex\n"
                                            "CLOCK=20MHz\nDEVICE=PIC16F877A\nFAMILY=PIC16\nAUTORUN=0\nNEWDESIGN=1\n"));
        QCOMPARE(QFileInfo(link->iniPath()).fileName(), QStringLiteral("quarel.ini"));
    }

    // A reader that has the file open keeps reading the whole old file: the new one
    // replaces it in one step. Two links (two IDEs) never write the same file, and each
    // removes its own when it goes.
    void handoffFileIsReplacedAtOnceAndPrivateToTheInstance()
    {
        link->sendFirmwareQuietly(design, QStringLiteral("AT89C52"), QStringLiteral("8051"), firmware, QStringLiteral("1"));
        QFile earlier(link->iniPath());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        const QByteArray before = earlier.readAll();
        QFile reader(link->iniPath());
        QVERIFY(reader.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        link->sendFirmwareQuietly(design + QString(4000, QLatin1Char('x')), QStringLiteral("AT89C52"), QStringLiteral("8051"),
                                  firmware, QStringLiteral("2"));
        QCOMPARE(reader.readAll(), before);

        QuorvinInterface other(workbench.get());
        other.sendFirmwareQuietly(design, QStringLiteral("ATtiny85"), QStringLiteral("AVR"), firmware, QStringLiteral("3"));
        QVERIFY(other.iniPath() != link->iniPath());
        QVERIFY(QFileInfo(other.iniPath()).absolutePath().startsWith(installation->tempPath()));
        const QString folder = QFileInfo(link->iniPath()).absolutePath();
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
        link.reset();
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo::exists(other.iniPath()));
    }

    void handoffFileThatCannotBeWrittenIsReported()
    {
        qputenv("TEMP", (installation->path() + QStringLiteral("/missing/folder")).toLocal8Bit());
        QuorvinInterface homeless(workbench.get());
        QVERIFY(!homeless.sendFirmware(design, QStringLiteral("AT89C52"), QStringLiteral("8051"), firmware,
                                       QStringLiteral("1"), false, false));
        QVERIFY2(output().startsWith(QStringLiteral("error: Cannot write the VASK hand-off file ")), qPrintable(output()));
        QVERIFY(output().contains(QStringLiteral("/missing/folder")));
    }

    void launchRefusesWhatItCannotStart_data()
    {
        QTest::addColumn<QString>("installDir");
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("expected");
        const QString dir = QStringLiteral("install");
        const QString dsn = QStringLiteral("design");
        const QString device = QStringLiteral("AT89C52");
        const QString hex = QStringLiteral("fw.hex");
        QTest::newRow("no installation")
            << QString() << dsn << device << hex
            << QStringLiteral("error: Cannot launch the design file as no Quorvin installation has been detected.\n"
                              "If you have a copy of Quorvin installed you can set the path from the Editor "
                              "Configuration dialogue on the Config menu.\nQuorvin ZMX is available from Dravenhol "
                              "Electronics and its distributors.");
        QTest::newRow("no design") << dir << QString() << device << hex
                                   << QStringLiteral("error: No design file specified for the project.");
        QTest::newRow("no controller") << dir << dsn << QString() << hex
                                       << QStringLiteral("error: Microcontroller is not selected in the project properties.");
        QTest::newRow("no firmware") << dir << dsn << device << QString()
                                     << QStringLiteral("error: Compiled firmware file name is not set.");
        QTest::newRow("design missing") << dir << QStringLiteral("missing") << device << hex
                                        << QStringLiteral("error: Design file not found.");
    }

    void launchRefusesWhatItCannotStart()
    {
        QFETCH(QString, installDir);
        QFETCH(QString, design);
        QFETCH(QString, device);
        QFETCH(QString, program);
        QFETCH(QString, expected);
        const QString designPath = design == QLatin1String("design") ? this->design
                                   : design.isEmpty()                ? QString()
                                                                     : installation->path() + QStringLiteral("/none.dsn");
        link->sendFirmwareQuietly(designPath, device, QStringLiteral("8051"), program, QStringLiteral("1"));
        QVERIFY(!link->launch(installDir.isEmpty() ? QString() : installation->path()));
        QCOMPARE(workbench->output, QStringList{expected});
        QVERIFY(!link->isRunning());
        QCOMPARE(installation->starts(), 0);
    }

    // Launch starts the program of the installation with "/P:" and the hand-off file, in
    // the design's folder; a second launch finds it running and starts nothing, not even
    // looking for the design file.
    void launchStartsTheSimulatorOnceOnTheHandoffFile()
    {
        QVERIFY(launchStandIn());
        QVERIFY(link->isRunning());
        QVERIFY(Platform::simulatorWindowExists(link->processId()));
        const QList<QJsonObject> starts = installation->entries(QStringLiteral("start"));
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts.first().value(QStringLiteral("args")).toArray().toVariantList(),
                 QVariantList{QStringLiteral("/P:") + link->iniPath()});
        QCOMPARE(starts.first().value(QStringLiteral("cwd")).toString(), QFileInfo(design).absolutePath());
        const QJsonObject handoff = installation->lastHandoff();
        QCOMPARE(handoff.value(QStringLiteral("DESIGNFILE")).toString(), design);
        QCOMPARE(handoff.value(QStringLiteral("DEVICE")).toString(), QStringLiteral("ATMEGA328P"));
        QCOMPARE(handoff.value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("0"));

        QVERIFY(QFile::remove(design));
        QVERIFY(link->launch(installation->path()));
        QCOMPARE(installation->starts(), 1);
        QCOMPARE(output(), QString());
    }

    // The commands of a debugging session as the simulator receives them.
    void debuggingSessionSendsItsCommands()
    {
        QVERIFY(!link->startDebugging());
        QVERIFY(launchStandIn());
        QVERIFY(installation->commands().isEmpty());

        QVERIFY(link->startDebugging());
        QVERIFY(link->isDebugging());
        QCOMPARE(installation->commands(), (QList<int>{2, 4}));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("1"));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("NEWDESIGN")).toString(), QStringLiteral("0"));
        QCOMPARE(output(), QStringLiteral("success: Sent program firmware to VASK for simulation."));
        for (const QJsonObject &command : installation->entries(QStringLiteral("command"))) {
            QCOMPARE(command.value(QStringLiteral("message")).toInt(), 1424);
            QCOMPARE(command.value(QStringLiteral("parameter")).toInt(), 0);
        }

        // A fresh firmware while debugging, quietly.
        QVERIFY(link->sendFirmwareQuietly(design, QStringLiteral("atmega328p"), QStringLiteral("avr"),
                                          firmware + QStringLiteral(".new"), QStringLiteral("8000000")));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("PROGRAM")).toString(), firmware + QStringLiteral(".new"));
        QCOMPARE(workbench->output.size(), 1);

        link->stopDebugging();
        QVERIFY(!link->isDebugging());
        QVERIFY(link->closeSimulator());
        QCOMPARE(installation->commands(), (QList<int>{2, 4, 4, 2, 3}));
        QTRY_VERIFY(!link->isRunning());
        QVERIFY(!link->closeSimulator());
        // The end of the process cleared the state and refreshed the window's actions.
        QVERIFY(workbench->stateUpdates > 0);
        QVERIFY(!link->startDebugging());
        QCOMPARE(installation->commands().size(), 5);
    }

    void destroyingTheLinkStopsAndClosesTheSimulator()
    {
        QVERIFY(launchStandIn());
        QVERIFY(link->startDebugging());
        const qint64 pid = link->processId();
        link.reset();
        QCOMPARE(installation->commands(), (QList<int>{2, 4, 2, 3}));
        // It was waited for, not left behind.
        QVERIFY(::kill(pid_t(pid), 0) != 0);
    }

    void misbehavingSimulators_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("launched");
        QTest::addColumn<QString>("expected");
        QTest::newRow("crashes") << QStringLiteral("crash") << true << QStringLiteral("error: VASK crashed.");
        QTest::newRow("exits at once") << QStringLiteral("exit") << false << QString();
        QTest::newRow("never answers") << QStringLiteral("silent") << true
                                       << QStringLiteral("error: VASK did not answer within 2 second(s).");
    }

    // However the simulator fails, debugging ends up cleared, the failure is reported once
    // per command, and no message holds the IDE for longer than the bound while its
    // windows keep being served.
    void misbehavingSimulators()
    {
        QFETCH(QString, mode);
        QFETCH(bool, launched);
        QFETCH(QString, expected);
        StandInInstallation::setMode(mode);
        QCOMPARE(launchStandIn(), launched);
        if (!launched) {
            QVERIFY(!link->startDebugging());
            QCOMPARE(installation->starts(), 1);
            QVERIFY(installation->commands().isEmpty());
            QCOMPARE(output(), QString());
            return;
        }

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(100);
        QElapsedTimer clock;
        clock.start();
        const bool started = link->startDebugging();
        const qint64 elapsed = clock.elapsed();
        if (mode == QLatin1String("silent")) {
            QVERIFY(!started);
            // Two unanswered messages (stop, then reload), each given up on at the bound.
            QCOMPARE(installation->commands(), (QList<int>{2, 4}));
            QVERIFY2(elapsed >= 2 * Platform::simulatorReplyTimeoutMs - 200, qPrintable(QString::number(elapsed)));
            QVERIFY2(elapsed < 3 * Platform::simulatorReplyTimeoutMs, qPrintable(QString::number(elapsed)));
            QVERIFY(ticks >= 10);
            QCOMPARE(workbench->output, (QStringList{expected, expected}));
            QVERIFY(link->isRunning());
        } else {
            QVERIFY(started);
            QTRY_VERIFY(!link->isRunning());
            QVERIFY(!link->isDebugging());
            QVERIFY(workbench->output.contains(expected));
        }
        QVERIFY(!link->isDebugging());
    }

    // Only the simulator the link started is ever addressed.
    void simulatorStartedElsewhereIsNeverFound()
    {
        QProcess elsewhere;
        elsewhere.start(installation->path() + QStringLiteral("/bin/vask"), {QStringLiteral("/P:")});
        QVERIFY(elsewhere.waitForStarted());
        QTRY_VERIFY(Platform::simulatorWindowExists(elsewhere.processId()));

        QVERIFY(!link->isRunning());
        QVERIFY(!link->sendFirmware(design, QStringLiteral("AT89C52"), QStringLiteral("8051"), firmware,
                                    QStringLiteral("1"), true, false));
        QVERIFY(!link->startDebugging());
        QVERIFY(!link->closeSimulator());
        link->stopDebugging();
        QVERIFY(installation->commands().isEmpty());
        QCOMPARE(output(), QString());
        elsewhere.kill();
        elsewhere.waitForFinished();
    }

    void programThatCannotStartIsReported()
    {
        QVERIFY(QFile::remove(installation->path() + QStringLiteral("/bin/vask")));
        QVERIFY(!launchStandIn());
        QVERIFY(workbench->output.contains(
            QStringLiteral("error: Cannot launch VASK as no Quorvin installation has been detected.\nIf you have a copy "
                           "of Quorvin installed you can set the path from the Editor Configuration dialogue on the "
                           "Config menu.\nQuorvin ZMX is available from Dravenhol Electronics and its distributors.")));
        QVERIFY(!link->isDebugging());
    }
};

ZMX_TEST(QuorvinInterfaceTest)

#include "tst_quorvininterface.moc"
