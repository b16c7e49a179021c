#ifndef FAKESIMULATORLOCATOR_H
#define FAKESIMULATORLOCATOR_H

#include "platform/simulatorinstallation.h"

#include <QString>

// Puts a made-up simulator installation in place of the system's for as long as it lives.
class FakeSimulatorLocator : public Platform::SimulatorLocator
{
public:
    Platform::SimulatorInstallation found;
    QString provisionalMark;

    Platform::SimulatorInstallation locate() const override { return found; }
    bool isProvisional(const QString &storedPath) const override
    {
        return !provisionalMark.isEmpty() && storedPath.contains(provisionalMark, Qt::CaseInsensitive);
    }

    // Installs a locator that finds directory (none when empty) and returns it for changes.
    static FakeSimulatorLocator &install(const QString &directory = QString(), bool holdsProgram = true)
    {
        auto locator = std::make_unique<FakeSimulatorLocator>();
        locator->found.directory = directory;
        locator->found.holdsProgram = holdsProgram;
        FakeSimulatorLocator &installed = *locator;
        Platform::SimulatorLocator::setInstance(std::move(locator));
        return installed;
    }
    // Back to the system's own.
    static void uninstall() { Platform::SimulatorLocator::setInstance(nullptr); }
};

#endif
