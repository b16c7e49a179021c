// Compiler configurations are downloaded and hand-edited: any bytes load or are refused,
// and whatever loads answers the questions a build and the dialogs ask of it.
#include "fuzzinput.h"

#include "build/buildconfig.h"
#include "fakeworkbench.h"

namespace {

FakeWorkbench *workbench = nullptr;

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    workbench = new FakeWorkbench;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzInput::freshFolder() + QStringLiteral("/fuzz.xml");
    if (!FuzzInput::write(path, QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))))
        return 0;
    workbench->clearOutput();
    BuildConfig config(workbench);
    if (!config.load(path))
        return 0;
    config.sourceFiles({QStringLiteral("a.c"), QStringLiteral("b.S"), QStringLiteral("c.dsn")});
    for (const CompilerFamily &family : config.families()) {
        for (const CompilerController &controller : family.controllers) {
            for (const CompilerTarget &target : config.targets())
                config.defaultOptionValues(target.name, QString(), family.name, controller.name);
        }
    }
    for (const QString &tool : config.processToolNames()) {
        config.toolOptionDefinitions(tool);
        config.toolFile(tool);
    }
    for (const CompilerTarget &target : config.targets())
        config.processesProducing(target.output.value);
    return 0;
}
