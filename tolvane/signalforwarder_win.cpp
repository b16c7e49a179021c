#include "signalforwarder.h"

// A console's Ctrl+C and Ctrl+Break reach every process attached to it, the child included,
// and a terminated wrapper's child is ended by the job the caller runs us in: there is
// nothing to pass on.
SignalForwarder::SignalForwarder() = default;

SignalForwarder::~SignalForwarder() = default;

void SignalForwarder::setChild(qint64) {}
