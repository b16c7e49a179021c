#ifndef BATCHBUILD_H
#define BATCHBUILD_H

#include <QCoreApplication>
#include <QString>

// A build or clean run from the command line: opens the project, selects the configuration
// and runs the same compile (or clean) as the menu command, without a window and without
// writing the settings. Every output line goes to standard output as it appears.
class BatchBuild
{
    Q_DECLARE_TR_FUNCTIONS(BatchBuild)

public:
    enum class Goal { Build, Clean };

    BatchBuild(Goal goal, const QString &projectFile, const QString &configuration);
    // A command line that asks for something the batch build cannot do: run() says why.
    static BatchBuild refused(const QString &reason);

    // 0 on success, 1 when the build (or clean) fails, 2 for a command line it refused.
    int run() const;

private:
    QString refusal;
    Goal goal;
    QString projectFile;
    QString configuration; // empty: the project's first
};

#endif
