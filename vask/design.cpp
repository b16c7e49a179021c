#include "design.h"

QStringList DesignPart::drivenPins() const
{
    switch (kind) {
    case Button:
    case Switch:
        return pins;
    case Terminal:
        return pins.isEmpty() ? QStringList() : QStringList{pins.first()};
    case Led:
    case Digit:
        break;
    }
    return {};
}

QStringList Design::usedPins() const
{
    QStringList used;
    for (const DesignPart &part : parts) {
        for (const QString &pin : part.pins) {
            if (!pin.isEmpty() && !used.contains(pin))
                used.append(pin);
        }
    }
    return used;
}
