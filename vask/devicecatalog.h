#ifndef DEVICECATALOG_H
#define DEVICECATALOG_H

#include <QList>
#include <QString>
#include <QStringList>

// A serial port of a controller and the pins it uses.
struct UartInfo
{
    QString name; // "0", "1", ... as the design file names it
    QString rxPin;
    QString txPin;
};

// One controller the simulator knows: its pins, serial ports, the board wiring its default
// design uses, and the core model that runs it (empty when no back end can run it yet).
struct DeviceInfo
{
    QString name;
    QString family;
    QString core;
    QStringList aliases;
    QStringList pins;
    QList<UartInfo> uarts;
    QString ledPin;
    bool ledActiveHigh = true;
    QString buttonPin;

    bool isValid() const { return !name.isEmpty(); }
    bool runnable() const { return !core.isEmpty(); }
    bool hasPin(const QString &pin) const { return pins.contains(pin.toUpper()); }
    const UartInfo *uart(const QString &uartName) const;
};

// Every controller of the families the IDE hands over (AVR, 8051, PIC16), looked up by name
// or alias without regard to letter case.
class DeviceCatalog
{
public:
    // The controller, or an invalid entry when the name is unknown.
    static DeviceInfo find(const QString &name);
    static const QList<DeviceInfo> &all();
    // The families a back end of this program can run.
    static QStringList runnableFamilies();
    // "PB0".."PB7" from "B0-7" (AVR), "P1.0".."P1.7" from "1.0-7" (8051), "RA0".."RA5" from
    // "A0-5" (PIC): each range names one port and its first and last bit.
    static QStringList expandPins(const QString &prefix, const QString &ranges);
};

#endif
