#ifndef QUANTITY_H
#define QUANTITY_H

#include <QString>
#include <QtGlobal>

// Reads the clock and duration texts that people type: "16MHz", "16 MHz", "16000000",
// "11.0592MHz", "2s", "500ms". A plain number is hertz (clock) or seconds (duration).
class Quantity
{
public:
    // Hertz, or 0 when the text is not a positive frequency up to 1 GHz.
    static quint64 frequency(const QString &text);
    // Nanoseconds, or -1 when the text is not a duration of at least 0 and at most a day.
    static qint64 duration(const QString &text);
    // "16 MHz", "11.0592 MHz", "32.768 kHz", "900 Hz".
    static QString frequencyText(quint64 hertz);
    // Simulated time as seconds with nine decimals ("1.500000000"), exact for any count.
    static QString secondsText(quint64 cycles, quint64 hertz);

private:
    // The number and the unit (lower case, spaces dropped); false when the number part is bad.
    static bool split(const QString &text, double *number, QString *unit);
};

#endif
