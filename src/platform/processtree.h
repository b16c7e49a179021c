#ifndef PLATFORM_PROCESSTREE_H
#define PLATFORM_PROCESSTREE_H

class QProcess;

namespace Platform {

// Lets the process, once started, lead a group of its own, so that killProcessTree reaches
// the programs it starts as well, and so that an interrupt that ends the IDE ends that
// group with it. Call before starting it.
void startAsGroupLeader(QProcess &process);

// Kills the process at once, together with the programs it started where the system keeps
// track of them.
void killProcessTree(QProcess &process);

}

#endif
