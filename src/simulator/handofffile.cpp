#include "simulator/handofffile.h"

#include <QSaveFile>

namespace {

bool isHexDigit(char16_t unit)
{
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') || (unit >= u'A' && unit <= u'F');
}

}

HandoffFile::HandoffFile(const QString &path, const QString &group) : path(path), group(group) {}

void HandoffFile::setValue(const QString &key, const QString &value)
{
    for (QPair<QString, QString> &entry : entries) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    entries.append({key, value});
}

bool HandoffFile::write()
{
    QByteArray text = '[' + group.toLatin1() + "]\n";
    for (const QPair<QString, QString> &entry : std::as_const(entries))
        text += entry.first.toLatin1() + '=' + encodedValue(entry.second) + '\n';

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text) != text.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    error.clear();
    return true;
}

QByteArray HandoffFile::encodedValue(const QString &value)
{
    QByteArray result;
    bool needsQuotes = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    // A \x escape reads every hexadecimal digit that follows it.
    bool escapeNextIfHexDigit = false;
    const auto hexEscape = [&result, &escapeNextIfHexDigit](char16_t unit) {
        result += "\\x" + QByteArray::number(unit, 16);
        escapeNextIfHexDigit = true;
    };
    // The reader takes a leading "@" for the start of a typed value; "@@" stands for "@".
    if (value.startsWith(QLatin1Char('@')))
        result += '@';
    for (const QChar character : value) {
        const char16_t unit = character.unicode();
        if (escapeNextIfHexDigit && isHexDigit(unit)) {
            hexEscape(unit);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (unit) {
        case u'\n': result += "\\n"; break;
        case u'\r': result += "\\r"; break;
        case u'\t': result += "\\t"; break;
        case u'"': result += "\\\""; break;
        case u'\\': result += "\\\\"; break;
        case u';':
        case u',':
        case u'=':
            needsQuotes = true;
            result += char(unit);
            break;
        default:
            // Control characters (C0, DEL and C1) would be invisible or break the line;
            // beyond ISO 8859-1 there is no byte for the character at all.
            if (unit < 0x20 || (unit >= 0x7f && unit < 0xa0) || unit > 0xff)
                hexEscape(unit);
            else
                result += char(uchar(unit));
            break;
        }
    }
    if (needsQuotes)
        result = '"' + result + '"';
    return result;
}
