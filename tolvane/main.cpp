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
    if (options.executable().isEmpty())
        return Failure;

    const std::optional<int> exitCode =
            ChildRunner(options.executable(), options.childArguments()).run();
    if (!exitCode)
        return Failure;
    return GoodExitList(options.goodExits()).contains(*exitCode) ? Success : Failure;
}
