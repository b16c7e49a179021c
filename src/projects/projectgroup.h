#ifndef PROJECTGROUP_H
#define PROJECTGROUP_H

#include <QString>

class QTreeWidgetItem;

// A group of files under a project's tree item ("C Files", "Design Files", ...).
struct ProjectGroup
{
    QString name;
    QTreeWidgetItem *item = nullptr;
};

#endif
