#ifndef HANDOFFFILE_H
#define HANDOFFFILE_H

#include <QString>

// The INI file that the IDE writes before every hand-off: group "QUORVIN" with the design,
// the firmware, the clock, the controller and two flags. The file is ISO 8859-1 text in the
// format of Qt's INI settings writer (values may be quoted and carry backslash escapes).
class HandOffFile
{
public:
    QString designFile;
    QString program;
    QString clock;
    QString device;
    QString family;
    bool autoRun = false;
    bool newDesign = false;

    // Reads path; false with a message naming the file when it cannot be read or has no
    // "QUORVIN" group. Missing keys read as empty (flags as false).
    bool read(const QString &path, QString *error);

    // One value as the settings writer stores it, decoded: surrounding quotes removed,
    // escapes resolved.
    static QString decodeValue(const QString &raw);
};

#endif
