#include "pic16backend.h"

#include "firmwareimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Pic16Backend", text);
}

const QByteArray prompt = "**gpsim> ";

// TXSTA, RCSTA and BAUDCTL bits.
constexpr quint8 txEnable = 0x20;
constexpr quint8 synchronous = 0x10;
constexpr quint8 highSpeed = 0x04;
constexpr quint8 serialEnable = 0x80;
constexpr quint8 sixteenBitRate = 0x08;

}

Pic16Backend::Pic16Backend() : ToolBackend("VASK_GPSIM", "gpsim", "quit\n") {}

Pic16Backend::~Pic16Backend() = default;

bool Pic16Backend::parsePin(const QString &pin, char *port, int *bit)
{
    static const QRegularExpression pattern(QStringLiteral("^R([A-E])([0-7])$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(pin);
    if (!match.hasMatch())
        return false;
    *port = match.captured(1).toLower().at(0).toLatin1();
    *bit = match.captured(2).toInt();
    return true;
}

quint64 Pic16Backend::baudRate(quint64 clock, quint8 txsta, quint8 spbrg, quint8 spbrgh, quint8 baudctl)
{
    const bool wide = baudctl & sixteenBitRate;
    const bool high = txsta & highSpeed;
    const quint64 divisor = wide ? (high ? 4 : 16) : (high ? 16 : 64);
    const quint64 count = spbrg + (wide ? quint64(spbrgh) << 8 : 0);
    const quint64 period = divisor * (count + 1);
    return std::max<quint64>((clock + period / 2) / period, 1);
}

QString Pic16Backend::text(Text which) const
{
    switch (which) {
    case Text::NotInstalled:
        return tr("The PIC simulator gpsim is not installed (Debian package gpsim), so the %1 cannot run.");
    case Text::NoFolder:
        return tr("No temporary folder for the PIC simulator: %1");
    case Text::Ended:
        return tr("The PIC simulator gpsim has ended.");
    case Text::NoFirmware:
        return tr("The firmware cannot be handed to the PIC simulator: %1");
    }
    return {};
}

bool Pic16Backend::prepareStart(QStringList *arguments)
{
    *arguments = {QStringLiteral("-i"), QStringLiteral("-p"), device.core, QStringLiteral("firmware.hex")};
    return true;
}

QByteArray Pic16Backend::readPortsCommands() const
{
    QByteArray commands;
    for (const int port : watches.ports())
        commands += "port" + QByteArray(1, static_cast<char>(port)) + "\ntris" + QByteArray(1, static_cast<char>(port)) + '\n';
    return commands;
}

QByteArray Pic16Backend::serialCommands() const
{
    if (uartName.isEmpty())
        return {};
    // gpsim knows SPBRGH and BAUDCTL only on parts that have them (a read at the start tells).
    return serial.contains("baudctl") ? "txsta\nrcsta\nspbrg\nspbrgh\nbaudctl\n" : "txsta\nrcsta\nspbrg\n";
}

QByteArray Pic16Backend::driveCommands(const QString &pin, bool high)
{
    char port = 0;
    int bit = 0;
    parsePin(pin, &port, &bit);
    QByteArray commands;
    qsizetype number = drivers.indexOf(pin.toUpper());
    if (number < 0) {
        // A strong pull-up whose voltage is the level: the part outside holding the pin.
        number = drivers.size();
        drivers.append(pin.toUpper());
        const QByteArray module = "vask_drive" + QByteArray::number(number);
        if (number == 0)
            commands += "module library libgpsim_modules\n";
        commands += "module load pullup " + module + '\n' + "node " + module + "_node\n" + "attach " + module + "_node "
                    + module + ".pin port" + port + QByteArray::number(bit) + '\n' + module + ".resistance = 100.0\n";
    }
    commands += "vask_drive" + QByteArray::number(number) + ".voltage = " + (high ? "5.0" : "0.0") + '\n';
    return commands;
}

bool Pic16Backend::afterStart()
{
    QByteArray commands = "frequency " + QByteArray::number(hertz) + '\n';
    for (const int port : watches.ports()) {
        const QByteArray letter(1, static_cast<char>(port));
        commands += "break w port" + letter + "\nbreak w tris" + letter + '\n';
    }
    const QStringList pins = std::exchange(drivers, {});
    for (const QString &pin : pins) {
        char port = 0;
        int bit = 0;
        parsePin(pin, &port, &bit);
        commands += driveCommands(pin, ports[port].outside & (1u << bit));
    }
    if (!uartName.isEmpty()) {
        // The terminal's line into the RX pin; what the firmware sends is read off TXREG.
        char port = 0;
        int bit = 0;
        parsePin(uartRx, &port, &bit);
        commands += "module library libgpsim_modules\nmodule load usart vask_uart\nnode vask_uart_node\n"
                    "attach vask_uart_node port" + QByteArray(1, port) + QByteArray::number(bit)
                    + " vask_uart.TXPIN\nbreak w txreg\nbreak w txsta\nbreak w rcsta\nbaudctl\n";
    }
    if (!exchange(commands + readPortsCommands() + serialCommands()))
        return false;
    feedSerial();
    return true;
}

bool Pic16Backend::exchange(const QByteArray &commands)
{
    static const QRegularExpression counter(QStringLiteral("^(\\d+) = 0x[0-9A-Fa-f]+$"));
    static const QRegularExpression hit(QStringLiteral("^0x([0-9A-Fa-f]{16}) "));
    static const QRegularExpression wrote(QStringLiteral("Wrote: 0x([0-9A-Fa-f]+) to (port|tris)([a-e])\\("),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression value(QStringLiteral("^(port|tris)([a-e]) = 0x([0-9A-Fa-f]+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression serialWrite(QStringLiteral("Wrote: 0x([0-9A-Fa-f]+) to (txreg|txsta|rcsta)\\("),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression serialValue(QStringLiteral("^(txsta|rcsta|spbrg|spbrgh|baudctl) = 0x([0-9A-Fa-f]+)$"),
                                                QRegularExpression::CaseInsensitiveOption);
    tool->send(commands + "cycles\n");
    quint64 at = cycles;
    QString error;
    const auto store = [this](const QString &kind, const QString &letter, const QString &number) {
        Port &port = ports[letter.toLower().at(0).toLatin1()];
        (kind.compare(QLatin1String("tris"), Qt::CaseInsensitive) == 0 ? port.tris : port.latch)
            = static_cast<quint8>(number.toUInt(nullptr, 16));
    };
    const bool answered = tool->readUntil(
        [&](const QByteArray &raw) {
            const QString line = QString::fromLatin1(QByteArray(raw).replace(prompt, QByteArray()));
            QRegularExpressionMatch match = hit.match(line);
            if (match.hasMatch()) {
                at = match.captured(1).toULongLong(nullptr, 16);
                return false;
            }
            match = wrote.match(line);
            if (match.hasMatch()) {
                store(match.captured(2), match.captured(3), match.captured(1));
                updateWatches(at - base);
                return false;
            }
            match = value.match(line);
            if (match.hasMatch()) {
                store(match.captured(1), match.captured(2), match.captured(3));
                return false;
            }
            match = serialWrite.match(line);
            if (match.hasMatch()) {
                const QByteArray name = match.captured(2).toLower().toLatin1();
                const auto byte = static_cast<quint8>(match.captured(1).toUInt(nullptr, 16));
                if (name != "txreg")
                    serial[name] = byte;
                else if ((serial.value("txsta") & (txEnable | synchronous)) == txEnable
                         && (serial.value("rcsta") & serialEnable) && uartHandler)
                    uartHandler(uartName, byte, at - base);
                return false;
            }
            match = serialValue.match(line);
            if (match.hasMatch()) {
                serial[match.captured(1).toLower().toLatin1()] = static_cast<quint8>(match.captured(2).toUInt(nullptr, 16));
                return false;
            }
            match = counter.match(line);
            if (!match.hasMatch())
                return false;
            cycles = match.captured(1).toULongLong();
            return true;
        },
        cancelFlag(), &error);
    if (!answered)
        return fail(error);
    updateWatches(cycles - base);
    return true;
}

void Pic16Backend::reset()
{
    if (running()) {
        // Changes the reset makes happen at its start, cycle 0.
        base = cycles;
        exchange("reset\n" + readPortsCommands() + serialCommands());
        base = cycles;
        return;
    }
    cycles = 0;
    base = 0;
    for (Port &port : ports) {
        port.latch = 0;
        port.tris = 0xff;
    }
    serial["txsta"] = 0x02;
    serial["rcsta"] = 0;
    updateWatches(0);
}

Backend::Level Pic16Backend::levelOf(char letter, int bit) const
{
    const Port port = ports.value(letter);
    const quint8 mask = static_cast<quint8>(1u << bit);
    if (!(port.tris & mask))
        return (port.latch & mask) ? Level::High : Level::Low;
    if (port.driven & mask)
        return (port.outside & mask) ? Level::High : Level::Low;
    return Level::Floating;
}

void Pic16Backend::updateWatches(quint64 at)
{
    watches.update([this](int port, int bit) { return levelOf(static_cast<char>(port), bit); }, at, pinHandler);
}

int Pic16Backend::watchPin(const QString &pin)
{
    char port = 0;
    int bit = 0;
    if (!parsePin(pin, &port, &bit) || !device.hasPin(pin))
        return -1;
    return watches.add(port, bit, levelOf(port, bit));
}

Backend::Level Pic16Backend::level(int watch) const
{
    return watches.level(watch);
}

void Pic16Backend::drivePin(const QString &pin, bool high)
{
    char letter = 0;
    int bit = 0;
    if (!parsePin(pin, &letter, &bit) || !device.hasPin(pin))
        return;
    Port &port = ports[letter];
    const quint8 mask = static_cast<quint8>(1u << bit);
    port.driven |= mask;
    port.outside = static_cast<quint8>(high ? (port.outside | mask) : (port.outside & ~mask));
    if (running())
        exchange(driveCommands(pin, high));
    else if (!drivers.contains(pin.toUpper()))
        drivers.append(pin.toUpper());
    updateWatches(cycles - base);
}

bool Pic16Backend::watchUart(const QString &name)
{
    const UartInfo *info = device.uart(name);
    if (!info)
        return false;
    uartName = name;
    uartRx = info->rxPin;
    return true;
}

void Pic16Backend::sendUart(const QString &name, const QByteArray &bytes)
{
    if (uartName.isEmpty() || name != uartName)
        return;
    serialInput += bytes;
    if (running())
        feedSerial();
}

void Pic16Backend::feedSerial()
{
    if (serialInput.isEmpty() || !exchange(serialCommands()))
        return;
    // The line runs at the rate the firmware set up, as a terminal set to match would; a
    // receiver left off or at another rate loses the bytes or garbles them, as it would.
    const quint64 rate = baudRate(hertz, serial.value("txsta"), serial.value("spbrg"), serial.value("spbrgh"),
                                  serial.value("baudctl"));
    QByteArray commands = "vask_uart.txbaud = " + QByteArray::number(rate) + '\n';
    for (const char byte : std::exchange(serialInput, {}))
        commands += "vask_uart.tx = " + QByteArray::number(static_cast<quint8>(byte)) + '\n';
    exchange(commands);
}

bool Pic16Backend::run(quint64 count)
{
    if (!ensureStarted())
        return false;
    if (count == 0)
        return true;
    const quint64 target = cycles + count;
    if (!exchange("break c " + QByteArray::number(target) + "\nrun\n"))
        return false;
    // Each write to a watched register stops the run; go on until the cycle break.
    while (cycles < target) {
        if (cancelled())
            return true;
        if (!exchange("run\n"))
            return false;
    }
    return true;
}
