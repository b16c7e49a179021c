#include "vasktests.h"

#include "backend.h"
#include "firmwareimage.h"
#include "pic16backend.h"
#include "simulatorwindow.h"
#include "terminalwidget.h"
#include "toolprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *mcs51Board = VASK_SOURCE_DIR "/data/devboards/mcs51_at89c52/AT89C52_Board.dsn";
const char *pic16Board = VASK_SOURCE_DIR "/data/devboards/pic16f877a/PIC16F877A_Board.dsn";

struct Change
{
    Backend::Level level;
    double seconds;
};

// A back end for the controller with the firmware loaded, or null after a failed check.
std::unique_ptr<Backend> loaded(const char *device, quint64 hertz, const QString &firmware)
{
    const DeviceInfo info = DeviceCatalog::find(QLatin1String(device));
    std::unique_ptr<Backend> backend = Backend::make(info);
    QString error;
    if (!backend || !backend->create(info, hertz, &error)) {
        qWarning("%s", qPrintable(error));
        return nullptr;
    }
    FirmwareImage image;
    if (!image.load(firmware, backend->flashSize(), info.name, &error)) {
        qWarning("%s", qPrintable(error));
        return nullptr;
    }
    backend->load(image);
    return backend;
}

// Seconds between successive level changes after the firmware's start-up (the first 10 ms).
// The children of a process that are still alive (not yet ended, nor ended and unreaped).
QList<qint64> livingChildren(qint64 parent)
{
    QList<qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, so fields count from its end.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == parent && fields[0] != "Z")
            children.append(entry.toLongLong());
    }
    return children;
}

QList<double> intervals(const QList<Change> &changes)
{
    QList<double> gaps;
    double last = -1;
    for (const Change &change : changes) {
        if (change.seconds < 0.01)
            continue;
        if (last >= 0)
            gaps.append(change.seconds - last);
        last = change.seconds;
    }
    return gaps;
}

bool within(const QList<double> &gaps, double expected, double tolerance)
{
    for (double gap : gaps) {
        if (qAbs(gap - expected) > expected * tolerance)
            return false;
    }
    return !gaps.isEmpty();
}

QString joined(const QList<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts.append(QString::number(value, 'f', 6));
    return texts.join(QLatin1Char(' '));
}

}

// The 8051 board on s51 and the PIC16 board on gpsim, with their own firmware: the traces
// keep the periods the sources set, a held button speeds the blink up, both serial ports
// reach the terminal both ways, and a simulator tool that is missing, crashes or
// hangs ends in a message within a bound while the window stays free.
class ToolBackendsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QByteArray savedPath;

    // A stand-in simulator tool: a shell script with the given body.
    QString tool(const char *name, const QByteArray &body)
    {
        const QString path = dir.filePath(QLatin1String(name));
        VaskTest::writeFile(path, "#!/bin/sh\n" + body + '\n');
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private slots:
    void cleanup()
    {
        qunsetenv("VASK_S51");
        qunsetenv("VASK_GPSIM");
        if (!savedPath.isEmpty())
            qputenv("PATH", std::exchange(savedPath, {}));
    }

    // AT89C52: timer 0 ticks every 10 ms, the LED toggles every 50 ticks. PIC16F877A: a
    // 250 ms delay loop between toggles.
    void boardTraceKeepsTheSourcesPeriod_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("runFor");
        QTest::addColumn<QString>("pin");
        QTest::addColumn<double>("halfPeriod");
        QTest::newRow("8051") << QString::fromLatin1(mcs51Board) << VaskTest::firmware("mcs51_blink.hex")
                              << QStringLiteral("AT89C52") << QStringLiteral("11.0592MHz") << QStringLiteral("2100ms")
                              << QStringLiteral("P1.0") << 0.5;
        QTest::newRow("PIC16") << QString::fromLatin1(pic16Board) << VaskTest::firmware("pic16_blink.hex")
                               << QStringLiteral("PIC16F877A") << QStringLiteral("4MHz") << QStringLiteral("1100ms")
                               << QStringLiteral("RD0") << 0.25;
    }

    void boardTraceKeepsTheSourcesPeriod()
    {
        QFETCH(QString, design);
        QFETCH(QString, firmware);
        QFETCH(QString, device);
        QFETCH(QString, clock);
        QFETCH(QString, runFor);
        QFETCH(QString, pin);
        QFETCH(double, halfPeriod);
        QProcess vask;
        vask.start(QStringLiteral(VASK_PATH), {"--headless", "--design", design, "--program", firmware, "--device", device,
                                               "--clock", clock, "--run-for", runFor, "--trace", "-"});
        QVERIFY(vask.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(vask.readAllStandardError());
        const QString trace = QString::fromLatin1(vask.readAllStandardOutput());
        QVERIFY2(vask.exitCode() == 0, qPrintable(err));
        QVERIFY2(trace.contains(QLatin1String("Simulated ") + runFor.left(1) + QLatin1Char('.')), qPrintable(trace));
        QList<Change> changes;
        for (const QString &line : trace.split(QLatin1Char('\n'))) {
            const QStringList fields = line.split(QLatin1Char(' '));
            if (fields.size() == 4 && fields[1] == QLatin1String("LED") && fields[2] == pin)
                changes.append({fields[3] == QLatin1String("1") ? Backend::Level::High : Backend::Level::Low, fields[0].toDouble()});
        }
        const QList<double> gaps = intervals(changes);
        QVERIFY2(gaps.size() >= 3, qPrintable(trace));
        QVERIFY2(within(gaps, halfPeriod, 0.01), qPrintable(joined(gaps)));
        // The button is released: its pin rests high from the start.
        QVERIFY2(trace.contains(QLatin1String("\n0.000000000 Fast ")), qPrintable(trace.left(400)));
    }

    // Holding the button down makes both boards blink five times faster.
    void heldButtonSpeedsTheBlinkUp_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<quint64>("hertz");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("led");
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("halfPeriod");
        QTest::newRow("8051") << QStringLiteral("AT89C52") << quint64(11059200) << VaskTest::firmware("mcs51_blink.hex")
                              << QStringLiteral("P1.0") << QStringLiteral("P3.2") << 0.1;
        QTest::newRow("PIC16") << QStringLiteral("PIC16F877A") << quint64(4000000) << VaskTest::firmware("pic16_blink.hex")
                               << QStringLiteral("RD0") << QStringLiteral("RB0") << 0.05;
    }

    void heldButtonSpeedsTheBlinkUp()
    {
        QFETCH(QString, device);
        QFETCH(quint64, hertz);
        QFETCH(QString, firmware);
        QFETCH(QString, led);
        QFETCH(QString, button);
        QFETCH(double, halfPeriod);
        std::unique_ptr<Backend> backend = loaded(qPrintable(device), hertz, firmware);
        QVERIFY(backend);
        const int watch = backend->watchPin(led);
        QCOMPARE(watch, 0);
        QCOMPARE(backend->watchPin(QStringLiteral("P9.9")), -1);
        backend->drivePin(button, false);
        QList<Change> changes;
        const double rate = static_cast<double>(backend->frequency());
        backend->setPinHandler([&](int, Backend::Level level, quint64 cycle) {
            changes.append({level, static_cast<double>(cycle) / rate});
        });
        QVERIFY2(backend->run(backend->frequency() / 2), qPrintable(backend->stopReason()));
        const QList<double> gaps = intervals(changes);
        QVERIFY2(gaps.size() >= 3 && within(gaps, halfPeriod, 0.01), qPrintable(joined(gaps)));

        // A reset starts the firmware over with the button still held.
        backend->reset();
        QCOMPARE(backend->cycle(), quint64(0));
        changes.clear();
        QVERIFY2(backend->run(backend->frequency() / 2), qPrintable(backend->stopReason()));
        QVERIFY2(within(intervals(changes), halfPeriod, 0.01), qPrintable(joined(intervals(changes))));
    }

    // The serial firmware greets the terminal and echoes what it receives: the 8051 sample at
    // 9600 baud, the PIC16 one (on a USART and an EUSART part) at 19200 baud in upper case.
    void serialReachesTheTerminal_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<quint64>("hertz");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("echo");
        QTest::newRow("8051") << QStringLiteral("AT89C52") << quint64(11059200) << VaskTest::firmware("mcs51_hello.hex")
                              << QByteArray("Hello from ZMX Studio\r\n") << QByteArray("ok?");
        QTest::newRow("PIC16") << QStringLiteral("PIC16F877A") << quint64(4000000) << VaskTest::firmware("pic16_uart.hex")
                               << QByteArray("Hello from the PIC\n") << QByteArray("OK?");
        QTest::newRow("PIC16 EUSART") << QStringLiteral("PIC16F887") << quint64(4000000)
                                      << VaskTest::firmware("pic16f887_uart.hex") << QByteArray("Hello from the PIC\n")
                                      << QByteArray("OK?");
    }

    void serialReachesTheTerminal()
    {
        QFETCH(QString, device);
        QFETCH(quint64, hertz);
        QFETCH(QString, firmware);
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, echo);
        std::unique_ptr<Backend> backend = loaded(qPrintable(device), hertz, firmware);
        QVERIFY(backend);
        QVERIFY(backend->watchUart(QStringLiteral("0")));
        QVERIFY(!backend->watchUart(QStringLiteral("1")));
        QByteArray received;
        QList<quint64> cycles;
        backend->setUartHandler([&](const QString &uart, quint8 byte, quint64 cycle) {
            QCOMPARE(uart, QStringLiteral("0"));
            received.append(static_cast<char>(byte));
            cycles.append(cycle);
        });
        QVERIFY2(backend->run(backend->frequency() / 10), qPrintable(backend->stopReason()));
        QCOMPARE(received, greeting);
        const quint64 sent = backend->cycle();
        // s51 takes in a received byte between two commands: a few slices pass them all.
        backend->sendUart(QStringLiteral("0"), "ok?");
        for (int slice = 0; slice < 10 && received.size() < greeting.size() + echo.size(); ++slice)
            QVERIFY2(backend->run(backend->frequency() / 100), qPrintable(backend->stopReason()));
        QCOMPARE(received, greeting + echo);
        if (!device.startsWith(QLatin1String("PIC16")))
            return;
        // gpsim times the PIC's own transmitter and receiver: at 19231 baud a ten-bit frame
        // takes 52 instruction cycles a bit. The first two bytes go into the shift register
        // and the buffer at once; from then on each byte is written exactly a frame after the
        // one before, and an echo cannot start before the terminal's frame has come in whole.
        for (int i = 3; i < greeting.size(); ++i)
            QCOMPARE(cycles.at(i) - cycles.at(i - 1), quint64(520));
        const quint64 echoed = cycles.at(greeting.size());
        QVERIFY2(echoed >= sent + 520 && echoed < sent + 2 * 520, qPrintable(QString::number(echoed - sent)));
    }

    // The window's terminal and the PIC16's serial port, through the simulation thread.
    void pic16TerminalTalksInTheWindow()
    {
        const QString design = dir.filePath(QStringLiteral("pic-terminal.dsn"));
        QVERIFY(VaskTest::writeFile(design, "<DESIGN DEVICE=\"PIC16F877A\">\n <LED PIN=\"RD0\"/>\n"
                                            " <TERMINAL NAME=\"Console\"/>\n</DESIGN>\n"));
        const QString handOff = dir.filePath(QStringLiteral("pic-terminal.ini"));
        QVERIFY(VaskTest::writeFile(handOff, "[QUORVIN]\nDESIGNFILE=" + design.toLocal8Bit() + "\nPROGRAM="
                                                 + VaskTest::firmware("pic16_uart.hex").toLocal8Bit()
                                                 + "\nCLOCK=4MHz\nDEVICE=PIC16F877A\nFAMILY=PIC16\nAUTORUN=1\n"));
        SimulatorWindow window;
        window.openHandOff(handOff);
        auto *terminal = window.findChild<TerminalWidget *>(QStringLiteral("Console"));
        QVERIFY(terminal);
        QTRY_COMPARE_WITH_TIMEOUT(terminal->text(), QStringLiteral("Hello from the PIC\n"), 5000);
        emit terminal->send("hi, pic\n");
        QTRY_COMPARE_WITH_TIMEOUT(terminal->text(), QStringLiteral("Hello from the PIC\nHI, PIC\n"), 5000);
        QCOMPARE(window.messageTexts().size(), 1); // only "Loaded ..."
    }

    // The bit rate the PIC's baud rate registers set, as the terminal's line must match it.
    void pic16BaudRateFollowsTheRegisters_data()
    {
        QTest::addColumn<quint8>("txsta");
        QTest::addColumn<quint16>("generator");
        QTest::addColumn<quint8>("baudctl");
        QTest::addColumn<quint64>("baud");
        QTest::newRow("low speed") << quint8(0x20) << quint16(25) << quint8(0) << quint64(2404);
        QTest::newRow("high speed") << quint8(0x24) << quint16(12) << quint8(0) << quint64(19231);
        QTest::newRow("16-bit, low speed") << quint8(0x20) << quint16(0x0167) << quint8(0x48) << quint64(694);
        QTest::newRow("16-bit, high speed") << quint8(0x24) << quint16(0x0167) << quint8(0x48) << quint64(2778);
        // Without BRG16 the high byte takes no part.
        QTest::newRow("high byte unused") << quint8(0x24) << quint16(0x0519) << quint8(0x40) << quint64(9615);
    }

    void pic16BaudRateFollowsTheRegisters()
    {
        QFETCH(quint8, txsta);
        QFETCH(quint16, generator);
        QFETCH(quint8, baudctl);
        QFETCH(quint64, baud);
        QCOMPARE(Pic16Backend::baudRate(4000000, txsta, generator & 0xff, generator >> 8, baudctl), baud);
    }

    // A simulator killed outright takes its tool with it. The tools end at the end of their
    // input, but not while a long run keeps them from reading it: these never read it.
    void toolEndsWithAKilledSimulator_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("firmware");
        QTest::newRow("8051") << QByteArray("VASK_S51") << QString::fromLatin1(mcs51Board) << QStringLiteral("AT89C52")
                              << VaskTest::firmware("mcs51_blink.hex");
        QTest::newRow("PIC16") << QByteArray("VASK_GPSIM") << QString::fromLatin1(pic16Board)
                               << QStringLiteral("PIC16F877A") << VaskTest::firmware("pic16_blink.hex");
    }

    void toolEndsWithAKilledSimulator()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QString, design);
        QFETCH(QString, device);
        QFETCH(QString, firmware);
        QProcess vask;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(variable), tool("busy", "exec sleep 60"));
        vask.setProcessEnvironment(environment);
        vask.start(QStringLiteral(VASK_PATH), {"--headless", "--design", design, "--program", firmware, "--device",
                                               device, "--clock", "4MHz", "--run-for", "3600s"});
        QVERIFY(vask.waitForStarted());
        QList<qint64> tools;
        QTRY_VERIFY_WITH_TIMEOUT(!(tools = livingChildren(vask.processId())).isEmpty(), 10000);
        vask.kill();
        QVERIFY(vask.waitForFinished());
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(tools.cbegin(), tools.cend(),
                                              [](qint64 tool) {
                                                  QFile stat(QStringLiteral("/proc/%1/stat").arg(tool));
                                                  return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
                                              }),
                                 2000);
    }

    void failingToolIsReported_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing s51") << QByteArray("VASK_S51") << QStringLiteral("AT89C52")
                                     << dir.filePath(QStringLiteral("no/such/s51")) << QStringLiteral("cannot be started");
        QTest::newRow("gpsim crashes") << QByteArray("VASK_GPSIM") << QStringLiteral("PIC16F877A")
                                       << tool("crash", "read line\nkill -SEGV $$") << QStringLiteral("crashed");
        QTest::newRow("s51 ends") << QByteArray("VASK_S51") << QStringLiteral("AT89C52") << tool("ends", "read line\nexit 3")
                                  << QStringLiteral("ended unexpectedly (exit code 3)");
        QTest::newRow("s51 hangs") << QByteArray("VASK_S51") << QStringLiteral("AT89C52") << tool("hangs", "exec sleep 60")
                                   << QStringLiteral("stopped answering");
    }

    void failingToolIsReported()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QString, device);
        QFETCH(QString, program);
        QFETCH(QString, message);
        qputenv(variable.constData(), program.toLocal8Bit());
        std::unique_ptr<Backend> backend
            = loaded(qPrintable(device), 4000000,
                     VaskTest::firmware(device == QLatin1String("AT89C52") ? "mcs51_blink.hex" : "pic16_blink.hex"));
        QVERIFY(backend);
        QElapsedTimer wall;
        wall.start();
        QVERIFY(!backend->run(backend->frequency() / 10));
        QVERIFY2(backend->stopReason().contains(message), qPrintable(backend->stopReason()));
        QVERIFY(wall.elapsed() < ToolProcess::answerTimeoutMs + 2000);
        // A broken back end stays broken instead of starting the tool again.
        QVERIFY(!backend->run(1000));
    }

    // A hanging tool leaves the window free: stop answers at once, closing does not wait for
    // the tool, and the window says what happened once the tool has had its time.
    void hangingToolLeavesTheWindowFree()
    {
        qputenv("VASK_S51", tool("window-hangs", "exec sleep 60").toLocal8Bit());
        const QString handOff = dir.filePath(QStringLiteral("hang.ini"));
        QVERIFY(VaskTest::writeFile(handOff, "[QUORVIN]\nDESIGNFILE=" + QByteArray(mcs51Board) + "\nPROGRAM="
                                                 + VaskTest::firmware("mcs51_blink.hex").toLocal8Bit()
                                                 + "\nCLOCK=11.0592MHz\nDEVICE=AT89C52\nFAMILY=8051\nAUTORUN=1\n"));
        auto window = std::make_unique<SimulatorWindow>();
        window->openHandOff(handOff);
        QCOMPARE(window->stateText(), QStringLiteral("Running"));
        QTest::qWait(300);
        QElapsedTimer wall;
        wall.start();
        QVERIFY(window->handleCommand(2));
        QCOMPARE(window->stateText(), QStringLiteral("Stopped"));
        window.reset();
        QVERIFY2(wall.elapsed() < 1500, qPrintable(QString::number(wall.elapsed())));

        window = std::make_unique<SimulatorWindow>();
        window->openHandOff(handOff);
        QTRY_VERIFY_WITH_TIMEOUT(window->stateText() == QLatin1String("Halted"), ToolProcess::answerTimeoutMs + 3000);
        QVERIFY2(window->messageTexts().last().contains(QLatin1String("window-hangs stopped answering")),
                 qPrintable(window->messageTexts().join(QLatin1Char('\n'))));
    }

    // A controller family without a simulator tool installed is a message in the window.
    void missingToolIsAMessageInTheWindow()
    {
        savedPath = qgetenv("PATH");
        qputenv("PATH", dir.path().toLocal8Bit());
        const QString handOff = dir.filePath(QStringLiteral("pic.ini"));
        QVERIFY(VaskTest::writeFile(handOff, "[QUORVIN]\nDESIGNFILE=" + QByteArray(pic16Board) + "\nPROGRAM="
                                                 + VaskTest::firmware("pic16_blink.hex").toLocal8Bit()
                                                 + "\nCLOCK=4MHz\nDEVICE=PIC16F877A\nFAMILY=PIC16\n"));
        SimulatorWindow window;
        window.openHandOff(handOff);
        QVERIFY(!window.firmwareLoaded());
        QVERIFY2(window.messageTexts().contains(
                     QStringLiteral("The PIC simulator gpsim is not installed (Debian package gpsim), so the PIC16F877A cannot run.")),
                 qPrintable(window.messageTexts().join(QLatin1Char('\n'))));
    }
};

VASK_TEST(ToolBackendsTest)

#include "tst_toolbackends.moc"
