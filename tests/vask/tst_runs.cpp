#include "vasktests.h"

#include "designreader.h"
#include "digitwidget.h"
#include "ledwidget.h"
#include "simulatorwindow.h"
#include "terminalwidget.h"

#include <QLocalSocket>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QByteArray boardDesign = "<?xml version=\"1.0\"?>\n<DESIGN NAME=\"Blinker\" DEVICE=\"ATmega328P\">\n"
                               " <LED NAME=\"LED1\" PIN=\"PB5\" COLOUR=\"green\"/>\n"
                               " <BUTTON NAME=\"S1\" PIN=\"PD2\" ACTIVE=\"LOW\"/>\n"
                               " <TERMINAL NAME=\"Console\"/>\n"
                               " <DIGIT NAME=\"Units\" A=\"PC0\" B=\"PC1\" C=\"PC2\" D=\"PC3\" E=\"PC4\" F=\"PC5\" G=\"PD7\"/>\n"
                               "</DESIGN>\n";

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runVask(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VASK_PATH), arguments);
    Result result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

// Times (in seconds) at which the named part's pin went to level in a trace.
QList<double> edges(const QString &trace, const QString &part, const QString &level)
{
    QList<double> times;
    for (const QString &line : trace.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() == 4 && fields[1] == part && fields[3] == level)
            times.append(fields[0].toDouble());
    }
    return times;
}

QByteArray request(qint32 command, qint32 message = 1424)
{
    QByteArray bytes(12, '\0');
    qToLittleEndian<qint32>(message, bytes.data());
    qToLittleEndian<qint32>(command, bytes.data() + 4);
    return bytes;
}

QByteArray handOff(const QString &design, const QString &program, const char *device, bool autoRun, bool newDesign)
{
    return "[QUORVIN]\nDESIGNFILE=" + design.toLatin1() + "\nPROGRAM=" + program.toLatin1() + "\nCLOCK=16MHz\nDEVICE="
           + device + "\nFAMILY=AVR\nAUTORUN=" + (autoRun ? "1" : "0") + "\nNEWDESIGN=" + (newDesign ? "1" : "0") + "\n";
}

}

// The simulator as the IDE and scripts use it: headless traces, the command socket of a
// running window, and the window's parts driven by real firmware.
class RunsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    static QString boardDesignPath()
    {
        return QStringLiteral(VASK_SOURCE_DIR "/data/devboards/avr_atmega328p/ATmega328P_Board.dsn");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(VaskTest::writeFile(path("board.dsn"), boardDesign));
    }

    // The board's firmware toggles its LED every 500 ms (main.c): the trace shows it.
    void blinkTraceKeepsTheSourcesPeriod_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::newRow("Intel HEX") << VaskTest::firmware("blink.hex");
        QTest::newRow("ELF") << VaskTest::firmware("blink.elf");
    }

    void blinkTraceKeepsTheSourcesPeriod()
    {
        QFETCH(QString, firmware);
        const QString trace = path("blink.trace");
        const Result result = runVask({"--headless", "--design", boardDesignPath(), "--program", firmware, "--device",
                                       "atmega328p", "--clock", "16MHz", "--run-for", "3s", "--trace", trace});
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QVERIFY2(result.out.contains(QLatin1String("Simulated 3.0")), qPrintable(result.out));
        QFile file(trace);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        // The released button holds its pin high from the start.
        QVERIFY2(text.contains(QLatin1String("\n0.000000000 Rate PD2 1\n")), qPrintable(text.left(400)));
        const QList<double> on = edges(text, QStringLiteral("LED"), QStringLiteral("1"));
        const QList<double> off = edges(text, QStringLiteral("LED"), QStringLiteral("0"));
        QVERIFY2(on.size() >= 3 && off.size() >= 3, qPrintable(text));
        QList<double> all = on + off;
        std::sort(all.begin(), all.end());
        // Skip the start-up edges (direction set, first toggle) before measuring.
        all = all.mid(2);
        QVERIFY(all.size() >= 4);
        for (int i = 1; i < all.size(); ++i) {
            const double halfPeriod = all[i] - all[i - 1];
            QVERIFY2(qAbs(halfPeriod - 0.5) < 0.005, qPrintable(QString::number(halfPeriod, 'f', 6)));
        }
    }

    // Each board's design matches the wiring its firmware assumes (board.h, board.inc).
    void boardDesignsFitTheirFirmware_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("controller");
        QTest::addColumn<QString>("ledPin");
        QTest::addColumn<bool>("ledActiveHigh");
        QTest::addColumn<QString>("buttonPin");
        const QString boards = QStringLiteral(VASK_SOURCE_DIR "/data/devboards/");
        QTest::newRow("AVR") << boards + "avr_atmega328p/ATmega328P_Board.dsn" << "ATmega328P" << "PB5" << true << "PD2";
        QTest::newRow("8051") << boards + "mcs51_at89c52/AT89C52_Board.dsn" << "AT89C52" << "P1.0" << false << "P3.2";
        QTest::newRow("PIC16") << boards + "pic16f877a/PIC16F877A_Board.dsn" << "PIC16F877A" << "RD0" << true << "RB0";
    }

    void boardDesignsFitTheirFirmware()
    {
        QFETCH(QString, design);
        QFETCH(QString, controller);
        QFETCH(QString, ledPin);
        QFETCH(bool, ledActiveHigh);
        QFETCH(QString, buttonPin);
        const DeviceInfo device = DeviceCatalog::find(controller);
        const Design board = DesignReader(device).read(design);
        QVERIFY2(board.problems.isEmpty(), qPrintable(board.problems.value(0).text));
        QCOMPARE(board.device, controller);
        QCOMPARE(board.parts.size(), 2);
        QCOMPARE(board.parts[0].kind, DesignPart::Led);
        QCOMPARE(board.parts[0].pins, QStringList{ledPin});
        QCOMPARE(board.parts[0].activeHigh, ledActiveHigh);
        QCOMPARE(board.parts[1].kind, DesignPart::Button);
        QCOMPARE(board.parts[1].pins, QStringList{buttonPin});
        QVERIFY(!board.parts[1].activeHigh);
    }

    void uartTextArrives()
    {
        const Result result = runVask({"--headless", "--design", path("board.dsn"), "--program",
                                       VaskTest::firmware("uart.hex"), "--device", "ATMEGA328P", "--run-for", "50ms"});
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QString text;
        static const QRegularExpression byteLine(QStringLiteral("^([0-9.]+) Console TX \"(.*)\"$"),
                                                 QRegularExpression::MultilineOption);
        double last = 0;
        for (auto match = byteLine.globalMatch(result.out); match.hasNext();) {
            const QRegularExpressionMatch line = match.next();
            QVERIFY(line.captured(1).toDouble() >= last);
            last = line.captured(1).toDouble();
            text += line.captured(2) == QLatin1String("\\n") ? QStringLiteral("\n") : line.captured(2);
        }
        QCOMPARE(text, QStringLiteral("Hello from the AVR\n"));
        // 19 characters of 10 bits at 9600 baud take about 20 ms.
        QVERIFY2(last > 0.015 && last < 0.03, qPrintable(QString::number(last)));
    }

    void badInputIsAClearMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString blink = VaskTest::firmware("blink.hex");
        QTest::newRow("missing firmware") << QStringList{"--program", path("none.hex"), "--device", "atmega328p"}
                                          << "The firmware file " + path("none.hex") + " does not exist";
        QTest::newRow("firmware is no HEX") << QStringList{"--program", path("board.dsn"), "--device", "atmega328p"}
                                            << "neither an Intel HEX nor an ELF file";
        QTest::newRow("firmware too large for the controller")
            << QStringList{"--program", path("big.hex"), "--device", "attiny13", "--design", path("plain.dsn")}
            << "needs 1025 bytes of flash, the ATtiny13 has 1024";
        QTest::newRow("unknown controller") << QStringList{"--program", blink, "--device", "z80"} << "unknown controller z80";
        QTest::newRow("family without a back end") << QStringList{"--program", blink, "--device", "AT89C52"}
                                                   << "the AT89C52 (8051) cannot be simulated yet; runnable families: AVR";
        QTest::newRow("bad clock") << QStringList{"--program", blink, "--device", "atmega328p", "--clock", "fast"}
                                   << "fast is not a clock frequency";
        QTest::newRow("bad design") << QStringList{"--program", blink, "--device", "atmega328p", "--design", path("bad.dsn")}
                                    << path("bad.dsn") + ":3: unknown part RELAY";
    }

    void badInputIsAClearMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QVERIFY(VaskTest::writeFile(path("bad.dsn"), "<DESIGN>\n <LED PIN=\"PB5\"/>\n <RELAY PIN=\"PB4\"/>\n</DESIGN>\n"));
        QVERIFY(VaskTest::writeFile(path("plain.dsn"), "<DESIGN/>\n"));
        // One byte at 0x400, just past the 1 KiB of an ATtiny13.
        QVERIFY(VaskTest::writeFile(path("big.hex"), ":01040000AA51\n:00000001FF\n"));
        QStringList all = {"--headless", "--design", path("board.dsn"), "--run-for", "10ms", "--trace", path("x.trace")};
        all += arguments;
        const Result result = runVask(all);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
    }

    // The IDE's side of the socket: every request gets one byte; 3 ends the program.
    void socketCommandsAreAnswered()
    {
        QVERIFY(VaskTest::writeFile(path("quarel.ini"), handOff(path("board.dsn"), VaskTest::firmware("blink.hex"), "ATMEGA328P", true, false)));
        QProcess vask;
        vask.setProcessChannelMode(QProcess::SeparateChannels);
        vask.start(QStringLiteral(VASK_PATH), {QStringLiteral("/P:") + path("quarel.ini")});
        QVERIFY(vask.waitForStarted());
        QLocalSocket socket;
        QTRY_VERIFY_WITH_TIMEOUT((socket.abort(), socket.connectToServer(QStringLiteral("VASK-%1").arg(vask.processId())),
                                  socket.waitForConnected(200)),
                                 20000);
        const struct
        {
            QByteArray request;
            char reply;
        } exchanges[] = {
            {request(4), 1}, {request(2), 1}, {request(4), 1}, {request(99), 0}, {request(2, 1423), 0}, {request(3), 1},
        };
        for (const auto &exchange : exchanges) {
            socket.write(exchange.request);
            QVERIFY(socket.waitForBytesWritten(5000));
            QVERIFY(socket.waitForReadyRead(10000));
            QCOMPARE(socket.read(1), QByteArray(1, exchange.reply));
        }
        QVERIFY(vask.waitForFinished(10000));
        QCOMPARE(vask.exitCode(), 0);
        const QString log = QString::fromLocal8Bit(vask.readAllStandardError());
        QCOMPARE(log.count(QLatin1String("Loaded blink.hex")), 3);
    }

    void newDesignIsWrittenForTheController()
    {
        const QString design = path("fresh/New.dsn");
        QVERIFY(VaskTest::writeFile(design, QByteArray()));
        QVERIFY(VaskTest::writeFile(path("new.ini"), handOff(design, VaskTest::firmware("blink.hex"), "ATMEGA328P", false, true)));
        SimulatorWindow window;
        window.openHandOff(path("new.ini"));
        QFile file(design);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("<LED NAME=\"LED1\" PIN=\"PB5\""), text.constData());
        QVERIFY(text.contains("<TERMINAL"));
        QVERIFY(window.firmwareLoaded());
        QVERIFY(window.windowTitle().contains(QLatin1String("VASK")));
        QVERIFY(window.windowTitle().contains(QLatin1String("New")));
        QVERIFY(window.windowTitle().contains(QLatin1String("ATmega328P")));
        // A design that exists is never replaced, even when the hand-off calls it new.
        QVERIFY(VaskTest::writeFile(design, boardDesign));
        window.reload();
        QCOMPARE(VaskTest::readFile(design), boardDesign);
    }

    void windowRunsTheFirmwareOnItsParts()
    {
        QVERIFY(VaskTest::writeFile(path("run.ini"), handOff(path("board.dsn"), VaskTest::firmware("blink.hex"), "ATMEGA328P", true, false)));
        SimulatorWindow window;
        window.show();
        window.openHandOff(path("run.ini"));
        QCOMPARE(window.stateText(), QStringLiteral("Running"));
        auto *led = window.findChild<LedWidget *>(QStringLiteral("LED1"));
        QVERIFY(led);
        // The LED changes at the source's rate in real time: seen lit and dark within 2 s.
        QTRY_VERIFY_WITH_TIMEOUT(led->isLit(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!led->isLit(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(window.speedText().contains(QLatin1String("x real time")), 3000);
        QVERIFY(window.handleCommand(2));
        QCOMPARE(window.stateText(), QStringLiteral("Stopped"));
        QVERIFY(!window.handleCommand(7));
    }

    void terminalTalksToTheFirmware()
    {
        QVERIFY(VaskTest::writeFile(path("uart.ini"), handOff(path("board.dsn"), VaskTest::firmware("uart.hex"), "ATMEGA328P", true, false)));
        SimulatorWindow window;
        window.openHandOff(path("uart.ini"));
        auto *terminal = window.findChild<TerminalWidget *>(QStringLiteral("Console"));
        QVERIFY(terminal);
        QTRY_COMPARE_WITH_TIMEOUT(terminal->text(), QStringLiteral("Hello from the AVR\n"), 5000);
        // Segments a, b, c, d and g: a 3.
        auto *digit = window.findChild<DigitWidget *>(QStringLiteral("Units"));
        QVERIFY(digit);
        QCOMPARE(digit->segments(), quint8(0x4f));
        emit terminal->send("abc\n");
        QTRY_COMPARE_WITH_TIMEOUT(terminal->text(), QStringLiteral("Hello from the AVR\nABC\n"), 5000);
        // Each press of the button reaches the firmware's input pin, and a release lets it go.
        auto *button = window.findChild<QPushButton *>(QStringLiteral("S1"));
        QVERIFY(button);
        for (const char *expected : {"ABC\n!", "ABC\n!!"}) {
            QTest::mousePress(button, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(terminal->text().endsWith(QLatin1String(expected)), 5000);
            QTest::mouseRelease(button, Qt::LeftButton);
            // The release sends nothing; only the next press is a new edge.
            QTest::qWait(100);
            QVERIFY(terminal->text().endsWith(QLatin1String(expected)));
        }
    }

    void problemsShowInTheWindowAndTheFirmwareStillLoads_data()
    {
        QTest::addColumn<QByteArray>("design");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("loaded");
        const QString blink = VaskTest::firmware("blink.hex");
        QTest::newRow("unknown part") << QByteArray("<DESIGN>\n <LED PIN=\"PB5\"/>\n <RELAY/>\n</DESIGN>\n") << "ATMEGA328P" << blink
                                      << "bad.dsn, line 3: unknown part RELAY" << true;
        QTest::newRow("not XML") << QByteArray("<DESIGN>\n <LED PIN=\"PB5\"\n") << "ATMEGA328P" << blink
                                 << "bad.dsn, line 3: not well-formed XML" << true;
        QTest::newRow("missing firmware") << boardDesign << "ATMEGA328P" << path("gone.hex")
                                          << "The firmware file " + path("gone.hex") + " does not exist" << false;
        QTest::newRow("8051 cannot run yet") << QByteArray("<DESIGN>\n <LED PIN=\"P1.0\" ACTIVE=\"LOW\"/>\n</DESIGN>\n")
                                             << "AT89C52" << blink << "VASK cannot run 8051 controllers yet" << false;
        QTest::newRow("unknown controller") << boardDesign << "Z80" << blink << "VASK does not know the controller Z80" << false;
    }

    void problemsShowInTheWindowAndTheFirmwareStillLoads()
    {
        QFETCH(QByteArray, design);
        QFETCH(QString, device);
        QFETCH(QString, program);
        QFETCH(QString, message);
        QFETCH(bool, loaded);
        QVERIFY(VaskTest::writeFile(path("bad.dsn"), design));
        QVERIFY(VaskTest::writeFile(path("bad.ini"), handOff(path("bad.dsn"), program, device.toLatin1().constData(), true, false)));
        SimulatorWindow window;
        window.openHandOff(path("bad.ini"));
        const QString all = window.messageTexts().join(QLatin1Char('\n'));
        QVERIFY2(all.contains(message), qPrintable(all));
        QCOMPARE(window.firmwareLoaded(), loaded);
        QCOMPARE(window.stateText(), loaded ? QStringLiteral("Running") : QStringLiteral("No firmware loaded"));
        // Commands while nothing runs are answered and change nothing.
        QVERIFY(window.handleCommand(2));
        QCOMPARE(window.firmwareLoaded(), loaded);
    }
};

VASK_TEST(RunsTest)
#include "tst_runs.moc"
