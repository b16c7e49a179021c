#ifndef PLATFORM_EVENTWAIT_H
#define PLATFORM_EVENTWAIT_H

#include <functional>

namespace Platform {

// Waits on the GUI thread for something that arrives as events (a socket reply, a process
// start): runs the event loop, keeping every window painted, but holds back user input so
// that no command can run in the middle of another. done() is tested after each round of
// events and, when pollMs > 0, at least every pollMs milliseconds. Answers done() at the end;
// gives up after timeoutMs.
bool waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs = 0);

}

#endif
