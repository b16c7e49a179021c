#ifndef MESSAGELIST_H
#define MESSAGELIST_H

#include "core/buildmessage.h"

#include <QList>

// The messages of the last build in output order, with the output line of each, and the
// message that Next/Previous Message last visited.
class MessageList
{
public:
    void clear();
    void add(const BuildMessage &message, int outputLine);

    int count() const { return static_cast<int>(entries.size()); }
    bool isEmpty() const { return entries.isEmpty(); }
    const BuildMessage &at(int index) const { return entries.at(index).message; }
    int outputLine(int index) const { return entries.at(index).outputLine; }
    int current() const { return current_; }

    // Moves to the next (forward) or previous message and returns its index, -1 when there
    // is none; wrapped tells whether the step went round an end of the list.
    int step(bool forward, bool &wrapped);

private:
    struct Entry
    {
        BuildMessage message;
        int outputLine;
    };

    QList<Entry> entries;
    int current_ = -1;
};

#endif
