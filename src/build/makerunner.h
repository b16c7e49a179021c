#ifndef MAKERUNNER_H
#define MAKERUNNER_H

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QEventLoop;
class QProcess;

// Runs make once and hands on what it prints as whole lines. Standard output and standard
// error share one pipe, so a tool's message and make's line about it arrive in the order
// they were written, as on a terminal. The run waits in an event loop
// of its own: the user interface stays alive and no processor time is spent while make
// works, and abort() ends make (with the tools it started) at once.
class MakeRunner : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Finished,   // make ended by itself; exitCode tells how
        Crashed,    // make ended abnormally; errorString says why
        Aborted,    // abort() ended the run
        NotStarted, // the program could not be started; errorString says why
    };

    struct Result
    {
        Outcome outcome = Outcome::NotStarted;
        int exitCode = 0;
        QString errorString;
    };

    explicit MakeRunner(QObject *parent = nullptr);
    ~MakeRunner() override;

    // Starts program and returns once it has ended or was aborted. Lines that arrive after
    // an abort are dropped; a last line without a line feed is delivered when make ends.
    Result run(const QString &program, const QStringList &arguments, const QString &workingDirectory,
               const QProcessEnvironment &environment);
    bool isRunning() const { return process != nullptr; }

public slots:
    // Has effect only while a run is in progress.
    void abort();

signals:
    void outputLine(const QString &line);

private:
    void readOutput();
    void deliver(bool all);

    QProcess *process = nullptr;
    QEventLoop *loop = nullptr;
    bool aborted = false;
    QByteArray pending;
    bool delivering = false;
};

#endif
