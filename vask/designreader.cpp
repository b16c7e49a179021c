#include "designreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DesignReader", text);
}

const QStringList colours = {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("yellow"),
                             QStringLiteral("orange"), QStringLiteral("blue"), QStringLiteral("white")};

const char *const segmentNames[] = {"A", "B", "C", "D", "E", "F", "G", "DP"};

}

DesignReader::DesignReader(const DeviceInfo &device)
    : device(device)
{
}

Design DesignReader::read(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Design design;
        design.path = path;
        design.name = QFileInfo(path).completeBaseName();
        design.problems.append({0, tr("cannot read the design file: %1").arg(file.errorString())});
        return design;
    }
    return parse(file.readAll(), path);
}

QString DesignReader::checkPin(const QString &pin) const
{
    if (pin.isEmpty())
        return tr("a pin is missing");
    if (device.isValid() && !device.hasPin(pin))
        return tr("%1 has no pin %2").arg(device.name, pin);
    return QString();
}

bool DesignReader::readPart(QXmlStreamReader &xml, DesignPart *part, QString *reason) const
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const auto value = [&](const char *name) { return attributes.value(QLatin1String(name)).toString().trimmed(); };
    const QString element = xml.name().toString();
    static const QHash<QString, DesignPart::Kind> kinds = {
        {QStringLiteral("LED"), DesignPart::Led},           {QStringLiteral("BUTTON"), DesignPart::Button},
        {QStringLiteral("SWITCH"), DesignPart::Switch},     {QStringLiteral("TERMINAL"), DesignPart::Terminal},
        {QStringLiteral("DIGIT"), DesignPart::Digit},
    };
    if (!kinds.contains(element)) {
        *reason = tr("unknown part %1").arg(element);
        return false;
    }
    part->kind = kinds.value(element);
    part->name = value("NAME");
    part->line = static_cast<int>(xml.lineNumber());

    const QString active = value("ACTIVE").toUpper();
    if (active.isEmpty())
        part->activeHigh = part->kind != DesignPart::Button && part->kind != DesignPart::Switch;
    else if (active == QLatin1String("HIGH") || active == QLatin1String("LOW"))
        part->activeHigh = active == QLatin1String("HIGH");
    else {
        *reason = tr("ACTIVE must be HIGH or LOW, not %1").arg(active);
        return false;
    }

    switch (part->kind) {
    case DesignPart::Led:
        part->colour = value("COLOUR").toLower();
        if (part->colour.isEmpty())
            part->colour = QStringLiteral("red");
        if (!colours.contains(part->colour)) {
            *reason = tr("unknown colour %1 (use %2)").arg(part->colour, colours.join(QStringLiteral(", ")));
            return false;
        }
        Q_FALLTHROUGH();
    case DesignPart::Button:
    case DesignPart::Switch:
        part->pins = {value("PIN").toUpper()};
        *reason = checkPin(part->pins.first());
        if (!reason->isEmpty() && part->pins.first().isEmpty())
            *reason = tr("%1 needs a PIN").arg(element);
        return reason->isEmpty();
    case DesignPart::Terminal: {
        part->uart = value("UART");
        if (part->uart.isEmpty())
            part->uart = QStringLiteral("0");
        const UartInfo *uart = device.uart(part->uart);
        if (device.isValid() && !uart) {
            *reason = tr("%1 has no UART %2").arg(device.name, part->uart);
            return false;
        }
        part->pins = uart ? QStringList{uart->rxPin, uart->txPin} : QStringList{};
        return true;
    }
    case DesignPart::Digit:
        for (const char *segment : segmentNames) {
            const QString pin = value(segment).toUpper();
            if (pin.isEmpty() && qstrcmp(segment, "DP") == 0) {
                part->pins.append(QString());
                continue;
            }
            const QString problem = checkPin(pin);
            if (!problem.isEmpty()) {
                *reason = pin.isEmpty() ? tr("segment %1 needs a pin").arg(QLatin1String(segment)) : problem;
                return false;
            }
            part->pins.append(pin);
        }
        return true;
    }
    return false;
}

Design DesignReader::parse(const QByteArray &text, const QString &path) const
{
    Design design;
    design.path = path;
    design.name = QFileInfo(path).completeBaseName();
    QXmlStreamReader xml(text);
    QHash<QString, int> names;
    QHash<QString, int> drivers; // pin -> index of the part that drives it
    QHash<int, int> kindCounts;
    bool rootSeen = false;
    int depth = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.tokenType() == QXmlStreamReader::EndElement)
                --depth;
            continue;
        }
        ++depth;
        const int line = static_cast<int>(xml.lineNumber());
        if (depth == 1) {
            rootSeen = true;
            if (xml.name() != QLatin1String("DESIGN")) {
                design.problems.append({line, tr("the top element is %1, not DESIGN").arg(xml.name().toString())});
                return design;
            }
            const QString name = xml.attributes().value(QLatin1String("NAME")).toString().trimmed();
            if (!name.isEmpty())
                design.name = name;
            design.device = xml.attributes().value(QLatin1String("DEVICE")).toString().trimmed();
            continue;
        }
        DesignPart part;
        QString reason;
        const bool sound = readPart(xml, &part, &reason);
        // Parts hold no elements: whatever a part encloses is skipped with it.
        xml.skipCurrentElement();
        --depth;
        if (!sound) {
            design.problems.append({line, reason});
            continue;
        }
        const int number = ++kindCounts[part.kind];
        if (part.name.isEmpty()) {
            static const char *const prefixes[] = {"LED", "S", "SW", "Terminal", "Digit"};
            part.name = QLatin1String(prefixes[part.kind]) + QString::number(number);
        }
        if (names.contains(part.name)) {
            design.problems.append({line, tr("another part is named %1 (line %2)").arg(part.name).arg(names.value(part.name))});
            continue;
        }
        QString clash;
        for (const QString &pin : part.drivenPins()) {
            if (drivers.contains(pin)) {
                const DesignPart &other = design.parts.at(drivers.value(pin));
                clash = tr("pin %1 is already driven by %2 (line %3)").arg(pin, other.name).arg(other.line);
                break;
            }
        }
        if (!clash.isEmpty()) {
            design.problems.append({line, clash});
            continue;
        }
        names.insert(part.name, line);
        for (const QString &pin : part.drivenPins())
            drivers.insert(pin, design.parts.size());
        design.parts.append(part);
    }
    if (xml.hasError()) {
        // Half a document is no design: show none of it rather than a guess.
        design.parts.clear();
        design.problems.append({static_cast<int>(xml.lineNumber()), tr("not well-formed XML: %1").arg(xml.errorString())});
    } else if (!rootSeen)
        design.problems.append({0, tr("the file holds no DESIGN element")});
    return design;
}
