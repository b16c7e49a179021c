#ifndef WAITCURSOR_H
#define WAITCURSOR_H

// Shows the wait (or busy) cursor for as long as it lives; restores it exactly once.
class WaitCursor
{
public:
    explicit WaitCursor(bool wait = true);
    ~WaitCursor();

    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    void restore();

private:
    bool active = true;
};

#endif
