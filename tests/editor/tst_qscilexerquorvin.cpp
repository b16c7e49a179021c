#include "editor/qscilexerquorvin.h"
#include "testregistry.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A real editor with the lexer installed; styles are read back as one digit per byte.
class StyledDocument
{
public:
    StyledDocument()
    {
        editor.setUtf8(true);
        lexer = new QsciLexerQuorvin(&editor);
        editor.setLexer(lexer);
    }

    void load(const QByteArray &syntax)
    {
        const QString path = dir.filePath(QStringLiteral("TEST.SYN"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(syntax);
        file.close();
        lexer->loadSyntaxFile(path, Qt::CaseInsensitive);
    }

    void setText(const QString &text) { editor.setText(text); }

    // What the editor does when it paints the lines up to `end` after an edit at `from`.
    void restyle(int from, int end) { editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, from, end); }
    void restyleAll() { restyle(0, -1); }

    int lineStart(int line) const
    {
        return int(editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    }
    int length() const { return int(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH)); }

    void forceStyle(int from, int count, int style)
    {
        lexer->startStyling(from);
        lexer->setStyling(count, style);
    }

    QString styles() const
    {
        QString digits;
        for (int i = 0; i < length(); ++i)
            digits += QString::number(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, i));
        return digits;
    }

    QTemporaryDir dir;
    QsciScintilla editor;
    QsciLexerQuorvin *lexer;
};

const QByteArray commentRules = "block_comment_open=/\\*\nblock_comment_close=\\*/\n";

}

class TestQsciLexerQuorvin : public QObject
{
    Q_OBJECT

private slots:
    void syntaxFileParsing_data();
    void syntaxFileParsing();
    void reloadStartsFromNoRules();
    void descriptions();
    void styling_data();
    void styling();
    void commentOpenedByEditColoursRestOfDocument();
    void rangeRestarts();
    void staleStylesAreCleared();
    void emptyMatchesNeverStallTheScan();
};

void TestQsciLexerQuorvin::syntaxFileParsing_data()
{
    QTest::addColumn<QByteArray>("syntax");
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("repeated key nests alternatives")
            << QByteArray("keyword=first\nkeyword=second\nkeyword=third\n") << int(QsciLexerQuorvin::KeywordRule)
            << "((first)|(second))|(third)";
    QTest::newRow("trailing $ eats the line break")
            << QByteArray("line_comment=;.*$\n") << int(QsciLexerQuorvin::LineCommentRule)
            << ";.*(\\n\\r?)|(\\r\\n?)";
    QTest::newRow("$ elsewhere stays")
            << QByteArray("string=a$b\n") << int(QsciLexerQuorvin::StringRule) << "a$b";
    QTest::newRow("$ inside a repeated key stays")
            << QByteArray("macro=a\nmacro=b$\n") << int(QsciLexerQuorvin::MacroRule) << "(a)|(b$)";
    QTest::newRow("comments, blanks and text after the key")
            << QByteArray("# keyword=no\n   \n\t keywords=mov  \n") << int(QsciLexerQuorvin::KeywordRule) << "mov";
    QTest::newRow("only the first = separates")
            << QByteArray("operator x=y=z\n") << int(QsciLexerQuorvin::OperatorRule) << "y=z";
    QTest::newRow("no = takes the whole line")
            << QByteArray("constant [0-9]+\n") << int(QsciLexerQuorvin::ConstantRule) << "constant [0-9]+";
    QTest::newRow("keys are case-sensitive")
            << QByteArray("Keyword=mov\n") << int(QsciLexerQuorvin::KeywordRule) << "";
    QTest::newRow("close and open keys are told apart")
            << QByteArray("block_comment_open=a\nblock_comment_close=b\n")
            << int(QsciLexerQuorvin::BlockCommentCloseRule) << "b";
}

void TestQsciLexerQuorvin::syntaxFileParsing()
{
    QFETCH(QByteArray, syntax);
    QFETCH(int, rule);
    QFETCH(QString, pattern);

    StyledDocument doc;
    doc.load(syntax);
    QCOMPARE(doc.lexer->pattern(rule), pattern);
}

void TestQsciLexerQuorvin::reloadStartsFromNoRules()
{
    StyledDocument doc;
    doc.load("keyword=mov\n");
    doc.lexer->loadSyntaxFile(doc.dir.filePath(QStringLiteral("MISSING.SYN")), Qt::CaseInsensitive);
    for (int rule = 0; rule < QsciLexerQuorvin::RuleCount; ++rule)
        QVERIFY(doc.lexer->pattern(rule).isEmpty());

    doc.load("keyword=mov\n");
    doc.setText(QStringLiteral("mov"));
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("666"));
    doc.lexer->loadSyntaxFile(QString(), Qt::CaseInsensitive);
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("000"));
}

void TestQsciLexerQuorvin::descriptions()
{
    QsciLexerQuorvin lexer;
    QCOMPARE(QByteArray(lexer.language()), QByteArray("QuorvinParsedFile"));
    const QStringList expected = {"Default", "Comment", "Comment", "String", "Constant",
                                  "Operator", "Keyword", "Extensions", "Macro", ""};
    for (int style = 0; style < expected.size(); ++style)
        QCOMPARE(lexer.description(style), expected.at(style));
}

void TestQsciLexerQuorvin::styling_data()
{
    QTest::addColumn<QByteArray>("syntax");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("styles");

    QTest::newRow("block comment with inner spaces") << commentRules << "a /* b */ c" << "00111111100";
    QTest::newRow("line comment takes its line break")
            << QByteArray("line_comment=;.*$\nkeyword=nop\n") << "nop ; x\nnop" << "66602222666";
    QTest::newRow("operator beats keyword at the same place")
            << QByteArray("keyword=add\noperator=a\n") << "add" << "500";
    QTest::newRow("tie goes to the lower rule whatever the file order")
            << QByteArray("keyword=add\noperator=add\n") << "add add" << "5550555";
    QTest::newRow("case-insensitive") << QByteArray("keyword=mov\n") << "MOV Mov" << "6660666";
    QTest::newRow("minimal matching") << QByteArray("string=\".*\"\n") << "\"a\" \"b\"" << "3330333";
    QTest::newRow("caret anchors where the search starts")
            << QByteArray("keyword=^x\n") << "x x yx" << "606000";
    QTest::newRow("every kind of token")
            << commentRules + "line_comment=;.*$\nstring=\".*\"\nconstant=\\b[0-9]+\\b\noperator=[,+=]\n"
                              "keyword=\\bldi\\b\nextensions=\\br[0-9]+\\b\nmacro=\\.equ\\b\n"
            << ".equ X = 5 ; c\nldi r16, \"s\"+1 /* z */"
            << "8888000504022226660777503335401111111";
    QTest::newRow("block comment across lines then code")
            << commentRules + "keyword=nop\n" << "nop /*\nnop\n*/ nop" << "66601111111110666";
}

void TestQsciLexerQuorvin::styling()
{
    QFETCH(QByteArray, syntax);
    QFETCH(QString, text);
    QFETCH(QString, styles);

    StyledDocument doc;
    doc.load(syntax);
    doc.setText(text);
    doc.restyleAll();
    QCOMPARE(doc.styles(), styles);
}

// Editing as the user does: the editor asks to restyle only the edited line.
void TestQsciLexerQuorvin::commentOpenedByEditColoursRestOfDocument()
{
    StyledDocument doc;
    doc.load(commentRules + "line_comment=;.*$\nkeyword=nop\n");
    doc.setText(QStringLiteral("; top\nnop\nnop\nnop"));
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("222222" "6660" "6660" "666"));

    const int line1 = doc.lineStart(1);
    doc.editor.insertAt(QStringLiteral("/*"), 1, 0);
    doc.restyle(line1, doc.lineStart(2));
    QCOMPARE(doc.styles(), QStringLiteral("222222" "111111" "1111" "111"));

    // Removing the opener leaves stale comment styles behind it; the scan restarts as code.
    doc.editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, line1, 2);
    doc.restyle(line1, doc.lineStart(2));
    QCOMPARE(doc.styles(), QStringLiteral("222222" "6660" "6660" "666"));
}

void TestQsciLexerQuorvin::rangeRestarts()
{
    StyledDocument doc;
    doc.load(commentRules + "keyword=nop\n");

    // A range that starts inside a real comment continues it up to the closing match.
    doc.setText(QStringLiteral("/* a\nb\nc */ nop"));
    doc.restyleAll();
    const QString full = QStringLiteral("111111111110666");
    QCOMPARE(doc.styles(), full);
    doc.forceStyle(doc.lineStart(1), doc.length() - doc.lineStart(1), QsciLexerQuorvin::BlockComment);
    doc.lexer->styleText(doc.lineStart(1), doc.length());
    QCOMPARE(doc.styles(), full);

    // After plain code, earlier text may have changed meaning: the whole document is redone.
    doc.setText(QStringLiteral("nop\nnop\nnop\n"));
    doc.forceStyle(0, doc.length(), QsciLexerQuorvin::Macro);
    doc.forceStyle(3, 1, QsciLexerQuorvin::Default);
    doc.lexer->styleText(4, 8);
    QCOMPARE(doc.styles(), QStringLiteral("666066606660"));

    // A comment style at the very start with nothing before it is stale.
    doc.setText(QStringLiteral("x */nop"));
    doc.forceStyle(0, doc.length(), QsciLexerQuorvin::BlockComment);
    doc.lexer->styleText(0, 4);
    QCOMPARE(doc.styles(), QStringLiteral("0000666"));
}

void TestQsciLexerQuorvin::staleStylesAreCleared()
{
    StyledDocument doc;
    doc.load("line_comment=;.*$\nkeyword=nop\n");
    doc.setText(QStringLiteral("nop"));
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("666"));

    // Deleting a character keeps the styles of the rest; no token remains, so all is Default.
    doc.editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 2, 1);
    doc.restyle(0, -1);
    QCOMPARE(doc.styles(), QStringLiteral("00"));

    // Leading blanks of a range get Default, not whatever style they had before.
    doc.setText(QStringLiteral("; a\n  nop\n"));
    doc.restyleAll();
    doc.forceStyle(4, 6, QsciLexerQuorvin::String);
    doc.lexer->styleText(4, doc.length());
    QCOMPARE(doc.styles(), QStringLiteral("2222" "006660"));
}

void TestQsciLexerQuorvin::emptyMatchesNeverStallTheScan()
{
    StyledDocument doc;
    // Minimal matching makes every one of these prefer the empty match; only the
    // alternatives written first can match real text.
    doc.load("block_comment_open=(/\\*)?\nblock_comment_close=(\\*/)?\nkeyword=x*\n"
             "operator=(,|)\nconstant=\\b\nmacro=(\\.equ|)\n");
    doc.setText(QStringLiteral("mov x, y\n.equ xx,1 /* */"));
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("000005000" "888800050000000"));
}

ZMX_TEST(TestQsciLexerQuorvin)

#include "tst_qscilexerquorvin.moc"
