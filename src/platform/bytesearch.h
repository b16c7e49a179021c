#ifndef PLATFORM_BYTESEARCH_H
#define PLATFORM_BYTESEARCH_H

#include <QByteArrayView>

namespace Platform {

// Where `needle` first occurs in `haystack` at or after `from`; -1 when it does not. The
// C library's own search beats a byte-wise skip table by far on long texts, where it has one.
qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from = 0);

}

#endif
