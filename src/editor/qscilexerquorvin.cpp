#include "qscilexerquorvin.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QStringView>
#include <QTextStream>

namespace {

const char *const keys[QsciLexerQuorvin::RuleCount] = {
    "block_comment_close", "block_comment_open", "line_comment", "string", "constant",
    "operator", "keyword", "extensions", "macro"};

// A pattern written to end at the end of a line also eats the line break, so the break
// takes the token's style and a following line starts fresh.
const QString lineEndPattern = QStringLiteral("(\\n\\r?)|(\\r\\n?)");

}

QsciLexerQuorvin::QsciLexerQuorvin(QObject *parent)
    : QsciLexerCustom(parent)
{
    resetRules();
}

const char *QsciLexerQuorvin::language() const
{
    return "QuorvinParsedFile";
}

QString QsciLexerQuorvin::description(int style) const
{
    switch (style) {
    case Default:
        return tr("Default");
    case BlockComment:
    case LineComment:
        return tr("Comment");
    case String:
        return tr("String");
    case Constant:
        return tr("Constant");
    case Operator:
        return tr("Operator");
    case Keyword:
        return tr("Keyword");
    case Extensions:
        return tr("Extensions");
    case Macro:
        return tr("Macro");
    default:
        return QString();
    }
}

QString QsciLexerQuorvin::ruleKey(int rule)
{
    return rule >= 0 && rule < RuleCount ? QString::fromLatin1(keys[rule]) : QString();
}

QString QsciLexerQuorvin::pattern(int rule) const
{
    return rule >= 0 && rule < RuleCount ? patterns[rule] : QString();
}

void QsciLexerQuorvin::resetRules()
{
    for (int rule = 0; rule < RuleCount; ++rule) {
        patterns[rule].clear();
        expressions[rule] = QRegularExpression();
    }
}

void QsciLexerQuorvin::loadSyntaxFile(const QString &path, Qt::CaseSensitivity caseSensitivity)
{
    resetRules();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;

    QRegularExpression::PatternOptions options = QRegularExpression::InvertedGreedinessOption;
    if (caseSensitivity == Qt::CaseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    QTextStream in(&file);
    std::array<bool, RuleCount> seen {};
    QString line;
    int lineNumber = 0;
    while (in.readLineInto(&line)) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        for (int rule = 0; rule < RuleCount; ++rule) {
            if (!line.startsWith(QLatin1String(keys[rule])))
                continue;
            // Without "=" the whole line is the pattern: indexOf gives -1, so mid(0).
            const QString text = line.mid(line.indexOf(QLatin1Char('=')) + 1);
            // Checked alone, so that one bad line costs only itself and is named.
            const QRegularExpression alone(text, options);
            if (!alone.isValid()) {
                qWarning().noquote() << QStringLiteral("%1:%2: the %3 pattern \"%4\" is not a valid regular expression "
                                                       "(%5 at offset %6); the line is ignored")
                                                .arg(path)
                                                .arg(lineNumber)
                                                .arg(ruleKey(rule), text, alone.errorString())
                                                .arg(alone.patternErrorOffset());
                break;
            }
            patterns[rule] = seen[rule] ? QLatin1Char('(') + patterns[rule] + QStringLiteral(")|(") + text
                            + QLatin1Char(')')
                                        : text;
            seen[rule] = true;
            break;
        }
    }

    for (int rule = 0; rule < RuleCount; ++rule) {
        QString &text = patterns[rule];
        if (text.isEmpty())
            continue;
        text = withLineEnds(text);
        expressions[rule] = QRegularExpression(text, options);
        expressions[rule].optimize();
    }
}

// A final "$" means "at the end of the line", and Scintilla's text holds the line break
// itself; an escaped "\$" is a dollar sign and stays one.
QString QsciLexerQuorvin::withLineEnds(const QString &text)
{
    if (!text.endsWith(QLatin1Char('$')))
        return text;
    qsizetype backslashes = 0;
    for (qsizetype index = text.size() - 2; index >= 0 && text.at(index) == QLatin1Char('\\'); --index)
        ++backslashes;
    if (backslashes % 2 != 0)
        return text;
    return text.left(text.size() - 1) + lineEndPattern;
}

int QsciLexerQuorvin::styleAt(int position) const
{
    return int(editor()->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, position));
}

int QsciLexerQuorvin::documentLength() const
{
    return int(editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
}

void QsciLexerQuorvin::setStyleOf(int position, int style)
{
    startStyling(position);
    setStyling(1, style);
}

QString QsciLexerQuorvin::fetchText(int start, int end) const
{
    // One character per document byte keeps every index a byte offset from start.
    QByteArray bytes(end - start + 1, '\0');
    editor()->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, long(start), long(end), bytes.data());
    bytes.chop(1);
    return QString::fromLatin1(bytes);
}

bool QsciLexerQuorvin::hasExpression(int rule) const
{
    return !patterns[rule].isEmpty() && expressions[rule].isValid();
}

// First non-empty match of a rule at or after `from`; "^" refers to `from`. An empty
// match is no token (it would stall the scan), so the search moves on past it.
int QsciLexerQuorvin::search(int rule, const QString &text, int from)
{
    if (!hasExpression(rule) || from >= text.size())
        return -1;
    const QStringView rest = QStringView(text).mid(from);
    for (qsizetype offset = 0; offset < rest.size(); ++offset) {
        // The text came from Latin-1 bytes, so it is valid UTF-16: skipping the check
        // keeps each search proportional to the distance scanned, not to the text left.
        const QRegularExpressionMatch match = expressions[rule].match(
                rest, offset, QRegularExpression::NormalMatch,
                QRegularExpression::DontCheckSubjectStringMatchOption);
        if (!match.hasMatch())
            return -1;
        if (match.capturedLength() > 0) {
            lengths[rule] = int(match.capturedLength());
            return from + int(match.capturedStart());
        }
        offset = match.capturedStart();
    }
    return -1;
}

void QsciLexerQuorvin::initialPositions(const QString &text, int position, bool inComment)
{
    bool matchedHere = false;
    for (int rule = BlockCommentOpenRule; rule < RuleCount; ++rule) {
        if (!hasExpression(rule)) {
            positions[rule] = -1;
        } else if (inComment) {
            // Searched for real once the comment closes, since 0 lies behind the scan.
            positions[rule] = 0;
        } else if (matchedHere) {
            // A lower rule already wins here; this one is searched once the scan moves on.
            positions[rule] = position;
        } else {
            positions[rule] = search(rule, text, position);
            matchedHere = positions[rule] == position;
        }
    }
}

int QsciLexerQuorvin::chooseRule(int position) const
{
    int chosen = BlockCommentOpenRule;
    for (int rule = BlockCommentOpenRule + 1; rule < RuleCount && positions[chosen] != position; ++rule) {
        if (positions[rule] != -1 && (positions[chosen] == -1 || positions[rule] < positions[chosen]))
            chosen = rule;
    }
    return chosen;
}

void QsciLexerQuorvin::updatePositions(const QString &text, int position)
{
    for (int rule = BlockCommentOpenRule; rule < RuleCount; ++rule) {
        if (positions[rule] == -1 || positions[rule] >= position)
            continue;
        positions[rule] = search(rule, text, position);
        if (positions[rule] == position)
            break;
    }
}

void QsciLexerQuorvin::styleText(int start, int end)
{
    if (!editor())
        return;
    const int length = documentLength();
    end = qMin(end, length);
    if (start < 0 || start >= end)
        return;

    const int startStyle = styleAt(start);
    bool inComment = startStyle == BlockComment;

    // Text before the range may have changed what the range means (an opened or closed
    // block comment), so restyle from the top.
    if (start > 0 && styleAt(start - 1) == Default && length > end) {
        styleText(0, length);
        return;
    }
    if (inComment) {
        if (start == 0) {
            setStyleOf(0, Default);
            styleText(0, length);
            return;
        }
        if (styleAt(start - 1) != BlockComment) {
            // Stale comment style with no comment before it: scan as code.
            setStyleOf(start, Default);
            styleText(start, length);
            return;
        }
    }

    const QString text = fetchText(start, end);
    const int size = int(text.size());
    QByteArray styles(size, char(Default));
    int p = 0;
    const auto skipSpace = [&](int style) {
        while (p < size && text.at(p).isSpace())
            styles[p++] = char(style);
    };

    skipSpace(inComment ? BlockComment : Default);
    initialPositions(text, p, inComment);

    while (p < size) {
        if (inComment) {
            const int close = search(BlockCommentCloseRule, text, p);
            const int commentEnd = close == -1 ? size : close + lengths[BlockCommentCloseRule];
            for (; p < commentEnd; ++p)
                styles[p] = char(BlockComment);
            if (close == -1)
                break;
            inComment = false;
        } else {
            const int rule = chooseRule(p);
            if (positions[rule] == -1)
                break; // nothing more matches: the rest stays Default
            const int tokenEnd = positions[rule] + lengths[rule];
            for (int i = positions[rule]; i < tokenEnd; ++i)
                styles[i] = char(rule);
            p = tokenEnd;
            inComment = rule == BlockCommentOpenRule;
        }
        skipSpace(inComment ? BlockComment : Default);
        updatePositions(text, p);
    }

    // A comment still open at the end of the range runs on to the end of the document.
    if (inComment && length > end) {
        styleText(start, length);
        return;
    }
    startStyling(start);
    editor()->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, uintptr_t(size), styles.constData());
}
