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
    bool bothGoals = false;
    QStringList projects;
    std::optional<QString> configuration;
    const QLatin1String configurationOption("--configuration");
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
        const auto setGoal = [&](BatchBuild::Goal wanted) {
            bothGoals = bothGoals || (goal && *goal != wanted);
            goal = wanted;
        };
        if (is(argument, "--build")) {
            setGoal(BatchBuild::Goal::Build);
        } else if (is(argument, "--clean")) {
            setGoal(BatchBuild::Goal::Clean);
        } else if (argument.startsWith(configurationOption + QLatin1Char('='), Qt::CaseInsensitive)) {
            configuration = argument.mid(configurationOption.size() + 1);
        } else if (argument.compare(configurationOption, Qt::CaseInsensitive) == 0) {
            // The name may follow as an argument of its own.
            configuration = index + 1 < arguments.size() ? arguments.at(++index) : QString();
        } else if (argument.endsWith(QLatin1String(".zmxp"), Qt::CaseInsensitive)) {
            projects.append(argument);
        }
    }
    if (!goal)
        return std::nullopt;
    if (bothGoals)
        return BatchBuild::refused(BatchBuild::tr("--build and --clean cannot be given together."));
    if (projects.size() > 1)
        return BatchBuild::refused(
            BatchBuild::tr("Give one project file, not %1: %2.").arg(projects.size()).arg(projects.join(QStringLiteral(", "))));
    if (configuration && configuration->isEmpty())
        return BatchBuild::refused(BatchBuild::tr("--configuration needs the name of a configuration."));
    return BatchBuild(*goal, projects.value(0), configuration.value_or(QString()));
}
