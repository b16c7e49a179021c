#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "core/simulatorlink.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The IDE against the real simulator program built beside it: the bundled AVR board is
// built, handed over, run, stopped and closed, and vask's own log shows what it did.
class VaskEndToEndTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<SrcManager> window;
    QString logPath;

    QString at(const QString &relative) const { return work->filePath(relative); }
    QAction *action(SrcManager::Action id) const { return window->action(id); }
    QString output() const { return window->output()->textEdit()->toPlainText(); }
    SimulatorLink *link() const { return window->projects()->simulatorLink(); }
    QStringList log() const
    {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                              : QStringList();
    }

    QString lastLog() const
    {
        const QStringList lines = log();
        return lines.isEmpty() ? QString() : lines.last();
    }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        work = std::make_unique<QTemporaryDir>();
        logPath = work->filePath(QStringLiteral("vask.log"));
        qputenv("VASK_LOG", logPath.toLocal8Bit());
    }

    void cleanup()
    {
        window.reset();
        work.reset();
        qunsetenv("VASK_LOG");
    }

    void boardRunsInVask()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        window = std::make_unique<SrcManager>();
        // The build tree holds the simulator as an installation does: vask/bin/vask.
        window->setQuorvinPath(QStringLiteral(ZMX_BUILD_DIR "/vask"));
        BuildConfig *avr = window->projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
        QVERIFY(avr);
        const DetectionResult detected = CompilerDetector(window.get()).detect(*avr);
        if (!detected.detected())
            QSKIP("The AVR GCC tool chain is not installed");
        avr->storeDetection(true, detected.directory);
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p"), work->path()));
        window->openProject(at(QStringLiteral("ATmega328P_Board.zmxp")));
        QCOMPARE(window->projects()->projectCount(), 1);

        static const QRegularExpression loaded(QStringLiteral("^Loaded Debug\\.hex \\([0-9]+ bytes\\) into the ATmega328P at 16 MHz\\.$"));
        // F7 builds; F5 opens the board's design in vask, which loads the firmware.
        action(SrcManager::BuildProject)->trigger();
        QVERIFY2(TestFiles::isIntelHex(at(QStringLiteral("Debug/Debug.hex"))), qPrintable(output()));
        action(SrcManager::OpenDebugger)->trigger();
        QVERIFY2(output().contains(QStringLiteral("Launched project design file in VASK.")), qPrintable(output()));
        QVERIFY(link()->isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(log().filter(loaded).size(), 1, 10000);
        QVERIFY2(log().contains(QStringLiteral("State: Loaded, not running")), qPrintable(log().join(QLatin1Char('\n'))));
        QVERIFY(!log().contains(QStringLiteral("State: Running")));

        // Start Debugging hands over with AUTORUN: the firmware runs.
        action(SrcManager::StartDebugging)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(lastLog(), QStringLiteral("State: Running"), 10000);

        // A build while it runs reaches vask at once and runs again.
        const int before = log().size();
        action(SrcManager::BuildProject)->trigger();
        QVERIFY(output().contains(QStringLiteral("Sent program firmware to VASK for simulation.")));
        // (The IDE restarts the run: stop, then the hand-over, so vask may load twice.)
        QTRY_COMPARE_WITH_TIMEOUT(lastLog(), QStringLiteral("State: Running"), 10000);
        QVERIFY(!log().mid(before).filter(loaded).isEmpty());

        action(SrcManager::StopDebugging)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(lastLog(), QStringLiteral("State: Stopped"), 10000);
        QVERIFY(link()->isRunning());

        // Closing the project closes the simulator.
        action(SrcManager::CloseProject)->trigger();
        QCOMPARE(window->projects()->projectCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!link()->isRunning(), 10000);
        for (const QString &line : log())
            QVERIFY2(!line.contains(QLatin1String("line ")) && !line.contains(QLatin1String("cannot")), qPrintable(line));
    }
};

ZMX_TEST(VaskEndToEndTest)

#include "tst_vaskendtoend.moc"
