// Measures how fast the simulator runs the AVR board's blink firmware (16 MHz ATmega328P):
// 10 simulated seconds headless, several times, against the wall clock. Process start-up and
// loading are measured in the same run (a 0 s run) and taken out, so the ratio is the
// simulation's own; the ratio with start-up is printed beside it.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const double simulatedSeconds = 10.0;

// Wall seconds of one headless run, or a negative number when it failed.
double timedRun(const QString &runFor, const QString &trace)
{
    QProcess vask;
    QElapsedTimer wall;
    wall.start();
    vask.start(QStringLiteral(VASK_PATH),
               {QStringLiteral("--headless"), QStringLiteral("--design"),
                QStringLiteral(VASK_SOURCE_DIR "/data/devboards/avr_atmega328p/ATmega328P_Board.dsn"),
                QStringLiteral("--program"), QStringLiteral(VASK_FIRMWARE_DIR "/blink.hex"), QStringLiteral("--device"),
                QStringLiteral("atmega328p"), QStringLiteral("--clock"), QStringLiteral("16MHz"), QStringLiteral("--run-for"),
                runFor, QStringLiteral("--trace"), trace});
    if (!vask.waitForFinished(600000) || vask.exitStatus() != QProcess::NormalExit || vask.exitCode() != 0) {
        std::fprintf(stderr, "vask failed: %s\n", vask.readAllStandardError().constData());
        return -1;
    }
    return wall.nsecsElapsed() / 1e9;
}

void report(const char *what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%-44s min %7.2f  median %7.2f  max %7.2f\n", what, values.front(), values[values.size() / 2], values.back());
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("blink.trace"));

    std::vector<double> startup;
    std::vector<double> ratio;
    std::vector<double> ratioWithStartup;
    for (int round = 0; round < rounds; ++round) {
        const double idle = timedRun(QStringLiteral("0s"), trace);
        const double full = timedRun(QStringLiteral("10s"), trace);
        if (idle < 0 || full < 0)
            return 1;
        startup.push_back(idle);
        ratio.push_back(simulatedSeconds / std::max(full - idle, 1e-6));
        ratioWithStartup.push_back(simulatedSeconds / full);
    }
    std::printf("vask, blink firmware, 16 MHz ATmega328P, %g simulated s, %d rounds\n", simulatedSeconds, rounds);
    report("start-up and load (wall s)", startup);
    report("simulated time / wall time", ratio);
    report("simulated time / wall time, with start-up", ratioWithStartup);
    std::sort(ratio.begin(), ratio.end());
    std::printf("RESULT vask: simulated seconds per wall second (vs real time)\t%.6g\t1\tratio\n", ratio[ratio.size() / 2]);
    return 0;
}
