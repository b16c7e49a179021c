#include "goodexitlist.h"

GoodExitList::GoodExitList(const QString &text)
{
    // The list is deliberately not validated: a piece that is no number reads as 0,
    // which callers may rely on.
    const QStringList pieces = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &piece : pieces)
        m_codes.append(piece.toInt(nullptr, 10));
}
