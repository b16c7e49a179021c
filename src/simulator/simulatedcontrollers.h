#ifndef SIMULATEDCONTROLLERS_H
#define SIMULATEDCONTROLLERS_H

#include <QHash>
#include <QString>
#include <QStringList>

class Workbench;

// The controllers that the simulator can simulate, by family, as the XML files of the
// simulator configuration directory list them. Family names compare exactly, controller
// names (and their aliases) without regard to letter case.
class SimulatedControllers
{
public:
    // owner gives the directory and reads the files; without one nothing is loaded.
    explicit SimulatedControllers(Workbench *owner);

    void load();
    void addController(const QString &family, const QString &controller);
    bool isSimulated(const QString &family, const QString &controller) const;
    void clear();

    const QHash<QString, QStringList> &controllersByFamily() const { return table; }

private:
    void loadFile(const QString &path);

    Workbench *owner;
    QHash<QString, QStringList> table;
};

#endif
