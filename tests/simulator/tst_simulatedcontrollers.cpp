#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "fakeworkbench.h"
#include "simulator/simulatedcontrollers.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Which controllers the simulator can simulate, read from the simulator directory.
class SimulatedControllersTest : public QObject
{
    Q_OBJECT

private:
    static void write(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void answersFromTheFilesOfTheDirectory_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("controller");
        QTest::addColumn<bool>("simulated");
        QTest::newRow("listed") << QStringLiteral("F") << QStringLiteral("X") << true;
        QTest::newRow("other letter case") << QStringLiteral("F") << QStringLiteral("x") << true;
        QTest::newRow("family letter case") << QStringLiteral("f") << QStringLiteral("X") << false;
        QTest::newRow("alias") << QStringLiteral("F") << QStringLiteral("x-rev-b") << true;
        QTest::newRow("alias in another family") << QStringLiteral("G") << QStringLiteral("X-REV-B") << false;
        QTest::newRow("second file") << QStringLiteral("G") << QStringLiteral("Y") << true;
        QTest::newRow("unnamed controller's alias") << QStringLiteral("F") << QStringLiteral("Orphan") << false;
        QTest::newRow("empty alias") << QStringLiteral("F") << QString() << false;
        QTest::newRow("empty family name") << QString() << QStringLiteral("Z") << true;
        QTest::newRow("not under SIMULATOR") << QStringLiteral("H") << QStringLiteral("W") << false;
        QTest::newRow("not an xml file") << QStringLiteral("T") << QStringLiteral("TXT") << false;
        QTest::newRow("malformed file") << QStringLiteral("M") << QStringLiteral("BROKEN") << false;
        QTest::newRow("unknown family") << QStringLiteral("Q") << QStringLiteral("X") << false;
    }

    void answersFromTheFilesOfTheDirectory()
    {
        QFETCH(QString, family);
        QFETCH(QString, controller);
        QFETCH(bool, simulated);
        QTemporaryDir directory;
        write(directory.filePath(QStringLiteral("a.xml")),
              "<SIMULATOR><FAMILY NAME=\"F\">"
              "<CONTROLLER NAME=\"X\"><ALIAS NAME=\"X-Rev-B\"/><ALIAS/></CONTROLLER>"
              "<CONTROLLER><ALIAS NAME=\"Orphan\"/></CONTROLLER>"
              "<OTHER NAME=\"Ignored\"/></FAMILY>"
              "<FAMILY><CONTROLLER NAME=\"Z\"/></FAMILY></SIMULATOR>");
        write(directory.filePath(QStringLiteral("b.xml")),
              "<SIMULATOR><FAMILY NAME=\"F\"><CONTROLLER NAME=\"x\"/></FAMILY>"
              "<FAMILY NAME=\"G\"><CONTROLLER NAME=\"Y\"/></FAMILY></SIMULATOR>");
        write(directory.filePath(QStringLiteral("c.xml")), "<LIST><FAMILY NAME=\"H\"><CONTROLLER NAME=\"W\"/></FAMILY></LIST>");
        write(directory.filePath(QStringLiteral("d.txt")), "<SIMULATOR><FAMILY NAME=\"T\"><CONTROLLER NAME=\"TXT\"/></FAMILY></SIMULATOR>");
        write(directory.filePath(QStringLiteral("e.xml")), "<SIMULATOR><FAMILY NAME=\"M\"><CONTROLLER NAME=\"BROKEN\"></SIMULATOR>");
        QDir(directory.path()).mkdir(QStringLiteral("sub.xml"));

        FakeWorkbench workbench;
        workbench.simulatorDir = directory.path();
        SimulatedControllers controllers(&workbench);
        controllers.load();
        QCOMPARE(controllers.isSimulated(family, controller), simulated);
        // Two files naming X and x under F leave one entry (the form read first) beside the alias.
        const QStringList underF = controllers.controllersByFamily().value(QStringLiteral("F"));
        QCOMPARE(underF.size(), 2);
        QCOMPARE(underF.last(), QStringLiteral("X-Rev-B"));
        QVERIFY(workbench.allOutput().contains(QStringLiteral("Error opening e.xml")));
    }

    void loadStartsAfreshAndAMissingDirectoryListsNothing()
    {
        FakeWorkbench workbench;
        workbench.simulatorDir = workbench.scratchPath() + QStringLiteral("/none");
        SimulatedControllers controllers(&workbench);
        controllers.addController(QStringLiteral("AVR"), QStringLiteral("ATmega8"));
        QVERIFY(controllers.isSimulated(QStringLiteral("AVR"), QStringLiteral("atmega8")));
        controllers.load();
        QVERIFY(controllers.controllersByFamily().isEmpty());
        QVERIFY(!controllers.isSimulated(QStringLiteral("AVR"), QStringLiteral("ATmega8")));

        SimulatedControllers ownerless(nullptr);
        ownerless.load();
        QVERIFY(ownerless.controllersByFamily().isEmpty());
    }

    // Every controller that a bundled tool chain builds for can be simulated, so the
    // project dialogs offer each of them.
    void bundledListsCoverEveryBundledToolChain()
    {
        FakeWorkbench workbench;
        workbench.compilersDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");
        workbench.simulatorDir = QStringLiteral(ZMX_SOURCE_DIR "/data/simulator");
        SimulatedControllers controllers(&workbench);
        controllers.load();
        BuildConfigList compilers(&workbench);
        QVERIFY(compilers.loadAll());
        int checked = 0;
        for (const BuildConfig *config : compilers.configurations()) {
            for (const CompilerFamily &family : config->families()) {
                for (const CompilerController &controller : family.controllers) {
                    QVERIFY2(controllers.isSimulated(family.name, controller.name),
                             qPrintable(family.name + QLatin1Char(' ') + controller.name));
                    ++checked;
                }
            }
        }
        QVERIFY(checked >= 20);
        QCOMPARE(workbench.allOutput(), QString());
    }
};

ZMX_TEST(SimulatedControllersTest)

#include "tst_simulatedcontrollers.moc"
