#ifndef HELPERS_H
#define HELPERS_H

#include "platform/paths.h"

#include <QString>

using Platform::documentsFolder;
using Platform::makefilePath;
using Platform::shortPathName;

// The value of an environment variable decoded from the local 8-bit encoding; empty
// when it is not set.
QString environmentVariable(const QString &name);

// Registers the compiled-in images; the linker drops them from the static library otherwise.
void initResources();

#endif
