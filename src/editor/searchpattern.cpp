#include "editor/searchpattern.h"

#include <QCoreApplication>

namespace {

// Letters, digits and the underscore make words, as in the identifiers of the sources.
const QLatin1String notWordBefore("(?<![\\p{L}\\p{N}_])");
const QLatin1String notWordAfter("(?![\\p{L}\\p{N}_])");
// "^" and "$" work per line whatever the file's line ends are.
const QLatin1String anyLineEnd("(*ANYCRLF)");

}

SearchPattern::SearchPattern(const QString &text, Options options) : text_(text), options_(options)
{
    QString core = options.regex ? text : QRegularExpression::escape(text);
    QString pattern = anyLineEnd;
    if (options.wholeWords)
        pattern += notWordBefore + QStringLiteral("(?:");
    prefixLength = pattern.size();
    pattern += core;
    if (options.wholeWords)
        pattern += QStringLiteral(")") + notWordAfter;
    QRegularExpression::PatternOptions flags = QRegularExpression::MultilineOption;
    if (!options.caseSensitive)
        flags |= QRegularExpression::CaseInsensitiveOption;
    expression.setPattern(pattern);
    expression.setPatternOptions(flags);
    expression.optimize();
}

QString SearchPattern::errorString() const
{
    if (text_.isEmpty())
        return QCoreApplication::translate("SearchPattern", "The search text is empty.");
    if (expression.isValid())
        return QString();
    const qsizetype offset = qMax<qsizetype>(0, expression.patternErrorOffset() - prefixLength);
    return QCoreApplication::translate("SearchPattern", "Invalid regular expression \"%1\": %2 at position %3.")
        .arg(text_, expression.errorString())
        .arg(qMin(offset, text_.size()) + 1);
}

QRegularExpressionMatch SearchPattern::matchAt(QStringView text, qsizetype from) const
{
    return expression.match(text, from);
}

SearchPattern::Match SearchPattern::findForward(QStringView text, qsizetype from, qsizetype emptyNotAt) const
{
    if (!isValid())
        return {};
    from = qMax<qsizetype>(0, from);
    while (from <= text.size()) {
        const QRegularExpressionMatch found = matchAt(text, from);
        if (!found.hasMatch())
            return {};
        const Match match{found.capturedStart(), found.capturedLength()};
        if (match.length > 0 || match.start != emptyNotAt)
            return match;
        from = match.start + 1;
    }
    return {};
}

SearchPattern::Match SearchPattern::findBackward(QStringView text, qsizetype before) const
{
    if (!isValid() || before <= 0)
        return {};
    // Every start is tried, so a match overlapping the one found last is not missed.
    Match last;
    qsizetype from = 0;
    while (from < before) {
        const QRegularExpressionMatch found = matchAt(text, from);
        if (!found.hasMatch() || found.capturedStart() >= before)
            break;
        last = Match{found.capturedStart(), found.capturedLength()};
        from = last.start + 1;
    }
    return last;
}

bool SearchPattern::containsMatch(QStringView text) const
{
    return isValid() && matchAt(text, 0).hasMatch();
}

qsizetype SearchPattern::count(QStringView text) const
{
    if (!isValid())
        return 0;
    qsizetype matches = 0;
    QRegularExpressionMatchIterator iterator = expression.globalMatch(text);
    while (iterator.hasNext()) {
        iterator.next();
        ++matches;
    }
    return matches;
}

QList<SearchPattern::Replacement> SearchPattern::replacementsIn(QStringView text, const QString &replaceText) const
{
    QList<Replacement> replacements;
    if (!isValid())
        return replacements;
    QRegularExpressionMatchIterator iterator = expression.globalMatch(text);
    while (iterator.hasNext()) {
        const QRegularExpressionMatch found = iterator.next();
        replacements.append({Match{found.capturedStart(), found.capturedLength()},
                             options_.regex ? expand(found, replaceText) : replaceText});
    }
    return replacements;
}

QString SearchPattern::expand(const QRegularExpressionMatch &match, const QString &replaceText)
{
    QString result;
    result.reserve(replaceText.size());
    for (qsizetype at = 0; at < replaceText.size(); ++at) {
        const QChar current = replaceText.at(at);
        if (current != QLatin1Char('\\') || at + 1 == replaceText.size()) {
            result.append(current);
            continue;
        }
        const QChar next = replaceText.at(++at);
        if (next >= QLatin1Char('0') && next <= QLatin1Char('9'))
            result.append(match.capturedView(next.unicode() - '0'));
        else if (next == QLatin1Char('n'))
            result.append(QLatin1Char('\n'));
        else if (next == QLatin1Char('t'))
            result.append(QLatin1Char('\t'));
        else if (next == QLatin1Char('\\'))
            result.append(QLatin1Char('\\'));
        else
            result.append(current).append(next);
    }
    return result;
}

QString SearchPattern::replacement(QStringView text, const Match &match, const QString &replaceText) const
{
    if (!options_.regex || !match.isValid())
        return replaceText;
    // The captured groups are those of the match at that very place.
    const QRegularExpressionMatch found = expression.match(text, match.start, QRegularExpression::NormalMatch,
                                                           QRegularExpression::AnchorAtOffsetMatchOption);
    return found.hasMatch() ? expand(found, replaceText) : replaceText;
}

QString SearchPattern::replaceAll(QStringView text, const QString &replaceText, qsizetype *count) const
{
    qsizetype replaced = 0;
    QString result;
    if (isValid()) {
        qsizetype copied = 0;
        QRegularExpressionMatchIterator iterator = expression.globalMatch(text);
        while (iterator.hasNext()) {
            const QRegularExpressionMatch found = iterator.next();
            if (replaced == 0)
                result.reserve(text.size() + replaceText.size());
            result.append(text.mid(copied, found.capturedStart() - copied));
            result.append(options_.regex ? expand(found, replaceText) : replaceText);
            copied = found.capturedEnd();
            ++replaced;
        }
        if (replaced > 0)
            result.append(text.mid(copied));
    }
    if (count)
        *count = replaced;
    return replaced > 0 ? result : text.toString();
}
