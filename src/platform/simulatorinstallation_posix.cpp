#include "platform/simulatorinstallation.h"

namespace Platform {

namespace {

// No registry names an installation here: our own simulator is installed beside bin/, and a
// path the user stored is kept as it is, whatever its name says.
class BundledLocator : public SimulatorLocator
{
public:
    SimulatorInstallation locate() const override { return bundledSimulator(); }
    bool isProvisional(const QString &) const override { return false; }
};

}

std::unique_ptr<SimulatorLocator> createSystemSimulatorLocator()
{
    return std::make_unique<BundledLocator>();
}

}
