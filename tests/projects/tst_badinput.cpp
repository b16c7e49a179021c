#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "sanitizerslowdown.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

const QByteArray configuration = "<CONFIGURATION NAME=\"Debug\" COMPILER=\"Test Chain\" TARGET=\"Debug\">"
                                 "<CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega16\"/></CONFIGURATION>";

QByteArray nested(int depth)
{
    return "<PROJECT>" + QByteArray("<A>").repeated(depth) + QByteArray("</A>").repeated(depth) + configuration
         + "</PROJECT>";
}

// A compiler configuration with one process whose MESSAGE or whose producers are given.
QByteArray chain(const QByteArray &processes)
{
    return "<COMPILER NAME=\"Bad Chain\"><TOOL FILE=\"cc\" NAME=\"CC\"/>" + processes
         + "<FAMILY NAME=\"F\"><CONTROLLER NAME=\"c\"/></FAMILY>"
           "<TARGET NAME=\"Debug\"><FILE OUTPUT=\"hex\"/></TARGET></COMPILER>";
}

// Producers of three kinds for each level's file out of the next level's: the tree of
// every way to make the target grows threefold per level.
QByteArray producers(int levels)
{
    QByteArray text;
    for (int level = 0; level < levels; ++level) {
        const QByteArray output = level == 0 ? "hex" : "f" + QByteArray::number(level);
        const QByteArray input = "f" + QByteArray::number(level + 1);
        for (int kind = 0; kind < 3; ++kind) {
            text += "<PROCESS TOOL=\"CC\" NAME=\"P" + QByteArray::number(level) + "_" + QByteArray::number(kind)
                  + "\" CMDLINE=\"cc\"><FILE OUTPUT=\"" + output + "\" INPUT=\"" + input + "\"/></PROCESS>";
        }
    }
    return text;
}

}

// Files users download, share and edit by hand: each bad one is refused with one message
// that says what is wrong and where, promptly, and the file on disk stays as it was.
class BadInputTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<BuildConfigList> compilers;
    std::unique_ptr<QTemporaryDir> folder;

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        compilers = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(compilers->loadAll(QStringLiteral(ZMX_FIXTURES "/projects/compilers")));
        folder = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        compilers.reset();
        workbench.reset();
        folder.reset();
    }

    void projectFilesAreRefusedWithAReason_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "at line 1";
        QTest::newRow("truncated") << QByteArray("<PROJECT><FILES><FILE NAME=\"a.c\"") << "at line 1";
        QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe", 12) << "at line 1";
        QTest::newRow("not UTF-8") << "<PROJECT DESCRIPTION=\"gr\xfc\xdf\">" + configuration + "</PROJECT>"
                                   << "at line 1";
        QTest::newRow("another kind of file") << QByteArray("<COMPILER NAME=\"x\"/>") << "first element is \"COMPILER\"";
        QTest::newRow("prefixed root") << QByteArray("<p:PROJECT xmlns:p=\"urn:x\"/>") << "first element is \"p:PROJECT\"";
        QTest::newRow("deep but allowed") << nested(200) << "";
        QTest::newRow("absurdly deep") << nested(200000) << "nested deeper than 256 levels at line 1";
        QTest::newRow("no configuration") << QByteArray("<PROJECT><FILES/></PROJECT>") << "no build configuration";
        QTest::newRow("unknown compiler")
            << QByteArray("<PROJECT><CONFIGURATION NAME=\"D\" COMPILER=\"Nope\" TARGET=\"Debug\"/></PROJECT>")
            << "needs the compiler \"Nope\"";
        QTest::newRow("no controller")
            << QByteArray("<PROJECT><CONFIGURATION NAME=\"D\" COMPILER=\"Test Chain\" TARGET=\"Debug\"/></PROJECT>")
            << "configuration \"D\" has no controller";
        QTest::newRow("50 MB attribute, no configuration")
            << "<PROJECT DESCRIPTION=\"" + QByteArray(50 * 1024 * 1024, 'x') + "\"/>" << "no build configuration";
    }

    void projectFilesAreRefusedWithAReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString path = folder->filePath(QStringLiteral("bad.zmxp"));
        QVERIFY(writeFile(path, content));

        QElapsedTimer timer;
        timer.start();
        Project project(compilers.get(), workbench.get());
        const bool loaded = project.load(path);
        // Generous: only a reader that is quadratic in the depth or size takes longer.
        QVERIFY2(timer.elapsed() < 20000 * sanitizerSlowdown, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(loaded, reason.isEmpty());
        if (!reason.isEmpty())
            QVERIFY2(project.loadError().contains(reason), qPrintable(project.loadError()));
        QCOMPARE(TestFiles::contents(path), content);
    }

    void compilerConfigurationsNameWhatIsWrong_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("builds");
        QTest::newRow("pattern that is no expression")
            << chain("<PROCESS TOOL=\"CC\" NAME=\"Compile\" CMDLINE=\"cc\"><FILE OUTPUT=\"hex\" INPUT=\"c\"/>"
                     "<MESSAGE VALUE=\"^(.*:(\\d+)\"><FIELD NAME=\"LINE\" POSITION=\"2\"/></MESSAGE></PROCESS>")
            << "the process \"Compile\" cannot be loaded: the message pattern \"^(.*:(\\d+)\" is not a valid "
               "regular expression (missing closing parenthesis at offset 10)"
            << false;
        QTest::newRow("field without a group")
            << chain("<PROCESS TOOL=\"CC\" NAME=\"Compile\" CMDLINE=\"cc\"><FILE OUTPUT=\"hex\" INPUT=\"c\"/>"
                     "<MESSAGE VALUE=\"x\"><FIELD NAME=\"LINE\" POSITION=\"two\"/></MESSAGE></PROCESS>")
            << "has a FIELD whose POSITION \"two\" is not a group number" << false;
        QTest::newRow("process without a command")
            << chain("<PROCESS TOOL=\"CC\" NAME=\"Compile\"><FILE OUTPUT=\"hex\" INPUT=\"c\"/></PROCESS>")
            << "the process \"Compile\" cannot be loaded: it has no TOOL or no CMDLINE" << false;
        QTest::newRow("producers nested deeply")
            << chain(producers(13)) << "the target \"Debug\" would take more than 10000 build steps" << false;
        QTest::newRow("producers nested a little") << chain(producers(3)) << "" << true;
        QTest::newRow("truncated") << QByteArray("<COMPILER NAME=\"x\"><TOOL") << "Error opening bad.xml:" << false;
    }

    void compilerConfigurationsNameWhatIsWrong()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QFETCH(bool, builds);
        const QString path = folder->filePath(QStringLiteral("bad.xml"));
        QVERIFY(writeFile(path, content));

        QElapsedTimer timer;
        timer.start();
        BuildConfig compiler(workbench.get());
        const bool loaded = compiler.load(path);
        QVERIFY2(timer.elapsed() < 5000 * sanitizerSlowdown, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(workbench->output.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty())
            QVERIFY2(workbench->output.first().contains(error), qPrintable(workbench->output.first()));
        if (loaded) {
            const CompilerTarget *target = compiler.target(QStringLiteral("Debug"));
            QCOMPARE(target && target->buildTree && compiler.brokenTools().isEmpty(), builds);
        }
        QCOMPARE(TestFiles::contents(path), content);
    }
};

ZMX_TEST(BadInputTest)

#include "tst_badinput.moc"
