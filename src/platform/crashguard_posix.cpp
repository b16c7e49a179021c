#include "platform/crashguard.h"

#include <QApplication>
#include <QMessageBox>

#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

namespace Platform {

namespace {

enum class DumpResult { NotCreated, Written, WriteFailed };

constexpr int maxDepth = 8;
sigjmp_buf guardStack[maxDepth];
volatile sig_atomic_t guardDepth = 0;
volatile sig_atomic_t lastDump = int(DumpResult::NotCreated);
const int faultSignals[] = {SIGSEGV, SIGFPE, SIGBUS, SIGILL};

bool writeAll(int fd, const char *text, size_t length)
{
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written <= 0)
            return false;
        text += written;
        length -= size_t(written);
    }
    return true;
}

// Runs inside the signal handler, so only async-signal-safe calls (backtrace_symbols_fd
// writes straight to the descriptor without allocating).
DumpResult writeDump(int signal)
{
    const int fd = open("minidump.dmp", O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return DumpResult::NotCreated;
    char header[96];
    const int length = snprintf(header, sizeof header, "ZMX Studio crash report\nsignal %d (%s)\nbacktrace:\n",
                                signal, strsignal(signal));
    bool ok = length > 0 && writeAll(fd, header, size_t(length));
    void *frames[64];
    const int count = backtrace(frames, 64);
    backtrace_symbols_fd(frames, count, fd);
    ok = close(fd) == 0 && ok;
    return ok ? DumpResult::Written : DumpResult::WriteFailed;
}

void onFault(int signal)
{
    lastDump = int(writeDump(signal));
    if (guardDepth > 0)
        siglongjmp(guardStack[guardDepth - 1], 1);
    // A fault outside every guard: nothing can continue.
    _exit(-1);
}

void installHandlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // A stack overflow must still find a stack to run the handler on.
    static char alternateStack[64 * 1024];
    stack_t stack = {};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_handler = onFault;
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : faultSignals)
        sigaction(signal, &action, nullptr);
}

void tellUser(DumpResult result)
{
    if (result == DumpResult::NotCreated)
        return;
    const char *text = result == DumpResult::Written ? crashDumpCreatedText() : crashDumpFailedText();
    fprintf(stderr, "%s: %s\n", crashCaption(), text);
    // Automated runs (tests, batch builds) must not wait on a box nobody sees.
    if (qEnvironmentVariable("ZMXSTUDIO_CRASH_NOTIFY") == QLatin1String("stderr"))
        return;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QMessageBox::critical(nullptr, QString::fromLatin1(crashCaption()), QString::fromLatin1(text));
}

}

bool runCrashGuarded(void (*body)(void *), void *context)
{
    installHandlers();
    if (guardDepth >= maxDepth) {
        body(context);
        return true;
    }
    const int depth = guardDepth;
    // The saved signal mask is restored by siglongjmp, so the handler can fire again.
    if (sigsetjmp(guardStack[depth], 1) == 0) {
        guardDepth = depth + 1;
        body(context);
        guardDepth = depth;
        return true;
    }
    guardDepth = depth;
    tellUser(DumpResult(int(lastDump)));
    return false;
}

}
