#include "app/commandlineoptions.h"

#include "app/srcmanager.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

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

// Options of the runs that end before the window exists; known, so never warned about.
bool isHandledBeforehand(const QString &argument)
{
    return is(argument, "--build") || is(argument, "--clean") || is(argument, "--help") || is(argument, "--version")
        || argument.startsWith(QLatin1String("--configuration"), Qt::CaseInsensitive);
}

QString translated(const char *text)
{
    return QCoreApplication::translate("CommandLineOptions", text);
}

}

void CommandLineOptions::parse()
{
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
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
        } else if (index > 0 && argument.startsWith(QLatin1Char('-')) && !isHandledBeforehand(argument)) {
            // Still ignored, but a mistyped option should not pass unnoticed.
            const QString warning = translated("zmxstudio: unknown option %1 ignored; --help lists the options").arg(argument);
            std::fprintf(stderr, "%s\n", warning.toLocal8Bit().constData());
        }
    }
}

std::optional<QString> CommandLineOptions::information(const QStringList &arguments)
{
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        if (is(arguments.at(index), "--version"))
            return QStringLiteral("ZMX Studio %1\n").arg(QStringLiteral(ZMX_VERSION));
        if (is(arguments.at(index), "--help")) {
            return translated(
                "Usage: zmxstudio [OPTION]... [PROJECT.zmxp]\n"
                "       zmxstudio --build|--clean [--configuration=NAME] PROJECT.zmxp\n"
                "\n"
                "Options are read without regard to letter case and act in the order given.\n"
                "  --scan_compilers        detect the installed tool chains for this user\n"
                "  --scan_compilers_admin  detect them for every user of the machine\n"
                "  -q, --quit              do not show the window; end once the options are done\n"
                "  -a, --advanced          offer the advanced project and controller choices\n"
                "  PROJECT.zmxp            open that project\n"
                "  --build, --clean        build or clean PROJECT.zmxp without a window and end;\n"
                "                          exit status 0 on success, 1 otherwise\n"
                "  --configuration=NAME    the build configuration to use (default: the first)\n"
                "  --help                  show this text and end\n"
                "  --version               show the release and end\n");
        }
    }
    return std::nullopt;
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
