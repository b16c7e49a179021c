// Measures what the IDE adds to a build: a generated 200-file AVR project built through
// "zmxstudio --build" with as many make jobs as processors, against make run by hand on the
// same Makefile with those jobs and output sync, and against make one step at a time; the
// IDE's own processor time during a build; and how many tool message lines per second the
// IDE takes in.

#include "app/consoleworkbench.h"
#include "build/buildconfiglist.h"
#include "build/projectbuilder.h"
#include "projects/project.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <sys/resource.h>

namespace {

const int sourceFiles = 200;
const int messageLines = 100000;

// Counts the output lines instead of printing them.
class CountingWorkbench : public ConsoleWorkbench
{
public:
    int lines = 0;
    int links = 0;
    QString last;

    void addMessage(const QString &text) override { count(text); }
    void addError(const QString &text) override { count(text); }
    void addSuccess(const QString &text) override { count(text); }
    void addMessageLink(const QString &, int, int, const QString &text) override
    {
        ++links;
        count(text);
    }
    void addErrorLink(const QString &, int, int, QString &text) override
    {
        ++links;
        count(text);
    }

private:
    void count(const QString &text)
    {
        ++lines;
        last = text;
    }
};

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

bool generateProject(const QString &directory)
{
    QByteArray files;
    QByteArray calls;
    for (int index = 1; index < sourceFiles; ++index) {
        const QByteArray name = QStringLiteral("part%1").arg(index, 3, 10, QLatin1Char('0')).toLatin1();
        const QByteArray body = "int " + name + "(int x)\n{\n    int sum = 0;\n    for (int i = 0; i < x; ++i)\n"
                                "        sum += i * " + QByteArray::number(index) + ";\n    return sum;\n}\n";
        if (!writeFile(directory + "/src/" + name + ".c", body))
            return false;
        files += "  <FILE NAME=\"src/" + name + ".c\" GROUP=\"Source Files\"/>\n";
        calls += "    total += " + name + "(total & 7);\n";
    }
    QByteArray main = "volatile int total;\n";
    for (int index = 1; index < sourceFiles; ++index)
        main += "int part" + QStringLiteral("%1").arg(index, 3, 10, QLatin1Char('0')).toLatin1() + "(int x);\n";
    main += "int main(void)\n{\n" + calls + "    return 0;\n}\n";
    return writeFile(directory + "/src/main.c", main)
        && writeFile(directory + "/big.zmxp",
                     "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<PROJECT DESCRIPTION=\"\">\n <FILES>\n"
                     "  <FILE NAME=\"src/main.c\" GROUP=\"Source Files\"/>\n" + files
                         + " </FILES>\n <CONFIGURATION NAME=\"Debug\" COMPILER=\"AVR GCC\" TARGET=\"Debug\">\n"
                           "  <CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega328P\" CLOCK=\"16 MHz\"/>\n </CONFIGURATION>\n</PROJECT>\n");
}

void writeSettings(const QString &configDirectory, const QString &toolsDirectory, int jobs)
{
    QSettings settings(configDirectory + QStringLiteral("/Dravenhol Electronics/ZMX Studio.conf"), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("1"));
    settings.setValue(QStringLiteral("Tools"), toolsDirectory);
    settings.setValue(QLatin1String(ProjectBuilder::makeJobsGroup) + QLatin1Char('/') + QLatin1String(ProjectBuilder::makeJobsKey),
                      jobs);
    settings.beginWriteArray(QStringLiteral("compilers"), 1);
    settings.setArrayIndex(0);
    settings.setValue(QStringLiteral("name"), QStringLiteral("AVR GCC"));
    settings.setValue(QStringLiteral("configured"), true);
    settings.setValue(QStringLiteral("dir"),
                      QFileInfo(QStandardPaths::findExecutable(QStringLiteral("avr-gcc"))).absolutePath());
    settings.endArray();
}

// Wall seconds of one run with standard output thrown away; negative when it failed.
double timedRun(const QString &program, const QStringList &arguments, const QString &directory)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e9;
}

struct InProcess
{
    bool ok;
    double wall;
    double processor;
    int lines;
    int links;
};

InProcess buildInProcess(const QString &projectFile)
{
    CountingWorkbench workbench;
    BuildConfigList compilers(&workbench);
    compilers.loadAll();
    Project project(&compilers, &workbench);
    if (!project.load(projectFile))
        return {false, 0, 0, 0, 0};
    project.setCurrentConfiguration(0);
    QElapsedTimer timer;
    const double processorBefore = processorSeconds();
    timer.start();
    const bool ok = project.compile();
    return {ok, double(timer.nsecsElapsed()) / 1e9, processorSeconds() - processorBefore, workbench.lines,
            workbench.links};
}

}

int main(int argc, char *argv[])
{
    QTemporaryDir root;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const QString make = QStandardPaths::findExecutable(QStringLiteral("make"));
    if (make.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("avr-gcc")).isEmpty()) {
        std::printf("build: skipped, make or avr-gcc is not installed\n");
        return 0;
    }
    const QString zmxstudio = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bin/zmxstudio"));
    const QString project = root.filePath(QStringLiteral("big"));
    const QString projectFile = project + QStringLiteral("/big.zmxp");
    if (!generateProject(project))
        return 1;
    const int jobs = QThread::idealThreadCount();
    writeSettings(root.filePath(QStringLiteral("config")), root.filePath(QStringLiteral("no-tools")), jobs);

    const QStringList makeBuild = {QStringLiteral("--makefile=Debug/Makefile"), QStringLiteral("Debug")};
    const QStringList makeClean = {QStringLiteral("--makefile=Debug/Makefile"), QStringLiteral("clean"), QStringLiteral("-s")};
    const QStringList parallel = ProjectBuilder::parallelArguments(jobs);
    // Each build starts from a clean tree; the IDE's build writes the Makefile the others use.
    // An untimed build first brings the tool chain and the sources into the file cache, which
    // would otherwise count against whichever build runs first.
    const auto cleanThen = [&](const QString &program, const QStringList &arguments) {
        return timedRun(make, makeClean, project) >= 0 ? timedRun(program, arguments, project) : -1;
    };
    const QStringList ideBuild = {QStringLiteral("--build"), projectFile};
    if (timedRun(zmxstudio, ideBuild, project) < 0) {
        std::printf("build: a build failed\n");
        return 1;
    }
    const double ide = cleanThen(zmxstudio, ideBuild);
    const double byHand = cleanThen(make, parallel + makeBuild);
    const double serial = cleanThen(make, makeBuild);
    if (ide < 0 || byHand < 0 || serial < 0 || timedRun(make, makeClean, project) < 0) {
        std::printf("build: a build failed\n");
        return 1;
    }
    std::printf("build: %d-file AVR project, %d jobs: zmxstudio --build %.2f s, make %s %.2f s (ratio %.3f), "
                "serial make %.2f s (ratio %.3f)\n",
                sourceFiles, jobs, ide, qPrintable(parallel.join(QLatin1Char(' '))), byHand, ide / byHand, serial,
                ide / serial);
    std::printf("RESULT build: %d-file AVR project, zmxstudio --build with %d jobs (vs make -j%d --output-sync=target)\t%.6g\t%.6g\ts\n",
                sourceFiles, jobs, jobs, ide, byHand);
    std::printf("RESULT build: %d-file AVR project, zmxstudio --build with %d jobs (vs serial make)\t%.6g\t%.6g\ts\n",
                sourceFiles, jobs, ide, serial);

    const InProcess inProcess = buildInProcess(projectFile);
    if (!inProcess.ok)
        return 1;
    std::printf("build: same build in process: %.2f s wall, IDE's own processor time %.3f s (%.1f %% of wall)\n",
                inProcess.wall, inProcess.processor, 100 * inProcess.processor / inProcess.wall);

    // A stand-in for make that prints compiler messages, every one a link.
    const QString tools = root.filePath(QStringLiteral("tools"));
    if (!writeFile(tools + QStringLiteral("/make"),
                   "#!/bin/sh\nawk 'BEGIN { for (i = 0; i < " + QByteArray::number(messageLines)
                       + "; i++) printf \"src/part%03d.c:%d:5: warning: unused variable x%d\\n\", 1 + i % 199, i + 1, i }' >&2\n"))
        return 1;
    QFile::setPermissions(tools + QStringLiteral("/make"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    writeSettings(root.filePath(QStringLiteral("config")), tools, jobs);
    const double printed = timedRun(zmxstudio, {QStringLiteral("--build"), projectFile}, project);
    const InProcess lines = buildInProcess(projectFile);
    if (printed < 0 || !lines.ok || lines.links != messageLines)
        return 1;
    std::printf("build: %d message lines: zmxstudio --build %.2f s (%.0f lines/s); in process %.2f s (%.0f lines/s), "
                "processor %.2f s\n",
                messageLines, printed, messageLines / printed, lines.wall, messageLines / lines.wall, lines.processor);
    return 0;
}
