#ifndef SAMPLECOPIER_H
#define SAMPLECOPIER_H

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

class Workbench;

// Copies a sample project out of the simulator installation, which is often read-only, into
// a new folder of the user's projects folder, so that building or editing the sample never
// writes into the installation. The copy takes the sample's folder: its files, notes and
// subfolders, but neither the build output of its configurations nor the folders of other
// samples. Files the sample names outside its folder are referred to where they are.
class SampleCopier
{
    Q_DECLARE_TR_FUNCTIONS(SampleCopier)

public:
    // Failures are reported to the workbench's output; it may be null.
    explicit SampleCopier(Workbench *workbench);

    // The copy's project file; empty when the sample could not be copied (nothing is left
    // behind then).
    QString copy(const QString &sampleFile, const QString &projectsDirectory);

    // The folder for a copy named name: name itself, else name_2, name_3 ... whichever
    // does not exist yet.
    static QString freeFolder(const QString &projectsDirectory, const QString &name);

private:
    bool copyFolder(const QString &from, const QString &to);
    bool copyFile(const QString &from, const QString &to);
    void fail(const QString &text);

    Workbench *workbench;
    QSet<QString> skippedFolders;
};

#endif
