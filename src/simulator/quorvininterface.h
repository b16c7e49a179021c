#ifndef QUORVININTERFACE_H
#define QUORVININTERFACE_H

#include "core/simulatorlink.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <memory>

class QTemporaryDir;
class Workbench;

// The link to the schematic simulator VASK, a program of its own: started as a child
// process with the path of the hand-off file, told through that file which design,
// firmware, controller and clock to use, and sent commands (reload the file, stop the
// simulation, close) that only the simulator this object started receives.
class QuorvinInterface : public QObject, public SimulatorLink
{
    Q_OBJECT

public:
    // The simulator's private message and its commands.
    static constexpr quint32 message = 0x0400 + 400;
    enum Command { StopCommand = 2, CloseCommand = 3, ReloadCommand = 4 };
    // How long launch waits for a started simulator to open its window, which is when it
    // can first take commands.
    static constexpr int windowTimeoutMs = 5000;
    // The pause after a stop that lets the simulation come to rest.
    static constexpr int stopSettleMs = 500;
    // How long launch waits for the program to start or to fail.
    static constexpr int startTimeoutMs = 30000;
    // How long the destructor gives a closing simulator to end.
    static constexpr int closeTimeoutMs = 3000;

    // owner: where output lines go and whose actions are refreshed; may be null.
    explicit QuorvinInterface(Workbench *owner, QObject *parent = nullptr);
    // Stops the simulation and closes the simulator.
    ~QuorvinInterface() override;

    bool isRunning() const override;
    bool isDebugging() const override { return debugging; }
    bool launch(const QString &installationDirectory) override;
    bool sendToSimulator(const QString &designFile, const QString &device, const QString &family,
                         const QString &program, const QString &clock, bool autoRun, bool newDesign, bool quiet);
    bool sendFirmware(const QString &designFile, const QString &device, const QString &family, const QString &program,
                      const QString &clock, bool autoRun, bool newDesign) override;
    bool sendFirmwareQuietly(const QString &designFile, const QString &device, const QString &family,
                             const QString &program, const QString &clock) override;
    bool startDebugging() override;
    void stopDebugging() override;
    bool closeSimulator() override;
    void bringToFront() override;

    // "quarel.ini" in a folder of this program's own below the temporary directory, made at
    // the first call and removed with this object; empty when the folder cannot be made.
    QString iniPath();
    // The simulator this object started, 0 when none runs.
    qint64 processId() const;

public slots:
    void processError(QProcess::ProcessError error);
    void processFinished(int exitCode, QProcess::ExitStatus exitStatus);

private:
    bool writeHandoffFile(bool newDesign);
    // Sends a command to the simulator's window; false when it was not handled.
    bool send(Command command);
    void reportNoInstallation(const QString &firstLines);

    Workbench *owner;
    QString installDir;
    QString designFile;
    QString device;
    QString family;
    QString program;
    QString clock;
    bool autoRun = false;
    bool debugging = false;
    std::unique_ptr<QTemporaryDir> handoffFolder;
    QString handoffPath;
    QProcess *process;
};

#endif
