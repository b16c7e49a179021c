#ifndef COMMANDLINEOPTIONS_H
#define COMMANDLINEOPTIONS_H

#include <QStringList>

class SrcManager;

// Acts on the command line in the order the options are met.
class CommandLineOptions
{
public:
    CommandLineOptions(SrcManager *window, const QStringList &arguments);
    virtual ~CommandLineOptions();

    void parse();
    bool quitRequested() const { return quit; }

private:
    SrcManager *window;
    QStringList arguments;
    bool quit = false;
};

#endif
