// Adds 2 000 files to a project with two build configurations, saves it and loads it
// again, each with the project's tree items, and prints the median times of a few rounds.
#include "build/buildconfiglist.h"
#include "projects/project.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int fileCount = 2000;
constexpr int rounds = 5;

const char compilerConfiguration[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<COMPILER NAME="Bench Chain" VERSION="1.0">
 <FILE NAME="c" CATEGORY="C" ICON="project_c.png" SOURCE="1"/>
 <FILE NAME="S" CATEGORY="Assembly" ICON="project_assembly.png" SOURCE="1"/>
 <FILE NAME="h" CATEGORY="Header" ICON="project_header.png"/>
 <TOOL FILE="cc" NAME="CC"><ALIAS NAME="AS"/></TOOL>
 <TOOL FILE="ld" NAME="LD"/>
 <TOOL FILE="objcopy" NAME="HEX"/>
 <PROCESS TOOL="HEX" CMDLINE="$(HEX) %INFILE% %OUTFILE%"><FILE OUTPUT="hex" INPUT="elf"/></PROCESS>
 <PROCESS TOOL="LD" CMDLINE="$(LD) -o %OUTFILE% %INFILES%"><FILE OUTPUT="elf" INPUT="o"/></PROCESS>
 <PROCESS TOOL="CC" CMDLINE="$(CC) -c %INFILE% -o %OUTFILE%"><FILE OUTPUT="o" INPUT="c"/></PROCESS>
 <PROCESS TOOL="AS" CMDLINE="$(AS) -c %INFILE% -o %OUTFILE%"><FILE OUTPUT="o" INPUT="S"/></PROCESS>
 <FAMILY NAME="AVR">
  <CONTROLLER NAME="ATmega328P"><OPTION NAME="-mmcu=" VALUE="atmega328p"/></CONTROLLER>
 </FAMILY>
 <TARGET NAME="Debug"><FILE OUTPUT="hex"/><OPTION NAME="-O" VALUE="0" TOOL="CC" DEFAULT="1"/><OPTION NAME="-g"/></TARGET>
 <TARGET NAME="Release"><FILE OUTPUT="hex"/><OPTION NAME="-O" VALUE="s" TOOL="CC" DEFAULT="1"/></TARGET>
</COMPILER>
)";

const char emptyProject[] = R"(<PROJECT DESCRIPTION="Benchmark"><FILES/>
 <CONFIGURATION NAME="Debug" COMPILER="Bench Chain" TARGET="Debug"><CONTROLLER FAMILY="AVR" TYPE="ATmega328P"/></CONFIGURATION>
 <CONFIGURATION NAME="Release" COMPILER="Bench Chain" TARGET="Release"><CONTROLLER FAMILY="AVR" TYPE="ATmega328P"/></CONFIGURATION>
</PROJECT>
)";

bool writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// Wall time and processor time of one run, in milliseconds; on a busy machine the second
// says more.
struct Timing
{
    double wall;
    double processor;
};

Timing measure(const std::function<void()> &work)
{
    QElapsedTimer timer;
    const std::clock_t started = std::clock();
    timer.start();
    work();
    return {static_cast<double>(timer.nsecsElapsed()) / 1e6,
            static_cast<double>(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC};
}

void report(const char *label, std::vector<Timing> timings)
{
    const auto median = [&](double Timing::*field) {
        std::sort(timings.begin(), timings.end(), [&](const Timing &a, const Timing &b) { return a.*field < b.*field; });
        return timings[timings.size() / 2].*field;
    };
    const double wall = median(&Timing::wall);
    std::printf("  %-16s %8.1f ms wall, %8.1f ms processor\n", label, wall, median(&Timing::processor));
}

}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString compilers = folder.filePath(QStringLiteral("compilers"));
    const QString projectPath = folder.filePath(QStringLiteral("project/bench.zmxp"));
    if (!folder.isValid() || !writeFile(compilers + QStringLiteral("/bench.xml"), compilerConfiguration)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(folder.path()));
        return 1;
    }
    QStringList sources;
    for (int index = 0; index < fileCount; ++index) {
        const char *suffix = index % 40 == 0 ? "S" : (index % 10 == 0 ? "h" : "c");
        const QString path =
            folder.filePath(QStringLiteral("project/module%1/file%2.%3").arg(index / 100).arg(index).arg(QLatin1String(suffix)));
        if (!writeFile(path, "/* source */\n"))
            return 1;
        sources.append(path);
    }

    BuildConfigList list(nullptr);
    list.loadAll(compilers);
    std::vector<Timing> adding;
    std::vector<Timing> saving;
    std::vector<Timing> loading;
    for (int round = 0; round < rounds; ++round) {
        if (!writeFile(projectPath, emptyProject))
            return 1;
        QTreeWidget tree;
        {
            Project project(&list, nullptr);
            if (!project.load(projectPath))
                return 1;
            project.attachToTree(tree.invisibleRootItem());
            adding.push_back(measure([&] {
                for (const QString &source : std::as_const(sources))
                    project.addFile(source);
            }));
            bool saved = false;
            saving.push_back(measure([&] { saved = project.save(); }));
            if (!saved || project.files().size() != fileCount)
                return 1;
        }
        Project reloaded(&list, nullptr);
        loading.push_back(measure([&] {
            if (reloaded.load(projectPath))
                reloaded.attachToTree(tree.invisibleRootItem());
        }));
        if (reloaded.files().size() != fileCount || reloaded.currentFiles().size() != fileCount)
            return 1;
    }

    std::printf("project of %d files (%lld bytes), 2 configurations, median of %d rounds:\n", fileCount,
                static_cast<long long>(QFileInfo(projectPath).size()), rounds);
    report("add one by one:", adding);
    report("save:", saving);
    report("load:", loading);
    return 0;
}
