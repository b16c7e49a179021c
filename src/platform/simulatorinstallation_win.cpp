#include "platform/simulatorinstallation.h"

#include "platform/registry.h"

namespace Platform {

namespace {

// The simulator's installer registers it; a demonstration installation is looked up again
// at every start, in case a full one has replaced it.
class RegistryLocator : public SimulatorLocator
{
public:
    SimulatorInstallation locate() const override { return registeredSimulator(Registry::instance()); }

    bool isProvisional(const QString &storedPath) const override
    {
        return storedPath.contains(QLatin1String("Demo"), Qt::CaseInsensitive);
    }
};

}

std::unique_ptr<SimulatorLocator> createSystemSimulatorLocator()
{
    return std::make_unique<RegistryLocator>();
}

}
