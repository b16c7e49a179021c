#include "app/srcmanager.h"
#include "core/xmldocument.h"
#include "fakeworkbench.h"
#include "dialoganswerer.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/simulatorinstallation.h"
#include "testregistry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString maker = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhol Electronics\\");

std::unique_ptr<QSettings> userStore()
{
    auto store = std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"),
                                             QStringLiteral("ZMX Studio"));
    store->beginGroup(QStringLiteral("1"));
    return store;
}

// An installation directory that holds the simulator program.
QString makeInstallation(const QTemporaryDir &root, const QString &name)
{
    const QString path = root.filePath(name);
    QDir().mkpath(path + QStringLiteral("/bin"));
    QFile program(path + QStringLiteral("/bin/vask.exe"));
    program.open(QIODevice::WriteOnly);
    return QDir(path).absolutePath();
}

// The registry rule of the Windows build, driven by the in-memory registry of each test.
class RegistryLocator : public Platform::SimulatorLocator
{
public:
    Platform::SimulatorInstallation locate() const override
    {
        return Platform::registeredSimulator(Platform::Registry::instance());
    }
    bool isProvisional(const QString &storedPath) const override
    {
        return storedPath.contains(QLatin1String("Demo"), Qt::CaseInsensitive);
    }
};

}

class SettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir installs;

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        Platform::Registry::setInstance(std::make_unique<Platform::MemoryRegistry>());
        Platform::SimulatorLocator::setInstance(std::make_unique<RegistryLocator>());
    }

    void cleanup()
    {
        Platform::Registry::setInstance(nullptr);
        Platform::SimulatorLocator::setInstance(nullptr);
    }

    void directoriesDefaultBesideTheProgramAndAreStoredOnFirstUse()
    {
        SrcManager window;
        QDir parent(QCoreApplication::applicationDirPath());
        parent.cdUp();
        // The compilers directory is used while the window is built (the projects manager
        // loads the compiler configurations); the tools directory is not used before a build.
        QVERIFY(userStore()->value(QStringLiteral("Tools")).toString().isEmpty());
        // The test program's parent is the build tree, which holds the copied working data.
        QCOMPARE(window.compilersDirectory(), parent.absoluteFilePath(QStringLiteral("compilers")));
        QCOMPARE(userStore()->value(QStringLiteral("Compilers")).toString(), parent.absoluteFilePath(QStringLiteral("compilers")));
        QCOMPARE(window.toolsDirectory(), QDir(QCoreApplication::applicationDirPath()).absolutePath());
        QCOMPARE(userStore()->value(QStringLiteral("Tools")).toString(), window.toolsDirectory());
        QCOMPARE(window.syntaxDirectory(), parent.absoluteFilePath(QStringLiteral("syntax")));

        const QString projects = window.projectsDirectory();
        QCOMPARE(projects, QDir(Platform::documentsFolder()).absoluteFilePath(QStringLiteral("ZMX Studio Projects")));
        QVERIFY(QFileInfo(projects).isDir());

        window.setSyntaxDirectory(QStringLiteral("/elsewhere"));
        QCOMPARE(window.syntaxDirectory(), QStringLiteral("/elsewhere"));
        QCOMPARE(window.syntaxDirectory(true), parent.absoluteFilePath(QStringLiteral("syntax")));
        QCOMPARE(userStore()->value(QStringLiteral("Syntax")).toString(), QStringLiteral("/elsewhere"));
    }

    void missingSubdirectoryStaysAtTheParent()
    {
        SrcManager window;
        QDir parent(QCoreApplication::applicationDirPath());
        parent.cdUp();
        if (parent.exists(QStringLiteral("no-such-simulator-data")))
            QSKIP("unexpected folder");
        // "simulator" exists in the build tree; prove the rule on the tools-relative parent instead.
        QVERIFY(window.simulatorDirectory(true).startsWith(parent.absolutePath()));
    }

    void registryLookUpFindsAcceptedVersions_data()
    {
        QTest::addColumn<QStringList>("installations");
        QTest::addColumn<QString>("versionKey");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("found");
        QTest::addColumn<bool>("tooOld");
        QTest::newRow("7.8") << QStringList{"Quorvin Professional"} << "7" << "7.8" << true << false;
        QTest::newRow("7.10 reads as ten") << QStringList{"Quorvin Professional"} << "7" << "7.10" << true << false;
        QTest::newRow("8.0") << QStringList{"Quorvin Demonstration"} << "7" << "8.0" << true << false;
        QTest::newRow("7.7") << QStringList{"Quorvin Professional"} << "7" << "7.7" << false << true;
        QTest::newRow("major only") << QStringList{"Quorvin Professional"} << "7" << "7" << false << true;
        QTest::newRow("no number") << QStringList{"Quorvin Professional"} << "7" << "beta" << false << true;
        QTest::newRow("empty version") << QStringList{"Quorvin Professional"} << "7" << "" << false << true;
        QTest::newRow("only key 8") << QStringList{"Quorvin Professional"} << "8" << "8.1" << false << false;
        QTest::newRow("no installation") << QStringList{} << "7" << "7.9" << false << false;
    }

    void registryLookUpFindsAcceptedVersions()
    {
        QFETCH(QStringList, installations);
        QFETCH(QString, versionKey);
        QFETCH(QString, version);
        QFETCH(bool, found);
        QFETCH(bool, tooOld);
        const QString path = makeInstallation(installs, QStringLiteral("install-") + QTest::currentDataTag());
        auto registry = std::make_unique<Platform::MemoryRegistry>();
        for (const QString &installation : installations) {
            const QString key = maker + installation + QLatin1Char('\\') + versionKey;
            registry->setValue(key, QStringLiteral("Version"), version);
            registry->setValue(key, QStringLiteral("Path"), path);
        }
        Platform::Registry::setInstance(std::move(registry));

        SrcManager window;
        QCOMPARE(window.quorvinPath(true), found ? path : QString());
        QCOMPARE(window.isQuorvinTooOld(), tooOld);
    }

    void professionalIsPreferredAndStored()
    {
        const QString demo = makeInstallation(installs, QStringLiteral("Demo"));
        const QString professional = makeInstallation(installs, QStringLiteral("Pro"));
        auto registry = std::make_unique<Platform::MemoryRegistry>();
        for (const auto &[name, path] : {std::pair{QStringLiteral("Quorvin Demonstration 7"), demo},
                                         std::pair{QStringLiteral("Quorvin Professional 7"), professional}}) {
            registry->setValue(maker + name + QStringLiteral("\\8\\7"), QStringLiteral("Version"), QStringLiteral("7.9"));
            registry->setValue(maker + name + QStringLiteral("\\8\\7"), QStringLiteral("Path"), path);
            // Both version keys sit side by side; the values are read below "8".
            registry->addKey(maker + name + QStringLiteral("\\7"));
        }
        Platform::Registry::setInstance(std::move(registry));
        SrcManager window;
        QCOMPARE(window.quorvinPath(), professional);
        QCOMPARE(userStore()->value(QStringLiteral("Quorvin")).toString(), professional);
    }

    void directoryWithoutTheProgramKeepsTheStoredPath()
    {
        auto registry = std::make_unique<Platform::MemoryRegistry>();
        registry->setValue(maker + QStringLiteral("Quorvin Professional\\7"), QStringLiteral("Version"), QStringLiteral("7.8"));
        registry->setValue(maker + QStringLiteral("Quorvin Professional\\7"), QStringLiteral("Path"), installs.path());
        Platform::Registry::setInstance(std::move(registry));
        SrcManager window;
        window.setQuorvinPath(QStringLiteral("/typed/by/user"));
        QCOMPARE(window.quorvinPath(true), QStringLiteral("/typed/by/user"));
    }

    void startUpCheckWarnsWithTheRightText()
    {
        SrcManager window;
        DialogAnswerer::seenTexts().clear();
        DialogAnswerer::pressButton(QMessageBox::Ok);
        window.checkQuorvinInstallation();
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY(DialogAnswerer::seenTexts().at(0).startsWith(QStringLiteral("No Quorvin Installation Detected.\n")));
        QVERIFY(DialogAnswerer::seenTexts().at(0).endsWith(
            QStringLiteral("\n If Quorvin is installed you may need to manually enter its path.")));

        auto registry = std::make_unique<Platform::MemoryRegistry>();
        registry->setValue(maker + QStringLiteral("Quorvin Professional\\7"), QStringLiteral("Version"), QStringLiteral("7.7"));
        Platform::Registry::setInstance(std::move(registry));
        DialogAnswerer::pressButton(QMessageBox::Ok);
        window.checkQuorvinInstallation();
        QCOMPARE(DialogAnswerer::seenTexts().size(), 2);
        QVERIFY(DialogAnswerer::seenTexts().at(1).startsWith(
            QStringLiteral("Quorvin Detected but it is too old. Version 7.8 or later is required.")));
    }

    void demonstrationPathIsLookedUpAgain()
    {
        const QString professional = makeInstallation(installs, QStringLiteral("Upgraded"));
        auto registry = std::make_unique<Platform::MemoryRegistry>();
        registry->setValue(maker + QStringLiteral("Quorvin Professional\\7"), QStringLiteral("Version"), QStringLiteral("7.8"));
        registry->setValue(maker + QStringLiteral("Quorvin Professional\\7"), QStringLiteral("Path"), professional);
        Platform::Registry::setInstance(std::move(registry));
        SrcManager window;
        window.setQuorvinPath(QStringLiteral("C:/Quorvin demo"));
        window.checkQuorvinInstallation();
        QCOMPARE(userStore()->value(QStringLiteral("Quorvin")).toString(), professional);
    }

    // The build tree is laid out as an installation: the simulator's folder beside bin/ is
    // found, so a first start shows no warning. A path the user stored is kept as it is.
    void freshBuildTreeFindsTheBundledInstallation()
    {
        Platform::SimulatorLocator::setInstance(nullptr);
        QDir parent(QCoreApplication::applicationDirPath());
        parent.cdUp();
        const QString bundled = parent.absoluteFilePath(QStringLiteral("vask"));
        QVERIFY(QFileInfo(bundled + QStringLiteral("/SAMPLES")).isDir());
        QCOMPARE(Platform::bundledSimulator().directory, bundled);

        SrcManager window;
        QStringList shown;
        const auto watchForBox = [&shown] {
            QTimer::singleShot(0, [&shown] {
                if (QWidget *modal = QApplication::activeModalWidget()) {
                    shown.append(modal->windowTitle());
                    modal->close();
                }
            });
        };
        watchForBox();
        window.checkQuorvinInstallation();
        QCoreApplication::processEvents();
        QCOMPARE(shown, QStringList());
        QCOMPARE(userStore()->value(QStringLiteral("Quorvin")).toString(), bundled);

        window.setQuorvinPath(QStringLiteral("/home/demo/simulator"));
        watchForBox();
        window.checkQuorvinInstallation();
        QCoreApplication::processEvents();
        QCOMPARE(shown, QStringList());
        QCOMPARE(window.quorvinPath(), QStringLiteral("/home/demo/simulator"));
    }

    void documentReaderReportsParseErrors()
    {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("broken.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<PROJECT>\n  <FILE>\n</PROJECT>\n");
        file.close();
        FakeWorkbench workbench;
        QVERIFY(!XmlDocument::read(path, &workbench));
        QCOMPARE(workbench.output.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^message: Error opening broken\\.xml: .+ at line 3, column \\d+\\n$"))
                     .match(workbench.output.at(0)).hasMatch(),
                 qPrintable(workbench.output.at(0)));

        QVERIFY(!XmlDocument::read(directory.filePath(QStringLiteral("missing.xml")), &workbench));
        QCOMPARE(workbench.output.size(), 1);
    }

    void documentWriterIndentsByOneSpace()
    {
        QTemporaryDir directory;
        QDomDocument document;
        QDomElement root = document.createElement(QStringLiteral("ROOT"));
        document.appendChild(root);
        root.appendChild(document.createElement(QStringLiteral("CHILD"))).appendChild(document.createElement(QStringLiteral("LEAF")));
        const QString path = directory.filePath(QStringLiteral("out.xml"));
        QVERIFY(XmlDocument::write(path, document));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("<ROOT>\n <CHILD>\n  <LEAF/>\n </CHILD>\n</ROOT>\n"));
        QVERIFY(!XmlDocument::write(path, QDomDocument()));
        QVERIFY(!XmlDocument::write(directory.filePath(QStringLiteral("no/such/dir/out.xml")), document));
    }

    void makefilePathNormalisesSeparators()
    {
        QCOMPARE(Platform::makefilePath(QStringLiteral("C://work//blink/main.c")), QStringLiteral("C:/work/blink/main.c"));
        QCOMPARE(Platform::makefilePath(QStringLiteral("/home/me/p/a.c")), QStringLiteral("/home/me/p/a.c"));
        QVERIFY(Platform::shortPathName(QStringLiteral("/no/such/file")).isEmpty());
        QCOMPARE(Platform::shortPathName(QCoreApplication::applicationFilePath()), QCoreApplication::applicationFilePath());
    }
};

ZMX_TEST(SettingsTest)

#include "tst_settings.moc"
