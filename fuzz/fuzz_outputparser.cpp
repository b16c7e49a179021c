// Tool output is whatever the tools print, in any encoding and of any length: every line
// goes through the bundled message patterns, on the output channels and from an error file.
#include "fuzzinput.h"

#include "build/buildconfiglist.h"
#include "build/outputparser.h"
#include "fakeworkbench.h"

namespace {

FakeWorkbench *workbench = nullptr;
OutputParser *parser = nullptr;

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    workbench = new FakeWorkbench;
    BuildConfigList compilers(workbench);
    compilers.loadAll(FuzzInput::dataFolder() + QStringLiteral("/compilers"));
    QList<MessageDefinition> definitions;
    for (const BuildConfig *config : compilers.configurations()) {
        for (const BuildProcess *process : config->processes())
            definitions += process->messageDefinitions();
    }
    parser = new OutputParser(workbench);
    parser->setDefinitions(definitions);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString folder = FuzzInput::freshFolder();
    FuzzInput::write(folder + QStringLiteral("/main.c"), QByteArray());
    parser->setDirectories(folder, folder + QStringLiteral("/Debug"));
    parser->setProjectFileLookup([&folder](const QString &name) {
        return name.compare(QStringLiteral("main.c"), Qt::CaseInsensitive) == 0 ? folder + QStringLiteral("/main.c")
                                                                                 : QString();
    });
    workbench->clearOutput();
    for (const QByteArray &line : bytes.split('\n'))
        parser->outputLine(QString::fromLocal8Bit(line));
    const QString errors = folder + QStringLiteral("/errors.txt");
    if (FuzzInput::write(errors, bytes))
        parser->readErrorFiles({{errors, (size & 1) != 0}});
    return 0;
}
