#include "platform/bytesearch.h"

#include <string.h>

namespace Platform {

qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from)
{
    if (from < 0 || from > haystack.size())
        return -1;
    const char *start = haystack.data() + from;
    const void *found = memmem(start, size_t(haystack.size() - from), needle.data(), size_t(needle.size()));
    return found ? static_cast<const char *>(found) - haystack.data() : -1;
}

}
