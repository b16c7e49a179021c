#include "app/batchbuild.h"

#include "app/consoleworkbench.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "projects/project.h"

BatchBuild::BatchBuild(Goal goal, const QString &projectFile, const QString &configuration)
    : goal(goal), projectFile(projectFile), configuration(configuration)
{
}

BatchBuild BatchBuild::refused(const QString &reason)
{
    BatchBuild batch(Goal::Build, QString(), QString());
    batch.refusal = reason;
    return batch;
}

int BatchBuild::run() const
{
    ConsoleWorkbench workbench;
    if (!refusal.isEmpty()) {
        workbench.addError(refusal);
        return 2;
    }
    if (projectFile.isEmpty()) {
        workbench.addError(tr("No project file given."));
        return 1;
    }
    BuildConfigList compilers(&workbench);
    compilers.loadAll();
    Project project(&compilers, &workbench);
    if (!project.load(projectFile)) {
        workbench.addError(tr("Cannot open project %1: %2").arg(projectFile, project.loadError()));
        return 1;
    }
    // Without a name, the first configuration of the file: when that one could not be
    // loaded, building the next one instead would build what nobody asked for.
    const QString wanted = configuration.isEmpty() ? project.storedConfigurationNames().value(0) : configuration;
    if (project.unloadedConfigurations().contains(wanted, Qt::CaseInsensitive)) {
        workbench.addError(tr("The configuration \"%1\" could not be loaded; nothing was built.").arg(wanted));
        return 1;
    }
    int index = -1;
    for (int candidate = 0; index < 0 && candidate < project.configurationCount(); ++candidate) {
        if (project.configuration(candidate)->name().compare(wanted, Qt::CaseInsensitive) == 0)
            index = candidate;
    }
    if (index < 0) {
        workbench.addError(tr("The project has no configuration named \"%1\".").arg(configuration));
        return 1;
    }
    project.setCurrentConfiguration(index);
    const bool ok = goal == Goal::Build ? project.compile() : project.clean();
    return ok ? 0 : 1;
}
