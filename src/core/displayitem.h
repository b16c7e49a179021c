#ifndef DISPLAYITEM_H
#define DISPLAYITEM_H

#include <QColor>
#include <QString>

// The font and colour choices of one kind of text (comments, links, project names ...).
struct DisplayItem
{
    QString name;
    QColor foreground = Qt::black;
    QColor background = Qt::white;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // Only colours can be chosen: the group font, bold, italic and underline do not apply.
    bool fontFixed = false;
    // Only a foreground colour can be chosen.
    bool noBackground = false;
    // The widget's own default colour wins over the stored one.
    bool useDefaultForeground = true;
    bool useDefaultBackground = true;
    // No "Default" choice is offered for that colour, so its use-default flag is never stored.
    bool fixedForeground = true;
    bool fixedBackground = true;
};

#endif
