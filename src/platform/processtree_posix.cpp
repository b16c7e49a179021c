#include "platform/processtree.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace Platform {

void startAsGroupLeader(QProcess &process)
{
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void killProcessTree(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
}

}
