#ifndef SIGNALFORWARDER_H
#define SIGNALFORWARDER_H

#include <QtGlobal>

// While one exists, a request to end the wrapper (SIGTERM, SIGINT, SIGHUP) is passed on to
// the child it runs, so that stopping the wrapper stops the tool instead of leaving it
// running behind it. The wrapper itself waits for the child and reports its end.
class SignalForwarder
{
public:
    SignalForwarder();
    ~SignalForwarder();
    SignalForwarder(const SignalForwarder &) = delete;
    SignalForwarder &operator=(const SignalForwarder &) = delete;

    // The child to pass signals to; a signal that came before it started is passed on now.
    void setChild(qint64 processId);
};

#endif
