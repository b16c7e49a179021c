#include "build/projectbuilder.h"

#include "core/waitcursor.h"
#include "core/workbench.h"
#include "build/buildableproject.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "platform/buildtools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

const char *const ProjectBuilder::makeJobsGroup = "Build";
const char *const ProjectBuilder::makeJobsKey = "Make jobs";

ProjectBuilder::ProjectBuilder(BuildableProject &project, BuildConfigList *compilers, Workbench *mainWindow, QObject *parent)
    : QObject(parent), project(project), compilers(compilers), mainWindow(mainWindow), parser(mainWindow)
{
    connect(&runner, &MakeRunner::outputLine, this, [this](const QString &line) { parser.outputLine(line); });
    parser.setProjectFileLookup([this](const QString &name) { return this->project.buildFilePath(name); });
}

ProjectBuilder::~ProjectBuilder() = default;

int ProjectBuilder::defaultMakeJobs()
{
    return std::clamp(QThread::idealThreadCount(), 1, maximumMakeJobs);
}

int ProjectBuilder::makeJobs(Workbench *workbench)
{
    if (!workbench)
        return defaultMakeJobs();
    const QVariant stored = workbench->settingsValue(QLatin1String(makeJobsGroup) + QLatin1Char('/') + QLatin1String(makeJobsKey));
    bool ok = false;
    const int jobs = stored.toString().trimmed().toInt(&ok);
    return ok && jobs >= 0 && jobs <= maximumMakeJobs ? jobs : defaultMakeJobs();
}

QStringList ProjectBuilder::parallelArguments(int jobs)
{
    if (jobs <= 0)
        return {};
    return {QStringLiteral("-j%1").arg(jobs), QStringLiteral("--output-sync=target")};
}

QString ProjectBuilder::projectDirectory() const
{
    return QFileInfo(project.fileName()).absolutePath();
}

bool ProjectBuilder::prepareBuild()
{
    BuildProject *configuration = project.currentConfiguration();
    if (!configuration) {
        if (mainWindow)
            mainWindow->addError(tr("Compilation failed. No project configurations defined, check the Project Settings."));
        return false;
    }
    if (mainWindow) {
        mainWindow->updateBuildTargets(mainWindow->currentTarget());
        mainWindow->clearOutput();
    }
    if (!project.saveWithFiles()) {
        if (mainWindow)
            mainWindow->addError(tr("Project must be saved before compilation"));
        return false;
    }

    bool ok = true;
    const auto fail = [&](const QString &text) {
        if (mainWindow)
            mainWindow->addError(text);
        ok = false;
    };
    if (configuration->family().isEmpty())
        fail(tr("No controller family defined."));
    if (configuration->controller().isEmpty())
        fail(tr("No controller defined."));
    const QString compiler = configuration->compilerName();
    if (compiler.isEmpty()) {
        fail(tr("No compiler defined."));
        fail(tr("Compilation failed. Check the Project Settings."));
        return false;
    }
    if (compilers && !compilers->names(true).contains(compiler, Qt::CaseInsensitive))
        fail(tr("The selected compiler '%1' is not installed.").arg(compiler));
    if (!ok) {
        fail(tr("Compilation failed. Check the Project Settings."));
        return false;
    }

    MakefileWriter writer(*configuration, projectDirectory(), mainWindow);
    writer.setProjectFile(project.fileName());
    if (!writer.write()) {
        fail(tr("Cannot create Makefile."));
        return false;
    }
    errorFiles = writer.errorFiles();
    project.setMakefileCurrent(true);
    return true;
}

QProcessEnvironment ProjectBuilder::makeEnvironment(const MakefileWriter &writer, const QString &goal,
                                                    bool &configured) const
{
    const QStringList directories = writer.compilerDirectories();
    configured = !directories.isEmpty() && !directories.first().isEmpty();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString separator = Platform::pathListSeparator();
    const QString path = environment.value(QStringLiteral("PATH"));
    // An empty entry would put the working directory on the search path.
    environment.insert(QStringLiteral("PATH"), (path.isEmpty() ? QString() : path + separator)
                                                   + QDir::toNativeSeparators(directories.join(separator)));
    for (const EnvironmentEntry &entry : writer.environment(goal)) {
        const QString current = environment.value(entry.name);
        environment.insert(entry.name,
                           !entry.isSet && !current.isEmpty() ? current + entry.separator + entry.value : entry.value);
    }
    return environment;
}

bool ProjectBuilder::runMake(const QString &workingDirectory, const QString &goal)
{
    if (building)
        return false;
    WaitCursor cursor;
    building = true;
    parser.resetCounts();
    const bool ok = run(workingDirectory, goal);
    if (mainWindow)
        mainWindow->showStatusMessage(QString());
    building = false;
    return ok;
}

bool ProjectBuilder::run(const QString &workingDirectory, const QString &goal)
{
    BuildProject *configuration = project.currentConfiguration();
    if (!configuration) {
        if (mainWindow)
            mainWindow->addError(tr("Project configuration is not valid"));
        return false;
    }
    const MakefileWriter writer(*configuration, projectDirectory(), mainWindow);
    parser.setDefinitions(writer.messageDefinitions());
    parser.setDirectories(projectDirectory(), writer.buildDirectory());

    if (!project.hasBuildSources()) {
        if (mainWindow)
            mainWindow->addError(tr("No source files to build"));
        return false;
    }
    const QString make = Platform::makeProgram(mainWindow ? mainWindow->toolsDirectory() : QString());
    if (!QFileInfo::exists(make)) {
        if (mainWindow)
            mainWindow->addError(tr("%1 does not exist in path '%2'").arg(QFileInfo(make).fileName(), QFileInfo(make).absoluteFilePath()));
        return false;
    }

    bool ok = true;
    const QProcessEnvironment environment = makeEnvironment(writer, goal, ok);
    if (!ok && mainWindow)
        mainWindow->addError(tr("Compiler is not configured.\n"));
    QStringList arguments;
    if (rebuildAll_)
        arguments.append(QStringLiteral("-B"));
    arguments += parallelArguments(makeJobs(mainWindow));
    arguments += makeArguments(goal);
    if (goal == QLatin1String("clean"))
        arguments.append(QStringLiteral("-s"));
    deleteErrorFiles();

    MakeRunner::Result result;
    if (ok) {
        if (mainWindow)
            mainWindow->showStatusMessage(goal == QLatin1String("clean") ? tr("Cleaning") : tr("Building"));
        result = runner.run(make, arguments, workingDirectory, environment);
        if (result.outcome == MakeRunner::Outcome::Aborted) {
            if (mainWindow)
                mainWindow->addMessage(goal == QLatin1String("clean") ? tr("Clean aborted by user\n")
                                                                      : tr("Build aborted by user\n"));
            ok = false;
        } else if (result.outcome == MakeRunner::Outcome::NotStarted) {
            // make exists but could not be run; that is no success.
            if (mainWindow)
                mainWindow->addError(tr("Cannot start %1: %2\n").arg(QDir::toNativeSeparators(make), result.errorString));
            ok = false;
        }
    }
    parser.readErrorFiles(errorFiles);
    // The counts end the tools' output, ahead of the outcome line that callers look for last.
    const bool isBuild = goal != QLatin1String("clean") && goal != QLatin1String("tidy");
    if (ok && isBuild && mainWindow)
        mainWindow->addMessage(parser.countsText());
    if (!ok)
        return false;
    if (result.outcome == MakeRunner::Outcome::Crashed) {
        if (mainWindow)
            mainWindow->addError(tr("Process seems to be crashed: %1\n").arg(result.errorString));
        return false;
    }
    if (result.exitCode != 0) {
        if (mainWindow)
            mainWindow->addError(tr("Error code %1\n").arg(result.exitCode));
        return false;
    }
    return true;
}

QStringList ProjectBuilder::makeArguments(const QString &goal) const
{
    QStringList arguments{QDir::toNativeSeparators(
        QStringLiteral("--makefile=%1/Makefile").arg(project.currentConfiguration()->buildFolder()))};
    if (!goal.isEmpty())
        arguments.append(goal);
    return arguments;
}

bool ProjectBuilder::targetMade(const QDateTime &start)
{
    BuildProject *configuration = project.currentConfiguration();
    MakefileWriter writer(*configuration, projectDirectory(), mainWindow);
    const QFileInfo target(writer.outputFile());
    // File times lag the clock by a tick and some file systems keep whole seconds only.
    if (target.exists() && target.lastModified() >= start.addSecs(-2))
        return true;
    if (target.exists() && !rebuildAll_) {
        bool configured = true;
        const QProcessEnvironment environment = makeEnvironment(writer, configuration->targetName(), configured);
        building = true;
        const MakeRunner::Result result =
            question.run(Platform::makeProgram(mainWindow ? mainWindow->toolsDirectory() : QString()),
                         QStringList{QStringLiteral("-q")} + makeArguments(configuration->targetName()),
                         projectDirectory(), environment);
        building = false;
        if (result.outcome == MakeRunner::Outcome::Finished && result.exitCode == 0)
            return true;
    }
    if (mainWindow) {
        mainWindow->addError(tr("make ended without an error, but the build did not make %1.")
                                 .arg(QDir::toNativeSeparators(target.absoluteFilePath())));
    }
    return false;
}

void ProjectBuilder::deleteErrorFiles() const
{
    for (const ErrorFile &file : errorFiles) {
        if (QFile::exists(file.path))
            QFile::remove(file.path);
    }
}

void ProjectBuilder::abortBuild()
{
    runner.abort();
    question.abort();
}

bool ProjectBuilder::compile()
{
    // A second command while make runs must not clear the output or rewrite the Makefile.
    if (building || !prepareBuild())
        return false;
    BuildProject *configuration = project.currentConfiguration();
    const QDateTime start = QDateTime::currentDateTime();
    const bool ok = runMake(projectDirectory(), configuration->targetName()) && targetMade(start);
    // The counts stay in the status bar until the next status text.
    if (mainWindow)
        mainWindow->showStatusMessage(parser.countsText());
    if (!ok)
        return false;
    if (mainWindow)
        mainWindow->addSuccess(tr("Compiled successfully.\n"));
    rebuildAll_ = false;
    return true;
}

bool ProjectBuilder::clean()
{
    if (building || !prepareBuild() || !runMake(projectDirectory(), QStringLiteral("clean")))
        return false;
    if (mainWindow)
        mainWindow->addMessage(tr("Cleaned.\n"));
    return true;
}

bool ProjectBuilder::tidy()
{
    if (building || !prepareBuild() || !runMake(projectDirectory(), QStringLiteral("tidy")))
        return false;
    if (mainWindow)
        mainWindow->addMessage(tr("Tidied.\n"));
    return true;
}
