#ifndef FIRMWAREIMAGE_H
#define FIRMWAREIMAGE_H

#include <QByteArray>
#include <QList>
#include <QString>

// A firmware file read into memory: Intel HEX, or ELF as the linker writes it. Checked
// against the controller's flash before anything reaches the simulation.
class FirmwareImage
{
public:
    struct Segment
    {
        quint32 address = 0;
        QByteArray bytes;
    };

    QString path;
    QList<Segment> segments;

    // false with a message that names the file: missing, neither HEX nor ELF, damaged, or
    // larger than flashSize bytes.
    bool load(const QString &path, quint32 flashSize, const QString &device, QString *error);
    // The first address past the image.
    quint32 end() const;

    // Intel HEX text into segments; false with "line N: reason".
    static bool parseHex(const QByteArray &text, QList<Segment> *segments, QString *error);

private:
    static bool readElf(const QByteArray &file, QList<Segment> *segments, QString *error);
};

#endif
