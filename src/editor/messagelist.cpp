#include "editor/messagelist.h"

void MessageList::clear()
{
    entries.clear();
    current_ = -1;
}

void MessageList::add(const BuildMessage &message, int outputLine)
{
    entries.append({message, outputLine});
}

int MessageList::step(bool forward, bool &wrapped)
{
    wrapped = false;
    if (entries.isEmpty())
        return -1;
    const int last = count() - 1;
    if (current_ < 0) {
        // The first step starts at the end it heads from, without going round.
        current_ = forward ? 0 : last;
    } else if (forward) {
        wrapped = current_ >= last;
        current_ = wrapped ? 0 : current_ + 1;
    } else {
        wrapped = current_ <= 0;
        current_ = wrapped ? last : current_ - 1;
    }
    return current_;
}
