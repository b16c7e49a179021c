#ifndef PROJECTBUILDER_H
#define PROJECTBUILDER_H

#include "build/makefilewriter.h"
#include "build/makerunner.h"
#include "build/outputparser.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class BuildConfigList;
class BuildableProject;
class BuildProject;
class Workbench;

// Builds, cleans and tidies a project's current configuration: checks it, saves the project,
// writes the Makefile, runs make in the project directory with the compiler directory on
// PATH, and reports every outcome in the output window.
class ProjectBuilder : public QObject
{
    Q_OBJECT

public:
    ProjectBuilder(BuildableProject &project, BuildConfigList *compilers, Workbench *mainWindow, QObject *parent = nullptr);
    ~ProjectBuilder() override;

    // How many steps make may run at once: the setting (group "Build") when it holds a
    // count from 0 to maximumMakeJobs, else defaultMakeJobs(). 0 runs make one step at a
    // time, exactly as it was always called.
    static const char *const makeJobsGroup;
    static const char *const makeJobsKey;
    static constexpr int maximumMakeJobs = 256;
    static int defaultMakeJobs();
    static int makeJobs(Workbench *workbench);
    // The options that let make run jobs steps at once, each step's output kept together
    // so that a tool's messages are not torn apart by another's; none for 0.
    static QStringList parallelArguments(int jobs);

    // Checks, saving and Makefile generation; false after saying why.
    bool prepareBuild();
    // One run of make on goal ("clean", "tidy" or the target name). False while another
    // run is in progress.
    bool runMake(const QString &workingDirectory, const QString &goal);

    bool compile();
    bool clean();
    bool tidy();

    bool isBuilding() const { return building; }
    // Makes the next compile rebuild every file; cleared by a successful compile.
    bool rebuildAll() const { return rebuildAll_; }
    void setRebuildAll(bool rebuild) { rebuildAll_ = rebuild; }

    // Removes the error files of the last Makefile that exist.
    void deleteErrorFiles() const;

public slots:
    // Ends make at once; does nothing unless make is running.
    void abortBuild();

private:
    bool run(const QString &workingDirectory, const QString &goal);
    QString projectDirectory() const;
    QProcessEnvironment makeEnvironment(const MakefileWriter &writer, const QString &goal, bool &configured) const;
    QStringList makeArguments(const QString &goal) const;
    // make may end well without making the target (a tool that fails without saying so):
    // the target must exist and be made by this run, or be what make finds up to date.
    bool targetMade(const QDateTime &start);

    BuildableProject &project;
    BuildConfigList *compilers;
    Workbench *mainWindow;
    MakeRunner runner;
    MakeRunner question; // asks make whether the target is up to date; prints nothing
    OutputParser parser;
    QList<ErrorFile> errorFiles;
    bool building = false;
    bool rebuildAll_ = false;
};

#endif
