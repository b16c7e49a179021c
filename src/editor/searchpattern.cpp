#include "editor/searchpattern.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// Letters, digits and the underscore make words, as in the identifiers of the sources.
const QLatin1String notWordBefore("(?<![\\p{L}\\p{N}_])");
const QLatin1String notWordAfter("(?![\\p{L}\\p{N}_])");
// "^" and "$" work per line whatever the file's line ends are.
const QLatin1String anyLineEnd("(*ANYCRLF)");

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// What a pattern says about its matches before any text is searched: the longest run of
// ASCII characters that every match holds, and whether a match may reach over a line end.
// Anything not understood here gives no run and "may reach over", which is always right.
struct Outline
{
    QByteArray required;
    bool withinLines = false;
};

Outline outlinePlain(const QString &text)
{
    Outline outline;
    outline.withinLines = std::none_of(text.cbegin(), text.cend(), isLineEnd);
    QByteArray run;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            run.append(char(c.unicode()));
            continue;
        }
        if (run.size() > outline.required.size())
            outline.required = run;
        run.clear();
    }
    if (run.size() > outline.required.size())
        outline.required = run;
    return outline;
}

Outline outlineExpression(const QString &text)
{
    // Alternatives, inline options and groups with their own syntax, and quoting are beyond
    // this reading.
    if (text.contains(QLatin1Char('|')) || text.contains(QLatin1String("(?")) || text.contains(QLatin1String("(*")) ||
        text.contains(QLatin1String("\\Q")))
        return {};
    // Escapes that never match a line end and never see beyond the line.
    static const QLatin1String inLine("dwbBtaefh");
    // Escapes without arguments that may match a line end or look beyond the line.
    static const QLatin1String acrossLines("sSDWHVvRAzZG");
    Outline outline;
    outline.withinLines = true;
    QByteArray run;
    int depth = 0;
    const auto endRun = [&] {
        if (run.size() > outline.required.size())
            outline.required = run;
        run.clear();
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        const char16_t u = c.unicode();
        if (u == '\\') {
            if (++at == text.size())
                return {};
            const QChar escaped = text.at(at);
            if (escaped.unicode() < 0x80 && !escaped.isLetterOrNumber()) {
                if (isLineEnd(escaped))
                    outline.withinLines = false;
                if (depth == 0)
                    run.append(char(escaped.unicode()));
                else
                    endRun();
                continue;
            }
            if (acrossLines.contains(escaped))
                outline.withinLines = false;
            else if (!inLine.contains(escaped))
                return {}; // an escape with arguments or a back reference
            endRun();
        } else if (u == '[') {
            endRun();
            // A class: one character, never a line end unless negated or named by an escape.
            qsizetype end = at + 1;
            if (end < text.size() && text.at(end) == QLatin1Char('^')) {
                outline.withinLines = false;
                ++end;
            }
            if (end < text.size() && text.at(end) == QLatin1Char(']'))
                ++end;
            while (end < text.size() && text.at(end) != QLatin1Char(']')) {
                if (text.at(end) == QLatin1Char('\\')) {
                    ++end;
                    if (end < text.size() && text.at(end).isLetterOrNumber() && !inLine.contains(text.at(end)))
                        outline.withinLines = false;
                } else if (text.at(end) == QLatin1Char('[')) {
                    // POSIX names such as [:space:] may hold line ends.
                    outline.withinLines = false;
                }
                ++end;
            }
            if (end >= text.size())
                return {};
            at = end;
        } else if (u == '(') {
            endRun();
            ++depth;
        } else if (u == ')') {
            endRun();
            if (--depth < 0)
                return {};
        } else if (u == '*' || u == '?' || u == '{') {
            if (u == '{') {
                static const QRegularExpression quantifier(QStringLiteral("\\{\\d*,?\\d*\\}"));
                const QRegularExpressionMatch counted =
                    quantifier.match(text, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
                if (!counted.hasMatch())
                    return {};
                at = counted.capturedEnd() - 1;
            }
            // What went before may be absent: it leaves the run.
            if (!run.isEmpty())
                run.chop(1);
            endRun();
        } else if (u == '+') {
            // At least once: the character stays, but the run cannot go on past it.
            endRun();
        } else if (u == '.' || u == '^' || u == '$' || u >= 0x80) {
            endRun();
        } else if (depth == 0) {
            if (isLineEnd(c))
                outline.withinLines = false;
            run.append(char(u));
        } else {
            if (isLineEnd(c))
                outline.withinLines = false;
            endRun();
        }
    }
    endRun();
    return outline;
}

}

SearchPattern::SearchPattern(const QString &text, Options options) : text_(text), options_(options)
{
    const Outline outline = options.regex ? outlineExpression(text) : outlinePlain(text);
    withinLines = outline.withinLines;
    // Letters in another case are other bytes; such a search reads every file.
    if (options.caseSensitive)
        required = outline.required;

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
