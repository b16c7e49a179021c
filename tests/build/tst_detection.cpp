#include "build/buildconfig.h"
#include "build/compilerdetector.h"
#include "build/detectionparameters.h"
#include "fakeworkbench.h"
#include "platform/registry.h"
#include "testregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

namespace {

const QString detectionDir = QStringLiteral(ZMX_FIXTURES "/compilers/detection");

// A shell script standing in for a compiler executable.
QString writeProgram(const QString &path, const QString &body)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write("#!/bin/sh\n" + body.toUtf8() + "\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return QFileInfo(path).absoluteFilePath();
}

QString banner(const QString &text)
{
    return QStringLiteral("echo \"%1 ($#:$1)\"").arg(text);
}

DetectionParameters parameters(Workbench *workbench, const QList<QPair<QString, QString>> &pairs)
{
    DetectionParameters result(workbench);
    for (const auto &pair : pairs)
        result.set(pair.first, pair.second);
    return result;
}

void setModified(const QString &path, const QDate &date)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(date, QTime(12, 0)), QFileDevice::FileModificationTime));
}

}

class DetectionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<QTemporaryDir> dir;
    Platform::MemoryRegistry *registry = nullptr;

    QString resolved(const QList<QPair<QString, QString>> &pairs, const QString &name, bool report = false,
                     bool *ok = nullptr)
    {
        const DetectionParameters list = parameters(workbench.get(), pairs);
        QString value = list.value(name);
        const bool result = list.resolve(name, value, report);
        if (ok)
            *ok = result;
        return value;
    }

    DetectionResult evaluate(const QList<QPair<QString, QString>> &pairs)
    {
        return CompilerDetector(workbench.get()).evaluate(parameters(workbench.get(), pairs));
    }

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        dir = std::make_unique<QTemporaryDir>();
        auto memory = std::make_unique<Platform::MemoryRegistry>();
        registry = memory.get();
        Platform::Registry::setInstance(std::move(memory));
        qputenv("ZMX_FAKE_BIN", dir->filePath(QStringLiteral("bin")).toLocal8Bit());
    }

    void cleanup()
    {
        Platform::Registry::setInstance(nullptr);
        qunsetenv("ZMX_FAKE_BIN");
        workbench.reset();
        dir.reset();
    }

    void keepsTheFirstPairOfEachName()
    {
        DetectionParameters list;
        list.set(QStringLiteral("A"), QStringLiteral("1"));
        list.set(QStringLiteral("B"), QStringLiteral("2"));
        list.set(QStringLiteral("A"), QStringLiteral("3"));
        list.set(QStringLiteral("a"), QStringLiteral("4"));
        list.set(QStringLiteral("C"), QString());
        list.set(QString(), QStringLiteral("5"));
        QCOMPARE(list.pairs().size(), 3);
        QCOMPARE(list.value(QStringLiteral("A")), QStringLiteral("3"));
        QCOMPARE(list.value(QStringLiteral("a")), QStringLiteral("4"));
        QCOMPARE(list.number(QStringLiteral("B")), 2);
        QCOMPARE(list.number(QStringLiteral("A4")), 0);
    }

    void resolvesParametersAndEnvironment()
    {
        qputenv("ZMX_DETECT_HOME", "/home/dev");
        const QString root = QStringLiteral("ROOT");
        QCOMPARE(resolved({{root, QStringLiteral("%%")}}, root), QString());
        QCOMPARE(resolved({{root, QStringLiteral("100%")}}, root), QStringLiteral("100"));
        // A parameter wins over the environment; a parameter's value is expanded in turn.
        QCOMPARE(resolved({{root, QStringLiteral("%BASE%/bin")}, {QStringLiteral("BASE"), QStringLiteral("%ZMX_DETECT_HOME%/x")},
                           {QStringLiteral("ZMX_DETECT_HOME"), QStringLiteral("/param")}},
                          root),
                 QStringLiteral("/param/x/bin"));
        QCOMPARE(resolved({{root, QStringLiteral("%ZMX_DETECT_HOME%/tools")}}, root), QStringLiteral("/home/dev/tools"));

        bool ok = false;
        QCOMPARE(resolved({{root, QStringLiteral("a%ZMX_NOT_SET%b")}}, root, false, &ok), QStringLiteral("ab"));
        QVERIFY(ok);
        QVERIFY(workbench->output.isEmpty());
        resolved({{root, QStringLiteral("a%ZMX_NOT_SET%b")}}, root, true, &ok);
        QVERIFY(!ok);
        QCOMPARE(workbench->output, QStringList({QStringLiteral("message: Cannot resolve parameter ZMX_NOT_SET\n")}));
        qunsetenv("ZMX_DETECT_HOME");
    }

    void reportsCircularParameters()
    {
        bool ok = true;
        resolved({{QStringLiteral("A"), QStringLiteral("x%A%")}}, QStringLiteral("A"), false, &ok);
        QVERIFY(!ok);
        resolved({{QStringLiteral("A"), QStringLiteral("%B%")}, {QStringLiteral("B"), QStringLiteral("%A%")}}, QStringLiteral("A"),
                 false, &ok);
        QVERIFY(!ok);
        QCOMPARE(workbench->output, QStringList(2, QStringLiteral("message: Cirular dependency of parameter A\n")));

        // A ring that does not pass through the parameter itself ends too.
        workbench->output.clear();
        resolved({{QStringLiteral("A"), QStringLiteral("%B%")}, {QStringLiteral("B"), QStringLiteral("%C%")},
                  {QStringLiteral("C"), QStringLiteral("%B%")}},
                 QStringLiteral("A"), false, &ok);
        QVERIFY(!ok);
        QCOMPARE(workbench->output, QStringList({QStringLiteral("message: Cirular dependency of parameter A\n")}));
    }

    void findsFilesBelowAFolder()
    {
        const QString found = writeProgram(dir->filePath(QStringLiteral("opt/v2/deep/bin/cc")), QStringLiteral("true"));
        const QString opt = dir->filePath(QStringLiteral("opt"));
        const QString path = QStringLiteral("PATH");
        const QString value = QStringLiteral("%OPT%%SUB%\\/bin/cc");
        bool ok = false;
        QCOMPARE(resolved({{path, value}, {QStringLiteral("OPT"), opt}, {QStringLiteral("LEVELS"), QStringLiteral("2")}}, path,
                          false, &ok),
                 found);
        QVERIFY(ok);
        resolved({{path, value}, {QStringLiteral("OPT"), opt}, {QStringLiteral("LEVELS"), QStringLiteral("1")}}, path, false, &ok);
        QVERIFY(!ok);
        resolved({{path, value}, {QStringLiteral("OPT"), opt}}, path, false, &ok);
        QVERIFY(!ok);
        QVERIFY(workbench->output.isEmpty());
    }

    void matchesTheFirstEntryOfAPrefix()
    {
        QDir(dir->path()).mkpath(QStringLiteral("tools/Avr-8.1/bin"));
        QDir(dir->path()).mkpath(QStringLiteral("tools/avr-9.0/bin"));
        QDir(dir->path()).mkpath(QStringLiteral("tools/pic/bin"));
        qputenv("ZMX_DETECT_TOOLS", dir->filePath(QStringLiteral("tools")).toLocal8Bit());
        const QString path = QStringLiteral("PATH");
        const QString tools = dir->filePath(QStringLiteral("tools"));
        // The variable first, then the first entry whose name starts with the prefix.
        QCOMPARE(resolved({{path, QStringLiteral("%ZMX_DETECT_TOOLS%/AVR%*%/bin/cc")}}, path), tools + QStringLiteral("/Avr-8.1/bin/cc"));
        QCOMPARE(resolved({{path, QStringLiteral("%ZMX_DETECT_TOOLS%/%*%/bin")}}, path), tools + QStringLiteral("/Avr-8.1/bin"));
        // With placeholders after it, only an entry that resolves to a folder counts.
        QCOMPARE(resolved({{path, QStringLiteral("%ZMX_DETECT_TOOLS%/%*%/%SUBDIR%")}, {QStringLiteral("SUBDIR"), QStringLiteral("../pic/bin")}},
                          path),
                 tools + QStringLiteral("/Avr-8.1/../pic/bin"));
        QDir(tools).mkpath(QStringLiteral("pic/only"));
        QCOMPARE(resolved({{path, QStringLiteral("%ZMX_DETECT_TOOLS%/%*%/%SUBDIR%")}, {QStringLiteral("SUBDIR"), QStringLiteral("only")}},
                          path),
                 tools + QStringLiteral("/pic/only"));
        // Nothing matches: the placeholder is an ordinary (unknown) name.
        QCOMPARE(resolved({{path, QStringLiteral("%ZMX_DETECT_TOOLS%/arm%*%/bin")}}, path), tools + QStringLiteral("/arm/bin"));
        qunsetenv("ZMX_DETECT_TOOLS");
    }

    void checksTheExecutable()
    {
        const QString cc = writeProgram(dir->filePath(QStringLiteral("bin/cc")), banner(QStringLiteral("cc 4.2")));
        const QString bin = QFileInfo(cc).absolutePath();
        const QString path = QStringLiteral("PATH");

        DetectionResult result = evaluate({{path, cc}, {QStringLiteral("STR"), QStringLiteral("cc 4.2 (0:)")}});
        QVERIFY(result.detected());
        QCOMPARE(result.directory, bin);
        // ARG is one argument, blanks and all; STR is case-sensitive.
        QVERIFY(evaluate({{path, cc}, {QStringLiteral("ARG"), QStringLiteral("-v x")}, {QStringLiteral("STR"), QStringLiteral("(1:-v x)")}})
                    .detected());
        QVERIFY(!evaluate({{path, cc}, {QStringLiteral("STR"), QStringLiteral("CC 4.2")}}).found);
        QVERIFY(!evaluate({{path, dir->filePath(QStringLiteral("bin/none"))}}).found);
        QVERIFY(!evaluate({{path, bin}}).found);
        QVERIFY(!evaluate({}).found);

        QFile plain(dir->filePath(QStringLiteral("bin/plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!evaluate({{path, plain.fileName()}, {QStringLiteral("NOEXECUTE"), QStringLiteral("true")}}).found);

        // Not run at all with NOEXECUTE "true" (exactly), so the banner is not asked for.
        const QString silent = writeProgram(dir->filePath(QStringLiteral("bin/silent")), QStringLiteral("exit 3"));
        QVERIFY(evaluate({{path, silent}, {QStringLiteral("STR"), QStringLiteral("x")}, {QStringLiteral("NOEXECUTE"), QStringLiteral("true")}})
                    .detected());
        QVERIFY(!evaluate({{path, silent}, {QStringLiteral("STR"), QStringLiteral("x")}, {QStringLiteral("NOEXECUTE"), QStringLiteral("True")}})
                     .found);
        // The exit code says nothing; a crash or a program that cannot start does.
        QVERIFY(evaluate({{path, silent}}).detected());
        const QString crash = writeProgram(dir->filePath(QStringLiteral("bin/crash")), QStringLiteral("echo cc; kill -SEGV $$"));
        QVERIFY(!evaluate({{path, crash}}).found);
        QFile broken(dir->filePath(QStringLiteral("bin/broken")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("#!/no/such/interpreter\n");
        broken.close();
        broken.setPermissions(broken.permissions() | QFileDevice::ExeOwner);
        QVERIFY(!evaluate({{path, broken.fileName()}}).found);
        // A program waiting for input sees the end of it at once.
        const QString reader = writeProgram(dir->filePath(QStringLiteral("bin/reader")), QStringLiteral("cat; echo read"));
        QVERIFY(evaluate({{path, reader}, {QStringLiteral("STR"), QStringLiteral("read")}}).detected());
    }

    void tellsTooOldByDate()
    {
        const QString cc = writeProgram(dir->filePath(QStringLiteral("bin/cc")), QStringLiteral("exit 0"));
        const auto withDate = [&](const QString &date) {
            return evaluate({{QStringLiteral("PATH"), cc}, {QStringLiteral("DATE"), date}});
        };
        setModified(cc, QDate(2020, 5, 31));
        QVERIFY(withDate(QStringLiteral("2020-06-01")).detected());
        setModified(cc, QDate(2020, 5, 30));
        const DetectionResult old = withDate(QStringLiteral("2020-06-01"));
        QVERIFY(old.found);
        QCOMPARE(old.status, int(DetectionResult::TooOld));
        QCOMPARE(old.directory, QFileInfo(cc).absolutePath());
        QVERIFY(withDate(QStringLiteral("1st of June")).detected());
    }

    void stopsAProgramThatHangs()
    {
        const QString pidFile = dir->filePath(QStringLiteral("pid"));
        // Ignores the polite request, so it has to be killed.
        const QString hang = writeProgram(dir->filePath(QStringLiteral("bin/hang")),
                                          QStringLiteral("trap '' TERM\necho $$ > '%1'\nwhile :; do sleep 0.2; done").arg(pidFile));
        QVERIFY(!evaluate({{QStringLiteral("PATH"), hang}}).found);
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t pid = static_cast<pid_t>(file.readAll().trimmed().toInt());
        QVERIFY(pid > 0);
        QVERIFY(::kill(pid, 0) != 0);
    }

    void searchesNamedRegistryValues()
    {
        const QString cc = writeProgram(dir->filePath(QStringLiteral("reg/bin/cc")), QStringLiteral("echo reg"));
        const QString other = writeProgram(dir->filePath(QStringLiteral("other/cc")), QStringLiteral("echo other"));
        const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\CC");
        registry->setValue(key, QStringLiteral("InstallDir"), dir->filePath(QStringLiteral("reg")));
        registry->setValue(key, QStringLiteral("Empty"), QString());
        const QList<QPair<QString, QString>> named = {{QStringLiteral("KEYLOC"), key},
                                                      {QStringLiteral("TYPE"), QStringLiteral("NAMED")},
                                                      {QStringLiteral("KEY"), QStringLiteral("InstallDir")},
                                                      {QStringLiteral("SUF"), QStringLiteral("/bin/cc")}};
        QCOMPARE(evaluate(named).directory, QFileInfo(cc).absolutePath());
        // A PATH of its own wins over the registry.
        QCOMPARE(evaluate(named + QList<QPair<QString, QString>>{{QStringLiteral("PATH"), other}}).directory,
                 QFileInfo(other).absolutePath());
        // An empty value: the walk goes on, and PATH is checked.
        auto empty = named;
        empty[2].second = QStringLiteral("Empty");
        QVERIFY(!evaluate(empty).found);
        QCOMPARE(evaluate(empty + QList<QPair<QString, QString>>{{QStringLiteral("PATH"), other}}).directory,
                 QFileInfo(other).absolutePath());
        // An unknown type ends the walk at once.
        auto unknown = named;
        unknown[1].second = QStringLiteral("named");
        QVERIFY(!evaluate(unknown).found);
    }

    void searchesAnonymousRegistryKeys()
    {
        const QString top = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Tools");
        const auto install = [&](const QString &key, const QString &folder) {
            writeProgram(dir->filePath(folder + QStringLiteral("/cc")), QStringLiteral("echo cc"));
            registry->setValue(key, QStringLiteral("Dir"), dir->filePath(folder));
        };
        install(top, QStringLiteral("level0"));
        registry->setValue(top + QStringLiteral("\\V1"), QStringLiteral("Dir"), dir->filePath(QStringLiteral("missing")));
        install(top + QStringLiteral("\\V1\\Sub"), QStringLiteral("level2"));
        const auto search = [&](const QString &depthName, const QString &depth) {
            return evaluate({{QStringLiteral("KEYLOC"), top}, {QStringLiteral("TYPE"), QStringLiteral("ANONYMOUS")},
                             {QStringLiteral("KEY"), QStringLiteral("Dir")}, {QStringLiteral("SUF"), QStringLiteral("/cc")},
                             {depthName, depth}});
        };
        // LEVEL looks only at the deepest level, LEVELS at every level from the key down.
        QCOMPARE(search(QStringLiteral("LEVEL"), QStringLiteral("2")).directory, dir->filePath(QStringLiteral("level2")));
        QCOMPARE(search(QStringLiteral("LEVELS"), QStringLiteral("2")).directory, dir->filePath(QStringLiteral("level0")));
        QVERIFY(!search(QStringLiteral("LEVEL"), QStringLiteral("1")).found);
        QCOMPARE(search(QStringLiteral("LEVEL"), QStringLiteral("x")).directory, dir->filePath(QStringLiteral("level0")));

        // KEY with a path below each visited key; CONTAINS searches the values' texts.
        registry->setValue(top + QStringLiteral("\\V2\\Paths"), QStringLiteral("Bin"), dir->filePath(QStringLiteral("level2")));
        QCOMPARE(evaluate({{QStringLiteral("KEYLOC"), top}, {QStringLiteral("TYPE"), QStringLiteral("ANONYMOUS")},
                           {QStringLiteral("KEY"), QStringLiteral("Paths\\Bin")}, {QStringLiteral("SUF"), QStringLiteral("/cc")},
                           {QStringLiteral("LEVEL"), QStringLiteral("1")}})
                     .directory,
                 dir->filePath(QStringLiteral("level2")));
        registry->setValue(top + QStringLiteral("\\V3"), QStringLiteral("Note"), QStringLiteral("nothing here"));
        registry->setValue(top + QStringLiteral("\\V3"), QStringLiteral("Where"), dir->filePath(QStringLiteral("LEVEL2")));
        QVERIFY(!evaluate({{QStringLiteral("KEYLOC"), top}, {QStringLiteral("TYPE"), QStringLiteral("ANONYMOUS")},
                           {QStringLiteral("CONTAINS"), QStringLiteral("level2")}, {QStringLiteral("SUF"), QStringLiteral("/cc")},
                           {QStringLiteral("LEVEL"), QStringLiteral("1")}})
                     .found);
        registry->setValue(top + QStringLiteral("\\V3"), QStringLiteral("Where"), dir->filePath(QStringLiteral("level2")));
        QCOMPARE(evaluate({{QStringLiteral("KEYLOC"), top}, {QStringLiteral("TYPE"), QStringLiteral("ANONYMOUS")},
                           {QStringLiteral("CONTAINS"), QStringLiteral("LEVEL2")}, {QStringLiteral("SUF"), QStringLiteral("/cc")},
                           {QStringLiteral("LEVEL"), QStringLiteral("1")}})
                     .directory,
                 dir->filePath(QStringLiteral("level2")));
    }

    void findsToolsOfTheSimulator()
    {
        workbench->quorvin = dir->filePath(QStringLiteral("sim"));
        const QString cc = writeProgram(dir->filePath(QStringLiteral("sim/tools/bin/cc")), QStringLiteral("echo sim"));
        const DetectionResult result = evaluate({{QStringLiteral("QUORVIN_TOOL"), QStringLiteral("bin/cc")},
                                                 {QStringLiteral("PATH"), QStringLiteral("/usr/bin/none")}});
        QCOMPARE(result.directory, QFileInfo(cc).absolutePath());
    }

    void detectsFromTheConfigurationFile()
    {
        BuildConfig config(workbench.get());
        QVERIFY(config.load(QDir(detectionDir).absoluteFilePath(QStringLiteral("chain.xml"))));
        const QString bin = dir->filePath(QStringLiteral("bin"));
        writeProgram(bin + QStringLiteral("/fakecc"), banner(QStringLiteral("fakecc 3.1")));
        writeProgram(bin + QStringLiteral("/fakeld"), banner(QStringLiteral("fakeld")));
        CompilerDetector detector(workbench.get());

        DetectionResult result = detector.detect(config);
        QVERIFY(result.detected());
        QCOMPARE(result.directory, QDir(bin).absolutePath());
        QCOMPARE(result.version, QStringLiteral("3.0"));
        QCOMPARE(workbench->output, QStringList({QStringLiteral("message: Detecting compiler Fake Chain")}));

        // The second CHECK fails, so the last DETECT decides: the compiler is too old.
        writeProgram(bin + QStringLiteral("/fakeld"), banner(QStringLiteral("other")));
        result = detector.detect(config);
        QVERIFY(result.found);
        QCOMPARE(result.status, int(DetectionResult::TooOld));

        BuildConfig nothing(workbench.get());
        QVERIFY(nothing.load(QDir(detectionDir).absoluteFilePath(QStringLiteral("nodetect.xml"))));
        result = detector.detect(nothing);
        QVERIFY(!result.found);
        QCOMPARE(result.version, QString());

        // The file is read again: a file gone since loading finds nothing.
        QTemporaryDir copyDir;
        const QString copy = copyDir.filePath(QStringLiteral("chain.xml"));
        QVERIFY(QFile::copy(config.filePath(), copy));
        BuildConfig moved(workbench.get());
        QVERIFY(moved.load(copy));
        QVERIFY(QFile::remove(copy));
        workbench->output.clear();
        result = detector.detect(moved);
        QVERIFY(!result.found);
        QCOMPARE(result.version, QStringLiteral("3.0"));
        QVERIFY(workbench->output.isEmpty());

        BuildConfig unloaded(workbench.get());
        QVERIFY(!detector.detect(unloaded).found);
    }
};

ZMX_TEST(DetectionTest)
#include "tst_detection.moc"
