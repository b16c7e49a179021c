#include "platform/simulatorwindow.h"

#include <QDir>
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

QString simulatorProgram(const QString &installationDirectory)
{
    return QDir(installationDirectory).filePath(QStringLiteral("BIN/VASK.EXE"));
}

bool simulatorWindowExists(qint64 processId)
{
    return findWindow(processId) != nullptr;
}

SimulatorReply sendSimulatorMessage(qint64 processId, quint32 message, qint32 command, qint32 parameter)
{
    HWND window = findWindow(processId);
    if (!window)
        return SimulatorReply::NoWindow;
    // Synchronous like SendMessageW, but a hung simulator cannot hold the IDE for longer
    // than the bound.
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(window, message, WPARAM(command), LPARAM(parameter),
                                             SMTO_NORMAL | SMTO_ABORTIFHUNG, UINT(simulatorReplyTimeoutMs), &result);
    return sent != 0 ? SimulatorReply::Handled : SimulatorReply::NoAnswer;
}

void bringSimulatorToFront(qint64 processId)
{
    if (HWND window = findWindow(processId)) {
        SetForegroundWindow(window);
        BringWindowToTop(window);
    }
}

}
