#ifndef MCS51BACKEND_H
#define MCS51BACKEND_H

#include "pinwatchlist.h"
#include "toolbackend.h"

#include <array>

// An 8051 controller on the s51 simulator (sdcc-ucsim), run as a child process through its
// command console. It steps the firmware in slices of many instructions with a breakpoint on
// every write to a watched pin (bit or byte), so each slice ends at the instruction that
// changed the pin, and the pin change is reported at its exact clock period. The serial port
// goes through a pipe (to s51) and a file (from s51), read after every slice. The tool
// starts on the first run(), on the thread that runs the simulation.
class Mcs51Backend : public ToolBackend
{
public:
    Mcs51Backend();
    ~Mcs51Backend() override;

    void reset() override;
    int watchPin(const QString &pin) override;
    Level level(int watch) const override;
    void drivePin(const QString &pin, bool high) override;
    bool watchUart(const QString &name) override;
    void sendUart(const QString &name, const QByteArray &bytes) override;
    bool run(quint64 cycles) override;
    quint64 cycle() const override { return ticks; }
    // s51 counts oscillator periods.
    quint64 frequency() const override { return hertz; }

    // Idle, s51 looks for its next command line only every 100 ms: ask for long slices.
    quint64 sliceCycles() const override { return std::max<quint64>(hertz / 5, 1); }

    static bool parsePin(const QString &pin, int *port, int *bit);

private:
    QString text(Text which) const override;
    bool prepareStart(QStringList *arguments) override;
    bool afterStart() override;
    // Sends commands followed by a read of the four ports and waits for the answer: the
    // clock periods they ran and whether a full step (not a breakpoint) ended them.
    bool exchange(const QByteArray &commands, quint64 *stepped, bool *completed = nullptr);
    void updateWatches();
    void readSerial();
    Level levelOf(int port, int bit) const;

    quint64 ticks = 0;
    PinWatchList watches;
    // Levels the pins read: the latch ANDed with what the parts outside put on them.
    std::array<quint8, 4> pins = {0xff, 0xff, 0xff, 0xff};
    std::array<quint8, 4> outside = {0xff, 0xff, 0xff, 0xff};
    std::array<quint8, 4> driven = {0, 0, 0, 0};
    QString uartName;
    int serialInput = -1;
    qint64 serialRead = 0;
    double ticksPerInstruction = 12.0;
};

#endif
