// The hand-off file lies in a folder anyone can write to: the simulator reads any bytes
// into a hand-off or a message naming the file.
#include "fuzzinput.h"

#include "handofffile.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = FuzzInput::freshFolder() + QStringLiteral("/QUORVIN.INI");
    if (!FuzzInput::write(path, bytes))
        return 0;
    HandOffFile handOff;
    QString error;
    handOff.read(path, &error);
    HandOffFile::decodeValue(QString::fromLatin1(bytes));
    return 0;
}
