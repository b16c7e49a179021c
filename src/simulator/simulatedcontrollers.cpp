#include "simulator/simulatedcontrollers.h"

#include "core/workbench.h"

#include <QDir>

SimulatedControllers::SimulatedControllers(Workbench *owner) : owner(owner) {}

void SimulatedControllers::load()
{
    clear();
    if (!owner)
        return;
    const QDir directory(owner->simulatorDirectory());
    const QStringList names = directory.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Unsorted);
    for (const QString &name : names)
        loadFile(directory.absoluteFilePath(name));
}

void SimulatedControllers::loadFile(const QString &path)
{
    // The reader reports a malformed file itself.
    const std::optional<QDomDocument> document = owner->readDocument(path);
    if (!document)
        return;
    const QDomElement simulator = document->firstChildElement(QStringLiteral("SIMULATOR"));
    if (simulator.isNull())
        return;
    for (QDomElement familyElement = simulator.firstChildElement(QStringLiteral("FAMILY")); !familyElement.isNull();
         familyElement = familyElement.nextSiblingElement(QStringLiteral("FAMILY"))) {
        const QString family = familyElement.attribute(QStringLiteral("NAME"));
        for (QDomElement controller = familyElement.firstChildElement(QStringLiteral("CONTROLLER"));
             !controller.isNull(); controller = controller.nextSiblingElement(QStringLiteral("CONTROLLER"))) {
            // Without its own name a controller's aliases have nothing to stand for.
            const QString name = controller.attribute(QStringLiteral("NAME"));
            if (name.isEmpty())
                continue;
            addController(family, name);
            for (QDomElement alias = controller.firstChildElement(QStringLiteral("ALIAS")); !alias.isNull();
                 alias = alias.nextSiblingElement(QStringLiteral("ALIAS"))) {
                const QString aliasName = alias.attribute(QStringLiteral("NAME"));
                if (!aliasName.isEmpty())
                    addController(family, aliasName);
            }
        }
    }
}

void SimulatedControllers::addController(const QString &family, const QString &controller)
{
    QStringList &names = table[family];
    if (!names.contains(controller, Qt::CaseInsensitive))
        names.append(controller);
}

bool SimulatedControllers::isSimulated(const QString &family, const QString &controller) const
{
    const auto found = table.constFind(family);
    return found != table.constEnd() && found->contains(controller, Qt::CaseInsensitive);
}

void SimulatedControllers::clear()
{
    table.clear();
}
