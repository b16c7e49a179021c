#include "editor/documenttext.h"
#include "editor/filesearch.h"
#include "editor/searchpattern.h"
#include "editor/textfile.h"
#include "testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using Options = SearchPattern::Options;
Q_DECLARE_METATYPE(Options)

class TestSearchPattern : public QObject
{
    Q_OBJECT

private slots:
    void findsEveryMatchWithItsOptions_data();
    void findsEveryMatchWithItsOptions();
    void replacesAll_data();
    void replacesAll();
    void invalidExpressionsAreNamed_data();
    void invalidExpressionsAreNamed();
    void documentPositionsFollowMultiByteText();
    void searchesFilesOnDisk();
    void namesWhatEveryMatchHolds_data();
    void namesWhatEveryMatchHolds();
    void diskSearchAgreesWithTheText_data();
    void diskSearchAgreesWithTheText();
};

static QList<SearchPattern::Match> allMatches(const SearchPattern &search, QStringView text)
{
    QList<SearchPattern::Match> matches;
    for (const SearchPattern::Replacement &replacement : search.replacementsIn(text, QString()))
        matches.append(replacement.match);
    return matches;
}

// Matches as "start+length" for readable failures.
static QStringList describe(const QList<SearchPattern::Match> &matches)
{
    QStringList result;
    for (const SearchPattern::Match &match : matches)
        result.append(QStringLiteral("%1+%2").arg(match.start).arg(match.length));
    return result;
}

void TestSearchPattern::findsEveryMatchWithItsOptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<Options>("options");
    QTest::addColumn<QStringList>("matches");

    const QString code = QStringLiteral("Port = port_b; PORT(port);\n");
    QTest::newRow("plain, any case") << code << "port" << Options{false, false, false}
                                     << QStringList{"0+4", "7+4", "15+4", "20+4"};
    QTest::newRow("plain, case") << code << "port" << Options{false, true, false} << QStringList{"7+4", "20+4"};
    QTest::newRow("plain, whole words") << code << "port" << Options{false, false, true}
                                        << QStringList{"0+4", "15+4", "20+4"};
    QTest::newRow("plain, case and whole words") << code << "port" << Options{false, true, true} << QStringList{"20+4"};
    QTest::newRow("plain text is not an expression") << "a.b axb a.b" << "a.b" << Options{false, true, false}
                                                     << QStringList{"0+3", "8+3"};
    QTest::newRow("regex") << "a.b axb" << "a.b" << Options{true, true, false} << QStringList{"0+3", "4+3"};
    QTest::newRow("regex, whole words around alternatives") << "ab abc cab ab" << "ab|abc" << Options{true, true, true}
                                                            << QStringList{"0+2", "3+3", "11+2"};
    QTest::newRow("regex, any case") << "LDI r16\nldi R17" << "ldi r1[67]" << Options{true, false, false}
                                     << QStringList{"0+7", "8+7"};
    QTest::newRow("words of letters beyond ASCII") << QString::fromUtf8("Grüße über") << QString::fromUtf8("ber")
                                                   << Options{false, false, true} << QStringList{};
    QTest::newRow("line anchors with LF") << "x1\nx2\n" << "^x\\d$" << Options{true, true, false}
                                          << QStringList{"0+2", "3+2"};
    QTest::newRow("line anchors with CR LF") << "x1\r\nx2\r\n" << "^x\\d$" << Options{true, true, false}
                                             << QStringList{"0+2", "4+2"};
    // The empty line after the last line end is no line of its own.
    QTest::newRow("empty matches: line starts") << "ab\ncd\n" << "^" << Options{true, true, false}
                                                << QStringList{"0+0", "3+0"};
    QTest::newRow("empty matches: x*") << "axxb" << "x*" << Options{true, true, false}
                                       << QStringList{"0+0", "1+2", "3+0", "4+0"};
    QTest::newRow("empty matches: word boundaries") << "ab cd" << "\\b" << Options{true, true, false}
                                                    << QStringList{"0+0", "2+0", "3+0", "5+0"};
}

void TestSearchPattern::findsEveryMatchWithItsOptions()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(Options, options);
    QFETCH(QStringList, matches);

    const SearchPattern search(pattern, options);
    QVERIFY2(search.isValid(), qPrintable(search.errorString()));
    QCOMPARE(describe(allMatches(search, text)), matches);
    QCOMPARE(search.count(text), matches.size());
    QCOMPARE(search.containsMatch(text), !matches.isEmpty());
}

void TestSearchPattern::replacesAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<Options>("options");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("backslashes of plain text stay") << "x" << "x" << Options{false, true, false} << "\\1\\n" << "\\1\\n"
                                                    << 1;
    QTest::newRow("groups and escapes") << "mov r1, r2" << "(r\\d), (r\\d)" << Options{true, true, false}
                                        << "\\2,\\t\\1 \\\\ \\0" << "mov r2,\tr1 \\ r1, r2" << 1;
    QTest::newRow("nothing to replace") << "abc" << "z" << Options{false, true, false} << "y" << "abc" << 0;
    QTest::newRow("whole words, any case") << "Led led leds" << "LED" << Options{false, false, true} << "lamp"
                                           << "lamp lamp leds" << 2;
}

void TestSearchPattern::replacesAll()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(Options, options);
    QFETCH(QString, with);
    QFETCH(QString, result);
    QFETCH(int, count);

    const SearchPattern search(pattern, options);
    qsizetype replaced = -1;
    QCOMPARE(search.replaceAll(text, with, &replaced), result);
    QCOMPARE(replaced, count);

    // Replacing match by match from the end gives the same text.
    QString stepwise = text;
    const QList<SearchPattern::Replacement> replacements = search.replacementsIn(text, with);
    for (qsizetype index = replacements.size() - 1; index >= 0; --index) {
        const SearchPattern::Replacement &replacement = replacements.at(index);
        QCOMPARE(search.replacement(text, replacement.match, with), replacement.text);
        stepwise.replace(replacement.match.start, replacement.match.length, replacement.text);
    }
    QCOMPARE(stepwise, result);
}

void TestSearchPattern::invalidExpressionsAreNamed_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QString>("message");

    QTest::newRow("open group") << "a(b" << false << "Invalid regular expression \"a(b\": missing closing parenthesis at position 4.";
    QTest::newRow("open group, whole words") << "a(b" << true << "Invalid regular expression \"a(b\": missing closing parenthesis at position 4.";
    QTest::newRow("nothing to repeat") << "*x" << false << "Invalid regular expression \"*x\": quantifier does not follow a repeatable item at position 1.";
}

void TestSearchPattern::invalidExpressionsAreNamed()
{
    QFETCH(QString, pattern);
    QFETCH(bool, wholeWords);
    QFETCH(QString, message);

    const SearchPattern search(pattern, Options{true, true, wholeWords});
    QVERIFY(!search.isValid());
    QCOMPARE(search.errorString(), message);
    QVERIFY(!search.findForward(QStringLiteral("a(b *x"), 0).isValid());
    QCOMPARE(search.count(QStringLiteral("a(b *x")), 0);

    // The same text as plain text is fine.
    QVERIFY(SearchPattern(pattern, Options{false, true, wholeWords}).isValid());
}

void TestSearchPattern::documentPositionsFollowMultiByteText()
{
    QsciScintilla editor;
    editor.setUtf8(true);
    // Two-, three- and four-byte characters before the word.
    editor.setText(QString::fromUtf8("ä€😀 port\nµ port"));
    const DocumentText document(&editor);
    const SearchPattern search(QStringLiteral("port"), Options{});
    const QList<SearchPattern::Match> matches = allMatches(search, document.text());
    QCOMPARE(matches.size(), 2);
    const int first = document.positionOf(matches.at(0).start);
    const int second = document.positionOf(matches.at(1).start, matches.at(0).start, first);
    QCOMPARE(first, 2 + 3 + 4 + 1);
    QCOMPARE(second, first + 5 + 2 + 1);
    QCOMPARE(document.offsetOf(first), matches.at(0).start);
    QCOMPARE(document.offsetOf(second), matches.at(1).start);
    int line = -1;
    int index = -1;
    editor.lineIndexFromPosition(second, &line, &index);
    QCOMPARE(line, 1);
    QCOMPARE(index, 2);
    QCOMPARE(editor.text(line).mid(2, 4), QStringLiteral("port"));
}

void TestSearchPattern::searchesFilesOnDisk()
{
    QTemporaryDir scratch;
    const auto write = [&scratch](const QString &name, const QByteArray &bytes) {
        QFile file(scratch.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    };
    const QStringList files{write(QStringLiteral("none.c"), "int y;\n"), write(QStringLiteral("one.c"), "int x;\r\nx++;\r\n"),
                            scratch.filePath(QStringLiteral("missing.c")), write(QStringLiteral("two.c"), "x = x;\n"),
                            write(QStringLiteral("latin1.c"), "/* gr\xfc\xdf" "e */ x;\n")};
    const SearchPattern search(QStringLiteral("x"), Options{false, true, true});

    FileSearch first(search, files, FileSearch::FirstMatch);
    first.run();
    QCOMPARE(first.firstMatchIndex(), 1);
    QCOMPARE(first.filesDone(), 2);

    FileSearch counting(search, files, FileSearch::CountAll);
    counting.run();
    QCOMPARE(counting.totalMatches(), 5);
    QVERIFY(!counting.wasCancelled());

    FileSearch replacing(search, files, FileSearch::ReplaceAll, QStringLiteral("counter"));
    replacing.run();
    // Line ends stay as they were; a file that is not valid UTF-8 is written back in Latin-1,
    // as the editor would; the missing file is named.
    QCOMPARE(replacing.totalMatches(), 5);
    const auto bytes = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(bytes(files.at(1)), QByteArray("int counter;\r\ncounter++;\r\n"));
    QCOMPARE(bytes(files.at(4)), QByteArray("/* gr\xfc\xdf" "e */ counter;\n"));
    const auto failures = [](const FileSearch &pass) {
        QStringList failed;
        for (const FileSearch::FileResult &result : pass.results()) {
            if (!result.error.isEmpty())
                failed.append(QFileInfo(result.path).fileName() + QLatin1Char(' ') + result.error);
        }
        return failed;
    };
    QCOMPARE(failures(replacing).size(), 1);
    QVERIFY(failures(replacing).first().startsWith(QStringLiteral("missing.c ")));

    // A character that Latin-1 cannot hold is refused for that file, which stays as it was.
    FileSearch euro(SearchPattern(QStringLiteral("counter"), Options{false, true, true}), files.mid(3),
                    FileSearch::ReplaceAll, QString(QChar(0x20ac)));
    euro.run();
    QCOMPARE(euro.totalMatches(), 2);
    QCOMPARE(failures(euro), QStringList{QStringLiteral("latin1.c the new text has characters that ISO-8859-1 cannot hold")});
    QCOMPARE(bytes(files.at(4)), QByteArray("/* gr\xfc\xdf" "e */ counter;\n"));
    QCOMPARE(bytes(files.at(3)), QByteArray("\xe2\x82\xac = \xe2\x82\xac;\n"));

    FileSearch cancelled(search, files, FileSearch::CountAll);
    cancelled.cancel();
    cancelled.run();
    QVERIFY(cancelled.wasCancelled());
    QCOMPARE(cancelled.filesDone(), 0);
}

void TestSearchPattern::namesWhatEveryMatchHolds_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<Options>("options");
    QTest::addColumn<QByteArray>("required");
    QTest::addColumn<bool>("withinLines");

    const Options plain{false, true, false};
    const Options regex{true, true, false};
    QTest::newRow("plain") << "counter_update" << plain << QByteArray("counter_update") << true;
    QTest::newRow("plain, any case") << "counter_update" << Options{false, false, false} << QByteArray() << true;
    QTest::newRow("plain, whole words") << "x" << Options{false, true, true} << QByteArray("x") << true;
    QTest::newRow("plain beyond ASCII") << QString::fromUtf8("grüße x") << plain << QByteArray("e x") << true;
    QTest::newRow("plain over a line end") << "a\nb" << plain << QByteArray("a\nb") << false;
    QTest::newRow("regex") << "counter_[a-z]+\\(&state" << regex << QByteArray("counter_") << true;
    QTest::newRow("at least once") << "ab+c" << regex << QByteArray("ab") << true;
    QTest::newRow("optional") << "abc*d" << regex << QByteArray("ab") << true;
    QTest::newRow("optional, lazy") << "xyz??w" << regex << QByteArray("xy") << true;
    QTest::newRow("counted") << "ab{2}cd" << regex << QByteArray("cd") << true;
    QTest::newRow("group") << "(foo)?barx" << regex << QByteArray("barx") << true;
    QTest::newRow("escaped punctuation") << "a\\.b\\(c" << regex << QByteArray("a.b(c") << true;
    QTest::newRow("word escapes") << "\\bword\\d\\b" << regex << QByteArray("word") << true;
    QTest::newRow("dot stays on its line") << "ab.cd" << regex << QByteArray("ab") << true;
    QTest::newRow("space class") << "xy\\s+z" << regex << QByteArray("xy") << false;
    QTest::newRow("negated class") << "[^;]*;" << regex << QByteArray(";") << false;
    QTest::newRow("class with a line end") << "ab[\\x0a]" << regex << QByteArray("ab") << false;
    QTest::newRow("class with a bracket") << "q[]a]rs" << regex << QByteArray("rs") << true;
    QTest::newRow("alternatives") << "abc|de" << regex << QByteArray() << false;
    QTest::newRow("lookahead") << "foo(?=bar)" << regex << QByteArray() << false;
    QTest::newRow("hex escape") << "\\x41bc" << regex << QByteArray() << false;
    QTest::newRow("back reference") << "(a)bc\\1" << regex << QByteArray() << false;
    QTest::newRow("quoted") << "\\Qa.b\\E" << regex << QByteArray() << false;
    QTest::newRow("empty match") << "x*" << regex << QByteArray() << true;
}

void TestSearchPattern::namesWhatEveryMatchHolds()
{
    QFETCH(QString, pattern);
    QFETCH(Options, options);
    QFETCH(QByteArray, required);
    QFETCH(bool, withinLines);
    const SearchPattern search(pattern, options);
    QVERIFY2(search.isValid(), qPrintable(search.errorString()));
    QCOMPARE(search.requiredBytes(), required);
    QCOMPARE(search.staysWithinLines(), withinLines);
}

void TestSearchPattern::diskSearchAgreesWithTheText_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<Options>("options");

    const Options plain{false, true, false};
    const Options regex{true, true, false};
    QTest::newRow("plain") << "counter_update" << plain;
    QTest::newRow("plain, any case") << "COUNTER_update" << Options{false, false, false};
    QTest::newRow("plain, whole words") << "counter" << Options{false, true, true};
    QTest::newRow("plain beyond ASCII") << QString::fromUtf8("gr\u00fc\u00dfe */ counter") << plain;
    QTest::newRow("regex") << "counter_[a-z]+\\(&state" << regex;
    QTest::newRow("regex, whole words") << "counter_\\w+" << Options{true, true, true};
    QTest::newRow("anchored lines") << "^counter_\\w*$" << regex;
    QTest::newRow("over line ends") << "counter_\\s+update" << regex;
    QTest::newRow("negated class") << "[^;]*;" << regex;
    QTest::newRow("optional tail") << "update\\(?" << regex;
    QTest::newRow("alternatives") << "counter_(update|x)" << regex;
    QTest::newRow("indented line starts") << "^[ \\t]*counter_\\w+" << regex;
    QTest::newRow("line ends after a call") << "counter_\\w+\\)$" << regex;
}

// Whatever shortcut a pass over files takes, it finds what a search of the decoded text
// finds: in every file, whatever its line ends and encoding.
void TestSearchPattern::diskSearchAgreesWithTheText()
{
    QFETCH(QString, pattern);
    QFETCH(Options, options);
    QTemporaryDir scratch;
    const QList<QByteArray> contents{
        "int none;\n",
        "int counter = 1;\ncounter_update(&state, 2);\n  x counter_update(&state);\n",
        "counter_update(&state);\r\nab;\r\ncounter_\r\nupdate\r\n",
        "a counter_x\rcounter_update(&s)\r",
        "/* gr\xc3\xbc\xc3\x9f" "e */ counter_update(&state); // \xc3\xbcnd\ncounter_update\n",
        "/* gr\xfc\xdf" "e */ counter_update(&state);\n",
        "",
        "counter_update",
        "x;counter_a counter_b\r\n\tcounter_update(counter_update)\n  counter_x)\r\r\n",
    };
    QStringList files;
    for (const QByteArray &content : contents) {
        files.append(scratch.filePath(QStringLiteral("f%1.c").arg(files.size())));
        QFile file(files.last());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    const SearchPattern search(pattern, options);
    QVERIFY2(search.isValid(), qPrintable(search.errorString()));
    int firstWithMatch = -1;
    qsizetype total = 0;
    for (int index = 0; index < files.size(); ++index) {
        const qsizetype expected = search.count(TextFile::decode(contents.at(index)).text);
        FileSearch one(search, {files.at(index)}, FileSearch::CountAll);
        one.run();
        QVERIFY2(one.totalMatches() == expected, qPrintable(QStringLiteral("file %1: %2 instead of %3")
                                                                .arg(index)
                                                                .arg(one.totalMatches())
                                                                .arg(expected)));
        total += expected;
        if (expected > 0 && firstWithMatch < 0)
            firstWithMatch = index;
    }
    QVERIFY(total > 0);
    FileSearch first(search, files, FileSearch::FirstMatch);
    first.run();
    QCOMPARE(first.firstMatchIndex(), firstWithMatch);
}

ZMX_TEST(TestSearchPattern)
#include "tst_searchpattern.moc"
