#include "vasktests.h"

#include "avrbackend.h"
#include "firmwareimage.h"

#include <QTest>

// The AVR back end on its own: pins, serial port and reset of a real core running the
// serial test firmware (uart.c).
class BackendTest : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        AvrBackend backend;
        QByteArray sent;
        QList<QPair<int, AvrBackend::Level>> changes;
    };

    static bool start(Run &run, const QString &device)
    {
        QString error;
        FirmwareImage image;
        if (!run.backend.create(DeviceCatalog::find(device), 16000000, &error)
            || !image.load(VaskTest::firmware("uart.hex"), run.backend.flashSize(), device, &error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        run.backend.load(image);
        run.backend.setUartHandler([&run](const QString &, quint8 byte, quint64) { run.sent.append(char(byte)); });
        run.backend.setPinHandler([&run](int watch, AvrBackend::Level level, quint64) { run.changes.append({watch, level}); });
        return run.backend.watchUart(QStringLiteral("0"));
    }

    static quint64 milliseconds(int count) { return 16000ULL * static_cast<quint64>(count); }

private slots:
    void resetKeepsThePartsAndReportsPinsAgain()
    {
        Run run;
        QVERIFY(start(run, QStringLiteral("ATmega328P")));
        run.backend.drivePin(QStringLiteral("PD2"), true);
        const int segment = run.backend.watchPin(QStringLiteral("PC0"));
        const int unused = run.backend.watchPin(QStringLiteral("PB0"));
        QCOMPARE(segment, 0);
        QCOMPARE(unused, 1);
        QVERIFY(run.backend.run(milliseconds(30)));
        QCOMPARE(run.sent, QByteArray("Hello from the AVR\n"));
        QCOMPARE(run.backend.level(segment), AvrBackend::Level::High);
        QCOMPARE(run.backend.level(unused), AvrBackend::Level::Floating);

        // After a reset the same levels come back and are reported again, and the released
        // button still reads high (no press is seen).
        run.changes.clear();
        run.sent.clear();
        run.backend.reset();
        QCOMPARE(run.backend.level(segment), AvrBackend::Level::Floating);
        QVERIFY(run.backend.run(milliseconds(30)));
        QCOMPARE(run.sent, QByteArray("Hello from the AVR\n"));
        // Floating from the reset, low once the firmware makes it an output, then high.
        QCOMPARE(run.changes, (QList<QPair<int, AvrBackend::Level>>{{segment, AvrBackend::Level::Floating},
                                                                    {segment, AvrBackend::Level::Low},
                                                                    {segment, AvrBackend::Level::High}}));

        run.backend.drivePin(QStringLiteral("PD2"), false);
        QVERIFY(run.backend.run(milliseconds(2)));
        QCOMPARE(run.sent, QByteArray("Hello from the AVR\n!"));
        run.backend.sendUart(QStringLiteral("0"), "ok");
        QVERIFY(run.backend.run(milliseconds(5)));
        QCOMPARE(run.sent, QByteArray("Hello from the AVR\n!OK"));
    }

    void pinsAndPortsTheCoreLacksAreRefused_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::newRow("port the core lacks") << "PA0";
        QTest::newRow("not a pin name") << "LED";
        QTest::newRow("bit 8") << "PB8";
    }

    void pinsAndPortsTheCoreLacksAreRefused()
    {
        QFETCH(QString, pin);
        Run run;
        QVERIFY(start(run, QStringLiteral("ATmega328P")));
        QCOMPARE(run.backend.watchPin(pin), -1);
        QVERIFY(!run.backend.watchUart(QStringLiteral("1")));
    }

    // Every AVR controller the catalogue calls runnable has a model in the library, and its
    // flash is the size the data sheet gives.
    void everyRunnableControllerHasAModel_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<quint32>("flash");
        const QList<QPair<const char *, quint32>> sizes = {
            {"ATmega328P", 32768}, {"ATmega168", 16384}, {"ATmega8", 8192},     {"ATmega16", 16384},
            {"ATmega32", 32768},   {"ATmega644P", 65536}, {"ATmega2560", 262144}, {"ATtiny13", 1024},
            {"ATtiny85", 8192},    {"ATtiny2313", 2048},
        };
        for (const auto &size : sizes)
            QTest::newRow(size.first) << QString::fromLatin1(size.first) << size.second;
    }

    void everyRunnableControllerHasAModel()
    {
        QFETCH(QString, device);
        QFETCH(quint32, flash);
        const DeviceInfo info = DeviceCatalog::find(device);
        QVERIFY(info.runnable());
        AvrBackend backend;
        QString error;
        QVERIFY2(backend.create(info, 8000000, &error), qPrintable(error));
        QCOMPARE(backend.flashSize(), flash);
        QVERIFY(backend.watchPin(info.ledPin) >= 0);
        for (const UartInfo &uart : info.uarts)
            QVERIFY2(backend.watchUart(uart.name), qPrintable(uart.name));
    }
};

VASK_TEST(BackendTest)
#include "tst_backend.moc"
