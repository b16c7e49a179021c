// A compiler configuration and a project that uses it, separated by a NUL byte: whatever
// both hold, the Makefile is written with every value quoted for make and the shell, or
// refused with a message; nothing is written outside the project's folder.
#include "fuzzinput.h"

#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/makefilewriter.h"
#include "fakeworkbench.h"
#include "projects/project.h"

#include <QDir>
#include <QDirIterator>
#include <cstdlib>

namespace {

FakeWorkbench *workbench = nullptr;

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    workbench = new FakeWorkbench;
    workbench->toolsDir = QStringLiteral("/opt/ide tools");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = FuzzInput::split(data, size, 2);
    const QString folder = FuzzInput::freshFolder();
    const QString projectFolder = folder + QStringLiteral("/project");
    const QString projectFile = projectFolder + QStringLiteral("/fuzz.zmxp");
    if (!FuzzInput::write(folder + QStringLiteral("/compilers/fuzz.xml"), parts[0])
        || !FuzzInput::write(projectFile, parts[1]))
        return 0;
    workbench->clearOutput();
    BuildConfigList compilers(workbench);
    if (!compilers.loadAll(folder + QStringLiteral("/compilers")))
        return 0;
    for (const BuildConfig *config : compilers.configurations())
        config->storeDetection(true, QStringLiteral("/opt/tool chain's/bin"));
    Project project(&compilers, workbench);
    if (!project.load(projectFile))
        return 0;
    for (int index = 0; index < project.configurationCount(); ++index) {
        BuildProject *configuration = project.configuration(index);
        MakefileWriter writer(*configuration, projectFolder, workbench);
        writer.setProjectFile(projectFile);
        writer.write();
        writer.messageDefinitions();
        writer.environment(configuration->targetName());
        writer.compilerDirectories();
    }
    // Everything the writer made lies below the project's folder.
    QDirIterator written(QDir::cleanPath(folder + QStringLiteral("/../../..")), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (written.hasNext()) {
        const QString file = written.next();
        if (!file.startsWith(projectFolder + QLatin1Char('/')) && !file.startsWith(folder + QStringLiteral("/compilers/")))
            std::abort();
    }
    return 0;
}
