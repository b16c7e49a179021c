#include "editor/documenttext.h"
#include "editor/filesearch.h"
#include "editor/searchpattern.h"
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
    // Line ends stay as they were; the missing file and the one whose bytes would not
    // survive a save are named and left alone.
    QCOMPARE(replacing.totalMatches(), 4);
    QFile one(files.at(1));
    QVERIFY(one.open(QIODevice::ReadOnly));
    QCOMPARE(one.readAll(), QByteArray("int counter;\r\ncounter++;\r\n"));
    QStringList failed;
    for (const FileSearch::FileResult &result : replacing.results()) {
        if (!result.error.isEmpty())
            failed.append(QFileInfo(result.path).fileName());
    }
    QCOMPARE(failed, (QStringList{"missing.c", "latin1.c"}));
    QFile latin1(files.at(4));
    QVERIFY(latin1.open(QIODevice::ReadOnly));
    QCOMPARE(latin1.readAll(), QByteArray("/* gr\xfc\xdf" "e */ x;\n"));

    FileSearch cancelled(search, files, FileSearch::CountAll);
    cancelled.cancel();
    cancelled.run();
    QVERIFY(cancelled.wasCancelled());
    QCOMPARE(cancelled.filesDone(), 0);
}

ZMX_TEST(TestSearchPattern)
#include "tst_searchpattern.moc"
