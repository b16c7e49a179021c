#ifndef PIC16BACKEND_H
#define PIC16BACKEND_H

#include "pinwatchlist.h"
#include "toolbackend.h"

#include <QHash>
#include <QStringList>

// A PIC16 controller on gpsim, run as a child process through its command line. Every write
// to a watched port's PORT or TRIS register is a breakpoint, and gpsim names the cycle of
// the instruction that made it, so pin changes the firmware makes are reported at their
// exact cycle. Buttons and switches are gpsim pull-up modules on their pins. The serial port
// works the same way: a write to TXREG is a breakpoint and the byte is reported at the cycle
// of that write; what the terminal sends goes in through gpsim's usart module on the RX pin,
// framed at the baud rate the firmware has set up, so the controller's own receiver takes it
// in. The tool starts on the first run(), on the thread that runs the simulation.
class Pic16Backend : public ToolBackend
{
public:
    Pic16Backend();
    ~Pic16Backend() override;

    void reset() override;
    int watchPin(const QString &pin) override;
    Level level(int watch) const override;
    void drivePin(const QString &pin, bool high) override;
    bool watchUart(const QString &name) override;
    void sendUart(const QString &name, const QByteArray &bytes) override;
    bool run(quint64 cycles) override;
    quint64 cycle() const override { return cycles - base; }
    // gpsim counts instruction cycles: four clock periods each.
    quint64 frequency() const override { return hertz / 4; }
    // Every run() costs gpsim a few commands: 20 ms slices keep that small.
    quint64 sliceCycles() const override { return std::max<quint64>(frequency() / 50, 1); }

    static bool parsePin(const QString &pin, char *port, int *bit);
    // The bit rate of the asynchronous serial port for the clock and the values of TXSTA,
    // SPBRG, SPBRGH and BAUDCTL (the last two zero on parts without them).
    static quint64 baudRate(quint64 hertz, quint8 txsta, quint8 spbrg, quint8 spbrgh, quint8 baudctl);

private:
    QString text(Text which) const override;
    bool prepareStart(QStringList *arguments) override;
    bool afterStart() override;
    struct Port
    {
        quint8 latch = 0;
        quint8 tris = 0xff; // every pin an input after a reset
        quint8 driven = 0;
        quint8 outside = 0;
    };

    // Sends commands followed by a read of the cycle counter and waits for that answer.
    bool exchange(const QByteArray &commands);
    QByteArray driveCommands(const QString &pin, bool high);
    QByteArray readPortsCommands() const;
    QByteArray serialCommands() const;
    void feedSerial();
    void updateWatches(quint64 at);
    Level levelOf(char port, int bit) const;

    // gpsim's cycle counter, which its reset leaves running, and its value at our reset.
    quint64 cycles = 0;
    quint64 base = 0;
    PinWatchList watches;
    QHash<char, Port> ports;
    QStringList drivers; // pins with a pull-up module, by module number
    // The serial port's registers by their gpsim names, as last written or read.
    QHash<QByteArray, quint8> serial;
    QString uartName;
    QString uartRx;
    QByteArray serialInput; // bytes the terminal sent before the tool ran
};

#endif
