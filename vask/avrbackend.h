#ifndef AVRBACKEND_H
#define AVRBACKEND_H

#include "backend.h"
#include "pinwatchlist.h"

#include <QHash>
#include <deque>
#include <vector>

struct avr_t;
struct avr_irq_t;

// An AVR controller on libsimavr, inside this process: every pin change reaches the handler
// at the cycle it happens.
class AvrBackend : public Backend
{
public:
    AvrBackend();
    ~AvrBackend() override;
    AvrBackend(const AvrBackend &) = delete;
    AvrBackend &operator=(const AvrBackend &) = delete;

    bool create(const DeviceInfo &device, quint64 hertz, QString *error) override;
    quint32 flashSize() const override;
    void load(const FirmwareImage &image) override;
    void reset() override;
    int watchPin(const QString &pin) override;
    Level level(int watch) const override;
    void drivePin(const QString &pin, bool high) override;
    bool watchUart(const QString &name) override;
    void sendUart(const QString &name, const QByteArray &bytes) override;
    bool run(quint64 cycles) override;
    quint64 cycle() const override;
    quint64 frequency() const override { return hertz; }

private:
    // What the library hands back to a pin's notification: the back end and the watch.
    struct Hook
    {
        AvrBackend *owner;
        int watch;
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

    void update(int watch, int ddrOverride);
    void applyExternal(char port, int bit, bool high, bool force);
    void feed(Uart *uart);
    void destroy();

    avr_t *avr = nullptr;
    quint64 hertz = 0;
    PinWatchList watches;
    std::vector<std::unique_ptr<Hook>> hooks;
    std::vector<std::unique_ptr<Uart>> uarts;
    // Levels put on pins from outside: port letter -> (mask, value).
    QHash<char, QPair<quint8, quint8>> external;
};

#endif
