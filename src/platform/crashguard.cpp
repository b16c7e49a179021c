#include "platform/crashguard.h"

namespace Platform {

const char *crashCaption()
{
    return "Crash";
}

const char *crashDumpCreatedText()
{
    return "Crashed, minidump created.";
}

const char *crashDumpFailedText()
{
    return "Crashed, could not create minidump.";
}

}
