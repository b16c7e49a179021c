#include "app/commandlineoptions.h"
#include "core/helpers.h"
#include "app/srcmanager.h"
#include "app/workingdirectories.h"
#include "editor/srctabsholder.h"
#include "platform/crashguard.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#ifdef ZMX_TEST_HOOKS
#include "app/testhooks.h"
#endif

namespace {

struct Entry
{
    int argc;
    char **argv;
    int exitCode;
};

struct EventLoop
{
    SrcManager *window;
    bool quitRequested;
    int exitCode;
};

void runShownWindow(void *context)
{
    auto *loop = static_cast<EventLoop *>(context);
    if (loop->quitRequested)
        return;
    loop->window->show();
    loop->window->checkQuorvinInstallation();
#ifdef ZMX_TEST_HOOKS
    TestHooks::armFromEnvironment(loop->window);
#endif
    loop->exitCode = QApplication::exec();
}

// Qt's texts and ours in the system's language, for as long as it lives.
struct Translations
{
    QTranslator qt;
    QTranslator app;

    Translations()
    {
        const QString locale = QLocale::system().name();
        (void)qt.load(QStringLiteral("qt_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        QCoreApplication::installTranslator(&qt);
        // A translation in the working directory comes first, so that one can be tried out
        // without touching the installation; an installed program is started from anywhere,
        // so its own translations folder beside bin/ follows.
        const QString appTranslation = QStringLiteral("SrcManager_") + locale;
        if (!app.load(appTranslation, QString()))
            (void)app.load(appTranslation, WorkingDirectories::translations());
        QCoreApplication::installTranslator(&app);
    }
};

// A build without a window needs no display, fonts or styles: the core application alone
// starts and ends in a fraction of the time, which every scripted build pays.
void runBatchBuild(void *context)
{
    auto *entry = static_cast<Entry *>(context);
    QCoreApplication application(entry->argc, entry->argv);
    const Translations translations;
    initResources();
    entry->exitCode = CommandLineOptions::batchBuild(QCoreApplication::arguments())->run();
}

void runEntry(void *context)
{
    auto *entry = static_cast<Entry *>(context);
    QApplication application(entry->argc, entry->argv);
    // Every window and message box carries this one name.
    QApplication::setApplicationDisplayName(QStringLiteral("ZMX Studio"));
    const Translations translations;
    initResources();
    QIcon icon(QStringLiteral(":images/ZMXStudio32.png"));
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
        for (QIcon::State state : {QIcon::On, QIcon::Off})
            icon.addFile(QStringLiteral(":images/ZMXStudio16.png"), QSize(16, 16), mode, state);
    }
    QApplication::setWindowIcon(icon);

    SrcManager window;
    CommandLineOptions options(&window, QCoreApplication::arguments());
    options.parse();

    EventLoop loop = {&window, options.quitRequested(), 0};
    if (!Platform::runCrashGuarded(runShownWindow, &loop)) {
        // Whatever the user typed must survive the crash.
        window.tabs()->saveAll();
        if (loop.exitCode == 0)
            loop.exitCode = -1;
    }
    entry->exitCode = loop.exitCode;
}

}

int main(int argc, char *argv[])
{
    // A run that never shows the window needs no display either.
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    // Asked for at a terminal, answered there: no display, nothing else done.
    if (const std::optional<QString> information = CommandLineOptions::information(arguments)) {
        std::fputs(information->toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (CommandLineOptions::showsNoWindow(arguments) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    Entry entry = {argc, argv, 0};
    // Only whether it is a batch build is asked here; its refusals are read again once the
    // translations are in.
    const bool batchBuild = CommandLineOptions::batchBuild(arguments).has_value();
    if (!Platform::runCrashGuarded(batchBuild ? runBatchBuild : runEntry, &entry)) {
        if (entry.exitCode == 0)
            entry.exitCode = -1;
    }
    return entry.exitCode;
}
