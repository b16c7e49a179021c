#ifndef BACKEND_H
#define BACKEND_H

#include "devicecatalog.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

class FirmwareImage;

// One simulated controller: its core, its program memory, the pins the design watches or
// drives, and its serial ports. A back end is made, loaded and given its watches on one
// thread and may then be handed to another that runs it; handlers are called on the thread
// that calls run() or reset(), while they execute.
class Backend
{
public:
    enum class Level { Low, High, Floating };
    using PinHandler = std::function<void(int watch, Level level, quint64 cycle)>;
    using UartHandler = std::function<void(const QString &uart, quint8 byte, quint64 cycle)>;

    virtual ~Backend() = default;

    // The back end that runs the family of device, or null when none does.
    static std::unique_ptr<Backend> make(const DeviceInfo &device);

    // Builds the core for device at the given clock; false with a message.
    virtual bool create(const DeviceInfo &device, quint64 hertz, QString *error) = 0;
    // The largest image, in bytes, that load() takes.
    virtual quint32 flashSize() const = 0;
    // Puts the image into program memory and resets the core.
    virtual void load(const FirmwareImage &image) = 0;
    virtual void reset() = 0;

    // Reports every change of the pin's level to the pin handler; returns the watch
    // number, or -1 when the controller lacks the pin.
    virtual int watchPin(const QString &pin) = 0;
    virtual Level level(int watch) const = 0;
    // Puts a level on the pin from outside, as a button or switch does.
    virtual void drivePin(const QString &pin, bool high) = 0;
    // Reports what the firmware sends on the serial port, and lets sendUart feed it.
    virtual bool watchUart(const QString &name) = 0;
    virtual void sendUart(const QString &name, const QByteArray &bytes) = 0;

    void setPinHandler(PinHandler handler) { pinHandler = std::move(handler); }
    void setUartHandler(UartHandler handler) { uartHandler = std::move(handler); }
    // A flag another thread may raise to make a waiting run() give up at once.
    void setCancel(const std::atomic_bool *flag) { cancel = flag; }

    // Runs until cycles more cycles have passed; false when the core stopped for good or its
    // simulator failed (see stopReason()).
    virtual bool run(quint64 cycles) = 0;
    // Cycles since the last reset, counted at frequency() per second.
    virtual quint64 cycle() const = 0;
    virtual quint64 frequency() const = 0;
    // How many cycles one run() should cover when running in real time.
    virtual quint64 sliceCycles() const { return std::max<quint64>(frequency() / 1000, 1); }
    QString stopReason() const { return reason; }

protected:
    bool cancelled() const { return cancel && cancel->load(); }
    const std::atomic_bool *cancelFlag() const { return cancel; }

    PinHandler pinHandler;
    UartHandler uartHandler;
    QString reason;

private:
    const std::atomic_bool *cancel = nullptr;
};

#endif
