#ifndef QSCILEXERQUORVIN_H
#define QSCILEXERQUORVIN_H

#include <Qsci/qscilexercustom.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <array>

// Colours a non-C source file from a syntax file: one regular expression per kind of
// token (comments, strings, constants, operators, keywords, extensions, macros).
//
// Use: construct it (the parent only owns it), set the fonts and colours of the styles
// below, call loadSyntaxFile() with the path found through the family map file (an empty
// or unreadable path leaves the lexer without rules, so everything shows in style
// Default), then install it with QsciScintilla::setLexer(). loadSyntaxFile() may be
// called again at any time; each call starts from no rules.
//
// Syntax file: one "key=pattern" per line, keys as in ruleKey(); "#" starts a comment
// line; a repeated key adds an alternative; a pattern ending in "$" also consumes the
// line break. Patterns match minimally (non-greedy); "^" anchors at the point where a
// search starts.
//
// Styling works line by line: a token other than a block comment never runs past the
// line break that ends its line, so the only state carried from one line to the next is
// whether a block comment is open. That state is kept per line in the editor's line
// state, which lets a keystroke restyle the edited line and stop at the first line whose
// state and styles are unchanged, instead of starting again from the top.
class QsciLexerQuorvin : public QsciLexerCustom
{
    Q_OBJECT

public:
    // Style numbers; rule n of the syntax file styles its matches with style n, except
    // that the closing rule (0) ends a block comment whose whole text is BlockComment.
    enum Style {
        Default = 0,
        BlockComment = 1,
        LineComment = 2,
        String = 3,
        Constant = 4,
        Operator = 5,
        Keyword = 6,
        Extensions = 7,
        Macro = 8
    };

    // Rule numbers double as priorities: at the same position the lower number wins.
    enum Rule {
        BlockCommentCloseRule = 0,
        BlockCommentOpenRule,
        LineCommentRule,
        StringRule,
        ConstantRule,
        OperatorRule,
        KeywordRule,
        ExtensionsRule,
        MacroRule,
        RuleCount
    };

    explicit QsciLexerQuorvin(QObject *parent = nullptr);

    const char *language() const override;
    QString description(int style) const override;
    void styleText(int start, int end) override;
    void setEditor(QsciScintilla *editor) override;

    void resetRules();
    // The rules of the syntax file at path; a line whose pattern is no valid regular
    // expression is left out and named in the returned problems (file and line in each).
    QStringList loadSyntaxFile(const QString &path, Qt::CaseSensitivity caseSensitivity);

    static QString ruleKey(int rule);
    // The accumulated pattern of a rule as read from the syntax file, after the "$" rewrite.
    QString pattern(int rule) const;

private slots:
    void documentModified(int position, int modificationType, const char *text, int length, int linesAdded,
                          int line, int foldLevelNow, int foldLevelPrevious, int token, int annotationLinesAdded);

private:
    static QString withLineEnds(const QString &text);
    // Bits of a line's state; the rest of the value is the generation that wrote it.
    enum LineFlag {
        EntersInComment = 1, // a block comment is open where the line starts
        EntryKnown = 2, // the bit above was worked out from the lines before
        Styled = 4, // the line's styles follow from its entry state and its current text
        FlagBits = 3
    };

    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    int lineFlags(int line) const;
    void setLineFlags(int line, int flags);
    QString lineText(int start, int end) const;
    bool styleLine(const QString &text, bool inComment, QByteArray &styles);
    void invalidateLines();

    bool hasExpression(int rule) const;
    int search(int rule, const QString &text, int from);
    void initialPositions(const QString &text, int position, bool inComment);
    int chooseRule(int position) const;
    void updatePositions(const QString &text, int position);

    std::array<QString, RuleCount> patterns;
    std::array<QRegularExpression, RuleCount> expressions;
    // Cached next-match position (-1: no further match) and length of that match, per
    // rule, as offsets into the text being styled; rule 0 is searched on demand only.
    std::array<int, RuleCount> positions {};
    std::array<int, RuleCount> lengths {};
    // Line states written under other rules, another editor or another lexer never match.
    int generation = 0;
};

#endif
