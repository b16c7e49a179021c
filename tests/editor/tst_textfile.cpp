#include "editor/textfile.h"
#include "testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TextFile::Encoding)

class TextFileTest : public QObject
{
    Q_OBJECT

private slots:
    void bytesComeBackUnchanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextFile::Encoding>("encoding");
        QTest::addColumn<QString>("text");
        using E = TextFile::Encoding;
        QTest::newRow("empty") << QByteArray() << E::Local << QString();
        QTest::newRow("ascii, mixed line ends") << QByteArray("int a;\r\nint b;\rint c;\n") << E::Local
                                                << QStringLiteral("int a;\r\nint b;\rint c;\n");
        QTest::newRow("utf-8") << QByteArray("/* 25 \xc2\xb0""C, 10 \xc2\xb5s */\n") << E::Local
                               << QStringLiteral("/* 25 °C, 10 µs */\n");
        QTest::newRow("utf-8 with byte-order mark") << QByteArray("\xef\xbb\xbfnop\n") << E::Local
                                                    << QStringLiteral("\ufeffnop\n");
        QTest::newRow("latin-1") << QByteArray("/* 25 \xb0""C, 10 \xb5s, Gr\xfc\xdf""e */\n") << E::Latin1
                                 << QStringLiteral("/* 25 °C, 10 µs, Grüße */\n");
        QTest::newRow("windows-1252 quotes") << QByteArray("// \x93quoted\x94 \x80\n") << E::Latin1
                                             << QStringLiteral("// \u0093quoted\u0094 \u0080\n");
        QTest::newRow("utf-8 cut short at the end") << QByteArray("ok \xc3") << E::Latin1 << QStringLiteral("ok Ã");
        QTest::newRow("overlong form") << QByteArray("\xc0\xaf") << E::Latin1 << QStringLiteral("À¯");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << E::Latin1 << QStringLiteral("í\u00a0\u0080");
        QTest::newRow("nul bytes") << QByteArray("a\0b\n", 4) << E::Local << QString::fromLatin1("a\0b\n", 4);
    }

    void bytesComeBackUnchanged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextFile::Encoding, encoding);
        QFETCH(QString, text);
        const TextFile::Content decoded = TextFile::decode(bytes);
        QCOMPARE(decoded.encoding, encoding);
        QCOMPARE(decoded.text, text);
        QCOMPARE(TextFile::encode(decoded.text, decoded.encoding), bytes);

        // The same through the disk.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.c"));
        QVERIFY(TextFile::write(path, decoded.text, decoded.encoding));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        const std::optional<TextFile::Content> read = TextFile::read(path);
        QVERIFY(read);
        QCOMPARE(read->text, text);
        QCOMPARE(read->encoding, encoding);
    }

    void tellsWhatAnEncodingCanHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("latin1");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QStringLiteral("nop") << true << true;
        QTest::newRow("latin-1 letters") << QStringLiteral("µs °C ÿ") << true << true;
        QTest::newRow("euro sign") << QStringLiteral("5 €") << false << true;
        QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << false << false;
    }

    void tellsWhatAnEncodingCanHold()
    {
        QFETCH(QString, text);
        QFETCH(bool, latin1);
        QFETCH(bool, utf8);
        QCOMPARE(TextFile::canEncode(text, TextFile::Encoding::Latin1), latin1);
        QCOMPARE(TextFile::canEncode(text, TextFile::Encoding::Utf8), utf8);
        QCOMPARE(TextFile::canEncode(text, TextFile::Encoding::Local), utf8);
    }

    void failuresNameTheReason()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!TextFile::read(dir.filePath(QStringLiteral("missing.c")), &error));
        QVERIFY2(error.contains(QLatin1String("No such file"), Qt::CaseInsensitive), qPrintable(error));
        error.clear();
        QVERIFY(!TextFile::read(dir.path(), &error));
        QVERIFY2(error.contains(QLatin1String("folder")), qPrintable(error));
        error.clear();
        QVERIFY(!TextFile::write(dir.filePath(QStringLiteral("no/such/dir/x.c")), QStringLiteral("x"),
                                 TextFile::Encoding::Local, &error));
        QVERIFY(!error.isEmpty());
    }
};

ZMX_TEST(TextFileTest)

#include "tst_textfile.moc"
