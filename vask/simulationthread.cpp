#include "simulationthread.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

namespace {

// Simulated time per slice: short enough that commands and pacing react within a frame.
constexpr quint64 slicesPerSecond = 1000;
// Wall time between two changed() signals: about one frame.
constexpr qint64 frameMilliseconds = 16;

}

SimulationThread::SimulationThread(QObject *parent)
    : QThread(parent)
{
    sinceNotify.start();
}

SimulationThread::~SimulationThread()
{
    {
        QMutexLocker lock(&mutex);
        quitting = true;
        wake.wakeAll();
    }
    wait();
}

void SimulationThread::setBackend(std::unique_ptr<AvrBackend> backend, int watchCount)
{
    QMutexLocker lock(&mutex);
    pendingBackend = std::move(backend);
    backendPending = true;
    simulating = false;
    pendingDrives.clear();
    pendingUart.clear();
    resetPending = false;
    state = Snapshot();
    state.levels.fill(AvrBackend::Level::Floating, watchCount);
    if (pendingBackend) {
        state.hertz = pendingBackend->frequency();
        for (int i = 0; i < watchCount; ++i)
            state.levels[i] = pendingBackend->level(i);
    }
    wake.wakeAll();
}

void SimulationThread::setSimulating(bool on)
{
    QMutexLocker lock(&mutex);
    simulating = on;
    state.simulating = on;
    wake.wakeAll();
}

void SimulationThread::setRealTime(bool on)
{
    QMutexLocker lock(&mutex);
    realTime = on;
    wake.wakeAll();
}

void SimulationThread::requestReset()
{
    QMutexLocker lock(&mutex);
    resetPending = true;
    wake.wakeAll();
}

void SimulationThread::drivePin(const QString &pin, bool high)
{
    QMutexLocker lock(&mutex);
    pendingDrives.append({pin, high});
    wake.wakeAll();
}

void SimulationThread::sendUart(const QString &uart, const QByteArray &bytes)
{
    QMutexLocker lock(&mutex);
    pendingUart.append({uart, bytes});
    wake.wakeAll();
}

SimulationThread::Snapshot SimulationThread::takeSnapshot()
{
    QMutexLocker lock(&mutex);
    Snapshot copy = state;
    state.uartOutput.clear();
    notified = false;
    dirty = false;
    return copy;
}

void SimulationThread::notifyIfDue()
{
    if (dirty && !notified && sinceNotify.elapsed() >= frameMilliseconds) {
        notified = true;
        sinceNotify.restart();
        emit changed();
    }
}

// Called with the mutex held.
void SimulationThread::applyPending(AvrBackend *backend)
{
    if (!backend)
        return;
    const auto drives = std::exchange(pendingDrives, {});
    const auto bytes = std::exchange(pendingUart, {});
    const bool reset = std::exchange(resetPending, false);
    mutex.unlock();
    if (reset)
        backend->reset();
    for (const auto &drive : drives)
        backend->drivePin(drive.first, drive.second);
    for (const auto &send : bytes)
        backend->sendUart(send.first, send.second);
    mutex.lock();
    if (reset)
        state.cycle = backend->cycle();
}

void SimulationThread::run()
{
    std::unique_ptr<AvrBackend> backend;
    QElapsedTimer pace;
    quint64 paceCycle = 0;
    bool pacing = false;
    QMutexLocker lock(&mutex);
    while (!quitting) {
        if (backendPending) {
            backendPending = false;
            std::unique_ptr<AvrBackend> old = std::move(backend);
            backend = std::move(pendingBackend);
            lock.unlock();
            old.reset();
            if (backend) {
                backend->setPinHandler([this](int watch, AvrBackend::Level level, quint64) {
                    QMutexLocker guard(&mutex);
                    if (watch < state.levels.size())
                        state.levels[watch] = level;
                    dirty = true;
                });
                backend->setUartHandler([this](const QString &uart, quint8 byte, quint64) {
                    QMutexLocker guard(&mutex);
                    if (state.uartOutput.isEmpty() || state.uartOutput.last().first != uart)
                        state.uartOutput.append({uart, QByteArray()});
                    state.uartOutput.last().second.append(static_cast<char>(byte));
                    dirty = true;
                });
            }
            lock.relock();
            pacing = false;
        }
        applyPending(backend.get());
        if (!simulating || !backend) {
            pacing = false;
            notifyIfDue();
            if (dirty && !notified)
                wake.wait(&mutex, QDeadlineTimer(frameMilliseconds));
            else if (!backendPending && pendingDrives.isEmpty() && pendingUart.isEmpty() && !resetPending && !quitting)
                wake.wait(&mutex);
            continue;
        }
        if (!pacing) {
            pacing = true;
            pace.start();
            paceCycle = backend->cycle();
        }
        const quint64 hertz = backend->frequency();
        const quint64 slice = std::max<quint64>(hertz / slicesPerSecond, 1);
        const bool paced = realTime;
        lock.unlock();
        const bool alive = backend->run(slice);
        lock.relock();
        state.cycle = backend->cycle();
        state.runCycles += slice;
        dirty = true;
        if (!alive) {
            simulating = false;
            state.simulating = false;
            const QString reason = backend->stopReason();
            lock.unlock();
            emit halted(reason);
            lock.relock();
        }
        notifyIfDue();
        if (!paced || !simulating)
            continue;
        // Stay level with the wall clock; wake early for any command.
        const qint64 simulated = static_cast<qint64>(static_cast<double>(backend->cycle() - paceCycle) * 1e9 / static_cast<double>(hertz));
        const qint64 ahead = simulated - pace.nsecsElapsed();
        if (ahead > 1000000)
            wake.wait(&mutex, QDeadlineTimer(ahead / 1000000));
        else if (ahead < -100000000) {
            // Far behind (a slow machine): catch up from now on instead of racing.
            pace.restart();
            paceCycle = backend->cycle();
        }
    }
}
