#ifndef PROJECTFILE_H
#define PROJECTFILE_H

#include <QString>

class QTreeWidgetItem;

// One file of a project: its absolute path, the name of its group in the projects tree,
// its tree item once shown, and whether it existed when it was added.
struct ProjectFile
{
    QString path;
    QString group;
    QTreeWidgetItem *item = nullptr;
    bool exists = false;
};

#endif
