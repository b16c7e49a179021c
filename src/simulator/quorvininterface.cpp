#include "simulator/quorvininterface.h"

#include "core/workbench.h"
#include "platform/eventwait.h"
#include "platform/paths.h"
#include "platform/simulatorwindow.h"
#include "simulator/handofffile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int windowPollMs = 50;

}

QuorvinInterface::QuorvinInterface(Workbench *owner, QObject *parent)
    : QObject(parent), owner(owner), process(new QProcess(this))
{
    // Nobody reads the simulator's output; a pipe that fills up would stall it.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::errorOccurred, this, &QuorvinInterface::processError);
    connect(process, &QProcess::finished, this, &QuorvinInterface::processFinished);
}

QuorvinInterface::~QuorvinInterface()
{
    // The window is going away: nothing is to be reported or refreshed any more.
    disconnect(process, nullptr, this, nullptr);
    owner = nullptr;
    if (!isRunning())
        return;
    stopDebugging();
    closeSimulator();
    Platform::waitUntil([this] { return !isRunning(); }, closeTimeoutMs);
    if (isRunning()) {
        // Still open, perhaps asking its user whether to save the schematic: ending it would
        // lose that work, so the process object is let go instead of destroyed with us.
        process->setParent(nullptr);
    }
}

bool QuorvinInterface::isRunning() const
{
    return process->state() == QProcess::Running;
}

qint64 QuorvinInterface::processId() const
{
    return isRunning() ? process->processId() : 0;
}

QString QuorvinInterface::iniPath()
{
    if (!handoffFolder) {
        // The simulator is told the path, so the fixed file name can live in a private
        // folder of this instance: two IDEs, or two users of one machine, never share it.
        handoffFolder = std::make_unique<QTemporaryDir>(
            QDir(Platform::handoffDirectory()).filePath(QStringLiteral("zmxstudio-XXXXXX")));
        if (handoffFolder->isValid())
            handoffPath = handoffFolder->filePath(QStringLiteral("quarel.ini"));
    }
    return handoffPath;
}

bool QuorvinInterface::launch(const QString &installationDirectory)
{
    installDir = installationDirectory;
    stopDebugging();

    if (installDir.isEmpty()) {
        reportNoInstallation(tr("Cannot launch the design file as no Quorvin installation has been detected.\n"
                                "If you have a copy of Quorvin installed you can set the path from the Editor "
                                "Configuration dialogue on the Config menu."));
        return false;
    }
    const auto fail = [this](const QString &text) {
        if (owner)
            owner->addError(text);
        return false;
    };
    if (designFile.isEmpty())
        return fail(tr("No design file specified for the project."));
    if (device.isEmpty())
        return fail(tr("Microcontroller is not selected in the project properties."));
    if (program.isEmpty())
        return fail(tr("Compiled firmware file name is not set."));
    if (isRunning())
        return true;

    const QString argument = QStringLiteral("/P:") + Platform::shortPathName(iniPath());
    if (!QFileInfo::exists(designFile))
        return fail(tr("Design file not found."));

    process->setWorkingDirectory(QFileInfo(designFile).absolutePath());
    process->start(Platform::simulatorProgram(installDir), {argument});
    // The start ends in the started signal or in a failure to start (reported by
    // processError); then the simulator takes commands once its window is up. One that
    // ends meanwhile never will.
    Platform::waitUntil([this] { return process->state() != QProcess::Starting; }, startTimeoutMs);
    Platform::waitUntil([this] { return !isRunning() || Platform::simulatorWindowExists(process->processId()); },
                        windowTimeoutMs, windowPollMs);
    return isRunning();
}

bool QuorvinInterface::sendToSimulator(const QString &designFile, const QString &device, const QString &family,
                                       const QString &program, const QString &clock, bool autoRun, bool newDesign,
                                       bool quiet)
{
    this->designFile = designFile;
    this->device = device;
    this->family = family;
    this->program = program;
    this->clock = clock;
    this->autoRun = autoRun;
    if (!writeHandoffFile(newDesign))
        return false;
    if (!send(ReloadCommand))
        return false;
    if (!quiet && owner)
        owner->addSuccess(tr("Sent program firmware to VASK for simulation."));
    return true;
}

bool QuorvinInterface::sendFirmware(const QString &designFile, const QString &device, const QString &family,
                                    const QString &program, const QString &clock, bool autoRun, bool newDesign)
{
    return sendToSimulator(designFile, device, family, program, clock, autoRun, newDesign, false);
}

bool QuorvinInterface::sendFirmwareQuietly(const QString &designFile, const QString &device, const QString &family,
                                           const QString &program, const QString &clock)
{
    return sendToSimulator(designFile, device, family, program, clock, false, false, true);
}

bool QuorvinInterface::startDebugging()
{
    if (!isRunning())
        return debugging;
    stopDebugging();
    debugging = sendToSimulator(designFile, device, family, program, clock, true, false, false);
    return debugging;
}

void QuorvinInterface::stopDebugging()
{
    // The pause only matters to a simulation that was told to stop; it ends early when
    // the simulator does.
    if (send(StopCommand))
        Platform::waitUntil([this] { return !isRunning(); }, stopSettleMs);
    debugging = false;
}

bool QuorvinInterface::closeSimulator()
{
    return send(CloseCommand);
}

void QuorvinInterface::bringToFront()
{
    if (isRunning())
        Platform::bringSimulatorToFront(process->processId());
}

void QuorvinInterface::processError(QProcess::ProcessError error)
{
    if (owner) {
        if (error == QProcess::FailedToStart) {
            reportNoInstallation(tr("Cannot launch VASK as no Quorvin installation has been detected.\n"
                                    "If you have a copy of Quorvin installed you can set the path from the Editor "
                                    "Configuration dialogue on the Config menu."));
        } else if (error == QProcess::Crashed) {
            owner->addError(tr("VASK crashed."));
        }
    }
    debugging = false;
    if (owner)
        owner->updateState();
}

void QuorvinInterface::processFinished(int, QProcess::ExitStatus)
{
    debugging = false;
    if (owner)
        owner->updateState();
}

bool QuorvinInterface::writeHandoffFile(bool newDesign)
{
    const QString path = iniPath();
    HandoffFile file(path, QStringLiteral("QUORVIN"));
    file.setValue(QStringLiteral("DESIGNFILE"), designFile);
    file.setValue(QStringLiteral("PROGRAM"), program);
    file.setValue(QStringLiteral("CLOCK"), clock);
    file.setValue(QStringLiteral("DEVICE"), device.toUpper());
    file.setValue(QStringLiteral("FAMILY"), family.toUpper());
    file.setValue(QStringLiteral("AUTORUN"), autoRun ? QStringLiteral("1") : QStringLiteral("0"));
    file.setValue(QStringLiteral("NEWDESIGN"), newDesign ? QStringLiteral("1") : QStringLiteral("0"));
    if (!path.isEmpty() && file.write())
        return true;
    if (owner) {
        const QString where = path.isEmpty() ? Platform::handoffDirectory() : path;
        const QString reason = path.isEmpty() ? handoffFolder->errorString() : file.errorString();
        owner->addError(tr("Cannot write the VASK hand-off file %1: %2").arg(QDir::toNativeSeparators(where), reason));
    }
    return false;
}

bool QuorvinInterface::send(Command command)
{
    // Only the simulator this object started has a window to talk to.
    if (!isRunning())
        return false;
    switch (Platform::sendSimulatorMessage(process->processId(), message, command, 0)) {
    case Platform::SimulatorReply::Handled:
        return true;
    case Platform::SimulatorReply::NoWindow:
        return false;
    case Platform::SimulatorReply::NoAnswer:
        if (owner)
            owner->addError(tr("VASK did not answer within %n second(s).", nullptr,
                               Platform::simulatorReplyTimeoutMs / 1000));
        return false;
    }
    return false;
}

void QuorvinInterface::reportNoInstallation(const QString &firstLines)
{
    if (owner)
        owner->addError(firstLines + QLatin1Char('\n') +
                        tr("Quorvin ZMX is available from Dravenhol Electronics and its distributors."));
}
