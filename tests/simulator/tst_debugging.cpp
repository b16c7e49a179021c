#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "dialoganswerer.h"
#include "fakesimulatorlocator.h"
#include "core/simulatorlink.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "standininstallation.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <memory>

// The Debug commands of the real window, with the stand-in installed as the simulator
// and a bundled board project built by its real tool chain.
class DebuggingTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StandInInstallation> installation;
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<SrcManager> window;

    QString at(const QString &relative) const { return work->filePath(relative); }
    QString design() const { return at(QStringLiteral("Board.dsn")); }
    ProjectsManager *manager() const { return window->projects(); }
    QString output() const { return window->output()->textEdit()->toPlainText(); }
    QAction *action(SrcManager::Action id) const { return window->action(id); }

    // The AVR board, without its design file, opened in a fresh window whose simulator
    // installation is the stand-in.
    bool openBoard(bool detectToolChain)
    {
        window = std::make_unique<SrcManager>();
        window->setQuorvinPath(installation->path());
        if (detectToolChain) {
            BuildConfig *avr = window->projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
            const DetectionResult detected = CompilerDetector(window.get()).detect(*avr);
            if (!detected.detected())
                return false;
            avr->storeDetection(true, detected.directory);
        }
        if (!TestFiles::copyTree(QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p"), work->path())
            || !TestFiles::dropDesign(at(QStringLiteral("ATmega328P_Board.zmxp"))))
            return false;
        window->openProject(at(QStringLiteral("ATmega328P_Board.zmxp")));
        return manager()->projectCount() == 1;
    }

    // The debug actions' enabled states, in the order Open, Start, Stop, Close.
    QList<bool> debugActions() const
    {
        window->updateState();
        return {action(SrcManager::OpenDebugger)->isEnabled(), action(SrcManager::StartDebugging)->isEnabled(),
                action(SrcManager::StopDebugging)->isEnabled(), action(SrcManager::CloseSimulator)->isEnabled()};
    }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        installation = std::make_unique<StandInInstallation>();
        QVERIFY(installation->isValid());
        work = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        installation->killAll();
        window.reset();
        work.reset();
        installation.reset();
        FakeSimulatorLocator::uninstall();
    }

    // A board project opens, gets a new design (which starts the simulator on it), builds,
    // hands its firmware over, and debugging starts, stops and ends with the project.
    void boardProjectBuildsHandsOverAndDebugs()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        if (!openBoard(true))
            QSKIP("The AVR GCC tool chain is not installed");
        QVERIFY(output().contains(QStringLiteral("Use the Add Design File command to associate your VASK schematic with the project.")));
        QCOMPARE(installation->starts(), 0);

        Project *board = manager()->currentProject();
        QVERIFY(board->newDesignFile(design()));
        QCOMPARE(board->designFile(), design());
        window->updateState();
        QVERIFY(!action(SrcManager::CreateDesignFile)->isEnabled());
        const QList<QJsonObject> starts = installation->entries(QStringLiteral("start"));
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts.first().value(QStringLiteral("cwd")).toString(), work->path());
        QJsonObject handoff = installation->lastHandoff();
        QCOMPARE(handoff.value(QStringLiteral("DESIGNFILE")).toString(), design());
        QCOMPARE(handoff.value(QStringLiteral("NEWDESIGN")).toString(), QStringLiteral("1"));
        QCOMPARE(handoff.value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("0"));
        QCOMPARE(handoff.value(QStringLiteral("DEVICE")).toString(), QStringLiteral("ATMEGA328P"));
        QCOMPARE(handoff.value(QStringLiteral("FAMILY")).toString(), QStringLiteral("AVR"));
        QCOMPARE(debugActions(), (QList<bool>{true, true, false, true}));

        // Build Project hands the fresh firmware to the running simulator.
        action(SrcManager::BuildProject)->trigger();
        const QString hex = at(QStringLiteral("Debug/Debug.hex"));
        QVERIFY2(TestFiles::isIntelHex(hex), qPrintable(output()));
        QCOMPARE(installation->commands(), QList<int>{4});
        handoff = installation->lastHandoff();
        QCOMPARE(handoff.value(QStringLiteral("PROGRAM")).toString(), hex);
        QCOMPARE(handoff.value(QStringLiteral("CLOCK")).toString(), QStringLiteral("16MHz"));
        QCOMPARE(handoff.value(QStringLiteral("DESIGNFILE")).toString(), design());
        QCOMPARE(handoff.value(QStringLiteral("DEVICE")).toString(), QStringLiteral("ATMEGA328P"));
        QCOMPARE(handoff.value(QStringLiteral("FAMILY")).toString(), QStringLiteral("AVR"));
        QCOMPARE(handoff.value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("0"));
        QCOMPARE(handoff.value(QStringLiteral("NEWDESIGN")).toString(), QStringLiteral("0"));
        QVERIFY(output().contains(QStringLiteral("Sent program firmware to VASK for simulation.")));
        QVERIFY(!output().contains(QStringLiteral("Click the VASK icon")));

        // Start Debugging: stop, then reload with the simulation running.
        action(SrcManager::StartDebugging)->trigger();
        QCOMPARE(installation->commands(), (QList<int>{4, 2, 4}));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("1"));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("PROGRAM")).toString(), hex);
        QVERIFY(output().contains(QStringLiteral("Debugging in VASK started.")));
        QCOMPARE(debugActions(), (QList<bool>{true, true, true, true}));

        // A build while debugging hands over with AUTORUN set and restarts the run.
        action(SrcManager::BuildProject)->trigger();
        QCOMPARE(installation->commands(), (QList<int>{4, 2, 4, 4, 2, 4}));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("1"));

        action(SrcManager::StopDebugging)->trigger();
        QCOMPARE(installation->commands().last(), 2);
        QVERIFY(output().contains(QStringLiteral("Debugging stopped.")));
        QCOMPARE(debugActions(), (QList<bool>{true, true, false, true}));

        // Closing the project stops and closes the simulator.
        DialogAnswerer::pressButton(QMessageBox::Discard);
        action(SrcManager::CloseProject)->trigger();
        QCOMPARE(manager()->projectCount(), 0);
        QCOMPARE(installation->commands(), (QList<int>{4, 2, 4, 4, 2, 4, 2, 2, 3}));
        QTRY_COMPARE(debugActions(), (QList<bool>{false, false, false, false}));
    }

    // A build that fails hands nothing over: the simulator keeps the firmware it has.
    void failedBuildHandsNothingOver()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        if (!openBoard(true))
            QSKIP("The AVR GCC tool chain is not installed");
        QVERIFY(manager()->currentProject()->newDesignFile(design()));
        QFile source(at(QStringLiteral("src/main.c")));
        QVERIFY(source.open(QIODevice::Append));
        source.write("\nthis is not C\n");
        source.close();
        action(SrcManager::BuildProject)->trigger();
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
        QVERIFY(installation->commands().isEmpty());
        QVERIFY(!output().contains(QStringLiteral("Sent program firmware")));
    }

    // Open Debugger and Start Debugging on a project whose design exists: the simulator
    // starts on it; without firmware the hand-off says so. Quitting the program stops and
    // closes the simulator.
    void debugCommandsStartTheSimulatorAndQuittingClosesIt()
    {
        QVERIFY(openBoard(false));
        QFile(design()).open(QIODevice::WriteOnly);
        QVERIFY(manager()->currentProject()->addFile(design()));
        QCOMPARE(debugActions(), (QList<bool>{true, true, false, false}));

        action(SrcManager::StartDebugging)->trigger();
        QCOMPARE(installation->starts(), 1);
        QVERIFY(output().contains(QStringLiteral("Program firmware has not been compiled in this configuration.")));
        QVERIFY(output().contains(QStringLiteral("Launched project design file in VASK.")));
        QVERIFY(output().contains(QStringLiteral("Debugging in VASK started.")));
        QCOMPARE(installation->commands(), (QList<int>{2, 4}));
        QCOMPARE(installation->lastHandoff().value(QStringLiteral("AUTORUN")).toString(), QStringLiteral("1"));

        // Open Debugger again starts no second simulator.
        action(SrcManager::OpenDebugger)->trigger();
        QCOMPARE(installation->starts(), 1);
        QVERIFY(!manager()->simulatorLink()->isDebugging());

        DialogAnswerer::pressButton(QMessageBox::Discard);
        QVERIFY(window->close());
        const int before = int(installation->commands().size());
        window.reset();
        QCOMPARE(installation->commands().mid(before), (QList<int>{2, 3}));
        QVERIFY(!installation->entries(QStringLiteral("start")).isEmpty());
    }

    // A simulator that crashes mid-run is reported and leaves nothing to stop or close.
    void crashedSimulatorIsReportedAndClearsDebugging()
    {
        QVERIFY(openBoard(false));
        QFile(design()).open(QIODevice::WriteOnly);
        QVERIFY(manager()->currentProject()->addFile(design()));
        StandInInstallation::setMode(QStringLiteral("crash"));
        action(SrcManager::StartDebugging)->trigger();
        QTRY_VERIFY(output().contains(QStringLiteral("VASK crashed.")));
        QVERIFY(!manager()->simulatorLink()->isDebugging());
        QCOMPARE(debugActions(), (QList<bool>{true, true, false, false}));
    }

    void debugActionsWaitForAProjectAndAnInstallation()
    {
        window = std::make_unique<SrcManager>();
        QCOMPARE(debugActions(), (QList<bool>{false, false, false, false}));
        // The window answers from the simulator lists installed beside it.
        QVERIFY(window->isSimulated(QStringLiteral("AVR"), QStringLiteral("atmega328p")));
        QVERIFY(!window->isSimulated(QStringLiteral("avr"), QStringLiteral("ATmega328P")));
        // Neither a stored installation nor one beside the program.
        window->setQuorvinPath(QString());
        FakeSimulatorLocator::install();
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p"), work->path()));
        QVERIFY(TestFiles::dropDesign(at(QStringLiteral("ATmega328P_Board.zmxp"))));
        window->openProject(at(QStringLiteral("ATmega328P_Board.zmxp")));
        QCOMPARE(output().count(QStringLiteral("Cannot launch the design file as no Quorvin installation has been detected.")), 1);
        action(SrcManager::OpenDebugger)->trigger();
        QCOMPARE(installation->starts(), 0);
    }
};

ZMX_TEST(DebuggingTest)

#include "tst_debugging.moc"
