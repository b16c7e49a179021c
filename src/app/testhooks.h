#ifndef TESTHOOKS_H
#define TESTHOOKS_H

class SrcManager;

// Faults a test build deliberately, so that the crash path of the real program can be
// proven end to end. Compiled only into test builds.
class TestHooks
{
public:
    // ZMXSTUDIO_TEST_CRASH=<milliseconds>: fault that long after the event loop starts.
    // ZMXSTUDIO_TEST_CRASH_EDIT=<file>: first open that file and type into it unsaved.
    static void armFromEnvironment(SrcManager *window);
};

#endif
