#ifndef DESIGNREADER_H
#define DESIGNREADER_H

#include "design.h"
#include "devicecatalog.h"

class QXmlStreamReader;

// Reads a design file (.dsn, XML) and checks it against the controller: every part that is
// sound is kept, every problem is listed with its line and reason.
class DesignReader
{
public:
    explicit DesignReader(const DeviceInfo &device);

    // Never fails outright: an unreadable file gives a design without parts and a problem.
    Design read(const QString &path) const;
    Design parse(const QByteArray &text, const QString &path) const;

private:
    bool readPart(QXmlStreamReader &xml, DesignPart *part, QString *reason) const;
    QString checkPin(const QString &pin) const;

    DeviceInfo device;
};

#endif
