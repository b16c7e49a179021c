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
        const QString ledH = work.filePath(QStringLiteral("src/led.h"));
        const QString goodMain = readText(mainC);
        const QString goodHeader = readText(ledH);
        QString badMain = goodMain;
        badMain.replace(QStringLiteral("    led_init();"), QStringLiteral("    int pointerless = \"text\";\n    led_init()"));
        QString badHeader = goodHeader;
        badHeader.replace(QStringLiteral("void led_toggle(void);"), QStringLiteral("void led_toggle(void);\nint broken = ;"));
        QVERIFY(writeText(mainC, badMain) && writeText(ledH, badHeader));
        const int headerError = lineOf(badHeader, QStringLiteral("broken"));
        const int warningLine = lineOf(badMain, QStringLiteral("pointerless"));
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

        // The editor that was open got its markers, the header opened afterwards gets its own.
        SourceEditor *mainEditor = window.tabs()->findEditor(mainC);
        QVERIFY(mainEditor);
        QVERIFY2(mainEditor->markersAtLine(warningLine) & (1u << MessageMarkers::warningSymbol), qPrintable(output));
        QVERIFY(mainEditor->markersAtLine(mainError) & (1u << MessageMarkers::errorSymbol));
        QVERIFY(mainEditor->messageMarkers()->textAt(warningLine).contains(QStringLiteral("warning: initialization")));
        QVERIFY(mainEditor->messageMarkers()->textAt(mainError).contains(QStringLiteral("error: expected")));
        window.openFile(ledH);
        SourceEditor *headerEditor = window.tabs()->findEditor(ledH);
        QVERIFY(headerEditor);
        QVERIFY(headerEditor->markersAtLine(headerError) & (1u << MessageMarkers::errorSymbol));
        QVERIFY(headerEditor->messageMarkers()->textAt(headerError).contains(QStringLiteral("error: expected expression")));

        // F4 visits the messages in the order of the output, selecting each link line.
        QAction *next = actionWithShortcut(window, QKeySequence(Qt::Key_F4));
        QAction *previous = actionWithShortcut(window, QKeySequence(Qt::SHIFT | Qt::Key_F4));
        QVERIFY(next && previous);
        struct Place
        {
            QString file;
            int line;
        };
        QList<Place> visited;
        for (int step = 0; step < 3; ++step) {
            next->trigger();
            auto *editor = qobject_cast<SourceEditor *>(window.currentEditor());
            QVERIFY(editor);
            int line = -1;
            int column = -1;
            editor->getCursorPosition(&line, &column);
            visited.append({editor->fileName(), line});
            const QString selected = window.output()->textEdit()->textCursor().selectedText();
            QVERIFY(selected.startsWith(QFileInfo(editor->fileName()).fileName()) ||
                    selected.contains(QStringLiteral("src/") + QFileInfo(editor->fileName()).fileName()));
            QVERIFY(selected.contains(QStringLiteral(":%1:").arg(line + 1)));
            QVERIFY(!window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped")));
        }
        QCOMPARE(visited.at(0).file, ledH);
        QCOMPARE(visited.at(0).line, headerError);
        QCOMPARE(visited.at(1).file, mainC);
        QCOMPARE(visited.at(1).line, warningLine);
        QCOMPARE(visited.at(2).file, mainC);
        QCOMPARE(visited.at(2).line, mainError);
        next->trigger();
        QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped to the first message")));
        QCOMPARE(window.tabs()->currentEditor(), headerEditor);
        previous->trigger();
        QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Wrapped to the last message")));

        // Lines typed above a marker carry it down, and F4 finds it there.
        mainEditor->insertAt(QStringLiteral("/* one */\n/* two */\n"), 0, 0);
        QVERIFY(mainEditor->markersAtLine(mainError + 2) & (1u << MessageMarkers::errorSymbol));
        QCOMPARE(mainEditor->markersAtLine(mainError), 0u);
        previous->trigger();
        previous->trigger();
        int line = -1;
        int column = -1;
        window.tabs()->currentEditor()->getCursorPosition(&line, &column);
        QCOMPARE(window.tabs()->currentEditor(), mainEditor);
        QCOMPARE(line, mainError + 2);

        // The fixed text builds cleanly and every marker is gone.
        mainEditor->setText(goodMain);
        headerEditor->setText(goodHeader);
        window.action(SrcManager::BuildProject)->trigger();
        QVERIFY2(window.output()->textEdit()->toPlainText().contains(QStringLiteral("Compiled successfully.")),
                 qPrintable(window.output()->textEdit()->toPlainText()));
        QVERIFY(window.output()->textEdit()->toPlainText().split(QLatin1Char('\n')).contains(
            QStringLiteral("0 errors, 0 warnings")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("0 errors, 0 warnings"));
        QCOMPARE(mainEditor->messageMarkers()->count(), 0);
        QCOMPARE(headerEditor->messageMarkers()->count(), 0);
        next->trigger();
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("No messages"));
    }
};

ZMX_TEST(BuildMessagesTest)

#include "tst_buildmessages.moc"
