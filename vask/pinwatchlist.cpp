#include "pinwatchlist.h"

int PinWatchList::add(int port, int bit, Level level)
{
    watches.push_back({port, bit, level});
    return size() - 1;
}

QList<int> PinWatchList::ports() const
{
    QList<int> seen;
    for (const Watch &watch : watches) {
        if (!seen.contains(watch.port))
            seen.append(watch.port);
    }
    return seen;
}

void PinWatchList::set(int watch, Level level, quint64 cycle, const Backend::PinHandler &handler)
{
    Watch &entry = watches.at(static_cast<size_t>(watch));
    if (entry.level == level)
        return;
    entry.level = level;
    if (handler)
        handler(watch, level, cycle);
}

void PinWatchList::update(const LevelOf &levelOf, quint64 cycle, const Backend::PinHandler &handler)
{
    for (int i = 0; i < size(); ++i)
        set(i, levelOf(watches[static_cast<size_t>(i)].port, watches[static_cast<size_t>(i)].bit), cycle, handler);
}
