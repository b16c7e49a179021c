// Appends a build's worth of mixed output lines (messages, errors, success lines, message
// and error links) to the output window and reports lines per second, once with the window
// shown and once hidden. Run it under Xvfb for the shown figure:
//   xvfb-run -a bench/bench_outwindow [lines]
#include "editor/outtextedit.h"
#include "editor/outwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <cstdio>

namespace {

double run(bool shown, int lines)
{
    OutWindow window(nullptr);
    window.resize(1200, 400);
    if (shown) {
        window.show();
        QCoreApplication::processEvents();
    }
    QElapsedTimer timer;
    timer.start();
    for (int index = 0; index < lines; ++index) {
        const QString file = QStringLiteral("/home/user/projects/blinky/src/module%1.c").arg(index % 37);
        switch (index % 5) {
        case 0:
            window.addMessage(QStringLiteral("avr-gcc -c -mmcu=atmega328p -Os -o obj/module%1.o src/module%1.c").arg(index));
            break;
        case 1:
            window.addMessageLink(file, index % 900, 7,
                                  QStringLiteral("%1:%2:7: warning: unused variable 'x%3'").arg(file).arg(index % 900).arg(index));
            break;
        case 2: {
            QString text = QStringLiteral("%1:%2:3: error: expected ';' before '}' token <near x>").arg(file).arg(index % 900);
            window.addErrorLink(file, index % 900, 3, text);
            break;
        }
        case 3:
            window.addError(QStringLiteral("make: *** [Makefile:42: obj/module%1.o] Error 1").arg(index));
            break;
        default:
            window.addSuccess(QStringLiteral("Compiled successfully."));
            break;
        }
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (window.textEdit()->document()->blockCount() != lines)
        std::fprintf(stderr, "expected %d lines, found %d\n", lines, window.textEdit()->document()->blockCount());
    return seconds;
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    std::printf("output window, %d mixed lines (%s)\n", lines, qPrintable(QGuiApplication::platformName()));
    for (bool shown : {true, false}) {
        const double seconds = run(shown, lines);
        std::printf("  %-6s %8.2f s  %10.0f lines/s\n", shown ? "shown" : "hidden", seconds, lines / seconds);
        std::fflush(stdout);
    }
    return 0;
}
