#include "app/testhooks.h"

#ifdef ZMX_TEST_HOOKS

#include "app/srcmanager.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"

#include <QTimer>

void TestHooks::armFromEnvironment(SrcManager *window)
{
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue("ZMXSTUDIO_TEST_CRASH", &ok);
    if (!ok)
        return;
    const QString edited = qEnvironmentVariable("ZMXSTUDIO_TEST_CRASH_EDIT");
    if (!edited.isEmpty()) {
        window->tabs()->openEditor(edited);
        if (SourceEditor *editor = window->tabs()->findEditor(edited))
            editor->insertAt(QStringLiteral("unsaved work\n"), 0, 0);
    }
    QTimer::singleShot(delay, window, [] {
        volatile int *nowhere = nullptr;
        *nowhere = 1;
    });
}

#endif
