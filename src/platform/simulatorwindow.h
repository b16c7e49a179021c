#ifndef PLATFORM_SIMULATORWINDOW_H
#define PLATFORM_SIMULATORWINDOW_H

#include <QString>
#include <QtGlobal>

namespace Platform {

enum class SimulatorReply {
    Handled,   // the simulator took the message and answered
    NoWindow,  // no simulator window belongs to the process
    NoAnswer   // it has a window but did not answer within simulatorReplyTimeoutMs
};

// The longest a message may hold the IDE up: a simulator that hangs must not freeze it.
constexpr int simulatorReplyTimeoutMs = 2000;

// The simulator program below its installation directory.
QString simulatorProgram(const QString &installationDirectory);

// The simulator's top-level window, found through the process that the IDE started.
// A simulator started by anyone else is never found.
bool simulatorWindowExists(qint64 processId);

// Sends a message and waits until the simulator handled it, at most
// simulatorReplyTimeoutMs; the IDE's windows keep painting meanwhile.
SimulatorReply sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter);

void bringSimulatorToFront(qint64 processId);

}

#endif
