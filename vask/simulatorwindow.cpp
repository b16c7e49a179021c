#include "simulatorwindow.h"

#include "backend.h"
#include "commandserver.h"
#include "designreader.h"
#include "designwriter.h"
#include "digitwidget.h"
#include "firmwareimage.h"
#include "handofffile.h"
#include "ledwidget.h"
#include "quantity.h"
#include "terminalwidget.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Parts per row of the parts panel.
constexpr int partColumns = 6;

}

SimulatorWindow::SimulatorWindow(QWidget *parent)
    : QMainWindow(parent)
    , simulation(new SimulationThread(this))
    , server(new CommandServer([this](int command) { return handleCommand(command); }, this))
    , messages(new QListWidget(this))
    , partsPanel(new QWidget(this))
    , partsLayout(new QGridLayout(partsPanel))
    , controllerLabel(new QLabel(this))
    , stateLabel(new QLabel(this))
    , speedLabel(new QLabel(this))
    , speedTimer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("VASK"));
    resize(760, 520);

    QToolBar *tools = addToolBar(tr("Simulation"));
    tools->setObjectName(QStringLiteral("simulationToolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    runAction = tools->addAction(style()->standardIcon(QStyle::SP_MediaPlay), tr("Run"), this, &SimulatorWindow::runSimulation);
    runAction->setShortcut(Qt::Key_F5);
    pauseAction = tools->addAction(style()->standardIcon(QStyle::SP_MediaPause), tr("Pause"), this, &SimulatorWindow::pauseSimulation);
    pauseAction->setShortcut(Qt::Key_F6);
    stopAction = tools->addAction(style()->standardIcon(QStyle::SP_MediaStop), tr("Stop"), this, &SimulatorWindow::stopSimulation);
    stopAction->setShortcut(Qt::SHIFT | Qt::Key_F5);
    resetAction = tools->addAction(style()->standardIcon(QStyle::SP_BrowserReload), tr("Reset"), this, &SimulatorWindow::resetSimulation);
    tools->addSeparator();
    realTimeAction = tools->addAction(tr("Real time"));
    realTimeAction->setCheckable(true);
    realTimeAction->setChecked(true);
    realTimeAction->setToolTip(tr("Keep the simulated clock level with the wall clock; off runs as fast as possible"));
    connect(realTimeAction, &QAction::toggled, simulation, &SimulationThread::setRealTime);

    messages->setObjectName(QStringLiteral("messageList"));
    messages->setVisible(false);
    partsPanel->setObjectName(QStringLiteral("partsPanel"));
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(partsPanel);
    scroll->setWidgetResizable(true);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(messages);
    layout->addWidget(scroll, 1);
    setCentralWidget(central);

    stateLabel->setObjectName(QStringLiteral("stateLabel"));
    speedLabel->setObjectName(QStringLiteral("speedLabel"));
    controllerLabel->setObjectName(QStringLiteral("controllerLabel"));
    statusBar()->addWidget(controllerLabel);
    statusBar()->addWidget(stateLabel, 1);
    statusBar()->addPermanentWidget(speedLabel);

    connect(simulation, &SimulationThread::changed, this, &SimulatorWindow::refresh, Qt::QueuedConnection);
    connect(simulation, &SimulationThread::halted, this, &SimulatorWindow::halted, Qt::QueuedConnection);
    connect(speedTimer, &QTimer::timeout, this, &SimulatorWindow::updateSpeed);
    speedTimer->start(500);
    speedClock.start();
    simulation->start();

    QString error;
    if (!server->listen(&error))
        addMessage(true, error);
    setState(tr("No firmware loaded"));
    updateActions();
}

SimulatorWindow::~SimulatorWindow() = default;

QString SimulatorWindow::serverName() const
{
    return server->name();
}

QStringList SimulatorWindow::messageTexts() const
{
    QStringList texts;
    for (int i = 0; i < messages->count(); ++i)
        texts.append(messages->item(i)->text());
    return texts;
}

QString SimulatorWindow::stateText() const
{
    return stateLabel->text();
}

QString SimulatorWindow::speedText() const
{
    return speedLabel->text();
}

void SimulatorWindow::addMessage(bool error, const QString &text)
{
    auto *item = new QListWidgetItem(style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation),
                                     text, messages);
    item->setToolTip(text);
    // As tall as its lines, up to five; more scroll.
    const int rows = std::min(messages->count(), 5);
    messages->setFixedHeight(rows * messages->sizeHintForRow(0) + 2 * messages->frameWidth() + 4);
    messages->setVisible(true);
    log(text);
}

void SimulatorWindow::log(const QString &text)
{
    // Mirrored on standard error and, when VASK_LOG names a file, appended there: the
    // record of a run for scripts and for whoever started us.
    QTextStream(stderr) << "vask: " << text << Qt::endl;
    const QString path = qEnvironmentVariable("VASK_LOG");
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Append))
        QTextStream(&file) << text << '\n';
}

void SimulatorWindow::setState(const QString &text)
{
    if (text != stateLabel->text())
        log(tr("State: %1").arg(text));
    stateLabel->setText(text);
}

void SimulatorWindow::updateActions()
{
    runAction->setEnabled(loaded && !running);
    pauseAction->setEnabled(loaded && running);
    stopAction->setEnabled(loaded && (running || !stopped));
    resetAction->setEnabled(loaded);
}

bool SimulatorWindow::handleCommand(int command)
{
    switch (command) {
    case CommandServer::StopRun:
        stopSimulation();
        return true;
    case CommandServer::Close:
        // Answered first; the window closes once the reply is on its way.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return true;
    case CommandServer::Reload:
        reload();
        return true;
    default:
        return false;
    }
}

void SimulatorWindow::openHandOff(const QString &path)
{
    handOffPath = path;
    reload();
}

void SimulatorWindow::clearParts()
{
    simulation->setBackend(nullptr, 0);
    for (const Binding &binding : std::as_const(bindings))
        delete binding.widget;
    bindings.clear();
    loaded = false;
    running = false;
    stopped = false;
}

void SimulatorWindow::reload()
{
    clearParts();
    messages->clear();
    messages->setVisible(false);
    design = Design();
    device = DeviceInfo();
    setWindowTitle(QStringLiteral("VASK"));
    controllerLabel->clear();
    if (handOffPath.isEmpty()) {
        setState(tr("No hand-off file: nothing to simulate"));
        updateActions();
        return;
    }
    HandOffFile handOff;
    QString error;
    if (!handOff.read(handOffPath, &error)) {
        addMessage(true, error);
        setState(tr("No firmware loaded"));
        updateActions();
        return;
    }
    device = DeviceCatalog::find(handOff.device);
    if (!handOff.device.isEmpty() && !device.isValid())
        addMessage(true, tr("VASK does not know the controller %1.").arg(handOff.device));
    if (prepareDesign(handOff.designFile, handOff.newDesign)) {
        if (handOff.device.isEmpty() && !design.device.isEmpty())
            device = DeviceCatalog::find(design.device);
        else if (device.isValid() && !design.device.isEmpty() && DeviceCatalog::find(design.device).name != device.name)
            addMessage(false, tr("The design was drawn for the %1; it runs on the %2 that the project names.")
                                  .arg(design.device, device.name));
    }
    setWindowTitle(QStringLiteral("%1 - %2 - VASK").arg(design.name.isEmpty() ? tr("No design") : design.name,
                                                         device.isValid() ? device.name : tr("no controller")));
    loadFirmware(handOff.program, handOff.clock);
    updateActions();
    if (loaded && handOff.autoRun)
        runSimulation();
}

bool SimulatorWindow::prepareDesign(const QString &designPath, bool newDesign)
{
    if (designPath.isEmpty()) {
        addMessage(true, tr("The hand-off names no design file."));
        return false;
    }
    const QFileInfo info(designPath);
    if (newDesign && (!info.exists() || info.size() == 0)) {
        if (!device.isValid()) {
            addMessage(true, tr("No default design can be made without a known controller."));
            return false;
        }
        QString error;
        if (!DesignWriter::write(designPath, DesignWriter::defaultDesign(device, info.completeBaseName()), &error)) {
            addMessage(true, error);
            return false;
        }
        addMessage(false, tr("A new design for the %1 was written to %2.").arg(device.name, designPath));
    }
    design = DesignReader(device).read(designPath);
    for (const DesignProblem &problem : std::as_const(design.problems)) {
        addMessage(true, problem.line > 0 ? tr("%1, line %2: %3").arg(info.fileName()).arg(problem.line).arg(problem.text)
                                          : tr("%1: %2").arg(info.fileName(), problem.text));
    }
    return true;
}

void SimulatorWindow::loadFirmware(const QString &program, const QString &clock)
{
    std::unique_ptr<Backend> backend;
    QString error;
    const auto refuse = [&](const QString &text) {
        addMessage(true, text);
        buildParts(nullptr);
        setState(tr("No firmware loaded"));
    };
    if (!device.isValid())
        return refuse(tr("No controller to simulate: the firmware is not loaded."));
    if (!device.runnable())
        return refuse(tr("VASK cannot run %1 controllers yet, so the %2 is shown but its firmware does not run. "
                         "Families that run: %3.")
                          .arg(device.family, device.name, DeviceCatalog::runnableFamilies().join(QStringLiteral(", "))));
    const quint64 hertz = Quantity::frequency(clock);
    if (hertz == 0)
        return refuse(tr("The clock \"%1\" is not a frequency (such as 16MHz or 16000000): the firmware is not loaded.").arg(clock));
    backend = Backend::make(device);
    if (!backend->create(device, hertz, &error))
        return refuse(error);
    FirmwareImage image;
    if (!image.load(program, backend->flashSize(), device.name, &error))
        return refuse(error);
    backend->load(image);
    controllerLabel->setText(tr("%1 at %2").arg(device.name, Quantity::frequencyText(hertz)));
    buildParts(backend.get());
    // Watches are numbered from 0; a segment without a pin has none (-1).
    int watches = 0;
    for (const Binding &binding : std::as_const(bindings)) {
        for (int watch : binding.watches)
            watches = std::max(watches, watch + 1);
    }
    simulation->setBackend(std::move(backend), watches);
    loaded = true;
    stopped = true;
    qsizetype bytes = 0;
    for (const FirmwareImage::Segment &segment : std::as_const(image.segments))
        bytes += segment.bytes.size();
    addMessage(false, tr("Loaded %1 (%2 bytes) into the %3 at %4.")
                          .arg(QFileInfo(program).fileName())
                          .arg(bytes)
                          .arg(device.name, Quantity::frequencyText(hertz)));
    setState(tr("Loaded, not running"));
    refresh();
}

void SimulatorWindow::buildParts(Backend *backend)
{
    int slot = 0;
    const auto place = [&](QWidget *widget, int span) {
        if (slot % partColumns + span > partColumns)
            slot += partColumns - slot % partColumns;
        partsLayout->addWidget(widget, slot / partColumns, slot % partColumns, 1, span);
        slot += span;
    };
    for (const DesignPart &part : std::as_const(design.parts)) {
        Binding binding;
        binding.part = part;
        const QString pin = part.pins.value(0);
        switch (part.kind) {
        case DesignPart::Led:
            binding.widget = new LedWidget(part.name, pin, part.colour, partsPanel);
            break;
        case DesignPart::Digit:
            binding.widget = new DigitWidget(part.name, partsPanel);
            break;
        case DesignPart::Button:
        case DesignPart::Switch: {
            auto *button = new QPushButton(QStringLiteral("%1\n%2").arg(part.name, pin), partsPanel);
            button->setCheckable(part.kind == DesignPart::Switch);
            button->setFixedSize(96, 60);
            const bool active = part.activeHigh;
            if (part.kind == DesignPart::Switch)
                connect(button, &QPushButton::toggled, this, [this, pin, active](bool on) { simulation->drivePin(pin, on ? active : !active); });
            else {
                connect(button, &QPushButton::pressed, this, [this, pin, active] { simulation->drivePin(pin, active); });
                connect(button, &QPushButton::released, this, [this, pin, active] { simulation->drivePin(pin, !active); });
            }
            if (backend)
                backend->drivePin(pin, !active);
            binding.widget = button;
            break;
        }
        case DesignPart::Terminal: {
            auto *terminal = new TerminalWidget(part.name, part.uart, partsPanel);
            connect(terminal, &TerminalWidget::send, this, [this, terminal](const QByteArray &bytes) {
                simulation->sendUart(terminal->uart(), bytes);
            });
            // The design reader has checked that the controller has this serial port.
            if (backend)
                backend->watchUart(part.uart);
            binding.widget = terminal;
            break;
        }
        }
        if (backend && (part.kind == DesignPart::Led || part.kind == DesignPart::Digit)) {
            for (const QString &segmentPin : part.pins)
                binding.watches.append(segmentPin.isEmpty() ? -1 : backend->watchPin(segmentPin));
        }
        binding.widget->setObjectName(part.name);
        place(binding.widget, part.kind == DesignPart::Terminal ? partColumns : 1);
        bindings.append(binding);
    }
    // Parts keep their own size at the top left; the free room stays to the right and below.
    partsLayout->setRowStretch(slot / partColumns + 1, 1);
    partsLayout->setColumnStretch(partColumns, 1);
}

void SimulatorWindow::refresh()
{
    latest = simulation->takeSnapshot();
    const auto activeLevel = [](const DesignPart &part) { return part.activeHigh ? Backend::Level::High : Backend::Level::Low; };
    const auto levelOf = [this](int watch) {
        return watch >= 0 && watch < latest.levels.size() ? latest.levels.at(watch) : Backend::Level::Floating;
    };
    for (const Binding &binding : std::as_const(bindings)) {
        if (auto *led = qobject_cast<LedWidget *>(binding.widget))
            led->setLit(levelOf(binding.watches.value(0, -1)) == activeLevel(binding.part));
        else if (auto *digit = qobject_cast<DigitWidget *>(binding.widget)) {
            quint8 mask = 0;
            for (int segment = 0; segment < binding.watches.size(); ++segment) {
                if (levelOf(binding.watches.at(segment)) == activeLevel(binding.part))
                    mask |= static_cast<quint8>(1u << segment);
            }
            digit->setSegments(mask);
        } else if (auto *terminal = qobject_cast<TerminalWidget *>(binding.widget)) {
            for (const auto &output : std::as_const(latest.uartOutput)) {
                if (output.first == terminal->uart())
                    terminal->receive(output.second);
            }
        }
    }
}

void SimulatorWindow::updateSpeed()
{
    refresh();
    const quint64 cycles = latest.runCycles - lastRunCycles;
    lastRunCycles = latest.runCycles;
    // Against the wall clock between two readouts, so that real-time pacing reads 1.00x.
    const double seconds = std::max<qint64>(speedClock.restart(), 1) / 1000.0;
    if (!running || latest.hertz == 0) {
        const QString simulated = Quantity::secondsText(latest.cycle, latest.hertz);
        speedLabel->setText(loaded ? tr("%1 s simulated").arg(simulated.left(simulated.size() - 6)) : QString());
        return;
    }
    const double hertz = static_cast<double>(cycles) / seconds;
    speedLabel->setText(tr("%1 MHz simulated, %2x real time")
                            .arg(hertz / 1e6, 0, 'f', 2)
                            .arg(hertz / static_cast<double>(latest.hertz), 0, 'f', 2));
}

void SimulatorWindow::runSimulation()
{
    if (!loaded)
        return;
    if (stopped)
        simulation->requestReset();
    stopped = false;
    running = true;
    simulation->setSimulating(true);
    setState(tr("Running"));
    updateActions();
}

void SimulatorWindow::pauseSimulation()
{
    if (!loaded || !running)
        return;
    running = false;
    simulation->setSimulating(false);
    setState(tr("Paused"));
    updateActions();
}

void SimulatorWindow::stopSimulation()
{
    if (!loaded)
        return;
    running = false;
    stopped = true;
    simulation->setSimulating(false);
    setState(tr("Stopped"));
    updateActions();
}

void SimulatorWindow::resetSimulation()
{
    if (!loaded)
        return;
    simulation->requestReset();
}

void SimulatorWindow::halted(const QString &reason)
{
    running = false;
    stopped = true;
    addMessage(true, reason);
    setState(tr("Halted"));
    updateActions();
}
