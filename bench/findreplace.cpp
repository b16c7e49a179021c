// Find All and Replace All over a generated project of many source files, with a plain
// text and with a regular expression, against grep -c over the same files as the baseline
// (sed -i as a second one for the replacement). Prints min/median/max and the ratio of the
// medians; then runs one search in the background and reports the longest pause of the
// event loop while it ran.
//   bench/bench_findreplace [files] [lines] [runs]
#include "editor/backgroundsearch.h"
#include "editor/filesearch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double min, median, max;
};

Figures measure(int runs, const std::function<void()> &step)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        seconds.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2], seconds.back()};
}

void report(const char *what, const Figures &ours, const Figures &baseline, const char *baselineName)
{
    std::printf("%-34s ours %.3f/%.3f/%.3f s  %s %.3f/%.3f/%.3f s  ratio %.2f\n", what, ours.min, ours.median,
                ours.max, baselineName, baseline.min, baseline.median, baseline.max, ours.median / baseline.median);
    std::printf("RESULT find/replace: %s (vs %s)\t%.6g\t%.6g\ts\n", QByteArray(what).trimmed().constData(), baselineName,
                ours.median, baseline.median);
}

QStringList makeProject(const QString &root, int files, int lines)
{
    QStringList paths;
    for (int index = 0; index < files; ++index) {
        const QString path = QStringLiteral("%1/src%2/module%3.c").arg(root).arg(index % 20).arg(index);
        QDir().mkpath(QFileInfo(path).path());
        QByteArray text;
        text.reserve(lines * 48);
        for (int line = 0; line < lines; ++line) {
            if (line % 25 == 0)
                text += "    counter_update(&state, " + QByteArray::number(line) + ");\n";
            else if (line % 7 == 0)
                text += "/* register " + QByteArray::number(line) + " of port B, see the data sheet */\n";
            else
                text += "    value_" + QByteArray::number(line) + " = read_port(PORTB) + " + QByteArray::number(index) + ";\n";
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        paths.append(path);
    }
    return paths;
}

// grep -c (or sed -i) over all files at once, as a user would run it on the project.
void runTool(const QString &program, QStringList arguments, const QStringList &files)
{
    arguments += files;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(-1);
}

qsizetype searchAll(const SearchPattern &pattern, const QStringList &files, FileSearch::Kind kind,
                    const QString &replaceText = QString())
{
    FileSearch search(pattern, files, kind, replaceText);
    search.run();
    return search.totalMatches();
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const int files = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    const int lines = argc > 2 ? QByteArray(argv[2]).toInt() : 1000;
    const int runs = argc > 3 ? QByteArray(argv[3]).toInt() : 5;
    QTemporaryDir scratch;
    const QStringList paths = makeProject(scratch.path(), files, lines);
    std::printf("find/replace over %d files of %d lines, %d runs (min/median/max)\n", files, lines, runs);

    struct Case
    {
        const char *name;
        SearchPattern::Options options;
        QString text;
        QStringList grepArguments;
    };
    const Case cases[] = {
        {"plain text", {false, true, false}, QStringLiteral("counter_update"), {QStringLiteral("-c"), QStringLiteral("-F"), QStringLiteral("counter_update")}},
        {"regular expression", {true, true, false}, QStringLiteral("counter_[a-z]+\\(&state"), {QStringLiteral("-c"), QStringLiteral("-E"), QStringLiteral("counter_[a-z]+\\(&state")}},
    };
    for (const Case &entry : cases) {
        const SearchPattern pattern(entry.text, entry.options);
        const qsizetype found = searchAll(pattern, paths, FileSearch::CountAll);
        const Figures grep = measure(runs, [&] { runTool(QStringLiteral("grep"), entry.grepArguments, paths); });
        const Figures find = measure(runs, [&] { searchAll(pattern, paths, FileSearch::CountAll); });
        std::printf("%s: %lld matches\n", entry.name, static_cast<long long>(found));
        report("  find all", find, grep, "grep -c");
    }

    // Each run turns every "counter_update" into "counter_refresh" and the next one back, so
    // every run changes the same number of files.
    const SearchPattern there(QStringLiteral("counter_update"), {false, true, false});
    const SearchPattern back(QStringLiteral("counter_(refresh)"), {true, true, false});
    int turn = 0;
    const Figures replace = measure(runs, [&] {
        if (turn++ % 2 == 0)
            searchAll(there, paths, FileSearch::ReplaceAll, QStringLiteral("counter_refresh"));
        else
            searchAll(back, paths, FileSearch::ReplaceAll, QStringLiteral("counter_update"));
    });
    const Figures grep = measure(runs, [&] {
        runTool(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"), QStringLiteral("counter_update")}, paths);
    });
    int sedTurn = 0;
    const Figures sed = measure(runs, [&] {
        runTool(QStringLiteral("sed"),
                {QStringLiteral("-i"), sedTurn++ % 2 ? QStringLiteral("s/counter_refresh/counter_update/g")
                                                     : QStringLiteral("s/counter_update/counter_refresh/g")},
                paths);
    });
    report("replace all (plain/regex turns)", replace, grep, "grep -c");
    report("replace all (plain/regex turns)", replace, sed, "sed -i");

    // The event loop beside a background pass: the longest gap between two timer ticks.
    const SearchPattern regex(QStringLiteral("no_such_[a-z]+\\("), {true, true, false});
    FileSearch search(regex, paths, FileSearch::FirstMatch);
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
    });
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    tick.start();
    BackgroundSearch::run(search, nullptr, QStringLiteral("Searching"));
    tick.stop();
    std::printf("background pass without a match: %.3f s, longest event-loop pause %lld ms\n",
                total.nsecsElapsed() / 1e9, static_cast<long long>(longestGap));
    return 0;
}
