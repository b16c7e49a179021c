#include "testfiles.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

// A save that is cut off by a crash, a kill or a power cut must leave the old file or the new
// one, never an empty or half-written one: the user's only copy is at stake.
class SavingTest : public QObject
{
    Q_OBJECT

private:
    static QStringList arguments(const QString &mode, const QString &file, int rounds)
    {
        if (mode == QLatin1String("project"))
            return {mode, file, QStringLiteral(ZMX_FIXTURES "/projects/compilers"), QString::number(rounds)};
        return {mode, file, QString::number(rounds)};
    }

    static bool saveTimes(const QString &mode, const QString &file, int rounds)
    {
        QProcess saver;
        saver.start(QStringLiteral(SAVELOOP_PATH), arguments(mode, file, rounds));
        return saver.waitForFinished(60000) && saver.exitStatus() == QProcess::NormalExit && saver.exitCode() == 0;
    }

private slots:
    void aKilledSaveLeavesTheOldOrTheNewFile_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("project") << QStringLiteral("project");
        QTest::newRow("source file") << QStringLiteral("source");
    }

    void aKilledSaveLeavesTheOldOrTheNewFile()
    {
        QFETCH(QString, mode);
        QTemporaryDir folder;
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_FIXTURES "/projects/typical"), folder.path()));
        const QString file = folder.filePath(mode == QLatin1String("project") ? QStringLiteral("blinky.zmxp")
                                                                              : QStringLiteral("src/main.c"));
        // The two contents the saver alternates between, as it writes them.
        QVERIFY(saveTimes(mode, file, 2));
        const QByteArray second = TestFiles::contents(file);
        QVERIFY(saveTimes(mode, file, 1));
        const QByteArray first = TestFiles::contents(file);
        QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);

        int cutShort = 0;
        for (int run = 0; run < 40; ++run) {
            QProcess saver;
            saver.start(QStringLiteral(SAVELOOP_PATH), arguments(mode, file, 1000000));
            QVERIFY(saver.waitForStarted());
            // The moment of the kill is the point of the test: it must fall anywhere in a save.
            QTest::qWait(int(QRandomGenerator::global()->bounded(5, 80)));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished());
            cutShort += saver.exitStatus() == QProcess::CrashExit;
            const QByteArray now = TestFiles::contents(file);
            QVERIFY2(now == first || now == second, qPrintable(QStringLiteral("run %1: %2 bytes").arg(run).arg(now.size())));
        }
        QVERIFY(cutShort > 0);
    }
};

ZMX_TEST(SavingTest)

#include "tst_saving.moc"
