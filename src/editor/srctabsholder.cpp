#include "editor/srctabsholder.h"

#include "app/srcmanager.h"

SrcTabsHolder::SrcTabsHolder(SrcManager *owner) : QTabWidget(owner), owner(owner) {}

bool SrcTabsHolder::hasCurrentEditor() const
{
    return false;
}

QString SrcTabsHolder::currentFileName() const
{
    return QString();
}

QStringList SrcTabsHolder::openFileNames() const
{
    return QStringList();
}

bool SrcTabsHolder::maybeSaveAll()
{
    return true;
}

void SrcTabsHolder::openFile(const QString &) {}

void SrcTabsHolder::openFileAt(const QString &, int, int) {}

bool SrcTabsHolder::saveEditor(const QString &, bool)
{
    return true;
}

void SrcTabsHolder::updateTitles() {}

void SrcTabsHolder::updateActions() {}

void SrcTabsHolder::save() {}

void SrcTabsHolder::saveAll() {}

void SrcTabsHolder::close() {}

void SrcTabsHolder::cut() {}

void SrcTabsHolder::copy() {}

void SrcTabsHolder::paste() {}

void SrcTabsHolder::undo() {}

void SrcTabsHolder::redo() {}
