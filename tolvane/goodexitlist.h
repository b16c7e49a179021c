#ifndef GOODEXITLIST_H
#define GOODEXITLIST_H

#include <QList>
#include <QString>

// The exit codes that count as success, read from a comma-separated text.
class GoodExitList
{
public:
    explicit GoodExitList(const QString &text);

    bool contains(int exitCode) const { return m_codes.contains(exitCode); }

private:
    QList<int> m_codes;
};

#endif
