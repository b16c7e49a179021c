#ifndef DESIGNWRITER_H
#define DESIGNWRITER_H

#include "devicecatalog.h"

#include <QString>

// Writes the design that a new project starts with: an LED on the board's LED pin, a push
// button and, where the controller has a serial port, a terminal on it.
class DesignWriter
{
public:
    static QByteArray defaultDesign(const DeviceInfo &device, const QString &name);
    // Replaces path in one step (a reader never sees half a file); false with a message.
    static bool write(const QString &path, const QByteArray &contents, QString *error);
};

#endif
