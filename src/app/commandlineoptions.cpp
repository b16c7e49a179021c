#include "app/commandlineoptions.h"

#include "app/srcmanager.h"

#include <algorithm>

CommandLineOptions::CommandLineOptions(SrcManager *window, const QStringList &arguments)
    : window(window), arguments(arguments)
{
}

CommandLineOptions::~CommandLineOptions() = default;

namespace {

bool is(const QString &argument, const char *option)
{
    return argument.compare(QLatin1String(option), Qt::CaseInsensitive) == 0;
}

bool isQuit(const QString &argument)
{
    return is(argument, "--quit") || is(argument, "-q");
}

}

void CommandLineOptions::parse()
{
    for (const QString &argument : std::as_const(arguments)) {
        if (is(argument, "--scan_compilers")) {
            window->scanCompilers();
        } else if (is(argument, "--scan_compilers_admin")) {
            window->openSettings(true);
            window->scanCompilers();
        } else if (argument.endsWith(QLatin1String(".zmxp"), Qt::CaseInsensitive)) {
            window->openProject(argument);
        } else if (isQuit(argument)) {
            quit = true;
        } else if (is(argument, "--advanced") || is(argument, "-a")) {
            window->setAdvancedMode(true);
        }
    }
}

bool CommandLineOptions::showsNoWindow(const QStringList &arguments)
{
    return batchBuild(arguments) || std::any_of(arguments.cbegin(), arguments.cend(), isQuit);
}

std::optional<BatchBuild> CommandLineOptions::batchBuild(const QStringList &arguments)
{
    std::optional<BatchBuild::Goal> goal;
    QString project;
    QString configuration;
    const QLatin1String configurationOption("--configuration=");
    for (const QString &argument : arguments) {
        if (argument.compare(QLatin1String("--build"), Qt::CaseInsensitive) == 0)
            goal = BatchBuild::Goal::Build;
        else if (argument.compare(QLatin1String("--clean"), Qt::CaseInsensitive) == 0)
            goal = BatchBuild::Goal::Clean;
        else if (argument.startsWith(configurationOption, Qt::CaseInsensitive))
            configuration = argument.mid(configurationOption.size());
        else if (argument.endsWith(QLatin1String(".zmxp"), Qt::CaseInsensitive))
            project = argument;
    }
    if (!goal)
        return std::nullopt;
    return BatchBuild(*goal, project, configuration);
}
