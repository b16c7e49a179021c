#include "core/filewatcher.h"
#include "testregistry.h"

#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes, bool atomic)
{
    if (atomic) {
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}

class FileWatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void reportsEveryKindOfChangeOnce_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("written in place") << QStringLiteral("write");
        QTest::newRow("replaced by a rename") << QStringLiteral("replace");
        QTest::newRow("deleted") << QStringLiteral("delete");
        QTest::newRow("deleted, then written anew") << QStringLiteral("recreate");
    }

    void reportsEveryKindOfChangeOnce()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        const QString watched = dir.filePath(QStringLiteral("main.c"));
        const QString other = dir.filePath(QStringLiteral("other.c"));
        QVERIFY(writeBytes(watched, "int a;\n", false));
        QVERIFY(writeBytes(other, "int b;\n", false));
        const QByteArray before = FileWatcher::fingerprint(watched);

        FileWatcher watcher;
        watcher.setPaths({watched});
        QSignalSpy spy(&watcher, &FileWatcher::changed);

        // Changes to files nobody watches are not reported.
        QVERIFY(writeBytes(other, "int c;\n", false));
        if (change == QLatin1String("write")) {
            // Several writes in a row: one report.
            for (int step = 0; step < 5; ++step)
                QVERIFY(writeBytes(watched, QByteArray("int a; // ") + QByteArray::number(step), false));
        } else if (change == QLatin1String("replace")) {
            QVERIFY(writeBytes(watched, "int x;\n", true));
        } else {
            QVERIFY(QFile::remove(watched));
            if (change == QLatin1String("recreate")) {
                QTest::qWait(400);
                QTRY_COMPARE(spy.count(), 1);
                spy.clear();
                QVERIFY(writeBytes(watched, "int y;\n", false));
            }
        }
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(400);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), watched);
        const QByteArray after = FileWatcher::fingerprint(watched);
        QCOMPARE(after.isEmpty(), change == QLatin1String("delete"));
        QVERIFY(after != before);

        // Watching goes on after the file was replaced or came back.
        if (change != QLatin1String("delete")) {
            spy.clear();
            QVERIFY(writeBytes(watched, "int z;\n", false));
            QTRY_COMPARE(spy.count(), 1);
        }
    }

    void followsTheListOfPaths()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("a.c"));
        const QString second = dir.filePath(QStringLiteral("b.c"));
        QVERIFY(writeBytes(first, "a", false));
        QVERIFY(writeBytes(second, "b", false));
        FileWatcher watcher;
        watcher.setPaths({first, second, QString()});
        QCOMPARE(watcher.paths().size(), 2);
        watcher.setPaths({second});
        QSignalSpy spy(&watcher, &FileWatcher::changed);
        QVERIFY(writeBytes(first, "a2", false));
        QVERIFY(writeBytes(second, "b2", false));
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(400);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), second);

        // Equal bytes, equal fingerprints; unreadable files have none.
        QVERIFY(writeBytes(first, "b2", false));
        QCOMPARE(FileWatcher::fingerprint(first), FileWatcher::fingerprint(second));
        QVERIFY(FileWatcher::fingerprint(dir.filePath(QStringLiteral("none.c"))).isEmpty());
        QVERIFY(writeBytes(first, QByteArray(), false));
        QVERIFY(!FileWatcher::fingerprint(first).isEmpty());
    }
};

ZMX_TEST(FileWatcherTest)

#include "tst_filewatcher.moc"
