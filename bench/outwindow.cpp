// Tool output from a child's pipe through the make runner and the message parser into the
// Output pane, shown and hidden, against the same lines appended to a plain QPlainTextEdit
// (repainted when the event loop gets to it). Also the resident memory that 100 000 lines
// cost in each, and the longest time the event loop went unserved while lines poured in
// (what a click on Stop Build would wait for). Run it under Xvfb for the shown figures:
//   xvfb-run -a bench/bench_outwindow [lines]
// Each figure is printed as "RESULT name<TAB>value<TAB>baseline<TAB>unit" for bench/run.
#include "app/consoleworkbench.h"
#include "build/makerunner.h"
#include "build/outputparser.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// The mix of a noisy build: command lines, warnings and errors that become links, make's
// own error lines.
void emitLines(int lines)
{
    QByteArray out;
    for (int index = 0; index < lines; ++index) {
        const QByteArray file = "/home/user/blinky/src/module" + QByteArray::number(index % 37) + ".c";
        switch (index % 4) {
        case 0:
            out += "avr-gcc -c -mmcu=atmega328p -Os -o obj/module" + QByteArray::number(index) + ".o " + file;
            break;
        case 1:
            out += file + ":" + QByteArray::number(index % 900 + 1) + ":7: warning: unused variable 'x"
                   + QByteArray::number(index) + "' [-Wunused-variable]";
            break;
        case 2:
            out += file + ":" + QByteArray::number(index % 900 + 1) + ":3: error: expected ';' before '}' token";
            break;
        default:
            out += "make: *** [Makefile:42: obj/module" + QByteArray::number(index) + ".o] Error 1";
            break;
        }
        out += '\n';
        if (out.size() > 60000) {
            fwrite(out.constData(), 1, size_t(out.size()), stdout);
            out.clear();
        }
    }
    fwrite(out.constData(), 1, size_t(out.size()), stdout);
    fflush(stdout);
}

// Sends the output operations to the pane, as the main window does.
class PaneWorkbench : public ConsoleWorkbench
{
public:
    explicit PaneWorkbench(OutWindow *&pane) : pane(pane) {}
    void addMessage(const QString &text) override { pane->addMessage(text); }
    void addError(const QString &text) override { pane->addError(text); }
    void addSuccess(const QString &text) override { pane->addSuccess(text); }
    void addMessageLink(const QString &file, int line, int column, const QString &text) override
    {
        pane->addMessageLink(file, line, column, text);
    }
    void addErrorLink(const QString &file, int line, int column, QString &text) override
    {
        pane->addErrorLink(file, line, column, text);
    }

private:
    OutWindow *&pane;
};

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

struct Run
{
    double linesPerSecond = 0;
    double longestGapMs = 0;
    double memoryMiB = 0;
};

// Runs the child through the make runner; `deliver` takes each line, `settle` finishes the
// display (pending lines shown and painted) and `count` says how many lines are shown.
Run pour(int lines, QWidget &window, bool shown, const std::function<void(const QString &)> &deliver,
         const std::function<void()> &settle)
{
    window.resize(1200, 500);
    if (shown)
        window.show();
    QCoreApplication::processEvents();
    const double before = residentMiB();

    // The event loop's longest absence, seen by a timer that wants to run every millisecond.
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = qMax(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });

    // The gaps count from the first line to the last, so that starting the tool and the
    // final repaint do not.
    MakeRunner runner;
    int delivered = 0;
    QObject::connect(&runner, &MakeRunner::outputLine, [&](const QString &line) {
        if (delivered++ == 0) {
            sinceTick.start();
            longest = 0;
        }
        deliver(line);
        if (delivered == lines)
            tick.stop();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    tick.start(1);
    runner.run(QCoreApplication::applicationFilePath(), {QStringLiteral("--emit"), QString::number(lines)},
               QString(), QProcessEnvironment::systemEnvironment());
    settle();
    const double seconds = timer.nsecsElapsed() / 1e9;
    tick.stop();
    Run run;
    run.linesPerSecond = lines / seconds;
    run.longestGapMs = longest;
    run.memoryMiB = (residentMiB() - before) * 100000.0 / lines;
    window.hide();
    return run;
}

void report(const char *name, double value, double baseline, const char *unit)
{
    std::printf("RESULT %s\t%.6g\t%.6g\t%s\n", name, value, baseline, unit);
    std::fflush(stdout);
}

}

int main(int argc, char *argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--emit") {
        emitLines(QByteArray(argv[2]).toInt());
        return 0;
    }
    QApplication application(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    std::printf("output pane, %d tool lines through the parser (%s)\n", lines,
                qPrintable(QGuiApplication::platformName()));

    const MessageDefinition gccMessage{QStringLiteral("^([^:]+):(\\d+):(\\d+): (?:fatal error|error|warning|note): "),
                                       {{QStringLiteral("FILENAME"), 1, 0},
                                        {QStringLiteral("LINE"), 2, -1},
                                        {QStringLiteral("COLUMN"), 3, -1}}};

    for (bool shown : {true, false}) {
        Run pane;
        {
            QMainWindow main;
            OutWindow *output = new OutWindow(nullptr, &main);
            main.setCentralWidget(output);
            PaneWorkbench workbench(output);
            OutputParser parser(&workbench);
            parser.setDefinitions({gccMessage});
            parser.setDirectories(QStringLiteral("/home/user/blinky"), QStringLiteral("/home/user/blinky/Debug"));
            pane = pour(lines, main, shown, [&parser](const QString &line) { parser.outputLine(line); },
                        [output, shown] {
                            // A shown pane is done once every line is in and painted; asking
                            // for the text view brings in the lines still waiting. A hidden
                            // one keeps them until it is shown.
                            if (shown)
                                output->textEdit()->viewport()->repaint();
                            QCoreApplication::processEvents();
                        });
            if (output->textEdit()->document()->blockCount() != lines)
                std::fprintf(stderr, "pane: expected %d lines, found %d\n", lines,
                             output->textEdit()->document()->blockCount());
        }
        Run plain;
        {
            QMainWindow main;
            auto *edit = new QPlainTextEdit(&main);
            edit->setReadOnly(true);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            edit->document()->setUndoRedoEnabled(false);
            main.setCentralWidget(edit);
            plain = pour(lines, main, shown, [edit](const QString &line) { edit->appendPlainText(line); },
                         [] { QCoreApplication::processEvents(); });
        }
        const char *state = shown ? "shown" : "hidden";
        std::printf("  %-6s pane %10.0f lines/s, plain QPlainTextEdit %10.0f lines/s\n", state, pane.linesPerSecond,
                    plain.linesPerSecond);
        std::printf("  %-6s longest event-loop gap: pane %.1f ms, plain %.1f ms\n", state, pane.longestGapMs,
                    plain.longestGapMs);
        report(shown ? "output pane lines/s shown (vs QPlainTextEdit)" : "output pane lines/s hidden (vs QPlainTextEdit)",
               pane.linesPerSecond, plain.linesPerSecond, "lines/s");
        report(shown ? "output pane event-loop gap shown (vs QPlainTextEdit)"
                     : "output pane event-loop gap hidden (vs QPlainTextEdit)",
               pane.longestGapMs, plain.longestGapMs, "ms");
        if (shown) {
            std::printf("  memory per 100000 lines: pane %.1f MiB, plain %.1f MiB\n", pane.memoryMiB, plain.memoryMiB);
            report("output pane memory per 100000 lines (vs QPlainTextEdit)", pane.memoryMiB, plain.memoryMiB, "MiB");
        }
    }
    return 0;
}
