#include "avrbackend.h"

#include "firmwareimage.h"

#include <QCoreApplication>

extern "C" {
#include <avr_ioport.h>
#include <avr_uart.h>
#include <sim_avr.h>
#include <sim_io.h>
#include <sim_irq.h>
}

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

thread_local QString libraryError;

// The library reports through one global logger; keep its errors for our messages instead
// of letting it print.
void logToBackend(avr_t *, const int level, const char *format, va_list arguments)
{
    if (level > LOG_ERROR)
        return;
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    libraryError = QString::fromLocal8Bit(text).trimmed();
}

// Pacing is ours: a sleeping core must not put the thread to sleep.
void neverSleep(avr_t *, avr_cycle_count_t)
{
}

QString tr(const char *text)
{
    return QCoreApplication::translate("AvrBackend", text);
}

}

AvrBackend::AvrBackend() = default;

AvrBackend::~AvrBackend()
{
    destroy();
}

void AvrBackend::destroy()
{
    if (avr) {
        avr_terminate(avr);
        std::free(avr);
        avr = nullptr;
    }
    watches.clear();
    hooks.clear();
    uarts.clear();
    external.clear();
}

bool AvrBackend::create(const DeviceInfo &device, quint64 clock, QString *error)
{
    destroy();
    avr_global_logger_set(logToBackend);
    libraryError.clear();
    if (!device.runnable()) {
        *error = tr("The %1 cannot be simulated.").arg(device.name);
        return false;
    }
    avr = avr_make_mcu_by_name(device.core.toLatin1().constData());
    if (!avr) {
        *error = tr("The simulation library has no model of the %1.").arg(device.name);
        return false;
    }
    if (avr_init(avr) != 0) {
        *error = tr("The model of the %1 does not start: %2").arg(device.name, libraryError);
        std::free(avr);
        avr = nullptr;
        return false;
    }
    avr->sleep = neverSleep;
    avr->frequency = static_cast<uint32_t>(clock);
    hertz = clock;
    reason.clear();
    return true;
}

quint32 AvrBackend::flashSize() const
{
    return avr ? avr->flashend + 1 : 0;
}

void AvrBackend::load(const FirmwareImage &image)
{
    for (const FirmwareImage::Segment &segment : image.segments) {
        QByteArray bytes = segment.bytes;
        avr_loadcode(avr, reinterpret_cast<uint8_t *>(bytes.data()), static_cast<uint32_t>(bytes.size()), segment.address);
    }
    avr->codeend = image.end();
    reset();
}

void AvrBackend::reset()
{
    avr_reset(avr);
    avr->frequency = static_cast<uint32_t>(hertz);
    reason.clear();
    // The core's reset clears the port registers but not the levels its port signals
    // remember, and a signal only passes on a change: without this, a pin that comes back to
    // the level it had before the reset would never be reported or read.
    QList<char> ports = external.keys();
    for (const int port : watches.ports()) {
        if (!ports.contains(static_cast<char>(port)))
            ports.append(static_cast<char>(port));
    }
    for (char port : std::as_const(ports)) {
        for (int signal = 0; signal < IOPORT_IRQ_COUNT; ++signal) {
            if (avr_irq_t *irq = avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ(port), signal))
                irq->value = 0;
        }
    }
    // Parts keep their levels across a reset of the controller.
    for (auto it = external.cbegin(); it != external.cend(); ++it) {
        for (int bit = 0; bit < 8; ++bit) {
            if (it.value().first & (1 << bit))
                applyExternal(it.key(), bit, (it.value().second >> bit) & 1, true);
        }
    }
    for (int watch = 0; watch < watches.size(); ++watch)
        update(watch, -1);
    for (auto &uart : uarts) {
        uart->pending.clear();
        uart->paused = false;
    }
}

void AvrBackend::applyExternal(char port, int bit, bool high, bool force)
{
    const auto state = external.value(port);
    avr_ioport_external_t value = {};
    value.name = static_cast<unsigned long>(port);
    value.mask = state.first;
    value.value = state.second;
    avr_ioctl(avr, AVR_IOCTL_IOPORT_SET_EXTERNAL(port), &value);
    if (avr_irq_t *irq = avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ(port), bit)) {
        // After a reset the pin register may not hold the level that the signal remembers;
        // forcing it through keeps the repeated level from being dropped.
        if (force)
            irq->value = high ? 0 : 1;
        avr_raise_irq(irq, high ? 1 : 0);
    }
}

bool AvrBackend::parsePin(const QString &pin, char *port, int *bit)
{
    if (pin.size() != 3 || pin.at(0) != QLatin1Char('P') || !pin.at(1).isLetter() || !pin.at(2).isDigit())
        return false;
    *port = pin.at(1).toLatin1();
    *bit = pin.at(2).digitValue();
    return *bit < 8;
}

int AvrBackend::watchPin(const QString &pin)
{
    char port = 0;
    int bit = 0;
    avr_irq_t *irq = nullptr;
    avr_irq_t *direction = nullptr;
    if (parsePin(pin, &port, &bit)) {
        irq = avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ(port), bit);
        direction = avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ(port), IOPORT_IRQ_DIRECTION_ALL);
    }
    if (!irq || !direction)
        return -1;
    const int watch = watches.add(port, bit, Level::Floating);
    hooks.push_back(std::make_unique<Hook>(Hook{this, watch}));
    avr_irq_register_notify(irq, pinChanged, hooks.back().get());
    avr_irq_register_notify(direction, directionChanged, hooks.back().get());
    update(watch, -1);
    return watch;
}

AvrBackend::Level AvrBackend::level(int watch) const
{
    return watches.level(watch);
}

void AvrBackend::update(int watch, int ddrOverride)
{
    const char port = static_cast<char>(watches.port(watch));
    avr_ioport_state_t state = {};
    if (avr_ioctl(avr, AVR_IOCTL_IOPORT_GETSTATE(port), &state) != 0)
        return;
    const quint8 mask = static_cast<quint8>(1u << watches.bit(watch));
    const unsigned ddr = ddrOverride >= 0 ? static_cast<unsigned>(ddrOverride) : state.ddr;
    Level level = Level::Floating;
    const auto driven = external.value(port);
    if (ddr & mask)
        level = (state.port & mask) ? Level::High : Level::Low;
    else if (driven.first & mask)
        level = (driven.second & mask) ? Level::High : Level::Low;
    else if (state.port & mask)
        level = Level::High; // the internal pull-up
    watches.set(watch, level, avr->cycle, pinHandler);
}

void AvrBackend::pinChanged(avr_irq_t *, uint32_t, void *param)
{
    const auto *hook = static_cast<Hook *>(param);
    hook->owner->update(hook->watch, -1);
}

void AvrBackend::directionChanged(avr_irq_t *, uint32_t value, void *param)
{
    // The library reports a new direction before it stores it.
    const auto *hook = static_cast<Hook *>(param);
    hook->owner->update(hook->watch, static_cast<int>(value & 0xff));
}

void AvrBackend::drivePin(const QString &pin, bool high)
{
    char port = 0;
    int bit = 0;
    if (!avr || !parsePin(pin, &port, &bit))
        return;
    auto &state = external[port];
    state.first |= static_cast<quint8>(1u << bit);
    if (high)
        state.second |= static_cast<quint8>(1u << bit);
    else
        state.second &= static_cast<quint8>(~(1u << bit));
    applyExternal(port, bit, high, false);
    for (int watch = 0; watch < watches.size(); ++watch) {
        if (watches.port(watch) == port && watches.bit(watch) == bit)
            update(watch, -1);
    }
}

bool AvrBackend::watchUart(const QString &name)
{
    if (!avr || name.size() != 1)
        return false;
    const char letter = name.at(0).toLatin1();
    avr_irq_t *output = avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(letter), UART_IRQ_OUTPUT);
    if (!output)
        return false;
    // Neither echo to our standard output nor slow the firmware's polling down.
    uint32_t flags = 0;
    avr_ioctl(avr, AVR_IOCTL_UART_GET_FLAGS(letter), &flags);
    flags &= ~static_cast<uint32_t>(AVR_UART_FLAG_STDIO | AVR_UART_FLAG_POLL_SLEEP);
    avr_ioctl(avr, AVR_IOCTL_UART_SET_FLAGS(letter), &flags);
    uarts.push_back(std::make_unique<Uart>());
    Uart *uart = uarts.back().get();
    uart->owner = this;
    uart->name = name;
    uart->input = avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(letter), UART_IRQ_INPUT);
    avr_irq_register_notify(output, uartOutput, uart);
    avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(letter), UART_IRQ_OUT_XON), uartReady, uart);
    avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(letter), UART_IRQ_OUT_XOFF), uartFull, uart);
    return true;
}

void AvrBackend::sendUart(const QString &name, const QByteArray &bytes)
{
    for (auto &uart : uarts) {
        if (uart->name != name)
            continue;
        uart->pending.insert(uart->pending.end(), bytes.cbegin(), bytes.cend());
        feed(uart.get());
    }
}

void AvrBackend::feed(Uart *uart)
{
    while (!uart->paused && !uart->pending.empty()) {
        const quint8 byte = uart->pending.front();
        uart->pending.pop_front();
        avr_raise_irq(uart->input, byte);
    }
}

void AvrBackend::uartOutput(avr_irq_t *, uint32_t value, void *param)
{
    auto *uart = static_cast<Uart *>(param);
    if (uart->owner->uartHandler)
        uart->owner->uartHandler(uart->name, static_cast<quint8>(value), uart->owner->avr->cycle);
}

void AvrBackend::uartReady(avr_irq_t *, uint32_t, void *param)
{
    auto *uart = static_cast<Uart *>(param);
    uart->paused = false;
    uart->owner->feed(uart);
}

void AvrBackend::uartFull(avr_irq_t *, uint32_t, void *param)
{
    static_cast<Uart *>(param)->paused = true;
}

bool AvrBackend::run(quint64 cycles)
{
    if (!avr)
        return false;
    const avr_cycle_count_t target = avr->cycle + cycles;
    while (avr->cycle < target) {
        const int state = avr_run(avr);
        if (state == cpu_Done || state == cpu_Crashed || state == cpu_Stopped) {
            reason = state == cpu_Done ? tr("The firmware stopped: it sleeps with interrupts off.")
                                       : tr("The firmware crashed at address 0x%1.").arg(avr->pc, 4, 16, QLatin1Char('0'));
            if (!libraryError.isEmpty())
                reason += QLatin1Char(' ') + libraryError;
            return false;
        }
    }
    return true;
}

quint64 AvrBackend::cycle() const
{
    return avr ? avr->cycle : 0;
}
