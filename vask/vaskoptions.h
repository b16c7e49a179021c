#ifndef VASKOPTIONS_H
#define VASKOPTIONS_H

#include <QString>
#include <QStringList>

// The command line: the IDE's "/P:<hand-off file>", or the headless options for tests and
// scripts, or --help / --version.
class VaskOptions
{
public:
    bool help = false;
    bool version = false;
    bool headless = false;
    QString handOffFile;
    QString design;
    QString program;
    QString device;
    QString clock;
    QString runFor;
    QString trace;

    // false with a message naming the argument that is not understood.
    bool parse(const QStringList &arguments, QString *error);
    static QString usage();
};

#endif
