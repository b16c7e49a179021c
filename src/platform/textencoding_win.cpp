#include "platform/textencoding.h"

#include <windows.h>

namespace Platform {

QString localEncodingName()
{
    const UINT codePage = GetACP();
    return codePage == CP_UTF8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-%1").arg(codePage);
}

}
