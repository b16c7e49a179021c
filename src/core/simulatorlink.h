#ifndef SIMULATORLINK_H
#define SIMULATORLINK_H

#include <QString>

// What the projects ask of the link to the schematic simulator: start it on a design,
// hand it the firmware, run and stop the simulation, close it. The projects live below the
// simulator code, so they hold the link through this interface.
class SimulatorLink
{
public:
    virtual ~SimulatorLink() = default;

    virtual bool isRunning() const = 0;
    virtual bool isDebugging() const = 0;
    // Starts the simulator of the installation on the last handed-over design; true when
    // it runs (also when it was running already).
    virtual bool launch(const QString &installationDirectory) = 0;
    // Writes the hand-off file and tells a running simulator to read it; false when no
    // simulator of ours took it (the file is written all the same).
    virtual bool sendFirmware(const QString &designFile, const QString &device, const QString &family,
                              const QString &program, const QString &clock, bool autoRun, bool newDesign) = 0;
    virtual bool sendFirmwareQuietly(const QString &designFile, const QString &device, const QString &family,
                                     const QString &program, const QString &clock) = 0;
    virtual bool startDebugging() = 0;
    virtual void stopDebugging() = 0;
    virtual bool closeSimulator() = 0;
    virtual void bringToFront() = 0;
};

#endif
