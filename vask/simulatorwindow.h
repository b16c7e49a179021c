#ifndef SIMULATORWINDOW_H
#define SIMULATORWINDOW_H

#include "design.h"
#include "devicecatalog.h"
#include "simulationthread.h"

#include <QMainWindow>

class CommandServer;
class QAction;
class QGridLayout;
class QLabel;
class QListWidget;
class QTimer;
class TerminalWidget;

// The simulator's window: the parts of the design wired to the simulated controller, the
// run controls, a speed readout and every problem found on loading. It serves the IDE's
// commands and reloads the hand-off file when told.
class SimulatorWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SimulatorWindow(QWidget *parent = nullptr);
    ~SimulatorWindow() override;

    // Reads the hand-off file and loads design and firmware from it.
    void openHandOff(const QString &path);
    // Runs one command of the IDE; false for a command it does not know.
    bool handleCommand(int command);

    QStringList messageTexts() const;
    QString stateText() const;
    QString speedText() const;
    bool firmwareLoaded() const { return loaded; }
    QString serverName() const;

public slots:
    void reload();
    void runSimulation();
    void pauseSimulation();
    void stopSimulation();
    void resetSimulation();

private slots:
    void refresh();
    void updateSpeed();
    void halted(const QString &reason);

private:
    struct Binding
    {
        DesignPart part;
        QWidget *widget = nullptr;
        QList<int> watches;
    };

    void addMessage(bool error, const QString &text);
    static void log(const QString &text);
    void clearParts();
    void buildParts(AvrBackend *backend);
    bool prepareDesign(const QString &designPath, bool newDesign);
    void loadFirmware(const QString &program, const QString &clock);
    void setState(const QString &text);
    void updateActions();

    QString handOffPath;
    DeviceInfo device;
    Design design;
    bool loaded = false;
    bool running = false;
    bool stopped = false;

    SimulationThread *simulation;
    CommandServer *server;
    QListWidget *messages;
    QWidget *partsPanel;
    QGridLayout *partsLayout;
    QList<Binding> bindings;
    QLabel *controllerLabel;
    QLabel *stateLabel;
    QLabel *speedLabel;
    QTimer *speedTimer;
    QAction *runAction;
    QAction *pauseAction;
    QAction *stopAction;
    QAction *resetAction;
    QAction *realTimeAction;
    quint64 lastRunCycles = 0;
    QElapsedTimer speedClock;
    SimulationThread::Snapshot latest;
};

#endif
