#ifndef DISPLAYSETTINGS_H
#define DISPLAYSETTINGS_H

#include "core/displayitem.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QSettings;

// Fonts and colours of one display group ("Text Editor", "Projects Tree", "Output Window").
// The store is the program's settings object; a null store yields the defaults.
class DisplaySettings
{
public:
    enum Colour { Foreground, Background };

    QString groupName;
    QString fontFamily;
    QFont font;
    int fontSize = 10;
    QList<DisplayItem> items;

    static const QString textEditor;
    static const QString projectsTree;
    static const QString outputWindow;

    static QStringList groupNames();
    // The group with every item at its default; an unknown group has the default font and no items.
    static DisplaySettings defaults(const QString &group);
    // The whole group as stored, missing keys and entries filled from the defaults.
    static DisplaySettings load(QSettings *store, const QString &group);
    // The group's font and only the named item (none when the group has no such item).
    static DisplaySettings loadDisplayItem(QSettings *store, const QString &group, const QString &item);
    static QTextCharFormat formatForItem(QSettings *store, const QString &group, const QString &item);
    static bool usesDefaultColour(QSettings *store, const QString &group, const QString &item, Colour which);
    static void saveDisplaySettings(QSettings *store, const DisplaySettings &settings);

    // The item of that name, or null.
    const DisplayItem *item(const QString &name) const;
    DisplayItem *item(const QString &name);
    // Sets the family and size together with the font built from them.
    void setFont(const QString &family, int size);

private:
    static QString storeGroup(const QString &group);
    static void readFont(QSettings *store, DisplaySettings &settings);
    static DisplayItem readItem(QSettings *store, const DisplayItem &fallback);
};

#endif
