#ifndef BUILDCONFIGLIST_H
#define BUILDCONFIGLIST_H

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class BuildConfig;
class Workbench;

// Every compiler configuration of the compilers directory, in the order their files were
// accepted. Owned by the projects manager, loaded once at start-up; projects refer to
// configurations by name only.
class BuildConfigList : public QObject
{
    Q_OBJECT

public:
    explicit BuildConfigList(Workbench *workbench, QObject *parent = nullptr);
    ~BuildConfigList() override;

    // Reads the workbench's compilers directory again. True when the directory held at
    // least one "*.xml" file. Files that fail to load are left out (the XML reader has
    // said why); a second file with a name already loaded (ignoring case) is reported and
    // left out.
    bool loadAll();
    bool loadAll(const QString &directory);

    const QList<BuildConfig *> &configurations() const { return configs; }
    // The first configuration whose name equals name ignoring letter case, or null.
    BuildConfig *find(const QString &name) const;
    // Names in list order; with onlyConfigured, those that detection marked installed.
    QStringList names(bool onlyConfigured = false) const;
    // The configuration that supports the controller and accepts most of files (a tie goes
    // to a later one only when its name carries the maker's name); empty when none.
    QString defaultCompiler(const QString &family, const QString &controller, const QStringList &files) const;
    // The source suffixes of every configuration, in list order, without duplicates.
    QStringList allSourceSuffixes() const;
    void clear();

private:
    Workbench *workbench;
    QList<BuildConfig *> configs;
};

#endif
