#include "editor/editorappearance.h"

#include "core/displaysettings.h"
#include "editor/qscilexerquorvin.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>
#include <QSettings>

namespace {

// The behaviour settings live beside the text editor's display items.
const char *const behaviourGroup = "Text Editor Display Settings";

}

EditorAppearance::EditorAppearance(QSettings *store) : store(store) {}

bool EditorAppearance::isCSuffix(const QString &suffix)
{
    const QString lower = suffix.toLower();
    return lower == QLatin1String("c") || lower == QLatin1String("h") || lower == QLatin1String("cpp")
           || lower == QLatin1String("hpp");
}

QTextCharFormat EditorAppearance::format(const char *item) const
{
    return DisplaySettings::formatForItem(store, DisplaySettings::textEditor, QLatin1String(item));
}

void EditorAppearance::applyTextItem(QsciScintilla *editor) const
{
    const QTextCharFormat text = format("Text");
    editor->setFont(text.font());
    editor->setColor(text.foreground().color());
    editor->setPaper(text.background().color());
}

void EditorAppearance::applyDisplayItems(QsciScintilla *editor) const
{
    applyTextItem(editor);

    const QTextCharFormat caret = format("Caret");
    editor->setCaretForegroundColor(caret.foreground().color());
    editor->setCaretLineBackgroundColor(caret.background().color());

    const QTextCharFormat guides = format("Indentation Guides");
    editor->setIndentationGuidesForegroundColor(guides.foreground().color());
    editor->setIndentationGuidesBackgroundColor(guides.background().color());

    const QTextCharFormat margins = format("Margins");
    editor->setMarginsFont(margins.font());
    editor->setMarginsForegroundColor(margins.foreground().color());
    editor->setMarginsBackgroundColor(margins.background().color());

    const QString selectionItem = QStringLiteral("Selection");
    const QTextCharFormat selection = format("Selection");
    if (DisplaySettings::usesDefaultColour(store, DisplaySettings::textEditor, selectionItem, DisplaySettings::Foreground))
        editor->resetSelectionForegroundColor();
    else
        editor->setSelectionForegroundColor(selection.foreground().color());
    if (DisplaySettings::usesDefaultColour(store, DisplaySettings::textEditor, selectionItem, DisplaySettings::Background))
        editor->resetSelectionBackgroundColor();
    else
        editor->setSelectionBackgroundColor(selection.background().color());

    const QTextCharFormat callTips = format("Call Tips");
    editor->setCallTipsForegroundColor(callTips.foreground().color());
    editor->setCallTipsBackgroundColor(callTips.background().color());
    editor->setCallTipsHighlightColor(format("Call Tips Highlight").foreground().color());

    const QTextCharFormat matched = format("Matched Brace");
    editor->setMatchedBraceForegroundColor(matched.foreground().color());
    editor->setMatchedBraceBackgroundColor(matched.background().color());
    const QTextCharFormat unmatched = format("Unmatched Brace");
    editor->setUnmatchedBraceForegroundColor(unmatched.foreground().color());
    editor->setUnmatchedBraceBackgroundColor(unmatched.background().color());
}

void EditorAppearance::styleLexer(QsciLexer *lexer, const char *item, std::initializer_list<int> styles) const
{
    const QTextCharFormat itemFormat = format(item);
    for (int style : styles) {
        lexer->setFont(itemFormat.font(), style);
        lexer->setColor(itemFormat.foreground().color(), style);
        lexer->setPaper(itemFormat.background().color(), style);
    }
}

void EditorAppearance::replaceLexer(QsciScintilla *editor, QsciLexer *replacement)
{
    QsciLexer *previous = editor->lexer();
    editor->setLexer(nullptr);
    delete previous;
    if (replacement)
        editor->setLexer(replacement);
}

void EditorAppearance::useCppLexer(QsciScintilla *editor) const
{
    auto *lexer = qobject_cast<QsciLexerCPP *>(editor->lexer());
    if (!lexer) {
        lexer = new QsciLexerCPP(editor, false);
        replaceLexer(editor, lexer);
    }
    styleLexer(lexer, "Text",
               {QsciLexerCPP::Default, QsciLexerCPP::Identifier, QsciLexerCPP::UUID, QsciLexerCPP::Regex,
                QsciLexerCPP::GlobalClass});
    styleLexer(lexer, "Comments",
               {QsciLexerCPP::Comment, QsciLexerCPP::CommentLine, QsciLexerCPP::CommentDoc,
                QsciLexerCPP::CommentLineDoc, QsciLexerCPP::CommentDocKeyword, QsciLexerCPP::CommentDocKeywordError});
    styleLexer(lexer, "Strings",
               {QsciLexerCPP::DoubleQuotedString, QsciLexerCPP::SingleQuotedString, QsciLexerCPP::UnclosedString,
                QsciLexerCPP::VerbatimString});
    styleLexer(lexer, "Constants", {QsciLexerCPP::Number});
    styleLexer(lexer, "Operators", {QsciLexerCPP::Operator});
    styleLexer(lexer, "Keywords", {QsciLexerCPP::Keyword, QsciLexerCPP::KeywordSet2});
    styleLexer(lexer, "Macros", {QsciLexerCPP::PreProcessor});
}

QStringList EditorAppearance::useSyntaxLexer(QsciScintilla *editor, const QString &syntaxFile) const
{
    auto *lexer = qobject_cast<QsciLexerQuorvin *>(editor->lexer());
    if (!lexer) {
        replaceLexer(editor, nullptr);
        lexer = new QsciLexerQuorvin(editor);
    }
    styleLexer(lexer, "Text", {QsciLexerQuorvin::Default});
    styleLexer(lexer, "Comments", {QsciLexerQuorvin::LineComment, QsciLexerQuorvin::BlockComment});
    styleLexer(lexer, "Strings", {QsciLexerQuorvin::String});
    styleLexer(lexer, "Constants", {QsciLexerQuorvin::Constant});
    styleLexer(lexer, "Operators", {QsciLexerQuorvin::Operator});
    styleLexer(lexer, "Keywords", {QsciLexerQuorvin::Keyword});
    styleLexer(lexer, "Extensions", {QsciLexerQuorvin::Extensions});
    styleLexer(lexer, "Macros", {QsciLexerQuorvin::Macro});
    const QStringList problems = lexer->loadSyntaxFile(syntaxFile, Qt::CaseInsensitive);
    editor->setLexer(lexer);
    return problems;
}

void EditorAppearance::applyBehaviour(QsciScintilla *editor) const
{
    const auto value = [this](const char *key, const QVariant &fallback) {
        if (!store)
            return fallback;
        store->beginGroup(QLatin1String(behaviourGroup));
        const QVariant stored = store->value(QLatin1String(key), fallback);
        store->endGroup();
        return stored;
    };

    editor->setCaretLineVisible(value("Highlight current line", true).toBool());

    const bool lineNumbers = value("Display line numbers", true).toBool();
    editor->setMarginWidth(1, lineNumbers ? 50 : 0);
    editor->setMarginLineNumbers(1, lineNumbers);

    switch (value("Brace matching", 1).toInt()) {
    case 0:
        editor->setBraceMatching(QsciScintilla::NoBraceMatch);
        break;
    case 2:
        editor->setBraceMatching(QsciScintilla::SloppyBraceMatch);
        break;
    default:
        editor->setBraceMatching(QsciScintilla::StrictBraceMatch);
        break;
    }

    editor->setIndentationWidth(value("Indent width", 4).toInt());
    editor->setTabIndents(value("Tab indents", true).toBool());
    editor->setTabWidth(value("Tab width", 4).toInt());
    editor->setIndentationsUseTabs(value("Tabs for indents", true).toBool());
    editor->setAutoIndent(value("Auto indent", true).toBool());
    editor->setBackspaceUnindents(value("Backspace unindents", false).toBool());
    editor->setIndentationGuides(value("Display indentation guides", false).toBool());

    switch (value("Whitespaces visibility", 0).toInt()) {
    case 1:
        editor->setWhitespaceVisibility(QsciScintilla::WsVisible);
        break;
    case 2:
        editor->setWhitespaceVisibility(QsciScintilla::WsVisibleAfterIndent);
        break;
    default:
        editor->setWhitespaceVisibility(QsciScintilla::WsInvisible);
        break;
    }

    switch (value("Wrap mode", 0).toInt()) {
    case 1:
        editor->setWrapMode(QsciScintilla::WrapWord);
        break;
    case 2:
        editor->setWrapMode(QsciScintilla::WrapCharacter);
        break;
    default:
        editor->setWrapMode(QsciScintilla::WrapNone);
        break;
    }

    static const QsciScintilla::FoldStyle foldStyles[] = {
        QsciScintilla::NoFoldStyle, QsciScintilla::PlainFoldStyle, QsciScintilla::CircledFoldStyle,
        QsciScintilla::BoxedFoldStyle, QsciScintilla::CircledTreeFoldStyle, QsciScintilla::BoxedTreeFoldStyle};
    const int folding = value("Folding style", 3).toInt();
    editor->setFolding(folding >= 0 && folding <= 5 ? foldStyles[folding] : QsciScintilla::BoxedFoldStyle, 2);

    editor->setEolMode(QsciScintilla::EolUnix);
    editor->setEolVisibility(false);
}
