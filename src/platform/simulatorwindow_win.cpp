#include "platform/simulatorwindow.h"

#include <QString>
#include <windows.h>

namespace Platform {

namespace {

struct Search
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM parameter)
{
    Search *search = reinterpret_cast<Search *>(parameter);
    DWORD windowProcess = 0;
    GetWindowThreadProcessId(window, &windowProcess);
    if (windowProcess != search->processId)
        return TRUE;
    HWND top = window;
    while (HWND parent = GetParent(top))
        top = parent;
    wchar_t title[1025] = {};
    GetWindowTextW(top, title, 1024);
    if (!QString::fromWCharArray(title).contains(QLatin1String("VASK")))
        return TRUE;
    search->found = top;
    return FALSE;
}

HWND findWindow(qint64 processId)
{
    if (processId <= 0)
        return nullptr;
    Search search = {DWORD(processId), nullptr};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}

bool simulatorWindowExists(qint64 processId)
{
    return findWindow(processId) != nullptr;
}

bool sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter)
{
    HWND window = findWindow(processId);
    if (!window)
        return false;
    SendMessageW(window, message, WPARAM(command), LPARAM(parameter));
    return true;
}

void bringSimulatorToFront(qint64 processId)
{
    if (HWND window = findWindow(processId)) {
        SetForegroundWindow(window);
        BringWindowToTop(window);
    }
}

}
