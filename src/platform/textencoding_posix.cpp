#include "platform/textencoding.h"

namespace Platform {

// Qt takes every POSIX locale's 8-bit encoding to be UTF-8.
QString localEncodingName()
{
    return QStringLiteral("UTF-8");
}

}
