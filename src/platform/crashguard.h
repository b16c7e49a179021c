#ifndef PLATFORM_CRASHGUARD_H
#define PLATFORM_CRASHGUARD_H

namespace Platform {

// Runs body(context) under a processor-fault guard. A fault inside it (bad memory access,
// division by zero, illegal instruction) writes "minidump.dmp" in the working directory,
// tells the user whether the dump could be written, and returns false instead of ending
// the process. Guards nest; the innermost one catches.
bool runCrashGuarded(void (*body)(void *), void *context);

// The texts the user sees after a fault.
const char *crashCaption();
const char *crashDumpCreatedText();
const char *crashDumpFailedText();

}

#endif
