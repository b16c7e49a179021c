#ifndef SEARCHPATTERN_H
#define SEARCHPATTERN_H

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

// A search text with its options, compiled once and used on any text: an open document's,
// or a file's that no editor shows. Plain texts and regular expressions run through the
// same engine, so a search finds the same matches wherever the text lives.
class SearchPattern
{
public:
    struct Options
    {
        bool regex = false;
        bool caseSensitive = false;
        bool wholeWords = false;
    };

    // A match as offsets into the searched text; start -1 means none.
    struct Match
    {
        qsizetype start = -1;
        qsizetype length = 0;

        bool isValid() const { return start >= 0; }
        qsizetype end() const { return start + length; }
        bool operator==(const Match &other) const { return start == other.start && length == other.length; }
    };

    SearchPattern() = default;
    SearchPattern(const QString &text, Options options);

    bool isValid() const { return expression.isValid() && !text_.isEmpty(); }
    // Names what is wrong with the pattern and where; empty for a valid one.
    QString errorString() const;
    const QString &text() const { return text_; }
    const Options &options() const { return options_; }

    // The first match starting at or after from. An empty match exactly at emptyNotAt is
    // passed over, so a search continued where an empty match was found moves on.
    Match findForward(QStringView text, qsizetype from, qsizetype emptyNotAt = -1) const;
    // The match with the greatest start before before (overlapping ones included).
    Match findBackward(QStringView text, qsizetype before) const;
    bool containsMatch(QStringView text) const;
    qsizetype count(QStringView text) const;
    struct Replacement
    {
        Match match;
        QString text;
    };
    // Every match, left to right, never overlapping (an empty one right after a match
    // counts, a second one at the same place does not), with what replaceText makes of it.
    QList<Replacement> replacementsIn(QStringView text, const QString &replaceText) const;

    // What a match is replaced with: the replace text as it is, or for a regular expression
    // with \0 to \9 standing for the captured groups, \n and \t for line feed and tab and
    // \\ for one backslash.
    QString replacement(QStringView text, const Match &match, const QString &replaceText) const;
    // The text with every match replaced; count receives the number of replacements.
    QString replaceAll(QStringView text, const QString &replaceText, qsizetype *count) const;

    // A piece of ASCII text that every match holds, as bytes; empty when the pattern names
    // none or letter case does not matter. Those bytes are the same in every encoding a
    // source file is read in, so a file without them is ruled out before it is decoded.
    const QByteArray &requiredBytes() const { return required; }
    // Whether no match can reach over a line end, so that a line can be searched alone.
    bool staysWithinLines() const { return withinLines; }

private:
    QRegularExpressionMatch matchAt(QStringView text, qsizetype from) const;
    static QString expand(const QRegularExpressionMatch &match, const QString &replaceText);

    QString text_;
    Options options_;
    QRegularExpression expression;
    qsizetype prefixLength = 0;
    QByteArray required;
    bool withinLines = false;
};

#endif
