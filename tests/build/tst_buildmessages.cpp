#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "editor/messagemarkers.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <algorithm>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) && file.write(text.toUtf8()) >= 0;
}

// The 0-based number of the first line of text that contains part.
int lineOf(const QString &text, const QString &part)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int line = 0; line < lines.size(); ++line) {
        if (lines.at(line).contains(part))
            return line;
    }
    return -1;
}

QAction *actionWithShortcut(const SrcManager &window, const QKeySequence &shortcut)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->shortcut() == shortcut)
            return action;
    }
    return nullptr;
}

}

// A real AVR build with two errors and a warning in two files, through the window: the
// markers, their tool tips, stepping with F4 and the counts, until a fixed build clears them.
class BuildMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
    }

    void markersStepsAndCountsFollowTheBuild()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        QTemporaryDir work;
        SrcManager window;
        BuildConfig *avr = window.projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
        QVERIFY(avr);
        const DetectionResult detected = CompilerDetector(&window).detect(*avr);
        if (!detected.detected())
            QSKIP("The AVR GCC tool chain is not installed");
        avr->storeDetection(true, detected.directory);

        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/avr"), work.path()));
        const QString mainC = work.filePath(QStringLiteral("src/main.c"));
        // A header that the project does not list: its messages get markers all the same.
        const QString boardH = work.filePath(QStringLiteral("src/board.h"));
        const QString goodMain = readText(mainC);
        const QString badHeader = QStringLiteral("#define BOARD_PINS 4\n\nextern int board_pins[-BOARD_PINS];\n");
        QString badMain = goodMain;
        badMain.replace(QStringLiteral("#include <avr/io.h>\n"),
                        QStringLiteral("#include <avr/io.h>\n#include \"board.h\"\n\nunsigned char board_small = 300;\n"));
        badMain.replace(QStringLiteral("    led_init();"), QStringLiteral("    led_init()"));
        QVERIFY(writeText(mainC, badMain) && writeText(boardH, badHeader));
        const int headerError = lineOf(badHeader, QStringLiteral("board_pins"));
        const int warningLine = lineOf(badMain, QStringLiteral("board_small"));
        // A missing ";" is reported where the next statement starts.
        const int mainError = lineOf(badMain, QStringLiteral("for (;;)"));

        window.openProject(work.filePath(QStringLiteral("blink.zmxp")));
        QCOMPARE(window.projects()->projectCount(), 1);
        window.openFile(mainC);
        window.action(SrcManager::BuildProject)->trigger();

        const QString output = window.output()->textEdit()->toPlainText();
        const QStringList outputLines = output.split(QLatin1Char('\n'));
        // The counts follow the tools' output, before the outcome.
        const qsizetype countsLine = outputLines.indexOf(QStringLiteral("2 errors, 1 warning"));
        QVERIFY2(countsLine > 0, qPrintable(output));
        QVERIFY(outputLines.at(countsLine + 1).startsWith(QStringLiteral("Error code 2")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("2 errors, 1 warning"));

        // The editor that was open got its markers, the file opened afterwards gets its own.
        SourceEditor *mainEditor = window.tabs()->findEditor(mainC);
        QVERIFY(mainEditor);
        QVERIFY2(mainEditor->markersAtLine(warningLine) & (1u << MessageMarkers::warningSymbol), qPrintable(output));
        QVERIFY(mainEditor->markersAtLine(mainError) & (1u << MessageMarkers::errorSymbol));
        QCOMPARE(mainEditor->markersAtLine(warningLine) & (1u << MessageMarkers::errorSymbol), 0u);
        QVERIFY(mainEditor->messageMarkers()->textAt(warningLine).contains(QStringLiteral("warning: large integer")));
        QVERIFY(mainEditor->messageMarkers()->textAt(mainError).contains(QStringLiteral("error: expected ';'")));
        window.openFile(boardH);
        SourceEditor *headerEditor = window.tabs()->findEditor(boardH);
        QVERIFY(headerEditor);
        QVERIFY(headerEditor->markersAtLine(headerError) & (1u << MessageMarkers::errorSymbol));
        QCOMPARE(headerEditor->messageMarkers()->count(), 1);
        QVERIFY(headerEditor->messageMarkers()->textAt(headerError).contains(QStringLiteral("error: size of array")));

        // F4 visits the messages in the order of the output, selecting each link line.
        struct Place
        {
            QString file;
            int line;
            qsizetype outputLine;
        };
        const auto outputLineOf = [&outputLines](const QString &file, int line) {
            for (qsizetype index = 0; index < outputLines.size(); ++index) {
                if (outputLines.at(index).startsWith(QStringLiteral("src/%1:%2:").arg(file).arg(line + 1)))
                    return index;
            }
            return qsizetype(-1);
        };
        QList<Place> expected{{mainC, warningLine, outputLineOf(QStringLiteral("main.c"), warningLine)},
                              {mainC, mainError, outputLineOf(QStringLiteral("main.c"), mainError)},
                              {boardH, headerError, outputLineOf(QStringLiteral("board.h"), headerError)}};
        for (const Place &place : expected)
            QVERIFY2(place.outputLine >= 0, qPrintable(output));
        std::sort(expected.begin(), expected.end(),
                  [](const Place &a, const Place &b) { return a.outputLine < b.outputLine; });
        QAction *next = actionWithShortcut(window, QKeySequence(Qt::Key_F4));
        QAction *previous = actionWithShortcut(window, QKeySequence(Qt::SHIFT | Qt::Key_F4));
        QVERIFY(next && previous);
        for (const Place &place : expected) {
            next->trigger();
            auto *editor = qobject_cast<SourceEditor *>(window.currentEditor());
            QVERIFY(editor);
            int line = -1;
            int column = -1;
            editor->getCursorPosition(&line, &column);
            QCOMPARE(editor->fileName(), place.file);
            QCOMPARE(line, place.line);
            QCOMPARE(window.output()->textEdit()->textCursor().selectedText(), outputLines.at(place.outputLine));
            QVERIFY(!window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped")));
        }
        next->trigger();
        QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped to the first message")));
        QCOMPARE(window.tabs()->currentEditor()->fileName(), expected.first().file);
        previous->trigger();
        QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped to the last message")));
        QCOMPARE(window.tabs()->currentEditor()->fileName(), expected.last().file);

        // Lines typed above a marker carry it down, and stepping finds it there.
        mainEditor->insertAt(QStringLiteral("/* one */\n/* two */\n"), 0, 0);
        QVERIFY(mainEditor->markersAtLine(mainError + 2) & (1u << MessageMarkers::errorSymbol));
        QCOMPARE(mainEditor->markersAtLine(mainError), 0u);
        const qsizetype mainErrorStep = std::find_if(expected.cbegin(), expected.cend(), [&](const Place &place) {
                                            return place.file == mainC && place.line == mainError;
                                        }) - expected.cbegin();
        for (int step = 0; step < 3 && !window.statusBar()->currentMessage().contains(
                               QStringLiteral("Message %1 of 3").arg(mainErrorStep + 1));
             ++step)
            next->trigger();
        QCOMPARE(window.tabs()->currentEditor(), mainEditor);
        int line = -1;
        int column = -1;
        mainEditor->getCursorPosition(&line, &column);
        QCOMPARE(line, mainError + 2);

        // Clean ends the markers of the build.
        window.action(SrcManager::CleanProject)->trigger();
        QCOMPARE(mainEditor->messageMarkers()->count(), 0);
        QCOMPARE(headerEditor->messageMarkers()->count(), 0);
        QCOMPARE(mainEditor->markersAtLine(mainError + 2), 0u);
        next->trigger();
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("No messages"));

        // So does closing the project; the header outside it keeps its editor but not its markers.
        window.action(SrcManager::BuildProject)->trigger();
        QCOMPARE(mainEditor->messageMarkers()->count(), 2);
        QCOMPARE(headerEditor->messageMarkers()->count(), 1);
        window.action(SrcManager::CloseProject)->trigger();
        QCOMPARE(window.projects()->projectCount(), 0);
        QCOMPARE(window.tabs()->findEditor(boardH), headerEditor);
        QCOMPARE(headerEditor->messageMarkers()->count(), 0);
        QCOMPARE(headerEditor->markersAtLine(headerError), 0u);

        // The fixed text builds cleanly and leaves no marker.
        QVERIFY(writeText(mainC, goodMain));
        window.openProject(work.filePath(QStringLiteral("blink.zmxp")));
        window.openFile(mainC);
        window.action(SrcManager::BuildProject)->trigger();
        QVERIFY2(window.output()->textEdit()->toPlainText().contains(QStringLiteral("Compiled successfully.")),
                 qPrintable(window.output()->textEdit()->toPlainText()));
        QVERIFY(window.output()->textEdit()->toPlainText().split(QLatin1Char('\n')).contains(
            QStringLiteral("0 errors, 0 warnings")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("0 errors, 0 warnings"));
        QCOMPARE(window.tabs()->findEditor(mainC)->messageMarkers()->count(), 0);
        next->trigger();
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("No messages"));
    }
};

ZMX_TEST(BuildMessagesTest)

#include "tst_buildmessages.moc"
