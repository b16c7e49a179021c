#include "platform/simulatorinstallation.h"

#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace Platform {

namespace {

std::unique_ptr<SimulatorLocator> &locatorInstance()
{
    static std::unique_ptr<SimulatorLocator> locator;
    return locator;
}

const char *const makerKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhol Electronics\\";

}

SimulatorLocator &SimulatorLocator::instance()
{
    if (!locatorInstance())
        locatorInstance() = createSystemSimulatorLocator();
    return *locatorInstance();
}

void SimulatorLocator::setInstance(std::unique_ptr<SimulatorLocator> locator)
{
    locatorInstance() = std::move(locator);
}

SimulatorInstallation registeredSimulator(const Registry &registry)
{
    SimulatorInstallation found;
    QString key = QLatin1String(makerKey);

    const QStringList installations = registry.childGroups(key);
    QString installation;
    for (const char *kind : {"Quorvin Professional", "Quorvin Demonstration"}) {
        for (const QString &name : installations) {
            if (name.contains(QLatin1String(kind))) {
                installation = name;
                break;
            }
        }
        if (!installation.isEmpty())
            break;
    }
    if (!installation.isEmpty())
        key += installation + QLatin1Char('\\');

    const QStringList versions = registry.childGroups(key);
    if (versions.contains(QLatin1String("8")))
        key += QLatin1String("8\\");
    if (!versions.contains(QLatin1String("7")))
        return found;
    key += QLatin1String("7\\");

    // A version without a minor part cannot be shown to be 7.8 or later: treat it as too old.
    const QStringList parts =
        registry.value(key, QStringLiteral("Version")).toString().split(QLatin1Char('.'), Qt::SkipEmptyParts);
    const int major = parts.isEmpty() ? 0 : parts.at(0).toInt();
    const bool accepted = major > 7 || (major == 7 && parts.size() > 1 && parts.at(1).toInt() >= 8);
    if (!accepted) {
        found.tooOld = true;
        return found;
    }
    found.directory = registry.value(key, QStringLiteral("Path")).toString();
    if (!found.directory.isEmpty()) {
        const QDir dir(found.directory);
        found.holdsProgram = dir.exists(QStringLiteral("bin/vask.exe"));
        if (found.holdsProgram)
            found.directory = dir.absolutePath();
    }
    return found;
}

SimulatorInstallation bundledSimulator()
{
    SimulatorInstallation found;
    QDir dir(QCoreApplication::applicationDirPath());
    if (dir.cdUp() && dir.cd(QStringLiteral("vask"))) {
        found.directory = dir.absolutePath();
        // The folder is ours: the simulator program arrives in it with the installation.
        found.holdsProgram = true;
    }
    return found;
}

}
