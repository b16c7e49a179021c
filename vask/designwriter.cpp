#include "designwriter.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QXmlStreamWriter>

QByteArray DesignWriter::defaultDesign(const DeviceInfo &device, const QString &name)
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("DESIGN"));
    xml.writeAttribute(QStringLiteral("NAME"), name);
    xml.writeAttribute(QStringLiteral("DEVICE"), device.name);
    xml.writeEmptyElement(QStringLiteral("LED"));
    xml.writeAttribute(QStringLiteral("NAME"), QStringLiteral("LED1"));
    xml.writeAttribute(QStringLiteral("PIN"), device.ledPin);
    xml.writeAttribute(QStringLiteral("COLOUR"), QStringLiteral("green"));
    xml.writeAttribute(QStringLiteral("ACTIVE"), device.ledActiveHigh ? QStringLiteral("HIGH") : QStringLiteral("LOW"));
    xml.writeEmptyElement(QStringLiteral("BUTTON"));
    xml.writeAttribute(QStringLiteral("NAME"), QStringLiteral("S1"));
    xml.writeAttribute(QStringLiteral("PIN"), device.buttonPin);
    xml.writeAttribute(QStringLiteral("ACTIVE"), QStringLiteral("LOW"));
    if (!device.uarts.isEmpty()) {
        xml.writeEmptyElement(QStringLiteral("TERMINAL"));
        xml.writeAttribute(QStringLiteral("NAME"), QStringLiteral("Terminal"));
        xml.writeAttribute(QStringLiteral("UART"), device.uarts.first().name);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return text;
}

bool DesignWriter::write(const QString &path, const QByteArray &contents, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return true;
    *error = QCoreApplication::translate("DesignWriter", "Cannot write the design file %1: %2").arg(path, file.errorString());
    return false;
}
