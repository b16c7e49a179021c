#include "app/testhooks.h"

#ifdef ZMX_TEST_HOOKS

#include "app/srcmanager.h"

#include <QTimer>

void TestHooks::armFromEnvironment(SrcManager *window)
{
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue("ZMXSTUDIO_TEST_CRASH", &ok);
    if (!ok)
        return;
    QTimer::singleShot(delay, window, [] {
        volatile int *nowhere = nullptr;
        *nowhere = 1;
    });
}

#endif
