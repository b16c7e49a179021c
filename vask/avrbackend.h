#ifndef AVRBACKEND_H
#define AVRBACKEND_H

#include "devicecatalog.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class FirmwareImage;
struct avr_t;
struct avr_irq_t;

// One simulated AVR controller on libsimavr: the core, its flash, the pins the design
// watches or drives, and its serial ports. Not thread-safe: one thread creates, loads and
// runs it; handlers are called on that thread while run() executes.
class AvrBackend
{
public:
    enum class Level { Low, High, Floating };
    using PinHandler = std::function<void(int watch, Level level, quint64 cycle)>;
    using UartHandler = std::function<void(const QString &uart, quint8 byte, quint64 cycle)>;

    AvrBackend();
    ~AvrBackend();
    AvrBackend(const AvrBackend &) = delete;
    AvrBackend &operator=(const AvrBackend &) = delete;

    // Builds the core for device at the given clock; false with a message.
    bool create(const DeviceInfo &device, quint64 hertz, QString *error);
    quint32 flashSize() const;
    // Puts the image into flash and resets the core.
    void load(const FirmwareImage &image);
    void reset();

    // Reports every change of the pin's level (as driven by the controller, or by a part
    // when the pin is an input) to the pin handler. Returns the watch number.
    int watchPin(const QString &pin);
    Level level(int watch) const;
    // Puts a level on the pin from outside, as a button or switch does.
    void drivePin(const QString &pin, bool high);
    // Reports what the firmware sends on the serial port, and lets sendUart feed it.
    bool watchUart(const QString &name);
    void sendUart(const QString &name, const QByteArray &bytes);

    void setPinHandler(PinHandler handler) { pinHandler = std::move(handler); }
    void setUartHandler(UartHandler handler) { uartHandler = std::move(handler); }

    // Runs until cycles more clock cycles have passed; false when the core stopped for
    // good (see stopReason()).
    bool run(quint64 cycles);
    quint64 cycle() const;
    quint64 frequency() const { return hertz; }
    QString stopReason() const { return reason; }

private:
    struct Watch
    {
        AvrBackend *owner;
        int index;
        char port;
        int bit;
        Level level;
    };
    struct Uart
    {
        AvrBackend *owner;
        QString name;
        avr_irq_t *input = nullptr;
        bool paused = false;
        std::deque<quint8> pending;
    };

    static void pinChanged(avr_irq_t *irq, uint32_t value, void *param);
    static void directionChanged(avr_irq_t *irq, uint32_t value, void *param);
    static void uartOutput(avr_irq_t *irq, uint32_t value, void *param);
    static void uartReady(avr_irq_t *irq, uint32_t value, void *param);
    static void uartFull(avr_irq_t *irq, uint32_t value, void *param);
    static bool parsePin(const QString &pin, char *port, int *bit);

    void update(Watch *watch, int ddrOverride);
    void applyExternal(char port, int bit, bool high, bool force);
    void feed(Uart *uart);
    void destroy();

    avr_t *avr = nullptr;
    quint64 hertz = 0;
    QString reason;
    PinHandler pinHandler;
    UartHandler uartHandler;
    std::vector<std::unique_ptr<Watch>> watches;
    std::vector<std::unique_ptr<Uart>> uarts;
    // Levels put on pins from outside: port letter -> (mask, value).
    QHash<char, QPair<quint8, quint8>> external;
};

#endif
