#include "build/maketext.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The escaping of names and values for make and its shell, checked against the real make:
// whatever the text, make must find the file by its name and the shell hand the text on as
// it is, and nothing may run that the text spells.
class MakeTextTest : public QObject
{
    Q_OBJECT

private slots:
    void makeAndShellSeeTheTextAsItIs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");   // as a target or prerequisite
        QTest::addColumn<QString>("recipe"); // as a bare word of a recipe
        const auto row = [](const char *tag, const QString &text, const QString &rule, const QString &recipe) {
            QTest::newRow(tag) << text << rule << recipe;
        };
        row("plain", QStringLiteral("src/main.c"), QStringLiteral("src/main.c"), QStringLiteral("src/main.c"));
        row("blank", QStringLiteral("old main.c"), QStringLiteral("old\\ main.c"), QStringLiteral("'old main.c'"));
        row("wildcards", QStringLiteral("x * y?[1].c"), QStringLiteral("x\\ \\*\\ y\\?\\[1\\].c"), QStringLiteral("'x * y?[1].c'"));
        row("single quote", QStringLiteral("it's.c"), QStringLiteral("it's.c"), QStringLiteral("'it'\\''s.c'"));
        row("double quotes", QStringLiteral("say \"hi\".c"), QStringLiteral("say\\ \"hi\".c"), QStringLiteral("'say \"hi\".c'"));
        row("dollar", QStringLiteral("$HOME.c"), QStringLiteral("$$HOME.c"), QStringLiteral("'$$HOME.c'"));
        row("make call", QStringLiteral("$(touch X).c"), QStringLiteral("$$(touch\\ X).c"), QStringLiteral("'$$(touch X).c'"));
        row("backticks", QStringLiteral("a`touch X`.c"), QStringLiteral("a`touch\\ X`.c"), QStringLiteral("'a`touch X`.c'"));
        row("ampersands", QStringLiteral("a&touch X&.c"), QStringLiteral("a&touch\\ X&.c"), QStringLiteral("'a&touch X&.c'"));
        row("hash", QStringLiteral("#1.c"), QStringLiteral("\\#1.c"), QStringLiteral("'#1.c'"));
        row("letters", QStringLiteral("müller.c"), QStringLiteral("müller.c"), QStringLiteral("müller.c"));
        row("leading dash", QStringLiteral("-lead.c"), QStringLiteral("-lead.c"), QStringLiteral("-lead.c"));
        row("leading tilde", QStringLiteral("~root"), QStringLiteral("./~root"), QStringLiteral("'~root'"));
    }

    void makeAndShellSeeTheTextAsItIs()
    {
        QFETCH(QString, text);
        QFETCH(QString, rule);
        QFETCH(QString, recipe);
        QVERIFY(MakeText::fileNameRefusal(text).isEmpty());
        QVERIFY(MakeText::variableRefusal(text).isEmpty());
        QCOMPARE(MakeText::ruleName(text), rule);
        QCOMPARE(MakeText::recipeText(text), recipe);

        const QString make = QStandardPaths::findExecutable(QStringLiteral("make"));
        if (make.isEmpty())
            QSKIP("make is not installed");
        QTemporaryDir work;
        QDir(work.path()).mkpath(QFileInfo(work.filePath(text)).path());
        QFile source(work.filePath(text));
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.close();
        using Platform::ShellQuoting;
        // The same text as a prerequisite, a bare word, in double and in single quotes, and
        // through a variable.
        const QString makefile = QStringLiteral("V = %1\nresult: %2\n\tprintf '%s\\n' %3 \"%4\" '%5' $(V) > result\n")
                                     .arg(MakeText::variableValue(text), MakeText::ruleName(text), MakeText::recipeText(text),
                                          MakeText::recipeText(text, ShellQuoting::InDoubleQuotes),
                                          MakeText::recipeText(text, ShellQuoting::InSingleQuotes));
        QFile file(work.filePath(QStringLiteral("Makefile")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(makefile.toUtf8());
        file.close();
        QProcess process;
        process.setWorkingDirectory(work.path());
        process.start(make, {QStringLiteral("-s")});
        QVERIFY(process.waitForFinished(30000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QFile result(work.filePath(QStringLiteral("result")));
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()), QString(text + QLatin1Char('\n')).repeated(4));
        QVERIFY(!QFile::exists(work.filePath(QStringLiteral("X"))));
        // Up to date now: make found the prerequisite by its name.
        process.start(make, {QStringLiteral("-q")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
    }

    void refusesWhatMakeCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName"); // the reason, empty when make can hold it
        QTest::addColumn<QString>("value");
        QTest::newRow("line break") << QStringLiteral("a\nX := $(shell touch X)") << QStringLiteral("a line break")
                                    << QStringLiteral("a line break");
        QTest::newRow("return") << QStringLiteral("a\rb") << QStringLiteral("a line break") << QStringLiteral("a line break");
        QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a tab") << QStringLiteral("a tab");
        QTest::newRow("control") << QStringLiteral("a\x01") << QStringLiteral("a control character")
                                 << QStringLiteral("a control character");
        QTest::newRow("semicolon") << QStringLiteral("a;touch X;.c") << QStringLiteral("\";\"") << QString();
        QTest::newRow("bar") << QStringLiteral("a|b.c") << QStringLiteral("\"|\"") << QString();
        QTest::newRow("percent") << QStringLiteral("100%.c") << QStringLiteral("\"%\"") << QString();
        QTest::newRow("colon") << QStringLiteral("c:d.c") << QStringLiteral("\":\"") << QString();
        QTest::newRow("equals") << QStringLiteral("e=f.c") << QStringLiteral("\"=\"") << QString();
        QTest::newRow("backslash") << QStringLiteral("a\\b.c") << QStringLiteral("\"\\\"") << QString();
        QTest::newRow("backslash before hash") << QStringLiteral("-DA=\\#") << QStringLiteral("\"=\"")
                                               << QStringLiteral("a backslash before \"#\" or at the end");
        QTest::newRow("drive") << QStringLiteral("C:/src/main.c") << QString() << QString();
    }

    void refusesWhatMakeCannotHold()
    {
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QFETCH(QString, value);
        QCOMPARE(MakeText::fileNameRefusal(text), fileName);
        QCOMPARE(MakeText::variableRefusal(text), value);
    }

    void tracksTheQuotingOfATemplate_data()
    {
        using Platform::ShellQuoting;
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("after");
        QTest::newRow("bare") << QStringLiteral("$(CC) -c ") << int(ShellQuoting::Bare);
        QTest::newRow("opened double") << QStringLiteral("-T\"") << int(ShellQuoting::InDoubleQuotes);
        QTest::newRow("closed double") << QStringLiteral("\"a\" ") << int(ShellQuoting::Bare);
        QTest::newRow("escaped quote") << QStringLiteral("\"a\\\" ") << int(ShellQuoting::InDoubleQuotes);
        QTest::newRow("single in double") << QStringLiteral("\"it's ") << int(ShellQuoting::InDoubleQuotes);
        QTest::newRow("opened single") << QStringLiteral("echo '") << int(ShellQuoting::InSingleQuotes);
        QTest::newRow("double in single") << QStringLiteral("'say \"") << int(ShellQuoting::InSingleQuotes);
        QTest::newRow("backslash in single") << QStringLiteral("'a\\' ") << int(ShellQuoting::Bare);
    }

    void tracksTheQuotingOfATemplate()
    {
        QFETCH(QString, text);
        QFETCH(int, after);
        QCOMPARE(int(MakeText::quotingAfter(text, Platform::ShellQuoting::Bare)), after);
    }
};

ZMX_TEST(MakeTextTest)

#include "tst_maketext.moc"
