#ifndef TOLVANEOPTIONS_H
#define TOLVANEOPTIONS_H

#include <QString>
#include <QStringList>

// What the wrapper's own command line asks for. Arguments are given without
// argument 0 (the wrapper itself).
class TolvaneOptions
{
public:
    static TolvaneOptions parse(const QStringList &arguments);
    static QString usageText();

    bool helpRequested() const { return m_helpRequested; }
    QString goodExits() const { return m_goodExits; }
    QString executable() const { return m_executable; }
    // Whether an --executable option was given at all, empty or not.
    bool executableGiven() const { return m_executableGiven; }
    QStringList childArguments() const { return m_childArguments; }

private:
    bool m_helpRequested = false;
    bool m_executableGiven = false;
    QString m_goodExits = QStringLiteral("0");
    QString m_executable;
    QStringList m_childArguments;
};

#endif
