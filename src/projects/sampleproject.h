#ifndef SAMPLEPROJECT_H
#define SAMPLEPROJECT_H

#include "core/quorvindialog.h"
#include "ui_sampleprojectdialog.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class BuildConfigList;
class Project;
class ProjectsManager;
class Workbench;

// Open Sample: every project below the simulator installation's SAMPLES folder, filtered by
// keyword and controller family, with the summary of the selected one. The folder is read
// once, when the dialog is made; the chosen sample opens as a copy (see
// ProjectsManager::openSampleCopy), so the installation is never written.
class SampleProject : public QuorvinDialog, private Ui::SampleProjectDialog
{
    Q_OBJECT

public:
    SampleProject(ProjectsManager *manager, Workbench *owner, BuildConfigList *compilers, QWidget *parent = nullptr);
    ~SampleProject() override;

    int helpTopic() const override { return 12; }

    QString samplesDirectory() const { return samplesDirectory_; }
    int sampleCount() const { return int(samples.size()); }
    // The first sample of that name, or null.
    const Project *sample(const QString &name) const;
    QString samplePath(const QString &name) const;

public slots:
    void filterProjects();
    void openSample();
    void updateDescription();

private:
    struct Sample
    {
        std::unique_ptr<Project> project;
        QString name;
        QString path;
    };

    void loadSamples();
    void scan(const QString &directory);
    const Sample *find(const QString &name) const;

    ProjectsManager *manager;
    Workbench *mainWindow;
    BuildConfigList *compilers;
    QString samplesDirectory_;
    std::vector<Sample> samples;
    bool filling = false;
};

#endif
