#include "vasktests.h"

#include "designreader.h"
#include "designwriter.h"
#include "devicecatalog.h"
#include "firmwareimage.h"
#include "handofffile.h"
#include "quantity.h"

#include <QTemporaryDir>
#include <QTest>

// Everything the simulator reads before it runs: clock and duration texts, the hand-off
// file, design files and firmware files.
class InputsTest : public QObject
{
    Q_OBJECT

private slots:
    void frequencies_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint64>("hertz");
        QTest::newRow("MHz as the IDE writes it") << "16MHz" << quint64(16000000);
        QTest::newRow("plain hertz") << "16000000" << quint64(16000000);
        QTest::newRow("fraction and space") << " 11.0592 MHz " << quint64(11059200);
        QTest::newRow("kHz, lower case") << "32.768khz" << quint64(32768);
        QTest::newRow("Hz unit") << "900Hz" << quint64(900);
        QTest::newRow("empty") << "" << quint64(0);
        QTest::newRow("zero") << "0MHz" << quint64(0);
        QTest::newRow("above 1 GHz") << "2000MHz" << quint64(0);
        QTest::newRow("unknown unit") << "16 MHz fast" << quint64(0);
        QTest::newRow("exponent") << "16e6" << quint64(0);
        QTest::newRow("negative") << "-16MHz" << quint64(0);
    }

    void frequencies()
    {
        QFETCH(QString, text);
        QFETCH(quint64, hertz);
        QCOMPARE(Quantity::frequency(text), hertz);
    }

    void durations_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::newRow("seconds") << "2s" << qint64(2000000000);
        QTest::newRow("plain seconds") << "1.5" << qint64(1500000000);
        QTest::newRow("milliseconds") << "500ms" << qint64(500000000);
        QTest::newRow("microseconds") << "250 us" << qint64(250000);
        QTest::newRow("minutes") << "2min" << qint64(120000000000);
        QTest::newRow("longer than a day") << "25h" << qint64(-1);
        QTest::newRow("not a number") << "soon" << qint64(-1);
    }

    void durations()
    {
        QFETCH(QString, text);
        QFETCH(qint64, nanoseconds);
        QCOMPARE(Quantity::duration(text), nanoseconds);
    }

    void secondsAreExactForLongRuns_data()
    {
        QTest::addColumn<quint64>("cycles");
        QTest::addColumn<quint64>("hertz");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << quint64(0) << quint64(16000000) << "0.000000000";
        QTest::newRow("one cycle") << quint64(1) << quint64(16000000) << "0.000000062";
        QTest::newRow("half a second") << quint64(8000000) << quint64(16000000) << "0.500000000";
        // A day at 1 GHz: scaling the whole count to nanoseconds would overflow.
        QTest::newRow("a day at 1 GHz") << quint64(86400000000000ULL) << quint64(1000000000) << "86400.000000000";
    }

    void secondsAreExactForLongRuns()
    {
        QFETCH(quint64, cycles);
        QFETCH(quint64, hertz);
        QFETCH(QString, text);
        QCOMPARE(Quantity::secondsText(cycles, hertz), text);
    }

    void handOffFile_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QStringList>("values"); // design, program, clock, device, family
        QTest::addColumn<bool>("autoRun");
        QTest::addColumn<bool>("newDesign");
        QTest::newRow("as the IDE writes it")
            << QByteArray("[QUORVIN]\nDESIGNFILE=/home/ann/board/Board.dsn\nPROGRAM=/home/ann/board/Debug/Debug.hex\n"
                          "CLOCK=16MHz\nDEVICE=ATMEGA328P\nFAMILY=AVR\nAUTORUN=1\nNEWDESIGN=0\n")
            << true
            << QStringList{"/home/ann/board/Board.dsn", "/home/ann/board/Debug/Debug.hex", "16MHz", "ATMEGA328P", "AVR"}
            << true << false;
        // ISO 8859-1 bytes, not UTF-8: 0xFC is a u with diaeresis.
        QTest::newRow("Latin-1 path, CR LF, other group first")
            << QByteArray("[General]\r\nDEVICE=WRONG\r\n[QUORVIN]\r\nDESIGNFILE=/tmp/M\xfcller/a.dsn\r\nNEWDESIGN=1\r\n")
            << true << QStringList{QString::fromUtf8("/tmp/M\u00fcller/a.dsn"), "", "", "", ""} << false << true;
        QTest::newRow("quoted and escaped values")
            << QByteArray("[QUORVIN]\nDESIGNFILE=\"/tmp/a,b/c.dsn\"\nPROGRAM=C:\\\\fw\\\\x.hex\nCLOCK=\" 8MHz\"\n")
            << true << QStringList{"/tmp/a,b/c.dsn", "C:\\fw\\x.hex", " 8MHz", "", ""} << false << false;
        QTest::newRow("no QUORVIN group") << QByteArray("[OTHER]\nDEVICE=X\n") << false << QStringList() << false << false;
    }

    void handOffFile()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, readable);
        QFETCH(QStringList, values);
        QFETCH(bool, autoRun);
        QFETCH(bool, newDesign);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("quarel.ini"));
        QVERIFY(VaskTest::writeFile(path, contents));
        HandOffFile file;
        QString error;
        QCOMPARE(file.read(path, &error), readable);
        if (!readable) {
            QVERIFY2(error.contains(path), qPrintable(error));
            return;
        }
        QCOMPARE(QStringList({file.designFile, file.program, file.clock, file.device, file.family}), values);
        QCOMPARE(file.autoRun, autoRun);
        QCOMPARE(file.newDesign, newDesign);
    }

    void badDesignsNameLineAndReason_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("keptParts");
        const QByteArray head = "<?xml version=\"1.0\"?>\n<DESIGN NAME=\"T\">\n";
        const QString mega = QStringLiteral("ATmega328P");
        QTest::newRow("not XML") << head + " <LED PIN=\"PB5\">\n</DESIGN>\n" << mega << 4
                                 << "not well-formed XML" << QStringList();
        QTest::newRow("unknown part") << head + " <LED PIN=\"PB5\"/>\n <RESISTOR PIN=\"PB4\"/>\n</DESIGN>\n" << mega << 4
                                      << "unknown part RESISTOR" << QStringList{"LED1"};
        QTest::newRow("pin the controller lacks") << head + " <LED NAME=\"D9\" PIN=\"PE7\"/>\n</DESIGN>\n" << mega << 3
                                                  << "ATmega328P has no pin PE7" << QStringList();
        QTest::newRow("two parts drive one pin")
            << head + " <BUTTON NAME=\"S1\" PIN=\"PD2\"/>\n <LED PIN=\"PD2\"/>\n <SWITCH NAME=\"SW1\" PIN=\"pd2\"/>\n</DESIGN>\n"
            << mega << 5 << "pin PD2 is already driven by S1 (line 3)" << QStringList{"S1", "LED1"};
        QTest::newRow("button on the terminal's receive pin")
            << head + " <TERMINAL/>\n <BUTTON NAME=\"S2\" PIN=\"PD0\"/>\n</DESIGN>\n" << mega << 4
            << "pin PD0 is already driven by Terminal1 (line 3)" << QStringList{"Terminal1"};
        QTest::newRow("terminal without a UART") << head + " <TERMINAL UART=\"0\"/>\n</DESIGN>\n" << "ATtiny85" << 3
                                                 << "ATtiny85 has no UART 0" << QStringList();
        QTest::newRow("LED without a pin") << head + " <LED/>\n</DESIGN>\n" << mega << 3 << "LED needs a PIN" << QStringList();
        QTest::newRow("bad level") << head + " <LED PIN=\"PB5\" ACTIVE=\"sideways\"/>\n</DESIGN>\n" << mega << 3
                                   << "ACTIVE must be HIGH or LOW" << QStringList();
        QTest::newRow("bad colour") << head + " <LED PIN=\"PB5\" COLOUR=\"purple\"/>\n</DESIGN>\n" << mega << 3
                                    << "unknown colour purple" << QStringList();
        QTest::newRow("digit missing a segment")
            << head + " <DIGIT A=\"PD0\" B=\"PD1\" C=\"PD2\" D=\"PD3\" E=\"PD4\" F=\"PD5\"/>\n</DESIGN>\n" << mega << 3
            << "segment G needs a pin" << QStringList();
        QTest::newRow("same name twice") << head + " <LED NAME=\"A\" PIN=\"PB5\"/>\n <LED NAME=\"A\" PIN=\"PB4\"/>\n</DESIGN>\n"
                                         << mega << 4 << "another part is named A (line 3)" << QStringList{"A"};
        QTest::newRow("wrong top element") << QByteArray("<BOARD>\n <LED PIN=\"PB5\"/>\n</BOARD>\n") << mega << 1
                                           << "the top element is BOARD, not DESIGN" << QStringList();
        QTest::newRow("8051 pins") << head + " <LED PIN=\"P1.0\" ACTIVE=\"LOW\"/>\n <LED NAME=\"X\" PIN=\"PB5\"/>\n</DESIGN>\n"
                                   << "AT89C52" << 4 << "AT89C52 has no pin PB5" << QStringList{"LED1"};
    }

    void badDesignsNameLineAndReason()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, device);
        QFETCH(int, line);
        QFETCH(QString, reason);
        QFETCH(QStringList, keptParts);
        const Design design = DesignReader(DeviceCatalog::find(device)).parse(text, QStringLiteral("/x/T.dsn"));
        QCOMPARE(design.problems.size(), 1);
        QCOMPARE(design.problems.first().line, line);
        QVERIFY2(design.problems.first().text.contains(reason), qPrintable(design.problems.first().text));
        QStringList names;
        for (const DesignPart &part : design.parts)
            names.append(part.name);
        QCOMPARE(names, keptParts);
    }

    void soundDesignKeepsEveryDetail()
    {
        const QByteArray text = "<DESIGN NAME=\"Panel\" DEVICE=\"ATmega328P\">\n"
                                " <LED NAME=\"Power\" PIN=\"pb5\" COLOUR=\"Yellow\" ACTIVE=\"low\"/>\n"
                                " <SWITCH NAME=\"Mode\" PIN=\"PC0\" ACTIVE=\"HIGH\"/>\n"
                                " <DIGIT NAME=\"D\" A=\"PD2\" B=\"PD3\" C=\"PD4\" D=\"PD5\" E=\"PD6\" F=\"PD7\" G=\"PB0\"/>\n"
                                " <TERMINAL NAME=\"Console\"/>\n"
                                "</DESIGN>\n";
        const Design design = DesignReader(DeviceCatalog::find(QStringLiteral("atmega328p"))).parse(text, QStringLiteral("p.dsn"));
        QVERIFY(design.problems.isEmpty());
        QCOMPARE(design.name, QStringLiteral("Panel"));
        QCOMPARE(design.device, QStringLiteral("ATmega328P"));
        QCOMPARE(design.parts.size(), 4);
        QCOMPARE(design.parts[0].pins, QStringList{"PB5"});
        QCOMPARE(design.parts[0].colour, QStringLiteral("yellow"));
        QVERIFY(!design.parts[0].activeHigh);
        QCOMPARE(design.parts[1].kind, DesignPart::Switch);
        QVERIFY(design.parts[1].activeHigh);
        QCOMPARE(design.parts[2].pins, (QStringList{"PD2", "PD3", "PD4", "PD5", "PD6", "PD7", "PB0", ""}));
        QCOMPARE(design.parts[3].pins, (QStringList{"PD0", "PD1"}));
        QCOMPARE(design.parts[3].line, 5);
    }

    // The design every controller starts with is sound for it and lights the board's LED pin.
    void defaultDesignFitsEveryController_data()
    {
        QTest::addColumn<QString>("device");
        for (const DeviceInfo &info : DeviceCatalog::all())
            QTest::newRow(qPrintable(info.name)) << info.name;
    }

    void defaultDesignFitsEveryController()
    {
        QFETCH(QString, device);
        const DeviceInfo info = DeviceCatalog::find(device);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("New.dsn"));
        QString error;
        QVERIFY(DesignWriter::write(path, DesignWriter::defaultDesign(info, QStringLiteral("New")), &error));
        const Design design = DesignReader(info).read(path);
        QVERIFY2(design.problems.isEmpty(), qPrintable(design.problems.value(0).text));
        QCOMPARE(design.device, info.name);
        QCOMPARE(design.parts.first().kind, DesignPart::Led);
        QCOMPARE(design.parts.first().pins, QStringList{info.ledPin});
        QCOMPARE(design.parts.first().activeHigh, info.ledActiveHigh);
        QCOMPARE(design.parts.size(), info.uarts.isEmpty() ? 2 : 3);
    }

    void hexRecordsAreChecked_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("bad checksum") << QByteArray(":0100000000FE\n:00000001FF\n") << "line 1: checksum mismatch";
        QTest::newRow("no colon") << QByteArray(":0100000000FF\n0100000000FF\n") << "line 2: a record must start with ':'";
        QTest::newRow("not hexadecimal") << QByteArray(":01000000ZZFF\n") << "line 1: not a record of hexadecimal digits";
        QTest::newRow("short record") << QByteArray(":0200000000FE\n:00000001FF\n") << "line 1: the record says 2 data bytes but holds 1";
        QTest::newRow("unknown type") << QByteArray(":00000007F9\n") << "line 1: unknown record type 7";
        QTest::newRow("no end record") << QByteArray(":0100000000FF\n") << "the file ends without an end-of-file record";
        QTest::newRow("data after the end") << QByteArray(":00000001FF\n:0100000000FF\n") << "line 2: data after the end-of-file record";
    }

    void hexRecordsAreChecked()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QList<FirmwareImage::Segment> segments;
        QString message;
        QVERIFY(!FirmwareImage::parseHex(text, &segments, &message));
        QCOMPARE(message, error);
    }

    void hexAddressesAndSegments()
    {
        // Two records that follow each other, then one at 0x10000 through an extended
        // linear address record.
        const QByteArray text = ":020000000C945E\n:020002000C945C\n:020000040001F9\n:01000000AA55\n:00000001FF\n";
        QList<FirmwareImage::Segment> segments;
        QString error;
        QVERIFY2(FirmwareImage::parseHex(text, &segments, &error), qPrintable(error));
        QCOMPARE(segments.size(), 2);
        QCOMPARE(segments[0].address, 0u);
        QCOMPARE(segments[0].bytes, QByteArray::fromHex("0C940C94"));
        QCOMPARE(segments[1].address, 0x10000u);
        QCOMPARE(segments[1].bytes, QByteArray::fromHex("AA"));
    }

    void firmwareFilesThatCannotLoad_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "does not exist";
        QTest::newRow("text") << QByteArray("int main(void) { return 0; }\n") << "neither an Intel HEX nor an ELF file";
        QTest::newRow("damaged HEX") << QByteArray(":0100000000FE\n:00000001FF\n") << "line 1: checksum mismatch";
        // One byte at 0x8000: just past the 32 KiB of an ATmega328P.
        QTest::newRow("larger than flash") << QByteArray(":0180000000 7F\n:00000001FF\n").replace(' ', "")
                                           << "needs 32769 bytes of flash, the ATmega328P has 32768";
        QTest::newRow("ELF without program") << QByteArray("\x7f" "ELF\x01\x01\x01", 7) << "not a 32-bit little-endian ELF file";
    }

    void firmwareFilesThatCannotLoad()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fw.hex"));
        if (!contents.isEmpty())
            QVERIFY(VaskTest::writeFile(path, contents));
        FirmwareImage image;
        QString error;
        QVERIFY(!image.load(path, 32768, QStringLiteral("ATmega328P"), &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(image.segments.isEmpty());
    }

    void elfAndHexOfOneProgramAgree()
    {
        FirmwareImage hex;
        FirmwareImage elf;
        QString error;
        QVERIFY2(hex.load(VaskTest::firmware("blink.hex"), 32768, QStringLiteral("ATmega328P"), &error), qPrintable(error));
        QVERIFY2(elf.load(VaskTest::firmware("blink.elf"), 32768, QStringLiteral("ATmega328P"), &error), qPrintable(error));
        QCOMPARE(hex.segments.size(), 1);
        QCOMPARE(elf.segments.size(), 1);
        QCOMPARE(elf.segments.first().bytes, hex.segments.first().bytes);
    }
};

VASK_TEST(InputsTest)
#include "tst_inputs.moc"
