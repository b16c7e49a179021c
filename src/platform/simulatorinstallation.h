#ifndef PLATFORM_SIMULATORINSTALLATION_H
#define PLATFORM_SIMULATORINSTALLATION_H

#include <QString>
#include <memory>

namespace Platform {

class Registry;

// What the system says about the simulator's installation.
struct SimulatorInstallation
{
    // Empty when none was found.
    QString directory;
    // The directory holds the simulator program; otherwise a path the user typed is kept.
    bool holdsProgram = false;
    // One was found, but older than the oldest version the IDE can hand firmware to.
    bool tooOld = false;
};

// Finds the simulator installation. Tests replace the system's own.
class SimulatorLocator
{
public:
    virtual ~SimulatorLocator() = default;

    virtual SimulatorInstallation locate() const = 0;
    // True for a stored path that must be looked up again at every start (an installation
    // that may since have been replaced by a full one).
    virtual bool isProvisional(const QString &storedPath) const = 0;

    static SimulatorLocator &instance();
    static void setInstance(std::unique_ptr<SimulatorLocator> locator);
};

// The installation that the registry names below the maker's key, version 7.8 or later.
SimulatorInstallation registeredSimulator(const Registry &registry);

// The "vask" folder beside the program's bin/ folder, where our installation puts it.
SimulatorInstallation bundledSimulator();

std::unique_ptr<SimulatorLocator> createSystemSimulatorLocator();

}

#endif
