#ifndef HEADLESSRUN_H
#define HEADLESSRUN_H

#include <QString>

class QTextStream;

// Runs firmware on a design without a window for a fixed simulated time and writes every
// level change of the design's parts and every byte the firmware sends to a trace file.
class HeadlessRun
{
public:
    QString design;
    QString program;
    QString device;
    QString clock;
    QString runFor;
    QString trace; // "-" for standard output

    // 0 when the whole time ran; 1 after a message on errors (bad input, firmware that
    // stopped). The summary line goes to out.
    int exec(QTextStream &out, QTextStream &err) const;

    // A trace line for a byte sent by the firmware: printable characters as they are,
    // others as C escapes, inside double quotes.
    static QString quotedByte(quint8 byte);
};

#endif
