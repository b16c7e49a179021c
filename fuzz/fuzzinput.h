#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: an offscreen application with settings and HOME in a
// private folder, and the input written where the loaders under test read files.
namespace FuzzInput {

// Creates the application once; call from LLVMFuzzerInitialize.
void start(int *argc, char ***argv);

// A folder of its own below the private one, emptied on every call. It lies a few levels
// down so that a relative name with ".." that escapes it still lands in our folder.
QString freshFolder();

// The input cut at NUL bytes into at most count parts (the last keeps any further NULs);
// missing parts are empty.
QList<QByteArray> split(const uint8_t *data, size_t size, int count);

// Writes bytes to path, creating its folder; false when that fails.
bool write(const QString &path, const QByteArray &bytes);

// The bundled data folder of the source tree (compilers/, syntax/, ...).
QString dataFolder();

}

#endif
