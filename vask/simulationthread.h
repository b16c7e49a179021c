#ifndef SIMULATIONTHREAD_H
#define SIMULATIONTHREAD_H

#include "avrbackend.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QThread>
#include <QVector>
#include <QWaitCondition>
#include <memory>

// Runs a simulated controller on its own thread, in real time or as fast as it can. The
// window talks to it only through these calls (each returns at once) and learns about
// changes through changed(), emitted at most once a frame.
class SimulationThread : public QThread
{
    Q_OBJECT

public:
    struct Snapshot
    {
        QVector<AvrBackend::Level> levels;
        QList<QPair<QString, QByteArray>> uartOutput; // sent since the last snapshot
        quint64 cycle = 0;
        quint64 hertz = 0;
        quint64 runCycles = 0; // clock cycles simulated while running, in total
        bool simulating = false;
    };

    explicit SimulationThread(QObject *parent = nullptr);
    ~SimulationThread() override;

    // Takes over a created and loaded controller whose pins watchCount watches cover
    // (numbered from 0); null removes the current one. The simulation stays paused.
    void setBackend(std::unique_ptr<AvrBackend> backend, int watchCount);
    void setSimulating(bool on);
    void setRealTime(bool on);
    void requestReset();
    void drivePin(const QString &pin, bool high);
    void sendUart(const QString &uart, const QByteArray &bytes);
    Snapshot takeSnapshot();

signals:
    void changed();
    // The firmware stopped for good (crash, sleep with interrupts off).
    void halted(const QString &reason);

protected:
    void run() override;

private:
    void applyPending(AvrBackend *backend);
    void notifyIfDue();

    QMutex mutex;
    QWaitCondition wake;
    bool quitting = false;
    bool simulating = false;
    bool realTime = true;
    bool resetPending = false;
    bool backendPending = false;
    std::unique_ptr<AvrBackend> pendingBackend;
    QList<QPair<QString, bool>> pendingDrives;
    QList<QPair<QString, QByteArray>> pendingUart;
    Snapshot state;
    bool dirty = false;
    bool notified = false;
    QElapsedTimer sinceNotify;
};

#endif
