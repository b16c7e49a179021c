#ifndef EDITORAPPEARANCE_H
#define EDITORAPPEARANCE_H

#include <QString>
#include <QStringList>
#include <QTextCharFormat>

#include <initializer_list>

class QSettings;
class QsciLexer;
class QsciScintilla;

// Puts the user's "Text Editor" fonts, colours and behaviour settings on an editor and
// installs the lexer that colours its language. A null store gives the defaults.
class EditorAppearance
{
public:
    explicit EditorAppearance(QSettings *store);

    static bool isCSuffix(const QString &suffix);

    void applyTextItem(QsciScintilla *editor) const;
    void applyDisplayItems(QsciScintilla *editor) const;
    void useCppLexer(QsciScintilla *editor) const;
    // An empty or unreadable syntax file leaves the lexer without rules. Returns the lines of
    // the syntax file that could not be used, each named with the file and line.
    QStringList useSyntaxLexer(QsciScintilla *editor, const QString &syntaxFile) const;
    void applyBehaviour(QsciScintilla *editor) const;

private:
    QTextCharFormat format(const char *item) const;
    void styleLexer(QsciLexer *lexer, const char *item, std::initializer_list<int> styles) const;
    static void replaceLexer(QsciScintilla *editor, QsciLexer *replacement);

    QSettings *store;
};

#endif
