#include "firmwareimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <QtEndian>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FirmwareImage", text);
}

// Adds bytes at address, joining them to the segment they continue.
void place(QList<FirmwareImage::Segment> *segments, quint32 address, const QByteArray &bytes)
{
    if (!segments->isEmpty()) {
        FirmwareImage::Segment &last = segments->last();
        if (last.address + static_cast<quint32>(last.bytes.size()) == address) {
            last.bytes.append(bytes);
            return;
        }
    }
    segments->append({address, bytes});
}

}

quint32 FirmwareImage::end() const
{
    quint32 last = 0;
    for (const Segment &segment : segments)
        last = std::max(last, segment.address + static_cast<quint32>(segment.bytes.size()));
    return last;
}

bool FirmwareImage::parseHex(const QByteArray &text, QList<Segment> *segments, QString *error)
{
    segments->clear();
    quint32 base = 0;
    int lineNumber = 0;
    bool ended = false;
    for (QByteArray line : text.split('\n')) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const auto fail = [&](const QString &reason) {
            *error = tr("line %1: %2").arg(lineNumber).arg(reason);
            return false;
        };
        if (ended)
            return fail(tr("data after the end-of-file record"));
        if (!line.startsWith(':'))
            return fail(tr("a record must start with ':'"));
        const QByteArray record = QByteArray::fromHex(line.mid(1));
        if (line.size() % 2 == 0 || record.size() * 2 != line.size() - 1 || record.size() < 5)
            return fail(tr("not a record of hexadecimal digits"));
        const auto byte = [&](int i) { return static_cast<quint8>(record.at(i)); };
        const int count = byte(0);
        if (record.size() != count + 5)
            return fail(tr("the record says %1 data bytes but holds %2").arg(count).arg(record.size() - 5));
        quint8 sum = 0;
        for (char c : record)
            sum = static_cast<quint8>(sum + static_cast<quint8>(c));
        if (sum != 0)
            return fail(tr("checksum mismatch"));
        const quint32 offset = (byte(1) << 8) | byte(2);
        const QByteArray data = record.mid(4, count);
        switch (byte(3)) {
        case 0x00:
            place(segments, base + offset, data);
            break;
        case 0x01:
            ended = true;
            break;
        case 0x02:
            if (count != 2)
                return fail(tr("a segment address record needs two bytes"));
            base = ((byte(4) << 8) | byte(5)) << 4;
            break;
        case 0x04:
            if (count != 2)
                return fail(tr("a linear address record needs two bytes"));
            base = ((byte(4) << 8) | byte(5)) << 16;
            break;
        case 0x03:
        case 0x05:
            break;
        default:
            return fail(tr("unknown record type %1").arg(byte(3)));
        }
    }
    if (!ended) {
        *error = tr("the file ends without an end-of-file record");
        return false;
    }
    return true;
}

bool FirmwareImage::readElf(const QByteArray &file, QList<Segment> *segments, QString *error)
{
    // ELF32, little-endian, as avr-ld writes it: the program headers' loadable parts whose
    // physical address lies below the linker's data space (0x800000) are flash.
    constexpr quint32 dataSpace = 0x800000;
    const auto half = [&file](qsizetype at) { return qFromLittleEndian<quint16>(file.constData() + at); };
    const auto word = [&file](qsizetype at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    if (file.size() < 52 || file.at(4) != 1 || file.at(5) != 1) {
        *error = tr("it is not a 32-bit little-endian ELF file");
        return false;
    }
    if (half(18) != 83) {
        *error = tr("the ELF file is not for the AVR");
        return false;
    }
    const quint32 table = word(28);
    const quint16 entrySize = half(42);
    const quint16 count = half(44);
    if (entrySize < 32 || static_cast<qsizetype>(table) + static_cast<qsizetype>(entrySize) * count > file.size()) {
        *error = tr("the ELF file is damaged");
        return false;
    }
    segments->clear();
    for (quint16 i = 0; i < count; ++i) {
        const qsizetype header = table + static_cast<qsizetype>(i) * entrySize;
        const quint32 type = word(header), offset = word(header + 4), address = word(header + 12), size = word(header + 16);
        if (type != 1 || size == 0 || address >= dataSpace)
            continue;
        if (static_cast<qsizetype>(offset) + size > file.size()) {
            *error = tr("the ELF file is damaged");
            return false;
        }
        place(segments, address, file.mid(offset, size));
    }
    if (segments->isEmpty()) {
        *error = tr("the ELF file holds no AVR program");
        return false;
    }
    return true;
}

bool FirmwareImage::load(const QString &file, quint32 flashSize, const QString &device, QString *error)
{
    path = file;
    segments.clear();
    if (file.isEmpty()) {
        *error = tr("No firmware file is named.");
        return false;
    }
    QFile input(file);
    if (!QFileInfo(file).isFile() || !input.open(QIODevice::ReadOnly)) {
        *error = tr("The firmware file %1 does not exist or cannot be read.").arg(file);
        return false;
    }
    const QByteArray text = input.readAll();
    QString reason;
    bool read = false;
    if (text.startsWith("\x7f" "ELF"))
        read = readElf(text, &segments, &reason);
    else if (text.trimmed().startsWith(':'))
        read = parseHex(text, &segments, &reason);
    else
        reason = tr("it is neither an Intel HEX nor an ELF file");
    if (!read) {
        *error = tr("The firmware file %1 cannot be loaded: %2.").arg(file, reason);
        segments.clear();
        return false;
    }
    if (segments.isEmpty()) {
        *error = tr("The firmware file %1 holds no program.").arg(file);
        return false;
    }
    if (end() > flashSize) {
        *error = tr("The firmware file %1 does not fit: it needs %2 bytes of flash, the %3 has %4.")
                     .arg(file)
                     .arg(end())
                     .arg(device)
                     .arg(flashSize);
        segments.clear();
        return false;
    }
    return true;
}
