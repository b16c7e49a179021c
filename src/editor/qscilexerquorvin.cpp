#include "qscilexerquorvin.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QDir>
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
    invalidateLines();
    for (int rule = 0; rule < RuleCount; ++rule) {
        patterns[rule].clear();
        expressions[rule] = QRegularExpression();
    }
}

QStringList QsciLexerQuorvin::loadSyntaxFile(const QString &path, Qt::CaseSensitivity caseSensitivity)
{
    resetRules();
    QStringList problems;
    if (path.isEmpty())
        return problems;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return problems;

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
                problems.append(tr("%1:%2: the %3 pattern \"%4\" is not a valid regular expression "
                                   "(%5 at offset %6); the line is ignored")
                                    .arg(QDir::toNativeSeparators(path))
                                    .arg(lineNumber)
                                    .arg(ruleKey(rule), text, alone.errorString())
                                    .arg(alone.patternErrorOffset()));
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
    return problems;
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

long QsciLexerQuorvin::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return editor()->SendScintilla(message, wParam, lParam);
}

int QsciLexerQuorvin::lineFlags(int line) const
{
    const int state = int(send(QsciScintillaBase::SCI_GETLINESTATE, line));
    return state >> FlagBits == generation ? state & ((1 << FlagBits) - 1) : 0;
}

void QsciLexerQuorvin::setLineFlags(int line, int flags)
{
    send(QsciScintillaBase::SCI_SETLINESTATE, line, long(generation) << FlagBits | flags);
}

QString QsciLexerQuorvin::lineText(int start, int end) const
{
    // One character per document byte keeps every index a byte offset from the line start.
    const auto *bytes = reinterpret_cast<const char *>(
            send(QsciScintillaBase::SCI_GETRANGEPOINTER, start, end - start));
    return QString::fromLatin1(bytes, end - start);
}

void QsciLexerQuorvin::invalidateLines()
{
    // One counter for all lexers keeps a generation from ever being reused; the offset keeps
    // it clear of the small values other lexers leave in the line states.
    static int nextGeneration = 1 << 16;
    generation = nextGeneration++;
}

void QsciLexerQuorvin::setEditor(QsciScintilla *newEditor)
{
    if (editor())
        disconnect(editor(), &QsciScintillaBase::SCN_MODIFIED, this, &QsciLexerQuorvin::documentModified);
    QsciLexerCustom::setEditor(newEditor);
    invalidateLines();
    if (newEditor)
        connect(newEditor, &QsciScintillaBase::SCN_MODIFIED, this, &QsciLexerQuorvin::documentModified);
}

void QsciLexerQuorvin::documentModified(int position, int modificationType, const char *, int length, int linesAdded,
                                        int, int, int, int, int)
{
    if (!editor() || !(modificationType & (QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT)))
        return;
    // The edited lines keep their entry states (nothing before them changed) but need new
    // styles: the line the edit starts in and, for an insertion, every line its text reaches
    // (with line ends that pair up differently, such as CR then LF, that may be a line the
    // edit did not add). Lines the edit added start with copied states that mean nothing.
    const int line = int(send(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
    const int last = modificationType & QsciScintillaBase::SC_MOD_INSERTTEXT
                         ? int(send(QsciScintillaBase::SCI_LINEFROMPOSITION, position + length))
                         : line;
    for (int edited = line; edited <= last; ++edited) {
        const int flags = lineFlags(edited);
        if (flags & Styled)
            setLineFlags(edited, flags & ~Styled);
    }
    // An edit that starts right after a CR can take the LF from the line before (text put
    // between the two, or the LF deleted), whose tokens may then end differently (a "$" rule
    // takes the line break): that line is styled again, and the editor is told to start there.
    if (line > 0 &&
        position == int(send(QsciScintillaBase::SCI_POSITIONFROMLINE, line)) &&
        send(QsciScintillaBase::SCI_GETCHARAT, position - 1) == '\r') {
        const int before = lineFlags(line - 1);
        if (before & Styled)
            setLineFlags(line - 1, before & ~Styled);
        const int beforeStart = int(send(QsciScintillaBase::SCI_POSITIONFROMLINE, line - 1));
        if (send(QsciScintillaBase::SCI_GETENDSTYLED) > beforeStart)
            send(QsciScintillaBase::SCI_STARTSTYLING, beforeStart);
    }
    for (int added = line + 1; added <= line + linesAdded; ++added) {
        if (send(QsciScintillaBase::SCI_GETLINESTATE, added) != 0)
            send(QsciScintillaBase::SCI_SETLINESTATE, added, 0);
    }
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

// Styles one line (its text includes its line break) and says whether a block comment
// is still open at its end.
bool QsciLexerQuorvin::styleLine(const QString &text, bool inComment, QByteArray &styles)
{
    const int size = int(text.size());
    const int base = int(styles.size());
    styles.resize(base + size, char(Default));
    char *style = styles.data() + base;
    int p = 0;
    const auto skipSpace = [&](int kind) {
        while (p < size && text.at(p).isSpace())
            style[p++] = char(kind);
    };

    skipSpace(inComment ? BlockComment : Default);
    initialPositions(text, p, inComment);

    while (p < size) {
        if (inComment) {
            const int close = search(BlockCommentCloseRule, text, p);
            const int commentEnd = close == -1 ? size : close + lengths[BlockCommentCloseRule];
            for (; p < commentEnd; ++p)
                style[p] = char(BlockComment);
            if (close == -1)
                break;
            inComment = false;
        } else {
            const int rule = chooseRule(p);
            if (positions[rule] == -1)
                break; // nothing more matches: the rest stays Default
            const int tokenEnd = positions[rule] + lengths[rule];
            for (int i = positions[rule]; i < tokenEnd; ++i)
                style[i] = char(rule);
            p = tokenEnd;
            inComment = rule == BlockCommentOpenRule;
        }
        skipSpace(inComment ? BlockComment : Default);
        updatePositions(text, p);
    }
    return inComment;
}

void QsciLexerQuorvin::styleText(int start, int end)
{
    if (!editor())
        return;
    end = qMin(end, int(send(QsciScintillaBase::SCI_GETLENGTH)));
    if (start < 0 || start >= end)
        return;

    const int lineCount = int(send(QsciScintillaBase::SCI_GETLINECOUNT));
    const int lastLine = int(send(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1));
    int line = int(send(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    // Start where the state is known: the editor styles in order, so this is nearly
    // always the requested line; after new rules it may be the top of the document.
    while (line > 0 && !(lineFlags(line) & EntryKnown))
        --line;
    const int firstLine = line;
    bool inComment = line > 0 && (lineFlags(line) & EntersInComment);
    int flags = lineFlags(line);

    QByteArray styles;
    int runStart = -1;
    const auto flush = [&] {
        if (runStart < 0)
            return;
        startStyling(runStart);
        send(QsciScintillaBase::SCI_SETSTYLINGEX, styles.size(), reinterpret_cast<long>(styles.constData()));
        styles.clear();
        runStart = -1;
    };

    int lineStart = int(send(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    for (; line <= lastLine; ++line) {
        const int next = line + 1;
        const int lineEnd = next < lineCount ? int(send(QsciScintillaBase::SCI_POSITIONFROMLINE, next))
                                             : int(send(QsciScintillaBase::SCI_GETLENGTH));
        const int nextFlags = next < lineCount ? lineFlags(next) : 0;
        if (line != firstLine && (flags & Styled)) {
            // Unchanged since it was styled from the same entry state: so is its end state.
            flush();
            inComment = nextFlags & EntersInComment;
            flags = nextFlags;
        } else {
            if (runStart < 0)
                runStart = lineStart;
            const int entry = (inComment ? EntersInComment : 0) | EntryKnown;
            if (flags != (entry | Styled))
                setLineFlags(line, entry | Styled);
            inComment = styleLine(lineText(lineStart, lineEnd), inComment, styles);
            if (next < lineCount) {
                const int nextEntry = (inComment ? EntersInComment : 0) | EntryKnown;
                const int keep = (nextFlags & (EntersInComment | EntryKnown)) == nextEntry ? nextFlags : nextEntry;
                if (keep != nextFlags)
                    setLineFlags(next, keep);
                flags = keep;
            }
        }
        lineStart = lineEnd;
    }
    flush();
    // Lines skipped at the end count as styled too.
    startStyling(lineStart);
}
