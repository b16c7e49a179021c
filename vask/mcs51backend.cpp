#include "mcs51backend.h"

#include "firmwareimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Mcs51Backend", text);
}

// One read of all four port registers ends every exchange: its last line says the answer
// is complete, and the values are the levels on the pins.
const QByteArray readPorts = "get sfr 0x80 0x90 0xa0 0xb0\n";

}

Mcs51Backend::Mcs51Backend() : ToolBackend("VASK_S51", "s51", "quit\n") {}

Mcs51Backend::~Mcs51Backend()
{
    // The pipe stays open until s51 has read its quit command.
    finishTool();
    if (serialInput >= 0)
        ::close(serialInput);
}

bool Mcs51Backend::parsePin(const QString &pin, int *port, int *bit)
{
    static const QRegularExpression pattern(QStringLiteral("^P([0-3])\\.([0-7])$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(pin);
    if (!match.hasMatch())
        return false;
    *port = match.captured(1).toInt();
    *bit = match.captured(2).toInt();
    return true;
}

QString Mcs51Backend::text(Text which) const
{
    switch (which) {
    case Text::NotInstalled:
        return tr("The 8051 simulator s51 is not installed (Debian package sdcc-ucsim), so the %1 cannot run.");
    case Text::NoFolder:
        return tr("No temporary folder for the 8051 simulator: %1");
    case Text::Ended:
        return tr("The 8051 simulator s51 has ended.");
    case Text::NoFirmware:
        return tr("The firmware cannot be handed to the 8051 simulator: %1");
    }
    return {};
}

bool Mcs51Backend::prepareStart(QStringList *arguments)
{
    // Names relative to the tool's working folder: s51 splits its serial options at commas.
    *arguments = {QStringLiteral("-b"), QStringLiteral("-t"), device.core, QStringLiteral("-X"), QString::number(hertz)};
    if (!uartName.isEmpty()) {
        const QByteArray input = QFile::encodeName(filePath(QStringLiteral("serial.in")));
        QFile(filePath(QStringLiteral("serial.out"))).open(QIODevice::WriteOnly | QIODevice::Truncate);
        // Held open for reading and writing, so that neither side's open waits for the other.
        if (::mkfifo(input.constData(), 0600) != 0 || (serialInput = ::open(input.constData(), O_RDWR | O_NONBLOCK)) < 0)
            return fail(tr("No pipe for the 8051 serial port: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        *arguments << QStringLiteral("-S") << QStringLiteral("in=serial.in,out=serial.out");
    }
    *arguments << QStringLiteral("firmware.hex");
    return true;
}

bool Mcs51Backend::afterStart()
{
    QByteArray commands;
    for (int port = 0; port < 4; ++port) {
        if (driven[port])
            commands += QByteArray("set hw port[") + QByteArray::number(port) + "] " + QByteArray::number(outside[port]) + '\n';
    }
    // A breakpoint on every write that can change a watched pin: a write to its bit, and
    // one to its whole port register.
    for (int watch = 0; watch < watches.size(); ++watch)
        commands += "break bits w 0x" + QByteArray::number(0x80 + 0x10 * watches.port(watch) + watches.bit(watch), 16) + '\n';
    for (const int port : watches.ports())
        commands += "break sfr w 0x" + QByteArray::number(0x80 + 0x10 * port, 16) + '\n';
    quint64 stepped = 0;
    if (!exchange(commands, &stepped))
        return false;
    updateWatches();
    return true;
}

bool Mcs51Backend::exchange(const QByteArray &commands, quint64 *stepped, bool *completed)
{
    static const QRegularExpression simulated(QStringLiteral("^Simulated (\\d+) ticks"));
    static const QRegularExpression stepStop(QStringLiteral("^Stop at 0x[0-9a-f]+: \\(\\d+\\) stepped (\\d+) ticks"));
    static const QRegularExpression port(QStringLiteral("^0x([89ab])0 P[0-3]:\\s+0b[01]+ 0x([0-9a-f]{2})"));
    tool->send(commands + readPorts);
    QString error;
    *stepped = 0;
    if (completed)
        *completed = false;
    // A step of a few instructions ends with only the stop line; longer runs add a summary.
    quint64 summary = 0;
    const bool answered = tool->readUntil(
        [&](const QByteArray &line) {
            const QString text = QString::fromLatin1(line);
            QRegularExpressionMatch match = stepStop.match(text);
            if (match.hasMatch()) {
                *stepped = match.captured(1).toULongLong();
                if (completed)
                    *completed = true;
                return false;
            }
            match = simulated.match(text);
            if (match.hasMatch()) {
                summary = match.captured(1).toULongLong();
                return false;
            }
            match = port.match(text);
            if (!match.hasMatch())
                return false;
            const int index = match.captured(1).toInt(nullptr, 16) - 8;
            pins[index] = static_cast<quint8>(match.captured(2).toUInt(nullptr, 16));
            return index == 3;
        },
        cancelFlag(), &error);
    if (summary > 0)
        *stepped = summary;
    return answered || fail(error);
}

void Mcs51Backend::reset()
{
    ticks = 0;
    if (running()) {
        QByteArray commands = "reset\n";
        for (int port = 0; port < 4; ++port) {
            if (driven[port])
                commands += QByteArray("set hw port[") + QByteArray::number(port) + "] " + QByteArray::number(outside[port]) + '\n';
        }
        quint64 stepped = 0;
        exchange(commands, &stepped);
    } else {
        // Every latch holds 1 after a reset: the pins show what the parts put on them.
        pins = outside;
    }
    updateWatches();
}

Backend::Level Mcs51Backend::levelOf(int port, int bit) const
{
    const quint8 mask = static_cast<quint8>(1u << bit);
    if (!(pins[port] & mask))
        return Level::Low;
    // Port 0 has no pull-ups: a released pin floats unless a part holds it.
    if (port == 0 && !(driven[0] & mask))
        return Level::Floating;
    return Level::High;
}

void Mcs51Backend::updateWatches()
{
    watches.update([this](int port, int bit) { return levelOf(port, bit); }, ticks, pinHandler);
}

int Mcs51Backend::watchPin(const QString &pin)
{
    int port = 0;
    int bit = 0;
    if (!parsePin(pin, &port, &bit) || !device.hasPin(pin))
        return -1;
    return watches.add(port, bit, levelOf(port, bit));
}

Backend::Level Mcs51Backend::level(int watch) const
{
    return watches.level(watch);
}

void Mcs51Backend::drivePin(const QString &pin, bool high)
{
    int port = 0;
    int bit = 0;
    if (!parsePin(pin, &port, &bit))
        return;
    const quint8 mask = static_cast<quint8>(1u << bit);
    driven[port] |= mask;
    outside[port] = high ? (outside[port] | mask) : (outside[port] & ~mask);
    if (running()) {
        quint64 stepped = 0;
        exchange(QByteArray("set hw port[") + QByteArray::number(port) + "] " + QByteArray::number(outside[port]) + '\n', &stepped);
    } else {
        pins[port] = static_cast<quint8>(high ? (pins[port] | mask) : (pins[port] & ~mask));
    }
    updateWatches();
}

bool Mcs51Backend::watchUart(const QString &name)
{
    if (!device.uart(name))
        return false;
    uartName = name;
    return true;
}

void Mcs51Backend::sendUart(const QString &name, const QByteArray &bytes)
{
    if (name != uartName || serialInput < 0)
        return;
    // A full pipe drops the rest, as a real line would lose characters nobody reads.
    [[maybe_unused]] const ssize_t written = ::write(serialInput, bytes.constData(), static_cast<size_t>(bytes.size()));
}

void Mcs51Backend::readSerial()
{
    if (uartName.isEmpty())
        return;
    QFile output(filePath(QStringLiteral("serial.out")));
    if (!output.open(QIODevice::ReadOnly) || output.size() <= serialRead || !output.seek(serialRead))
        return;
    const QByteArray bytes = output.readAll();
    serialRead += bytes.size();
    for (char byte : bytes) {
        if (uartHandler)
            uartHandler(uartName, static_cast<quint8>(byte), ticks);
    }
}

bool Mcs51Backend::run(quint64 cycles)
{
    if (!ensureStarted())
        return false;
    const quint64 target = ticks + cycles;
    while (ticks < target) {
        if (cancelled())
            return true;
        // A little over the estimate: one more step for a short remainder costs far more than
        // running a few instructions past the target.
        const quint64 instructions
            = static_cast<quint64>(1.05 * static_cast<double>(target - ticks) / ticksPerInstruction) + 1;
        quint64 stepped = 0;
        bool completed = false;
        if (!exchange("step " + QByteArray::number(instructions) + '\n', &stepped, &completed))
            return false;
        ticks += stepped;
        updateWatches();
        readSerial();
        // Only a slice that ran all its instructions tells how long they take.
        if (completed && stepped > 0)
            ticksPerInstruction = static_cast<double>(stepped) / static_cast<double>(instructions);
    }
    return true;
}
