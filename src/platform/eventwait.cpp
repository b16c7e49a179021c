#include "platform/eventwait.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace Platform {

bool waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (done() || timeoutMs <= 0 || !dispatcher)
        return done();
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the dispatcher at the deadline (or every poll interval) when nothing else does.
    // The dispatcher is driven directly rather than through a nested QEventLoop, which
    // refuses to run once the application's own loop has been told to quit: the simulator
    // is still closed properly while the program ends.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(pollMs > 0 && pollMs < timeoutMs ? pollMs : timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        dispatcher->processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

}
