#ifndef BUILDABLEPROJECT_H
#define BUILDABLEPROJECT_H

#include <QString>

class BuildProject;

// What a build needs of a project. The build layer sits below the project model, so the
// model hands itself over through this interface instead of the builder knowing Project.
class BuildableProject
{
public:
    virtual ~BuildableProject() = default;

    // The project file; its folder is where make runs.
    virtual QString fileName() const = 0;
    virtual BuildProject *currentConfiguration() const = 0;
    // Saves the project file and every open editor of its files; false when one failed.
    virtual bool saveWithFiles() = 0;
    virtual void setMakefileCurrent(bool current) = 0;
    // The path of the project file a tool message names, or empty when the project has none.
    virtual QString buildFilePath(const QString &name) const = 0;
    // True when a file sits in a source or linker group, so there is something to build.
    virtual bool hasBuildSources() const = 0;
};

#endif
