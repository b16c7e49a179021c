#ifndef DESIGN_H
#define DESIGN_H

#include <QList>
#include <QString>
#include <QStringList>

// One part placed on the controller's pins.
struct DesignPart
{
    enum Kind { Led, Button, Switch, Terminal, Digit };

    Kind kind = Led;
    QString name;
    int line = 0;
    // Led, Button, Switch: the one pin. Terminal: receive and transmit pin of the
    // controller. Digit: segments a to g and the decimal point (empty when not wired).
    QStringList pins;
    // The level that lights an LED or segment, or that a pressed button or closed switch
    // puts on its pin.
    bool activeHigh = true;
    QString colour;
    QString uart;

    // The pins this part puts a level on (buttons, switches, the terminal's receive pin).
    QStringList drivenPins() const;
};

// A problem found in a design file, at its line (0 when it concerns the whole file).
struct DesignProblem
{
    int line = 0;
    QString text;
};

// What a design file describes: its name, the controller it was drawn for, and the parts.
struct Design
{
    QString path;
    QString name;
    QString device;
    QList<DesignPart> parts;
    QList<DesignProblem> problems;

    // Every pin any part uses, each once, in part order.
    QStringList usedPins() const;
};

#endif
