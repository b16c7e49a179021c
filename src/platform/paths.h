#ifndef PLATFORM_PATHS_H
#define PLATFORM_PATHS_H

#include <QString>

namespace Platform {

// The short (8.3) form of an existing path; empty when the path does not exist.
// Where the file system has no short names the absolute path stands in for it.
QString shortPathName(const QString &path);

// A path written the way the Makefile's shell and make expect it.
QString makefilePath(const QString &path);

// The user's Documents folder; empty when the system cannot tell.
QString documentsFolder();

// Where the simulator hand-off file is written.
QString handoffDirectory();

// True when paths differ only in letter case on this platform's file systems.
bool caseInsensitiveFileNames();

}

#endif
