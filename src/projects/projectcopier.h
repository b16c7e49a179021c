#ifndef PROJECTCOPIER_H
#define PROJECTCOPIER_H

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class Workbench;

// Copies a project's files into another folder, flat or keeping their folders below a
// common root. It remembers what it copied and which folders it made, so that a failure
// can say what was left behind and take away folders that stayed empty. The files it is
// given are never deleted or written, whatever the destination.
class ProjectCopier
{
    Q_DECLARE_TR_FUNCTIONS(ProjectCopier)

public:
    struct Pair
    {
        QString source;
        QString destination;
    };

    explicit ProjectCopier(Workbench *mainWindow);

    // The copy list for files (absolute paths, project order); false, after saying why,
    // when the structure cannot be kept or two files would land on one name.
    bool plan(const QStringList &files, const QString &newDirectory, bool keepStructure);
    // Copies every pair, asking before an existing destination is replaced; false, after
    // saying why, at the first failure.
    bool copy();

    QList<Pair> &pairs() { return pairs_; }
    // A folder made before the copy started that is also to go when it stays empty.
    void addCreatedFolder(const QString &folder);
    // Names the copies already made, so that the user can clean up after a failure.
    void reportCopies() const;
    // Removes the folders this run made, deepest first, as far as they are empty.
    void removeEmptyFolders() const;

private:
    enum class Overwrite { Ask, All, None };

    bool ensureFolder(const QString &folder);
    void error(const QString &text) const;

    Workbench *mainWindow;
    QList<Pair> pairs_;
    QStringList copied;
    QStringList createdFolders;
};

#endif
