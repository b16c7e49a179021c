#include "platform/crashguard.h"

#include <windows.h>
#include <dbghelp.h>
#include <cstdio>

namespace Platform {

namespace {

LONG writeCrashDump(EXCEPTION_POINTERS *exceptionPointers)
{
    HANDLE file = CreateFileW(L"minidump.dmp", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return EXCEPTION_EXECUTE_HANDLER;

    MINIDUMP_EXCEPTION_INFORMATION exceptionInformation;
    exceptionInformation.ThreadId = GetCurrentThreadId();
    exceptionInformation.ExceptionPointers = exceptionPointers;
    exceptionInformation.ClientPointers = FALSE;

    char comment[256];
    const int length = _snprintf_s(comment, sizeof comment, _TRUNCATE, "%s", "Hello");
    MINIDUMP_USER_STREAM stream;
    stream.Type = CommentStreamA;
    stream.BufferSize = ULONG(length);
    stream.Buffer = comment;
    MINIDUMP_USER_STREAM_INFORMATION streams;
    streams.UserStreamCount = 1;
    streams.UserStreamArray = &stream;

    const BOOL written = MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpWithFullMemory,
                                           exceptionPointers ? &exceptionInformation : nullptr, &streams, nullptr);
    CloseHandle(file);
    MessageBoxW(nullptr, written ? L"Crashed, minidump created." : L"Crashed, could not create minidump.", L"Crash",
                MB_OK);
    return EXCEPTION_EXECUTE_HANDLER;
}

}

bool runCrashGuarded(void (*body)(void *), void *context)
{
    __try {
        body(context);
    } __except (writeCrashDump(GetExceptionInformation())) {
        return false;
    }
    return true;
}

}
