#ifndef TOOLPROCESS_H
#define TOOLPROCESS_H

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// A simulator tool run as a child process and driven through its command console: commands
// go to its standard input, its answers come back line by line. Every wait is bounded, so a
// tool that hangs, crashes or is missing becomes a message instead of a stuck thread. Used
// from one thread only, which needs no event loop.
class ToolProcess
{
public:
    // Called for each whole line of output; returns true once the answer it waits for is
    // complete.
    using LineHandler = std::function<bool(const QByteArray &line)>;

    // The program named by the environment variable, or else the first of names on PATH.
    static QString locate(const char *environmentVariable, const QString &name);

    ToolProcess();
    ~ToolProcess();
    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;

    // Starts the program in folder; false with a message.
    bool start(const QString &program, const QStringList &arguments, const QString &folder, QString *error);
    bool isRunning() const { return process.state() == QProcess::Running; }
    void send(const QByteArray &commands);
    // Reads lines until handler returns true. False with a message when the tool ends, stays
    // silent for longer than the answer timeout, or cancel is raised.
    bool readUntil(const LineHandler &handler, const std::atomic_bool *cancel, QString *error);
    // Asks the tool to end with quitCommand, then ends it by force if it does not.
    void finish(const QByteArray &quitCommand);

    // How long a tool may stay silent while an answer is due.
    static constexpr int answerTimeoutMs = 5000;

private:
    QString failure() const;

    QProcess process;
    QString name;
    QByteArray pending;
};

#endif
