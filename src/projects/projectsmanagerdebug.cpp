#include "projects/projectsmanager.h"

#include "core/simulatorlink.h"
#include "core/workbench.h"
#include "projects/project.h"

#include <QFileInfo>

void ProjectsManager::sendFirmware()
{
    firmwareHandedOver = false;
    Project *current = currentProject();
    if (!current) {
        message(tr("No project selected."));
        updateWindowState();
        return;
    }
    if (!owner || owner->quorvinPath().isEmpty()) {
        error(tr("Cannot launch the design file as no Quorvin installation has been detected.\n"
                 "If you have a copy of Quorvin installed you can set the path from the Editor Configuration "
                 "dialogue on the Config menu.\n"
                 "Quorvin ZMX is available from Dravenhol Electronics and its distributors."));
        return;
    }
    if (!current->currentConfiguration()) {
        error(tr("No project configurations defined."));
        return;
    }
    const QString design = current->designFile();
    if (design.isEmpty()) {
        message(tr("Use the Add Design File command to associate your VASK schematic with the project."));
        return;
    }
    const QString firmware = current->currentFirmwarePath();
    if (firmware.isEmpty()) {
        error(tr("Compiled firmware file name is not set."));
        return;
    }
    const QString family = current->currentFamily();
    const QString controller = current->currentController();
    if (family.isEmpty() || controller.isEmpty()) {
        error(tr("Microcontroller is not selected in the project properties."));
        return;
    }
    const QString clock = current->currentClock();
    if (clock.isEmpty()) {
        error(tr("Clock is not set in project properties."));
        return;
    }
    if (simulator) {
        if (QFileInfo::exists(firmware)) {
            const bool debugging = simulator->isDebugging();
            simulator->sendFirmware(design, controller, family, firmware, clock, debugging, false);
            if (debugging)
                simulator->startDebugging();
        } else {
            simulator->sendFirmwareQuietly(design, controller, family, firmware, clock);
        }
    }
    owner->updateState();
    firmwareHandedOver = true;
}

void ProjectsManager::debugOpen()
{
    if (simulator && simulator->isDebugging())
        debugStop();
    if (!currentProject()) {
        message(tr("No project selected."));
    } else {
        sendFirmware();
        if (firmwareHandedOver && simulator) {
            if (QFileInfo::exists(currentProject()->currentFirmwarePath()))
                success(tr("Sent program firmware to VASK for simulation."));
            else
                error(tr("Program firmware has not been compiled in this configuration."));
            if (simulator->launch(owner->quorvinPath()))
                success(tr("Launched project design file in VASK."));
            else
                error(tr("Failed to launch project design file in VASK."));
        }
    }
    updateWindowState();
    if (simulator)
        simulator->bringToFront();
}

void ProjectsManager::debugRun()
{
    if (!simulator)
        return;
    if (!simulator->isRunning())
        debugOpen();
    if (simulator->isRunning() && simulator->startDebugging())
        message(tr("Debugging in VASK started."));
    updateWindowState();
    simulator->bringToFront();
}

void ProjectsManager::debugClose()
{
    if (simulator)
        simulator->closeSimulator();
    message(tr("Closed VASK."));
    updateWindowState();
}

void ProjectsManager::debugStop()
{
    if (simulator)
        simulator->stopDebugging();
    message(tr("Debugging stopped."));
    updateWindowState();
}

void ProjectsManager::handOverBuild(bool built)
{
    // Firmware from a failed build is stale or missing: the simulator keeps what it has.
    if (simulator && simulator->isRunning()) {
        if (built)
            sendFirmware();
    } else {
        message(tr("Click the VASK icon to launch the design file in VASK for simulation and debugging.\n"));
    }
}

void ProjectsManager::closeSimulator()
{
    if (simulator && simulator->isRunning()) {
        simulator->stopDebugging();
        simulator->closeSimulator();
    }
}
