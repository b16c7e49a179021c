#include "platform/processtree.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace Platform {

namespace {

// The group of the one build that runs at a time. It leads a group of its own, so an
// interrupt of the IDE (Ctrl+C in a terminal, a logout) would not reach it.
volatile sig_atomic_t runningGroup = 0;

void endGroupAndDie(int signal)
{
    const pid_t group = pid_t(runningGroup);
    if (group > 0)
        ::kill(-group, SIGKILL);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void passInterruptsToTheGroup()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current = {};
        // An interrupt that whoever started us chose to ignore stays ignored.
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action = {};
        action.sa_handler = endGroupAndDie;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

}

void startAsGroupLeader(QProcess &process)
{
    passInterruptsToTheGroup();
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QObject::connect(&process, &QProcess::started, &process,
                     [&process] { runningGroup = sig_atomic_t(process.processId()); });
    QObject::connect(&process, &QProcess::finished, &process, [] { runningGroup = 0; });
}

void killProcessTree(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
}

}
