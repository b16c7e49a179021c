#include "projects/projectsmanager.h"

#include "core/workbench.h"
#include "projects/project.h"

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
    if (current->designFile().isEmpty()) {
        message(tr("Use the Add Design File command to associate your VASK schematic with the project."));
        return;
    }
    if (current->currentFirmwarePath().isEmpty()) {
        error(tr("Compiled firmware file name is not set."));
        return;
    }
    if (current->currentFamily().isEmpty() || current->currentController().isEmpty()) {
        error(tr("Microcontroller is not selected in the project properties."));
        return;
    }
    if (current->currentClock().isEmpty()) {
        error(tr("Clock is not set in project properties."));
        return;
    }
    owner->updateState();
    firmwareHandedOver = true;
}

void ProjectsManager::debugOpen()
{
    if (currentProject())
        sendFirmware();
    else
        message(tr("No project selected."));
    updateWindowState();
}

void ProjectsManager::debugRun()
{
    debugOpen();
    updateWindowState();
}
