#ifndef PLATFORM_SIMULATORWINDOW_H
#define PLATFORM_SIMULATORWINDOW_H

#include <QtGlobal>

namespace Platform {

// The simulator's top-level window, found through the process that the IDE started.
// A simulator started by anyone else is never found.
bool simulatorWindowExists(qint64 processId);

// Sends a message synchronously: returns only once the simulator handled it, or false at
// once when there is no window.
bool sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter);

void bringSimulatorToFront(qint64 processId);

}

#endif
