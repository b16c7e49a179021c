#include "handofffile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

QString HandOffFile::decodeValue(const QString &raw)
{
    QString value;
    bool quoted = false;
    const QString text = raw.trimmed();
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (ch == QLatin1Char(';') && !quoted)
            break;
        if (ch != QLatin1Char('\\') || i + 1 >= text.size()) {
            value.append(ch);
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
        case 'n': value.append(QLatin1Char('\n')); break;
        case 'r': value.append(QLatin1Char('\r')); break;
        case 't': value.append(QLatin1Char('\t')); break;
        case '0': value.append(QChar(0)); break;
        case 'x': {
            int end = i + 1;
            while (end < text.size() && end < i + 5 && QStringLiteral("0123456789abcdefABCDEF").contains(text.at(end)))
                ++end;
            bool ok = false;
            const uint code = text.mid(i + 1, end - i - 1).toUInt(&ok, 16);
            if (ok)
                value.append(QChar(static_cast<char16_t>(code)));
            i = end - 1;
            break;
        }
        default: value.append(next); break;
        }
    }
    return value;
}

bool HandOffFile::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("HandOffFile", "Cannot read the hand-off file %1: %2").arg(path, file.errorString());
        return false;
    }
    const QString text = QString::fromLatin1(file.readAll());
    QHash<QString, QString> values;
    bool inGroup = false;
    bool groupSeen = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inGroup = line.mid(1, line.size() - 2).trimmed().compare(QLatin1String("QUORVIN"), Qt::CaseInsensitive) == 0;
            groupSeen = groupSeen || inGroup;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals < 0)
            continue;
        values.insert(line.left(equals).trimmed().toUpper(), decodeValue(line.mid(equals + 1)));
    }
    if (!groupSeen) {
        *error = QCoreApplication::translate("HandOffFile", "The hand-off file %1 has no [QUORVIN] group.").arg(path);
        return false;
    }
    designFile = values.value(QStringLiteral("DESIGNFILE"));
    program = values.value(QStringLiteral("PROGRAM"));
    clock = values.value(QStringLiteral("CLOCK"));
    device = values.value(QStringLiteral("DEVICE"));
    family = values.value(QStringLiteral("FAMILY"));
    autoRun = values.value(QStringLiteral("AUTORUN")).trimmed() == QLatin1String("1");
    newDesign = values.value(QStringLiteral("NEWDESIGN")).trimmed() == QLatin1String("1");
    return true;
}
