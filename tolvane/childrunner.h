#ifndef CHILDRUNNER_H
#define CHILDRUNNER_H

#include <QString>
#include <QStringList>

#include <optional>

// Runs one program with the wrapper's own standard input, output and error.
class ChildRunner
{
public:
    ChildRunner(const QString &program, const QStringList &arguments);

    // Blocks until the program has ended. Gives its exit code, or nothing when it
    // could not be started or did not end normally; a start failure is reported on
    // standard error.
    std::optional<int> run() const;

private:
    QString m_program;
    QStringList m_arguments;
};

#endif
