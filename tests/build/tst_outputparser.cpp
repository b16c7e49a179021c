#include "build/outputparser.h"
#include "fakeworkbench.h"
#include "sanitizerslowdown.h"
#include "testregistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

MessageDefinition definition(const QString &pattern, const QList<MessageField> &fields)
{
    return {pattern, fields};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const MessageField fileField{QStringLiteral("FILENAME"), 1, 0};
const MessageField lineField{QStringLiteral("LINE"), 2, 0};

}

class OutputParserTest : public QObject
{
    Q_OBJECT

private:
    FakeWorkbench *workbench = nullptr;
    OutputParser *parser = nullptr;
    QTemporaryDir *project = nullptr;
    // File names the project holds, by their absolute paths.
    QStringList projectFiles;

    QString at(const QString &relative) const { return project->filePath(relative); }

    struct Parsed
    {
        bool ok;
        QString file;
        int line;
        int column;
    };

    Parsed parse(const QString &text) const
    {
        Parsed result{false, QString(), -1, -1};
        result.ok = parser->parseMessage(text, result.file, result.line, result.column);
        return result;
    }

private slots:
    void init()
    {
        workbench = new FakeWorkbench;
        project = new QTemporaryDir;
        projectFiles = {at(QStringLiteral("src/main.c")), at(QStringLiteral("src/gone.c"))};
        writeFile(at(QStringLiteral("src/main.c")), "int main;\n");
        writeFile(at(QStringLiteral("gone.c")), "\n");
        writeFile(at(QStringLiteral("top.c")), "\n");
        writeFile(at(QStringLiteral("Debug/generated.c")), "\n");
        parser = new OutputParser(workbench);
        parser->setProjectFileLookup([this](const QString &name) {
            const QString wanted = QFileInfo(name).fileName();
            for (const QString &file : std::as_const(projectFiles)) {
                if (QFileInfo(file).fileName().compare(wanted, Qt::CaseInsensitive) == 0)
                    return file;
            }
            return QString();
        });
        parser->setDirectories(project->path(), at(QStringLiteral("Debug")));
        parser->setDefinitions({definition(QStringLiteral("^([^:]+):(\\d+):(\\d+): (error|warning)"),
                                           {fileField, lineField, {QStringLiteral("COLUMN"), 3, -1}})});
    }

    void cleanup()
    {
        delete parser;
        delete project;
        delete workbench;
    }

    void looksFilesUpInOrder()
    {
        // A project file by name, whatever directory the tool named.
        Parsed parsed = parse(QStringLiteral("main.c:12:5: error: expected ';'"));
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.file, at(QStringLiteral("src/main.c")));
        QCOMPARE(parsed.line, 12);
        QCOMPARE(parsed.column, 4);
        QCOMPARE(parse(QStringLiteral("lib/MAIN.C:1:1: warning: x")).file, at(QStringLiteral("src/main.c")));

        // An absolute name is taken as it is, existing or not.
        parsed = parse(QStringLiteral("/nowhere/x.c:3:1: error: y"));
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.file, QStringLiteral("/nowhere/x.c"));

        // Then the project directory, then the build directory.
        QCOMPARE(parse(QStringLiteral("top.c:1:1: error: z")).file, at(QStringLiteral("top.c")));
        QCOMPARE(parse(QStringLiteral("generated.c:1:1: error: z")).file, at(QStringLiteral("Debug/generated.c")));

        // A missing project file wins over a file of that name in the project directory.
        parsed = parse(QStringLiteral("gone.c:4:2: error: w"));
        QVERIFY(!parsed.ok);
        QCOMPARE(parsed.file, at(QStringLiteral("src/gone.c")));

        QVERIFY(!parse(QStringLiteral("other.c:1:1: error: v")).ok);
        QVERIFY(!parse(QStringLiteral("no message here")).ok);

        // Without a configuration only absolute names resolve.
        parser->setProjectFileLookup({});
        parser->setDirectories(QString(), QString());
        QVERIFY(!parse(QStringLiteral("top.c:1:1: error: z")).ok);
        QVERIFY(parse(QStringLiteral("/abs.c:1:1: error: z")).ok);
        parser->setDefinitions({});
        QVERIFY(!parse(QStringLiteral("/abs.c:1:1: error: z")).ok);
    }

    void messagesCarryTheKindTheirDefinitionCaptures_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::newRow("error") << "main.c:3:5: error: expected ';' before '}' token" << int(BuildMessage::Kind::Error);
        QTest::newRow("fatal error") << "main.c:1:10: fatal error: x.h: No such file" << int(BuildMessage::Kind::Error);
        QTest::newRow("warning") << "main.c:2:1: warning: unused" << int(BuildMessage::Kind::Warning);
        QTest::newRow("note") << "main.c:2:1: note: declared here" << int(BuildMessage::Kind::Note);
        QTest::newRow("assembler word") << "main.c:2:1: Message[302] bank" << int(BuildMessage::Kind::Note);
        // A definition without a KIND field still says something is wrong.
        QTest::newRow("no kind field") << "main.c:7: undefined reference to `f'" << int(BuildMessage::Kind::Error);
    }

    void messagesCarryTheKindTheirDefinitionCaptures()
    {
        QFETCH(QString, line);
        QFETCH(int, kind);
        const MessageField kindField{QStringLiteral("KIND"), 4, 0};
        parser->setDefinitions(
            {definition(QStringLiteral("^([^:]+):(\\d+):(\\d+): (fatal error|error|warning|note|Message)"),
                        {fileField, lineField, {QStringLiteral("COLUMN"), 3, -1}, kindField}),
             definition(QStringLiteral("^([^:]+):(\\d+): undefined"), {fileField, lineField})});
        parser->outputLine(line);
        QCOMPARE(workbench->buildMessages.size(), 1);
        const BuildMessage &message = workbench->buildMessages.first();
        QCOMPARE(int(message.kind), kind);
        QCOMPARE(message.file, at(QStringLiteral("src/main.c")));
        // The message keeps the text as the tool wrote it, angle brackets and all.
        QCOMPARE(message.text, line);
        QCOMPARE(workbench->links.size(), 1);
        QCOMPARE(workbench->links.first().line, message.line);
        QCOMPARE(workbench->links.first().column, message.column);
        QCOMPARE(parser->errorCount(), kind == int(BuildMessage::Kind::Error) ? 1 : 0);
        QCOMPARE(parser->warningCount(), kind == int(BuildMessage::Kind::Warning) ? 1 : 0);
    }

    void countsMessagesUntilReset()
    {
        parser->setDefinitions({definition(QStringLiteral("^([^:]+):(\\d+):(\\d+): (error|warning)"),
                                           {fileField, lineField, {QStringLiteral("KIND"), 4, 0}})});
        parser->outputLine(QStringLiteral("main.c:1:1: error: a"));
        parser->outputLine(QStringLiteral("main.c:2:1: error: b"));
        parser->outputLine(QStringLiteral("main.c:3:1: warning: c"));
        // Unlinked lines are no messages of a file and are not counted.
        parser->outputLine(QStringLiteral("elsewhere.c:3:1: error: d"));
        QCOMPARE(parser->errorCount(), 2);
        QCOMPARE(parser->warningCount(), 1);
        QCOMPARE(parser->countsText(), QStringLiteral("2 errors, 1 warning"));
        parser->resetCounts();
        QCOMPARE(parser->countsText(), QStringLiteral("0 errors, 0 warnings"));
    }

    void carriesValuesBetweenDefinitions()
    {
        parser->setDefinitions({
            // Position only; no file: the next definition supplies it.
            definition(QStringLiteral("line (\\d+) col (\\d+)"),
                       {{QStringLiteral("LINE"), 1, 0}, {QStringLiteral("COLUMN"), 2, 10}}),
            definition(QStringLiteral("in (\\S+)"), {fileField, {QStringLiteral("SEVERITY"), 0, 0}}),
        });
        Parsed parsed = parse(QStringLiteral("line 7 col 3 in top.c"));
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.file, at(QStringLiteral("top.c")));
        QCOMPARE(parsed.line, 7);
        QCOMPARE(parsed.column, 13);

        // A line that is no number fails its definition, but the file it had set stays;
        // blanks and tabs around the file name go.
        parser->setDefinitions({
            definition(QStringLiteral("^([^:]+):(\\w+):"), {fileField, lineField}),
            definition(QStringLiteral("(\\d+)$"), {{QStringLiteral("LINE"), 1, -1}}),
        });
        parsed = parse(QStringLiteral(" \ttop.c\t:abc: see 42"));
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.file, at(QStringLiteral("top.c")));
        QCOMPARE(parsed.line, 41);

        // A field read before the failing one does not run after it: no file, no link.
        parser->setDefinitions({definition(QStringLiteral("^([^:]+):(\\w+):"), {lineField, fileField})});
        parsed = parse(QStringLiteral("top.c:abc: x"));
        QVERIFY(!parsed.ok);
        QVERIFY(parsed.file.isEmpty());
        // A group the pattern does not have reads as empty and is skipped.
        parser->setDefinitions({definition(QStringLiteral("^(\\S+) "), {fileField, {QStringLiteral("LINE"), 9, 0}})});
        parsed = parse(QStringLiteral("top.c failed"));
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.line, 0);
    }

    void showsMakeOutputInKind_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("resolved message") << QStringLiteral("main.c:3:9: warning: unused\r")
                                          << QStringLiteral("error link: %1#3.8 main.c:3:9: warning: unused");
        QTest::newRow("markup stays text") << QStringLiteral("main.c:4:1: error: <stray>")
                                           << QStringLiteral("error link: %1#4.0 main.c:4:1: error: &lt;stray&gt;");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("carriage return only") << QStringLiteral("\r") << QString();
        QTest::newRow("matched, not resolved") << QStringLiteral("other.c:3:9: error: not here")
                                               << QStringLiteral("error: other.c:3:9: error: not here");
        QTest::newRow("up to date") << QStringLiteral("MAKE: nothing TO BE DONE for 'Debug'.")
                                    << QStringLiteral("message: Already compiled, target is up to date.");
        QTest::newRow("command line") << QStringLiteral("avr-gcc -Werror -Wno-error=foo -c main.c")
                                      << QStringLiteral("message: avr-gcc -Werror -Wno-error=foo -c main.c");
        QTest::newRow("make gives up") << QStringLiteral("make: *** [Makefile:12: main.o] Error 1")
                                       << QStringLiteral("error: make: *** [Makefile:12: main.o] Error 1");
        QTest::newRow("sub-make gives up") << QStringLiteral("/usr/bin/make[2]: *** No rule to make target 'x'.")
                                           << QStringLiteral("error: /usr/bin/make[2]: *** No rule to make target 'x'.");
        QTest::newRow("fatal error in words") << QStringLiteral("cc1: fatal error: x.c: No such file or directory")
                                              << QStringLiteral("error: cc1: fatal error: x.c: No such file or directory");
        QTest::newRow("linker") << QStringLiteral("collect2: error: ld returned 1 exit status")
                                << QStringLiteral("error: collect2: error: ld returned 1 exit status");
        QTest::newRow("follow-up line") << QStringLiteral("    3 |   int x")
                                        << QStringLiteral("message:     3 |   int x");
        QTest::newRow("a count of errors") << QStringLiteral("0 errors, 2 warnings")
                                           << QStringLiteral("message: 0 errors, 2 warnings");
    }

    void showsMakeOutputInKind()
    {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        parser->outputLine(line);
        if (shown.contains(QLatin1String("%1")))
            shown = shown.arg(at(QStringLiteral("src/main.c")));
        const QStringList expected = shown.isEmpty() ? QStringList() : QStringList{shown};
        QCOMPARE(workbench->output, expected);
    }

    // A hand-written pattern whose nested repetition tries every way to split a long line
    // (2^50000 here) must not stall the build output: each line costs a bounded time, the
    // lines still show, and the patterns after it still link.
    void backtrackingPatternCostsBoundedTimePerLine()
    {
        parser->setDefinitions({definition(QStringLiteral("^(\\w+\\s?)*: error"), {fileField}),
                                definition(QStringLiteral("^([^:]+):(\\d+):(\\d+): (error|warning)"),
                                           {fileField, lineField, {QStringLiteral("COLUMN"), 3, -1}})});
        const QString longLine = QString(50000, QLatin1Char('a')) + QLatin1Char('!');
        const int lines = 40;
        QElapsedTimer timer;
        timer.start();
        for (int line = 0; line < lines; ++line)
            parser->outputLine(longLine);
        parser->outputLine(QStringLiteral("main.c:7:2: error: after them"));
        // About 30 ms a line with the engine's match limit; without a limit, not in this lifetime.
        QVERIFY2(timer.elapsed() < lines * 250 * sanitizerSlowdown, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(workbench->output.size(), lines + 1);
        QCOMPARE(workbench->output.first(), QStringLiteral("message: ") + longLine);
        QCOMPARE(workbench->output.last(),
                 QStringLiteral("error link: %1#7.1 main.c:7:2: error: after them").arg(at(QStringLiteral("src/main.c"))));
    }

    void readsErrorFilesAsTheirFlagsSay()
    {
        writeFile(at(QStringLiteral("shown.err")), "main.c:1:2: error: a\r\nplain note\r\nother.c:1:1: warning: b\n");
        writeFile(at(QStringLiteral("hidden.err")), "main.c:5:6: error: c\nplain dropped\n");
        parser->readErrorFiles({{at(QStringLiteral("missing.err")), true},
                                {at(QStringLiteral("shown.err")), true},
                                {at(QStringLiteral("hidden.err")), false}});
        const QString main = at(QStringLiteral("src/main.c"));
        QCOMPARE(workbench->output,
                 QStringList({QStringLiteral("error link: %1#1.1 main.c:1:2: error: a").arg(main),
                              QStringLiteral("message: plain note"), QStringLiteral("error: other.c:1:1: warning: b"),
                              QStringLiteral("error link: %1#5.5 main.c:5:6: error: c").arg(main)}));
        // The files stay for the next run to delete.
        QVERIFY(QFile::exists(at(QStringLiteral("shown.err"))));
    }
};

ZMX_TEST(OutputParserTest)

#include "tst_outputparser.moc"
