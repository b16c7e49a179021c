#include "childrunner.h"
#include "goodexitlist.h"
#include "tolvaneoptions.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const TolvaneOptions options = TolvaneOptions::parse(application.arguments().mid(1));

    if (options.helpRequested()) {
        const QByteArray usage = TolvaneOptions::usageText().toUtf8();
        std::fwrite(usage.constData(), 1, static_cast<size_t>(usage.size()), stdout);
        std::fflush(stdout);
        return Failure;
    }
    if (options.executable().isEmpty()) {
        // Said on standard error, so that a caller that maps our exit code learns why.
        const QByteArray problem = options.executableGiven() ? "tolvane: --executable= names no program\n"
                                                             : "tolvane: no program given (--executable=PATH is missing)\n";
        std::fputs(problem.constData(), stderr);
        const QByteArray usage = TolvaneOptions::usageText().toUtf8() + '\n';
        std::fputs(usage.constData(), stderr);
        std::fflush(stderr);
        return Failure;
    }

    const std::optional<int> exitCode =
            ChildRunner(options.executable(), options.childArguments()).run();
    if (!exitCode)
        return Failure;
    return GoodExitList(options.goodExits()).contains(*exitCode) ? Success : Failure;
}
