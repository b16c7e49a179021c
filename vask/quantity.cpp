#include "quantity.h"

#include <QRegularExpression>
#include <cmath>

bool Quantity::split(const QString &text, double *number, QString *unit)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)\\s*([A-Za-z]*)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    *number = match.captured(1).toDouble(&ok);
    *unit = match.captured(2).toLower();
    return ok;
}

quint64 Quantity::frequency(const QString &text)
{
    double number = 0;
    QString unit;
    if (!split(text, &number, &unit))
        return 0;
    double scale = 0;
    if (unit.isEmpty() || unit == QLatin1String("hz"))
        scale = 1;
    else if (unit == QLatin1String("khz") || unit == QLatin1String("k"))
        scale = 1e3;
    else if (unit == QLatin1String("mhz") || unit == QLatin1String("m"))
        scale = 1e6;
    else
        return 0;
    const double hertz = std::round(number * scale);
    if (hertz < 1 || hertz > 1e9)
        return 0;
    return static_cast<quint64>(hertz);
}

qint64 Quantity::duration(const QString &text)
{
    double number = 0;
    QString unit;
    if (!split(text, &number, &unit))
        return -1;
    double scale = 0;
    if (unit.isEmpty() || unit == QLatin1String("s"))
        scale = 1e9;
    else if (unit == QLatin1String("ms"))
        scale = 1e6;
    else if (unit == QLatin1String("us"))
        scale = 1e3;
    else if (unit == QLatin1String("ns"))
        scale = 1;
    else if (unit == QLatin1String("min"))
        scale = 60e9;
    else
        return -1;
    const double nanoseconds = std::round(number * scale);
    if (nanoseconds > 86400e9)
        return -1;
    return static_cast<qint64>(nanoseconds);
}

QString Quantity::frequencyText(quint64 hertz)
{
    const auto trimmed = [](double value, const char *unit) {
        QString number = QString::number(value, 'f', 6);
        while (number.endsWith(QLatin1Char('0')))
            number.chop(1);
        if (number.endsWith(QLatin1Char('.')))
            number.chop(1);
        return number + QLatin1Char(' ') + QLatin1String(unit);
    };
    if (hertz >= 1000000)
        return trimmed(hertz / 1e6, "MHz");
    if (hertz >= 1000)
        return trimmed(hertz / 1e3, "kHz");
    return QString::number(hertz) + QStringLiteral(" Hz");
}

QString Quantity::secondsText(quint64 cycles, quint64 hertz)
{
    if (hertz == 0)
        return QStringLiteral("0.000000000");
    const quint64 seconds = cycles / hertz;
    // The remainder is below the clock (at most 1e9), so scaling it cannot overflow.
    const quint64 nanoseconds = (cycles % hertz) * 1000000000ULL / hertz;
    return QStringLiteral("%1.%2").arg(seconds).arg(nanoseconds, 9, 10, QLatin1Char('0'));
}
