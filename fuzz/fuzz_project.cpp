// Project files are shared and hand-edited: loading any bytes must end in a project or a
// message, and a project that loaded must save and load again.
#include "fuzzinput.h"

#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "fakeworkbench.h"
#include "projects/project.h"

#include <cstdlib>

namespace {

FakeWorkbench *workbench = nullptr;
BuildConfigList *compilers = nullptr;

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    workbench = new FakeWorkbench;
    compilers = new BuildConfigList(workbench);
    compilers->loadAll(FuzzInput::dataFolder() + QStringLiteral("/compilers"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzInput::freshFolder() + QStringLiteral("/fuzz.zmxp");
    if (!FuzzInput::write(path, QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))))
        return 0;
    workbench->clearOutput();
    Project project(compilers, workbench);
    if (!project.load(path))
        return 0;
    for (int index = 0; index < project.configurationCount(); ++index)
        project.configuration(index)->allFiles();
    project.setModified(true);
    if (!project.save())
        return 0;
    Project reloaded(compilers, workbench);
    if (!reloaded.load(path) || reloaded.configurationCount() != project.configurationCount())
        std::abort();
    return 0;
}
