// Measures how fast the simulator runs each bundled board's blink firmware: the AVR board
// (16 MHz ATmega328P, libsimavr), the 8051 board (11.0592 MHz AT89C52, s51) and the PIC16
// board (4 MHz PIC16F877A, gpsim), headless, several times, against the wall clock.
// Process start-up and loading are measured in the same run (a 0 s run) and taken out, so
// the ratio is the simulation's own; the ratio with start-up is printed beside it.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Board
{
    const char *title;
    const char *design;
    const char *firmware;
    const char *device;
    const char *clock;
    double seconds;
};

const Board boards[] = {
    {"AVR board, 16 MHz ATmega328P", VASK_SOURCE_DIR "/data/devboards/avr_atmega328p/ATmega328P_Board.dsn",
     VASK_FIRMWARE_DIR "/blink.hex", "atmega328p", "16MHz", 10.0},
    {"8051 board, 11.0592 MHz AT89C52", VASK_SOURCE_DIR "/data/devboards/mcs51_at89c52/AT89C52_Board.dsn",
     VASK_FIRMWARE_DIR "/mcs51_blink.hex", "AT89C52", "11.0592MHz", 5.0},
    {"PIC16 board, 4 MHz PIC16F877A", VASK_SOURCE_DIR "/data/devboards/pic16f877a/PIC16F877A_Board.dsn",
     VASK_FIRMWARE_DIR "/pic16_blink.hex", "PIC16F877A", "4MHz", 5.0},
};

// Wall seconds of one headless run, or a negative number when it failed.
double timedRun(const Board &board, const QString &runFor, const QString &trace)
{
    QProcess vask;
    QElapsedTimer wall;
    wall.start();
    vask.start(QStringLiteral(VASK_PATH),
               {QStringLiteral("--headless"), QStringLiteral("--design"), QLatin1String(board.design),
                QStringLiteral("--program"), QLatin1String(board.firmware), QStringLiteral("--device"),
                QLatin1String(board.device), QStringLiteral("--clock"), QLatin1String(board.clock),
                QStringLiteral("--run-for"), runFor, QStringLiteral("--trace"), trace});
    if (!vask.waitForFinished(600000) || vask.exitStatus() != QProcess::NormalExit || vask.exitCode() != 0) {
        std::fprintf(stderr, "vask failed: %s\n", vask.readAllStandardError().constData());
        return -1;
    }
    return wall.nsecsElapsed() / 1e9;
}

void report(const char *what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("  %-44s min %7.2f  median %7.2f  max %7.2f\n", what, values.front(), values[values.size() / 2],
                values.back());
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("blink.trace"));

    for (const Board &board : boards) {
        std::vector<double> startup;
        std::vector<double> ratio;
        std::vector<double> ratioWithStartup;
        const QString runFor = QString::number(board.seconds) + QLatin1Char('s');
        for (int round = 0; round < rounds; ++round) {
            const double idle = timedRun(board, QStringLiteral("0s"), trace);
            const double full = timedRun(board, runFor, trace);
            if (idle < 0 || full < 0)
                return 1;
            startup.push_back(idle);
            ratio.push_back(board.seconds / std::max(full - idle, 1e-6));
            ratioWithStartup.push_back(board.seconds / full);
        }
        std::printf("vask, blink firmware, %s, %g simulated s, %d rounds\n", board.title, board.seconds, rounds);
        report("start-up and load (wall s)", startup);
        report("simulated time / wall time", ratio);
        report("simulated time / wall time, with start-up", ratioWithStartup);
        std::sort(ratio.begin(), ratio.end());
        std::printf("RESULT vask %s: simulated seconds per wall second (vs real time)\t%.6g\t1\tratio\n", board.title,
                    ratio[ratio.size() / 2]);
    }
    return 0;
}
