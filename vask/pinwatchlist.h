#ifndef PINWATCHLIST_H
#define PINWATCHLIST_H

#include "backend.h"

#include <QList>
#include <functional>
#include <vector>

// The pins a back end reports to its pin handler, each with the level last reported. The
// back end works levels out its own way; the list passes on only the changes, with the
// watch number the handler knows the pin by.
class PinWatchList
{
public:
    using Level = Backend::Level;
    using LevelOf = std::function<Level(int port, int bit)>;

    // Adds a watch at the level the pin has now; returns its number.
    int add(int port, int bit, Level level);
    void clear() { watches.clear(); }
    int size() const { return static_cast<int>(watches.size()); }
    int port(int watch) const { return watches.at(static_cast<size_t>(watch)).port; }
    int bit(int watch) const { return watches.at(static_cast<size_t>(watch)).bit; }
    Level level(int watch) const { return watches.at(static_cast<size_t>(watch)).level; }
    // The ports with a watched pin, each once, in the order they were first watched.
    QList<int> ports() const;

    // Takes the watch's level at cycle and reports it when it differs from the last one.
    void set(int watch, Level level, quint64 cycle, const Backend::PinHandler &handler);
    // Does the same for every watch, with the levels levelOf gives.
    void update(const LevelOf &levelOf, quint64 cycle, const Backend::PinHandler &handler);

private:
    struct Watch
    {
        int port;
        int bit;
        Level level;
    };

    std::vector<Watch> watches;
};

#endif
