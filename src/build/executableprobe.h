#ifndef EXECUTABLEPROBE_H
#define EXECUTABLEPROBE_H

#include <QString>
#include <optional>

// Runs a compiler executable once to read its banner. The waits are bounded and let the
// window handle events meanwhile: a program that hangs is stopped and counts as failed.
class ExecutableProbe
{
public:
    static constexpr int startLimitMs = 1000;
    static constexpr int finishLimitMs = 8000;
    static constexpr int stopLimitMs = 1000;

    // Standard output and error together, decoded from the local 8-bit encoding; none when
    // the program could not be started, crashed, or did not end within the limits. An
    // empty argument runs the program without arguments; any other is passed as one.
    static std::optional<QString> run(const QString &program, const QString &argument);
};

#endif
