#ifndef COMMANDLINEOPTIONS_H
#define COMMANDLINEOPTIONS_H

#include "app/batchbuild.h"

#include <QStringList>
#include <optional>

class SrcManager;

// Acts on the command line in the order the options are met.
class CommandLineOptions
{
public:
    CommandLineOptions(SrcManager *window, const QStringList &arguments);
    virtual ~CommandLineOptions();

    void parse();

    // The build or clean that "--build" or "--clean" (with "--configuration=NAME" or
    // "--configuration NAME" and a project file) asks for; none when neither is given. A
    // command line that asks for both, or names two project files, gives a refused one.
    static std::optional<BatchBuild> batchBuild(const QStringList &arguments);
    bool quitRequested() const { return quit; }
    // The text that "--help" or "--version" asks for, whichever comes first; none when
    // neither is given. It is printed instead of doing anything else.
    static std::optional<QString> information(const QStringList &arguments);
    // True when the window will never be shown (an installer's scan, a batch build), so
    // the program needs no display.
    static bool showsNoWindow(const QStringList &arguments);

private:
    SrcManager *window;
    QStringList arguments;
    bool quit = false;
};

#endif
