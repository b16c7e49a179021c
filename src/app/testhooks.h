#ifndef TESTHOOKS_H
#define TESTHOOKS_H

#include <QString>

class SrcManager;

// Faults a test build deliberately, so that the crash path of the real program can be
// proven end to end, or describes what its window shows. Compiled only into test builds.
class TestHooks
{
public:
    // ZMXSTUDIO_TEST_CRASH=<milliseconds>: fault that long after the event loop starts.
    // ZMXSTUDIO_TEST_CRASH_EDIT=<file>: first open that file and type into it unsaved.
    // ZMXSTUDIO_TEST_DESCRIBE=<file>: once the event loop runs, write the window's menus,
    // tool bars, panes and status line into that file (UTF-8, one tab-separated item a
    // line) and quit.
    static void armFromEnvironment(SrcManager *window);

private:
    static void describe(SrcManager *window, const QString &fileName);
};

#endif
