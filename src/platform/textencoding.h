#ifndef PLATFORM_TEXTENCODING_H
#define PLATFORM_TEXTENCODING_H

#include <QString>

namespace Platform {

// The name users know the local 8-bit encoding by, as the status bar shows it.
QString localEncodingName();

}

#endif
