#include "signalforwarder.h"

#include <atomic>
#include <csignal>
#include <sys/types.h>

namespace {

const int forwarded[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<pid_t> child{0};
std::atomic<int> pending{0};
struct sigaction previous[sizeof forwarded / sizeof forwarded[0]];

// Runs as a signal handler: only lock-free atomics and kill().
void forward(int signal)
{
    const pid_t target = child.load();
    if (target > 0)
        kill(target, signal);
    else
        pending.store(signal);
}

} // namespace

SignalForwarder::SignalForwarder()
{
    struct sigaction action = {};
    action.sa_handler = forward;
    sigemptyset(&action.sa_mask);
    // Restarted, so that the wait for the child goes on after a forwarded signal.
    action.sa_flags = SA_RESTART;
    for (size_t index = 0; index < sizeof forwarded / sizeof forwarded[0]; ++index)
        sigaction(forwarded[index], &action, &previous[index]);
}

SignalForwarder::~SignalForwarder()
{
    for (size_t index = 0; index < sizeof forwarded / sizeof forwarded[0]; ++index)
        sigaction(forwarded[index], &previous[index], nullptr);
    child.store(0);
}

void SignalForwarder::setChild(qint64 processId)
{
    child.store(pid_t(processId));
    const int signal = pending.exchange(0);
    if (signal != 0 && processId > 0)
        kill(pid_t(processId), signal);
}
