// Start-up to a shown, idle window: the IDE empty, the IDE with a 2 000-file project, and a
// bare Qt window holding one QsciScintilla as the baseline; then the resident memory of the
// IDE with that project and 20 files of 10 000 lines in tabs beside the bare window's. Each
// figure comes from a fresh process (this program again, with a mode argument), so that
// every start pays for its own fonts, styles and allocations.
//   xvfb-run -a bench/bench_startup [rounds]
// Each figure is printed as "RESULT name<TAB>value<TAB>baseline<TAB>unit" for bench/run.
#include "app/srcmanager.h"
#include "core/helpers.h"
#include "editor/srctabsholder.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int projectFiles = 2000;
constexpr int tabFiles = 20;
constexpr int tabLines = 10000;

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// A project on the bundled AVR tool chain with C, assembler and header files in 20 folders.
QString writeProject(const QString &folder)
{
    QByteArray files;
    for (int index = 0; index < projectFiles; ++index) {
        const char *suffix = index % 40 == 0 ? "S" : (index % 10 == 0 ? "h" : "c");
        const QString path = QStringLiteral("%1/module%2/file%3.%4").arg(folder).arg(index / 100).arg(index).arg(QLatin1String(suffix));
        if (!writeFile(path, "/* source */\n"))
            return QString();
        files += "  <FILE NAME=\"" + QFile::encodeName(QDir(folder).relativeFilePath(path)) + "\"/>\n";
    }
    const QString project = folder + QStringLiteral("/big.zmxp");
    const QByteArray text = "<PROJECT DESCRIPTION=\"Benchmark\">\n <FILES>\n" + files
                            + " </FILES>\n <CONFIGURATION NAME=\"Debug\" COMPILER=\"GNU AVR\" TARGET=\"Debug\">"
                              "<CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega328P\"/></CONFIGURATION>\n</PROJECT>\n";
    return writeFile(project, text) ? project : QString();
}

QStringList writeTabFiles(const QString &folder)
{
    QByteArray text;
    for (int line = 0; line < tabLines; ++line)
        text += "\tldi r16, 0x" + QByteArray::number(line % 256, 16) + "\t; line " + QByteArray::number(line) + "\n";
    QStringList paths;
    for (int index = 0; index < tabFiles; ++index) {
        const QString path = QStringLiteral("%1/tab%2.S").arg(folder).arg(index);
        if (!writeFile(path, text))
            return {};
        paths.append(path);
    }
    return paths;
}

// Quits once the event loop has nothing left to do after the window was shown: a zero
// timer runs only after the events queued before it, so two in a row mean idle.
void quitWhenIdle(const QElapsedTimer &sinceStart)
{
    QTimer::singleShot(0, [&sinceStart] {
        QTimer::singleShot(0, [&sinceStart] {
            std::printf("%.3f %.3f %.3f\n", sinceStart.nsecsElapsed() / 1e6, residentMiB(),
                        double(std::clock()) * 1000.0 / CLOCKS_PER_SEC);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    });
}

// One start in this process; prints the milliseconds to idle and the resident MiB.
int startOnce(int argc, char *argv[], const QString &mode, const QStringList &paths)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);
    if (mode == QLatin1String("bare")) {
        QMainWindow window;
        window.setCentralWidget(new QsciScintilla(&window));
        window.resize(1200, 800);
        window.show();
        quitWhenIdle(sinceStart);
        return QApplication::exec();
    }
    initResources();
    SrcManager window;
    if (!paths.isEmpty())
        window.openProject(paths.first());
    for (const QString &path : paths.mid(1))
        window.tabs()->openEditor(path);
    window.resize(1200, 800);
    window.show();
    quitWhenIdle(sinceStart);
    return QApplication::exec();
}

struct Sample
{
    double ms = 0;
    double mib = 0;
    double processorMs = 0; // says more than the wall time on a busy machine
};

// One start in a fresh process with its own settings folder.
Sample startChild(const QStringList &arguments, const QString &config)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(120000) || child.exitCode() != 0) {
        std::fprintf(stderr, "start-up run %s failed: %s\n", qPrintable(arguments.join(' ')),
                     child.readAllStandardError().constData());
        return {};
    }
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    return {fields.value(0).toDouble(), fields.value(1).toDouble(), fields.value(2).toDouble()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}

int main(int argc, char *argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--start") {
        QStringList paths;
        for (int index = 3; index < argc; ++index)
            paths.append(QString::fromLocal8Bit(argv[index]));
        return startOnce(argc, argv, QString::fromLocal8Bit(argv[2]), paths);
    }

    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 5;
    QTemporaryDir folder;
    const QString project = writeProject(folder.filePath(QStringLiteral("project")));
    const QStringList tabs = writeTabFiles(folder.filePath(QStringLiteral("tabs")));
    if (!folder.isValid() || project.isEmpty() || tabs.isEmpty()) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(folder.path()));
        return 1;
    }
    const QString config = folder.filePath(QStringLiteral("config"));

    std::vector<double> bare, empty, withProject, bareMiB, projectMiB, tabsMiB, bareCpu, emptyCpu, projectCpu;
    for (int round = 0; round < rounds; ++round) {
        const Sample b = startChild({"--start", "bare"}, config);
        const Sample e = startChild({"--start", "ide"}, config);
        const Sample p = startChild({"--start", "ide", project}, config);
        const Sample t = startChild(QStringList({"--start", "ide", project}) + tabs, config);
        if (b.ms <= 0 || e.ms <= 0 || p.ms <= 0 || t.ms <= 0)
            return 1;
        bare.push_back(b.ms);
        empty.push_back(e.ms);
        withProject.push_back(p.ms);
        bareCpu.push_back(b.processorMs);
        emptyCpu.push_back(e.processorMs);
        projectCpu.push_back(p.processorMs);
        bareMiB.push_back(b.mib);
        projectMiB.push_back(p.mib);
        tabsMiB.push_back(t.mib);
    }
    std::printf("start-up to an idle window, median of %d rounds: bare window %.1f ms, IDE %.1f ms, "
                "IDE with %d files %.1f ms\n",
                rounds, median(bare), median(empty), projectFiles, median(withProject));
    std::printf("processor time to idle: bare window %.1f ms, IDE %.1f ms, IDE with the project %.1f ms\n",
                median(bareCpu), median(emptyCpu), median(projectCpu));
    std::printf("resident memory: bare window %.1f MiB, IDE with the project %.1f MiB, and %d tabs of %d lines %.1f MiB\n",
                median(bareMiB), median(projectMiB), tabFiles, tabLines, median(tabsMiB));
    std::printf("RESULT start-up, empty IDE (vs bare QsciScintilla window)\t%.6g\t%.6g\tms\n", median(empty), median(bare));
    std::printf("RESULT start-up, %d-file project (vs bare QsciScintilla window)\t%.6g\t%.6g\tms\n", projectFiles,
                median(withProject), median(bare));
    std::printf("RESULT start-up processor time, empty IDE (vs bare QsciScintilla window)\t%.6g\t%.6g\tms\n",
                median(emptyCpu), median(bareCpu));
    std::printf("RESULT start-up processor time, %d-file project (vs bare QsciScintilla window)\t%.6g\t%.6g\tms\n",
                projectFiles, median(projectCpu), median(bareCpu));
    std::printf("RESULT resident memory, %d-file project (vs bare window)\t%.6g\t%.6g\tMiB\n", projectFiles,
                median(projectMiB), median(bareMiB));
    std::printf("RESULT resident memory, project and %d tabs of %d lines (vs bare window)\t%.6g\t%.6g\tMiB\n", tabFiles,
                tabLines, median(tabsMiB), median(bareMiB));
    return 0;
}
