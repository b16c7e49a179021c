#include "platform/bytesearch.h"

#include <algorithm>
#include <functional>

namespace Platform {

qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from)
{
    if (from < 0 || from > haystack.size())
        return -1;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    const auto found = std::search(haystack.begin() + from, haystack.end(), searcher);
    if (found == haystack.end() && !needle.isEmpty())
        return -1;
    return found - haystack.begin();
}

}
