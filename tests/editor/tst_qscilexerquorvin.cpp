#include "editor/qscilexerquorvin.h"
#include "testregistry.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
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
        problems = lexer->loadSyntaxFile(path, Qt::CaseInsensitive);
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
    // What the last load() could not use.
    QStringList problems;
};

const QByteArray commentRules = "block_comment_open=/\\*\nblock_comment_close=\\*/\n";

const QByteArray mixedRules = commentRules + "line_comment=;.*$\nstring=\"[^\"\\n]*\"\nconstant=\\b[0-9]+\\b\n"
                                             "operator=[,*/]\nkeyword=^nop\\b\nextensions=\\br[0-9]\\b\n";

// Pieces that open, close and quote things, so random edits keep crossing comment and
// token boundaries.
const QStringList fragments = {"/*", "*/", "/", "*", ";", "\"", "nop", " r1", ",", "12", " ", "\n", "\r\n", "x"};

QString randomText(QRandomGenerator &random, int pieces)
{
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += fragments.at(random.bounded(int(fragments.size())));
    return text;
}

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
    void incrementalStylingMatchesFullPass();
    void keystrokeRestylesUntilStateRepeats();
    void staleStylesAreCleared();
    void emptyMatchesNeverStallTheScan();
    void invalidPatternIsReportedAndIgnored();
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
    QTest::newRow("escaped $ is a dollar sign")
            << QByteArray("string=\\$\n") << int(QsciLexerQuorvin::StringRule) << "\\$";
    QTest::newRow("$ after an escaped backslash ends the line")
            << QByteArray("string=a\\\\$\n") << int(QsciLexerQuorvin::StringRule) << "a\\\\(\\n\\r?)|(\\r\\n?)";
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
    QCOMPARE(doc.styles().left(12), QStringLiteral("222222" "111111"));
    // Painting the lines below goes on from the state the edited line left.
    doc.restyle(doc.lineStart(2), -1);
    QCOMPARE(doc.styles(), QStringLiteral("222222" "111111" "1111" "111"));

    // Removing the opener turns the lines below back into code.
    doc.editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, line1, 2);
    doc.restyle(line1, -1);
    QCOMPARE(doc.styles(), QStringLiteral("222222" "6660" "6660" "666"));
}

void TestQsciLexerQuorvin::rangeRestarts()
{
    StyledDocument doc;
    doc.load(commentRules + "keyword=nop\n");

    // A range that starts inside a comment continues it up to the closing match, and its
    // first line is styled again whatever it shows.
    doc.setText(QStringLiteral("/* a\nb\nc */ nop"));
    doc.restyleAll();
    const QString full = QStringLiteral("111111111110666");
    QCOMPARE(doc.styles(), full);
    doc.forceStyle(doc.lineStart(1), 2, QsciLexerQuorvin::Macro);
    doc.lexer->styleText(doc.lineStart(1), doc.lineStart(2));
    QCOMPARE(doc.styles(), full);

    // New rules make every stored line state unknown: a range further down goes back to
    // the top, where the state is known, and styles everything under the new rules.
    doc.setText(QStringLiteral("nop\n/*\nnop\n*/ nop"));
    doc.load("keyword=nop\n");
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("6660" "000" "6660" "000666"));
    doc.load(commentRules + "keyword=nop\n");
    doc.lexer->styleText(doc.lineStart(2), doc.length());
    QCOMPARE(doc.styles(), QStringLiteral("6660" "111" "1111" "110666"));

    // A comment style at the very start with nothing before it is stale.
    doc.setText(QStringLiteral("x */nop"));
    doc.forceStyle(0, doc.length(), QsciLexerQuorvin::BlockComment);
    doc.lexer->styleText(0, 4);
    QCOMPARE(doc.styles(), QStringLiteral("0000666"));
}

// Random edits, each followed by what painting asks for (the edited line, a window of lines
// or the rest of the document), must leave exactly the styles of one pass over the text.
// The texts hold LF and CR LF line ends, and the edits split and join the pairs.
void TestQsciLexerQuorvin::incrementalStylingMatchesFullPass()
{
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QRandomGenerator random(seed);
        StyledDocument doc;
        doc.load(mixedRules);
        doc.setText(randomText(random, 400));
        doc.restyleAll();
        StyledDocument fresh;
        fresh.load(mixedRules);

        for (int edit = 0; edit < 150; ++edit) {
            const int length = doc.length();
            const int where = random.bounded(5);
            // Both ends of the document, else anywhere, else right beside a comment marker.
            int position = where == 0 ? 0 : where == 1 ? length : random.bounded(length + 1);
            if (where == 2) {
                const QString text = doc.editor.text();
                // One draw after the other, so that every compiler makes the same edits; the
                // order alternates with the seed, for more kinds of edits.
                const int first = int(random.bounded(seed % 2 ? 2 : int(text.size()) + 1));
                const int second = int(random.bounded(seed % 2 ? int(text.size()) + 1 : 2));
                const int from = seed % 2 ? second : first;
                const QString sought = (seed % 2 ? first : second) ? QStringLiteral("/*") : QStringLiteral("*/");
                const int marker = int(text.indexOf(sought, from));
                if (marker >= 0)
                    position = int(doc.editor.text().left(marker).toUtf8().size()) + random.bounded(3);
                position = qMin(position, length);
            }
            if (random.bounded(2) && position < length) {
                const int count = qMin(length - position, 1 + random.bounded(random.bounded(4) ? 3 : 40));
                doc.editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, position, count);
            } else {
                const QByteArray text = randomText(random, 1 + random.bounded(4)).toUtf8();
                doc.editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, position, text.constData());
            }

            const int line = int(doc.editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
            switch (random.bounded(3)) {
            case 0:
                doc.restyle(doc.lineStart(line), doc.lineStart(line + 1));
                break;
            case 1:
                doc.restyle(doc.lineStart(line), doc.lineStart(line + 1 + random.bounded(30)));
                break;
            default:
                doc.restyle(doc.lineStart(line), -1);
                break;
            }
            if (edit % 10 != 9)
                continue;
            doc.restyle(0, -1);
            fresh.setText(doc.editor.text());
            fresh.restyleAll();
            const QString expected = fresh.styles();
            const QString actual = doc.styles();
            if (actual != expected) {
                int at = 0;
                while (actual.at(at) == expected.at(at))
                    ++at;
                QFAIL(qPrintable(QStringLiteral("seed %1, edit %2: first difference at %3 (styled %4, one pass %5) in\n%6")
                                         .arg(seed).arg(edit).arg(at)
                                         .arg(actual.mid(at, 40), expected.mid(at, 40), doc.editor.text())));
            }
        }
    }
}

// What a keystroke restyles shows in the styles the editor reports as changed.
void TestQsciLexerQuorvin::keystrokeRestylesUntilStateRepeats()
{
    StyledDocument doc;
    doc.load(mixedRules);
    QString text;
    for (int line = 0; line < 2000; ++line)
        text += line % 7 == 3 && line < 1900 ? QStringLiteral("/* note %1\n   more */ nop\n").arg(line) : QStringLiteral("nop r1, %1 ; c\n").arg(line);
    doc.setText(text);
    doc.restyleAll();

    int restyled = 0;
    QObject::connect(&doc.editor, &QsciScintillaBase::SCN_MODIFIED,
                     [&](int, int type, const char *, int length, int, int, int, int, int, int) {
                         if (type & QsciScintillaBase::SC_MOD_CHANGESTYLE)
                             restyled += length;
                     });
    const auto type = [&](const QString &keys, int line, int index) {
        restyled = 0;
        doc.editor.insertAt(keys, line, index);
        doc.restyle(doc.lineStart(line), -1);
        return restyled;
    };

    // A keystroke in the middle restyles its own line only, however far the document goes on.
    const int lineLength = doc.lineStart(1001) - doc.lineStart(1000);
    QVERIFY2(type(QStringLiteral("x"), 1000, 1) <= lineLength + 1, qPrintable(QString::number(restyled)));
    // Opening a comment restyles down to the next line that was in a comment anyway.
    const int opened = type(QStringLiteral("/*"), 1000, 0);
    QVERIFY2(opened > lineLength && opened < 10 * lineLength, qPrintable(QString::number(opened)));
    // One opened after the last comment colours everything down to the end.
    const int last = int(doc.editor.lines()) - 50;
    const int rest = doc.length() - doc.lineStart(last);
    QVERIFY2(type(QStringLiteral("/*"), last, 0) >= rest, qPrintable(QString::number(restyled)));
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

void TestQsciLexerQuorvin::invalidPatternIsReportedAndIgnored()
{
    StyledDocument doc;
    // One bad line costs only itself: the other keyword line still counts.
    doc.load("keyword=(mov\noperator=,\nkeyword=x\n");
    QCOMPARE(doc.problems.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("TEST\\.SYN:1: the keyword pattern \"\\(mov\" is not a valid "
                                               "regular expression \\(.* at offset 4\\); the line is ignored$"))
                 .match(doc.problems.first())
                 .hasMatch(),
             qPrintable(doc.problems.first()));
    doc.setText(QStringLiteral("mov, x"));
    doc.restyleAll();
    QCOMPARE(doc.styles(), QStringLiteral("000506"));
}

ZMX_TEST(TestQsciLexerQuorvin)

namespace {

const QString syntaxDir = QStringLiteral(ZMX_SOURCE_DIR "/data/syntax");

// Every "SUFFIX=FILE" line of a map file, as the editor reads them.
QList<QPair<QString, QString>> mapEntries(const QString &mapPath)
{
    QList<QPair<QString, QString>> entries;
    QFile file(mapPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    while (!file.atEnd()) {
        const QString line = QString::fromLocal8Bit(file.readLine()).trimmed().toUpper();
        const int equals = int(line.indexOf(QLatin1Char('=')));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || equals <= 0)
            continue;
        entries.append({line.left(equals), line.mid(equals + 1)});
    }
    return entries;
}

}

// Our own syntax files, checked on snippets of what each tool chain really assembles.
class TestSyntaxData : public QObject
{
    Q_OBJECT

private slots:
    void mapsNameExistingFiles();
    void snippets_data();
    void snippets();
};

void TestSyntaxData::mapsNameExistingFiles()
{
    QSet<QString> named;
    const QStringList maps = QDir(syntaxDir).entryList({QStringLiteral("*.MAP")}, QDir::Files);
    QCOMPARE(maps, QStringList({"8051.MAP", "AVR.MAP", "PIC16.MAP"}));
    for (const QString &map : maps) {
        const auto entries = mapEntries(syntaxDir + QLatin1Char('/') + map);
        QVERIFY2(entries.size() > 0, qPrintable(map));
        for (const auto &[suffix, syntax] : entries) {
            QVERIFY2(QFile::exists(syntaxDir + QLatin1Char('/') + syntax), qPrintable(map + ": " + syntax));
            named.insert(syntax);
        }
    }
    const QStringList files = QDir(syntaxDir).entryList({QStringLiteral("*.SYN")}, QDir::Files);
    QCOMPARE(QSet<QString>(files.begin(), files.end()), named);
}

using Probes = QList<QPair<QString, int>>;

void TestSyntaxData::snippets_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("source");
    // Each probe is found in the source; the part in brackets (or all of it) must have the style.
    QTest::addColumn<Probes>("probes");

    QTest::newRow("AVR, preprocessed GNU assembler")
            << "AVR" << "S"
            << "#include <avr/io.h>\n"
               "; blink the LED on PB5\n"
               "\t.section .text\n"
               "\t.global main\n"
               "main:\tldi r16, 0xFF ; all outputs\n"
               "\tout _SFR_IO_ADDR(DDRB), r16\n"
               "loop:\tsbi _SFR_IO_ADDR(PINB), 5 // toggle\n"
               "\tldi ZL, lo8(table)\n"
               "\trjmp loop /* forever\n"
               "\t   and ever */\n"
               "table:\t.byte 'a', 0b101\n"
               "\t.ascii \"s;\"" // no line break at the end
            << Probes{{"#include", 8}, {"<avr/io.h>", 3}, {"; blink the LED on PB5", 2}, {".section", 8},
                      {"[main]:", 0}, {"ldi", 6}, {"r16", 7}, {"0xFF", 4}, {"; all outputs", 2},
                      {"_SFR_IO_ADDR", 7}, {"[(]DDRB", 5}, {"[DDRB]", 0}, {"), [5]", 4}, {"// toggle", 2},
                      {"ZL", 7}, {"lo8", 7}, {"rjmp", 6}, {"/* forever\n\t   and ever */", 1},
                      {".byte", 8}, {"'a'", 4}, {"0b101", 4}, {"\"s;\"", 3}};
    QTest::newRow("8051, sdas")
            << "8051" << "asm"
            << "\t.module blink\n"
               "\t.globl _main\n"
               "\t.area CSEG    (CODE)\n"
               "_main:\n"
               "\tmov\tp1,#0xff\t; all high\n"
               "\tmov\tr7,#10\n"
               "00101$:\n"
               "\tcpl\tp1.0\n"
               "\tdjnz\tr7,00101$\n"
               "\tmov\tdptr,#_table\n"
               "\tmovc\ta,@a+dptr\n"
               "\tsjmp\t_main\n"
               "_table:\n"
               "\t.db 0x01, 'a\n"
               "\t.ascii \"hi\"\n"
            << Probes{{".module", 8}, {".area", 8}, {"CSEG", 0}, {"mov", 6}, {"p1", 7}, {"#", 5},
                      {"0xff", 4}, {"; all high", 2}, {"r7", 7}, {"10", 4}, {"00101$", 4}, {"djnz", 6},
                      {"dptr", 7}, {"movc", 6}, {"[@]a+", 5}, {"@[a]+", 7}, {"sjmp\t[_main]", 0},
                      {".db", 8}, {"'a", 4}, {"\"hi\"", 3}};
    QTest::newRow("PIC16, gpasm")
            << "PIC16" << "asm"
            << "\tlist\tp=16f877a\n"
               "\t#include <p16f877a.inc>\n"
               "\t__config _CP_OFF & _WDT_OFF\n"
               "\tcblock\t0x20\n"
               "\tcount\n"
               "\tendc\n"
               "\torg\t0x0000\n"
               "start:\tbanksel\tTRISB\n"
               "\tclrf\tTRISB\t\t; all outputs\n"
               "\tmovlw\tb'10101010'\n"
               "\tmovwf\tPORTB\n"
               "\tdecfsz\tcount, f\n"
               "\tbtfss\tSTATUS, Z\n"
               "\tgoto\tstart\n"
               "\tmovlw\t.10\n"
               "\tend\n"
            << Probes{{"list", 8}, {"#include", 8}, {"<p16f877a.inc>", 3}, {"__config", 8},
                      {"[_CP_OFF]", 0}, {"&", 5}, {"cblock", 8}, {"0x20", 4}, {"endc", 8},
                      {"banksel", 8}, {"TRISB", 7}, {"clrf", 6}, {"; all outputs", 2},
                      {"b'10101010'", 4}, {"movwf", 6}, {"decfsz", 6}, {"count, [f]", 7}, {"btfss", 6},
                      {"STATUS", 7}, {", [Z]", 7}, {"goto\t[start]", 0}, {".10", 4}, {"\t[end]", 8}};
}

void TestSyntaxData::snippets()
{
    QFETCH(QString, family);
    QFETCH(QString, suffix);
    QFETCH(QString, source);
    QFETCH(Probes, probes);

    QString syntax;
    for (const auto &[entrySuffix, file] : mapEntries(syntaxDir + QLatin1Char('/') + family + ".MAP")) {
        if (entrySuffix == suffix.toUpper()) {
            syntax = syntaxDir + QLatin1Char('/') + file;
            break;
        }
    }
    QVERIFY2(!syntax.isEmpty(), qPrintable(family + ".MAP has no line for " + suffix));

    StyledDocument doc;
    doc.lexer->loadSyntaxFile(syntax, Qt::CaseInsensitive);
    for (int rule = QsciLexerQuorvin::LineCommentRule; rule < QsciLexerQuorvin::RuleCount; ++rule)
        QVERIFY2(!doc.lexer->pattern(rule).isEmpty(), qPrintable(QsciLexerQuorvin::ruleKey(rule)));
    doc.setText(source);
    doc.restyleAll();
    const QString styles = doc.styles();

    for (const auto &[probe, style] : probes) {
        const int open = int(probe.indexOf(QLatin1Char('[')));
        const int close = int(probe.indexOf(QLatin1Char(']')));
        const bool marked = open >= 0 && close > open;
        const QString context = marked ? QString(probe).remove(close, 1).remove(open, 1) : probe;
        const int at = int(source.indexOf(context));
        QVERIFY2(at >= 0, qPrintable(probe));
        const int from = at + (marked ? open : 0);
        const int count = marked ? close - open - 1 : int(context.size());
        const QString actual = styles.mid(from, count);
        QVERIFY2(actual == QString(count, QLatin1Char('0' + style)), qPrintable(probe + " styled " + actual));
    }
}

ZMX_TEST(TestSyntaxData)

#include "tst_qscilexerquorvin.moc"
