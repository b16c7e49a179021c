#include "testfiles.h"
#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "fakeworkbench.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "testregistry.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMultiHash>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

namespace {

const QString fixtures = QStringLiteral(ZMX_FIXTURES "/e2e");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

bool replaceInFile(const QString &path, const QString &before, const QString &after)
{
    QString text = readText(path);
    if (!text.contains(before))
        return false;
    text.replace(before, after);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) && file.write(text.toUtf8()) > 0;
}

// The targets of the links in the output window, in order.
QStringList linkTargets(const OutWindow *output)
{
    QStringList targets;
    for (QTextBlock block = output->textEdit()->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !targets.contains(href))
                targets.append(href);
        }
    }
    return targets;
}

}

// Real tool chains, real make, the generated Makefile, through Project::compile and
// Project::clean as the Build and Clean commands run them.
class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    BuildConfigList *compilers = nullptr;
    QTemporaryDir *work = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }

    // Detects the tool chain as the compilers dialog does; false when it is not installed.
    bool detect(const QString &compiler)
    {
        BuildConfig *config = compilers->find(compiler);
        if (!config)
            return false;
        const DetectionResult result = CompilerDetector(workbench).detect(*config);
        config->storeDetection(result.detected(), result.directory);
        return result.detected();
    }

    std::unique_ptr<Project> open(const QString &fixture, const QString &projectFile)
    {
        if (!TestFiles::copyTree(fixtures + QLatin1Char('/') + fixture, work->path()))
            return nullptr;
        auto project = std::make_unique<Project>(compilers, workbench);
        if (!project->load(at(projectFile)))
            return nullptr;
        project->setCurrentConfiguration(0);
        workbench->output.clear();
        return project;
    }

    QString lastLine() const { return workbench->output.isEmpty() ? QString() : workbench->output.last(); }

    // The first error link of the last run.
    FakeWorkbench::Link firstErrorLink() const
    {
        for (const FakeWorkbench::Link &link : workbench->links) {
            if (link.error || link.text.contains(QLatin1String("error"), Qt::CaseInsensitive))
                return link;
        }
        return {};
    }

private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed; the end-to-end builds need it");
        workbench = new FakeWorkbench;
        workbench->compilersDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");
        compilers = new BuildConfigList(workbench);
        QVERIFY(compilers->loadAll());
        work = new QTemporaryDir;
    }

    void cleanup()
    {
        delete work;
        delete compilers;
        delete workbench;
        work = nullptr;
        compilers = nullptr;
        workbench = nullptr;
    }

    void buildsCleansAndLinksErrorsWithEachToolChain_data()
    {
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("projectFile");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("correct");
        QTest::addColumn<QString>("mistake");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("message");
        // Links count from 0; the tools' own lines say 13:1, 9 (column 7) and 9.
        QTest::newRow("avr-gcc") << "AVR GCC" << "avr" << "blink.zmxp" << "src/led.c" << "    PORTB ^= _BV(PB5);"
                                 << "    PORTB ^= _BV(PB5)" << 12 << 0 << "src/led.c:13:1: error:";
        QTest::newRow("sdcc") << "SDCC MCS51" << "mcs51" << "serial.zmxp" << "uart.c" << "    TMOD = 0x20;"
                              << "    TMOD = 0x20" << 8 << 6 << "uart.c:9: syntax error";
        QTest::newRow("gpasm") << "GPUTILS PIC" << "pic" << "toggle.zmxp" << "toggle.asm" << "    clrf TRISB"
                               << "    clrfx TRISB" << 8 << 0 << "toggle.asm:9:Error[";
    }

    void buildsCleansAndLinksErrorsWithEachToolChain()
    {
        QFETCH(QString, compiler);
        QFETCH(QString, fixture);
        QFETCH(QString, projectFile);
        QFETCH(QString, source);
        QFETCH(QString, correct);
        QFETCH(QString, mistake);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, message);
        if (!detect(compiler))
            QSKIP(qPrintable(QStringLiteral("The %1 tool chain is not installed (.ci/run installs it)").arg(compiler)));
        const auto project = open(fixture, projectFile);
        QVERIFY(project);

        QVERIFY2(project->compile(), qPrintable(workbench->output.join(QLatin1Char('\n'))));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));
        QVERIFY(TestFiles::isIntelHex(at(QStringLiteral("Debug/Debug.hex"))));

        QVERIFY(project->compile());
        QVERIFY(workbench->output.contains(QStringLiteral("message: Already compiled, target is up to date.")));
        QCOMPARE(lastLine(), QStringLiteral("success: Compiled successfully.\n"));

        QVERIFY(project->clean());
        QCOMPARE(lastLine(), QStringLiteral("message: Cleaned.\n"));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
        QVERIFY(QFile::exists(at(source)));

        QVERIFY(replaceInFile(at(source), correct, mistake));
        QVERIFY(!project->compile());
        const FakeWorkbench::Link link = firstErrorLink();
        QCOMPARE(link.file, at(source));
        QCOMPARE(link.line, line);
        QCOMPARE(link.column, column);
        QVERIFY2(link.text.startsWith(message), qPrintable(link.text));
        QVERIFY(lastLine().startsWith(QStringLiteral("error: Error code ")));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug/Debug.hex"))));
    }

    void buildsEveryAvrStepAndConfiguration()
    {
        if (!detect(QStringLiteral("AVR GCC")))
            QSKIP("The AVR GCC tool chain is not installed (.ci/run installs it)");
        const auto project = open(QStringLiteral("avr"), QStringLiteral("blink.zmxp"));
        QVERIFY(project);
        QVERIFY(project->compile());
        for (const char *object : {"Debug/main.o", "Debug/led.o", "Debug/delay.o", "Debug/firmware.elf"})
            QVERIFY2(QFile::exists(at(QLatin1String(object))), object);
        // The clock reached the compiler through the Makefile.
        QVERIFY(readText(at(QStringLiteral("Debug/Makefile"))).contains(QStringLiteral("\nCLOCK = 16000000\n")));
        QVERIFY(workbench->output.join(QString()).contains(QStringLiteral("-DF_CPU=16000000UL")));

        // A second configuration builds into a folder of its own.
        project->setCurrentConfiguration(1);
        QVERIFY(project->compile());
        QVERIFY(TestFiles::isIntelHex(at(QStringLiteral("Release/Release.hex"))));
        QVERIFY(QFile::exists(at(QStringLiteral("Debug/firmware.elf"))));
    }

    // Two compilers fail at once under make -j2: each one's messages arrive as one block
    // right after its own command line, and every message links to its own file and line.
    void parallelBuildKeepsEachStepsMessagesTogether()
    {
        if (!detect(QStringLiteral("AVR GCC")))
            QSKIP("The AVR GCC tool chain is not installed (.ci/run installs it)");
        workbench->setSettingsValue(QStringLiteral("Build/Make jobs"), 2);
        const int files = 6;
        // Enough code between the two mistakes of a file that both compilers are still
        // talking when the other starts.
        const int filler = 20000;
        QString list;
        QMultiHash<QString, int> expected;
        for (int index = 0; index < files; ++index) {
            const QString name = QStringLiteral("src/part%1.c").arg(index);
            list += QStringLiteral("  <FILE NAME=\"%1\" GROUP=\"Source Files\"/>\n").arg(name);
            const bool broken = index < 2;
            QString text = QStringLiteral("int first%1(void) { return %2; }\n").arg(index).arg(broken ? QStringLiteral("missing") : QStringLiteral("1"));
            for (int line = 0; line < filler; ++line)
                text += QStringLiteral("static inline int part%1_%2(int x) { return x * %2 + %1; }\n").arg(index).arg(line);
            text += QStringLiteral("int last%1(void) { return %2; }\n").arg(index).arg(broken ? QStringLiteral("absent") : QStringLiteral("2"));
            if (index == 0)
                text += QStringLiteral("int main(void) { return 0; }\n");
            if (broken) {
                expected.insert(at(name), 0);
                expected.insert(at(name), filler + 1);
            }
            QDir().mkpath(at(QStringLiteral("src")));
            QFile file(at(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        }
        QFile projectFile(at(QStringLiteral("parts.zmxp")));
        QVERIFY(projectFile.open(QIODevice::WriteOnly));
        projectFile.write(QStringLiteral("<PROJECT>\n <FILES>\n%1 </FILES>\n"
                                         " <CONFIGURATION NAME=\"Debug\" COMPILER=\"AVR GCC\" TARGET=\"Debug\">\n"
                                         "  <CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega328P\" CLOCK=\"16 MHz\"/>\n"
                                         " </CONFIGURATION>\n</PROJECT>\n")
                              .arg(list)
                              .toUtf8());
        projectFile.close();
        Project project(compilers, workbench);
        QVERIFY(project.load(at(QStringLiteral("parts.zmxp"))));
        project.setCurrentConfiguration(0);

        QVERIFY(!project.compile());
        QVERIFY(lastLine().startsWith(QStringLiteral("error: Error code ")));

        // Which file each line is about: a compiler's command line names its object, a
        // message starts with its source.
        const QRegularExpression command(QStringLiteral(" -o Debug/(part\\d)\\.o "));
        const QRegularExpression message(QStringLiteral("^(src/(part\\d)\\.c):(\\d+):(\\d+): (error|warning|note): "));
        QStringList blocks;
        QString current;
        QMultiHash<QString, int> errors;
        qsizetype linkIndex = 0;
        for (const QString &line : std::as_const(workbench->output)) {
            const bool isLink = line.startsWith(QLatin1String("message link: ")) || line.startsWith(QLatin1String("error link: "));
            const FakeWorkbench::Link link = isLink ? workbench->links.value(linkIndex++) : FakeWorkbench::Link{};
            const QString text = isLink ? link.text : line.mid(line.indexOf(QLatin1String(": ")) + 2);
            const QRegularExpressionMatch messageMatch = message.match(text);
            QString about = text.startsWith(QLatin1String("src/part")) ? text.mid(4, 5) : QString();
            if (const QRegularExpressionMatch match = command.match(text); match.hasMatch()) {
                about = match.captured(1);
                QVERIFY2(!blocks.contains(about), qPrintable(QStringLiteral("%1 compiled twice").arg(about)));
                blocks.append(about);
                current = about;
            }
            if (messageMatch.hasMatch()) {
                QVERIFY2(isLink, qPrintable(text));
                QCOMPARE(link.file, at(messageMatch.captured(1)));
                QCOMPARE(link.line, messageMatch.captured(3).toInt() - 1);
                QCOMPARE(link.column, messageMatch.captured(4).toInt() - 1);
                if (messageMatch.captured(5) == QLatin1String("error"))
                    errors.insert(link.file, link.line);
            }
            if (!about.isEmpty())
                QVERIFY2(about == current, qPrintable(QStringLiteral("a line of %1 within the output of %2: %3").arg(about, current, text)));
        }
        QCOMPARE(linkIndex, workbench->links.size());
        QVERIFY2(blocks.contains(QStringLiteral("part0")) && blocks.contains(QStringLiteral("part1")), qPrintable(blocks.join(u' ')));
        QCOMPARE(errors.size(), expected.size());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(errors.contains(it.key(), it.value()), qPrintable(QStringLiteral("%1:%2").arg(it.key()).arg(it.value() + 1)));
    }
};

ZMX_TEST(EndToEndTest)

// The road of a build through the real window: Build Project, the output window's link
// to the compiler's message, the click that opens the file there, and Stop Build.
class GuiBuildTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *work = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        work = new QTemporaryDir;
    }

    void cleanup() { delete work; }

    void buildLinksTheErrorAndTheLinkOpensItsLine()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        SrcManager window;
        BuildConfig *avr = window.projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
        QVERIFY(avr);
        const DetectionResult detected = CompilerDetector(&window).detect(*avr);
        if (!detected.detected())
            QSKIP("The AVR GCC tool chain is not installed");
        avr->storeDetection(true, detected.directory);

        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/avr"), work->path()));
        QVERIFY(replaceInFile(at(QStringLiteral("src/led.c")), QStringLiteral("PORTB ^= _BV(PB5);"), QStringLiteral("PORTB ^= _BV(PB5)")));
        window.openProject(at(QStringLiteral("blink.zmxp")));
        QCOMPARE(window.projects()->projectCount(), 1);

        window.action(SrcManager::BuildProject)->trigger();
        const QString ledC = at(QStringLiteral("src/led.c"));
        QVERIFY2(linkTargets(window.output()).contains(ledC + QStringLiteral("#12.0")),
                 qPrintable(window.output()->textEdit()->toPlainText()));
        QVERIFY(window.output()->textEdit()->toPlainText().contains(QStringLiteral("Error code 2")));
        QVERIFY(window.action(SrcManager::BuildProject)->isEnabled());

        // The compiler counts lines from 1, the link and the editor from 0: the cursor lands
        // on the line the compiler named.
        QTextBrowser *browser = window.output()->textEdit();
        emit browser->anchorClicked(QUrl(ledC + QStringLiteral("#12.0")));
        SourceEditor *editor = window.tabs()->findEditor(ledC);
        QVERIFY(editor);
        int line = -1;
        int index = -1;
        editor->getCursorPosition(&line, &index);
        QCOMPARE(line, 12);
        QCOMPARE(index, 0);
        QCOMPARE(editor->text(line).trimmed(), QStringLiteral("}"));
    }

    void stopBuildEndsMakeWhileTheWindowStaysAlive()
    {
        SrcManager window;
        const QString tools = at(QStringLiteral("tools"));
        QDir().mkpath(tools);
        QFile make(tools + QStringLiteral("/make"));
        QVERIFY(make.open(QIODevice::WriteOnly));
        make.write("#!/bin/sh\necho started\nexec sleep 600\n");
        make.close();
        make.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        window.setToolsDirectory(tools);
        window.projects()->buildConfigList()->find(QStringLiteral("AVR GCC"))->storeDetection(true, QStringLiteral("/usr/bin"));
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/avr"), work->path()));
        window.openProject(at(QStringLiteral("blink.zmxp")));
        // Shown, as the user sees it: a hidden Output pane takes its lines in only when read.
        window.show();

        // What the user does once make has said something: press Stop Build.
        bool stopEnabled = false;
        QTextDocument *text = window.output()->textEdit()->document();
        // Goes before stopEnabled does: the window, going last, clears the output again.
        QObject watching;
        connect(text, &QTextDocument::contentsChanged, &watching, [&] {
            if (!stopEnabled && text->toPlainText().contains(QStringLiteral("started"))) {
                stopEnabled = window.action(SrcManager::StopBuild)->isEnabled();
                window.action(SrcManager::StopBuild)->trigger();
            }
        });
        window.action(SrcManager::BuildProject)->trigger();
        QVERIFY(stopEnabled);
        QVERIFY(window.output()->textEdit()->toPlainText().contains(QStringLiteral("Build aborted by user")));
        QVERIFY(!window.action(SrcManager::StopBuild)->isEnabled());
    }
};

ZMX_TEST(GuiBuildTest)

#include "tst_endtoend.moc"
