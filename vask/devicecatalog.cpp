#include "devicecatalog.h"

const UartInfo *DeviceInfo::uart(const QString &uartName) const
{
    for (const UartInfo &info : uarts) {
        if (info.name == uartName)
            return &info;
    }
    return nullptr;
}

QStringList DeviceCatalog::expandPins(const QString &prefix, const QString &ranges)
{
    QStringList pins;
    for (const QString &range : ranges.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int dash = range.indexOf(QLatin1Char('-'));
        const QString port = range.left(dash - 1);
        const int first = range.at(dash - 1).digitValue();
        const int last = range.mid(dash + 1).toInt();
        for (int bit = first; bit <= last; ++bit)
            pins.append(prefix + port + QString::number(bit));
    }
    return pins;
}

namespace {

DeviceInfo avr(const char *name, const char *core, QStringList aliases, const char *pins, QList<UartInfo> uarts,
               const char *led, const char *button)
{
    DeviceInfo info;
    info.name = QLatin1String(name);
    info.family = QStringLiteral("AVR");
    info.core = QLatin1String(core);
    info.aliases = std::move(aliases);
    info.pins = DeviceCatalog::expandPins(QStringLiteral("P"), QLatin1String(pins));
    info.uarts = std::move(uarts);
    info.ledPin = QLatin1String(led);
    info.buttonPin = QLatin1String(button);
    return info;
}

DeviceInfo mcs51(const char *name, QStringList aliases, const char *pins)
{
    DeviceInfo info;
    info.name = QLatin1String(name);
    info.family = QStringLiteral("8051");
    info.aliases = std::move(aliases);
    info.pins = DeviceCatalog::expandPins(QStringLiteral("P"), QLatin1String(pins));
    info.uarts = {{QStringLiteral("0"), QStringLiteral("P3.0"), QStringLiteral("P3.1")}};
    // Our 8051 board sinks the LED current into P1.0.
    info.ledPin = QStringLiteral("P1.0");
    info.ledActiveHigh = false;
    info.buttonPin = QStringLiteral("P3.2");
    return info;
}

DeviceInfo pic16(const char *name, QStringList aliases, const char *pins, QList<UartInfo> uarts, const char *led,
                 const char *button)
{
    DeviceInfo info;
    info.name = QLatin1String(name);
    info.family = QStringLiteral("PIC16");
    info.aliases = std::move(aliases);
    info.pins = DeviceCatalog::expandPins(QStringLiteral("R"), QLatin1String(pins));
    info.uarts = std::move(uarts);
    info.ledPin = QLatin1String(led);
    info.buttonPin = QLatin1String(button);
    return info;
}

UartInfo uart(const char *name, const char *rx, const char *tx)
{
    return {QLatin1String(name), QLatin1String(rx), QLatin1String(tx)};
}

}

const QList<DeviceInfo> &DeviceCatalog::all()
{
    static const QList<DeviceInfo> devices = [] {
        const char *mega28 = "B0-7 C0-6 D0-7";
        const char *mega40 = "A0-7 B0-7 C0-7 D0-7";
        const QList<UartInfo> usartD = {uart("0", "PD0", "PD1")};
        return QList<DeviceInfo>{
            avr("ATmega328P", "atmega328p", {QStringLiteral("ATmega328")}, mega28, usartD, "PB5", "PD2"),
            avr("ATmega168", "atmega168", {QStringLiteral("ATmega168A")}, mega28, usartD, "PB5", "PD2"),
            avr("ATmega8", "atmega8", {QStringLiteral("ATmega8A")}, mega28, usartD, "PB5", "PD2"),
            avr("ATmega16", "atmega16", {QStringLiteral("ATmega16A")}, mega40, usartD, "PB0", "PD2"),
            avr("ATmega32", "atmega32", {QStringLiteral("ATmega32A")}, mega40, usartD, "PB0", "PD2"),
            avr("ATmega644P", "atmega644p", {QStringLiteral("ATmega644PA")}, mega40, usartD, "PB0", "PD2"),
            avr("ATmega2560", "atmega2560", {}, "A0-7 B0-7 C0-7 D0-7 E0-7 F0-7 G0-5 H0-7 J0-7 K0-7 L0-7",
                {uart("0", "PE0", "PE1"), uart("1", "PD2", "PD3"), uart("2", "PH0", "PH1"), uart("3", "PJ0", "PJ1")},
                "PB7", "PE4"),
            avr("ATtiny13", "attiny13", {QStringLiteral("ATtiny13A")}, "B0-5", {}, "PB0", "PB1"),
            avr("ATtiny85", "attiny85", {QStringLiteral("ATtiny85V")}, "B0-5", {}, "PB1", "PB2"),
            avr("ATtiny2313", "attiny2313", {QStringLiteral("ATtiny2313A")}, "A0-2 B0-7 D0-6", usartD, "PB0", "PD2"),
            mcs51("AT89C51", {QStringLiteral("80C51")}, "0.0-7 1.0-7 2.0-7 3.0-7"),
            mcs51("AT89C52", {QStringLiteral("80C52")}, "0.0-7 1.0-7 2.0-7 3.0-7"),
            mcs51("AT89S51", {}, "0.0-7 1.0-7 2.0-7 3.0-7"),
            mcs51("AT89S52", {}, "0.0-7 1.0-7 2.0-7 3.0-7"),
            mcs51("AT89C55WD", {}, "0.0-7 1.0-7 2.0-7 3.0-7"),
            mcs51("AT89C2051", {}, "1.0-7 3.0-5 3.7-7"),
            mcs51("AT89C4051", {}, "1.0-7 3.0-5 3.7-7"),
            pic16("PIC16F84A", {QStringLiteral("PIC16F84")}, "A0-4 B0-7", {}, "RB1", "RB0"),
            pic16("PIC16F628A", {QStringLiteral("PIC16F628")}, "A0-7 B0-7", {uart("0", "RB1", "RB2")}, "RB3", "RB0"),
            pic16("PIC16F648A", {}, "A0-7 B0-7", {uart("0", "RB1", "RB2")}, "RB3", "RB0"),
            pic16("PIC16F877A", {}, "A0-5 B0-7 C0-7 D0-7 E0-2", {uart("0", "RC7", "RC6")}, "RD0", "RB0"),
            pic16("PIC16F877", {}, "A0-5 B0-7 C0-7 D0-7 E0-2", {uart("0", "RC7", "RC6")}, "RD0", "RB0"),
            pic16("PIC16F887", {}, "A0-7 B0-7 C0-7 D0-7 E0-3", {uart("0", "RC7", "RC6")}, "RD0", "RB0"),
            pic16("PIC16F88", {}, "A0-7 B0-7", {uart("0", "RB2", "RB5")}, "RB3", "RB0"),
            pic16("PIC16F690", {}, "A0-5 B4-7 C0-7", {uart("0", "RB5", "RB7")}, "RC0", "RA2"),
        };
    }();
    return devices;
}

DeviceInfo DeviceCatalog::find(const QString &name)
{
    const QString wanted = name.trimmed();
    for (const DeviceInfo &info : all()) {
        if (info.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return info;
        for (const QString &alias : info.aliases) {
            if (alias.compare(wanted, Qt::CaseInsensitive) == 0)
                return info;
        }
    }
    return DeviceInfo();
}

QStringList DeviceCatalog::runnableFamilies()
{
    QStringList families;
    for (const DeviceInfo &info : all()) {
        if (info.runnable() && !families.contains(info.family))
            families.append(info.family);
    }
    return families;
}
