// Project: saving under a new name, with or without a copy of every file.
#include "projects/project.h"

#include "core/workbench.h"
#include "build/buildproject.h"
#include "projects/copyprojectfilesdialog.h"
#include "projects/projectcopier.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace {

void refuseSave(QWidget *parent, const QString &reason)
{
    QMessageBox box(QMessageBox::Warning, Project::tr("Save Project"), Project::tr("Error saving project"),
                    QMessageBox::Ok, parent);
    box.setInformativeText(reason);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

}

bool Project::saveAs(const QString &suggestion, bool copyFiles)
{
    const QString oldFileName = fileName_;
    const QString suggested = oldFileName.isEmpty() ? QFileInfo(suggestion).completeBaseName()
                                                    : QFileInfo(oldFileName).completeBaseName() + tr(" copy");
    CopyProjectFilesDialog dialog(mainWindow, suggested, designFile(), !copyFiles);
    if (dialog.exec() != QDialog::Accepted || dialog.resultPath().isEmpty())
        return false;
    const QString newPath = dialog.resultPath();
    ProjectCopier copier(mainWindow);
    copier.addCreatedFolder(dialog.createdFolder());
    QWidget *parent = mainWindow ? mainWindow->dialogParent() : nullptr;

    // Writing over the project's own file would change the project being copied.
    if (!oldFileName.isEmpty() && QFileInfo(newPath) == QFileInfo(oldFileName)) {
        refuseSave(parent, tr("The project cannot be saved over its own file; choose another name or folder."));
        return false;
    }

    const QString slashed = QDir::fromNativeSeparators(newPath);
    const QString targetDirectory = slashed.left(slashed.lastIndexOf(QLatin1Char('/')));
    const QString baseName = slashed.mid(slashed.lastIndexOf(QLatin1Char('/')) + 1).chopped(5);
    if (copyFiles) {
        for (const ProjectFile &file : std::as_const(files_)) {
            const QString name = QFileInfo(file.path).fileName();
            if (QFileInfo::exists(targetDirectory + QLatin1Char('/') + name)
                || QFileInfo::exists(targetDirectory + QLatin1Char('/') + baseName + QLatin1Char('/') + name)) {
                refuseSave(parent, tr("Cannot save project copy as files in the target directory would be overwritten."));
                copier.removeEmptyFolders();
                return false;
            }
        }
    } else if (!confirmDesignLocation(designFile(), newPath)) {
        return false;
    }

    if (copyFiles) {
        QStringList paths;
        for (const ProjectFile &file : std::as_const(files_))
            paths.append(file.path);
        if (!copier.plan(paths, QFileInfo(newPath).absolutePath(), dialog.keepsStructure())) {
            copier.removeEmptyFolders();
            return false;
        }
        if (!copier.copy()) {
            copier.reportCopies();
            copier.removeEmptyFolders();
            return false;
        }
    }

    // The paths now name the copies; every step is remembered so that a failed save can
    // point the project back at its own files.
    struct Repointed
    {
        qsizetype file;
        QString oldPath;
        QList<BuildProject *> renamedIn;
    };
    QList<Repointed> repointed;
    QList<ProjectCopier::Pair> &pairs = copier.pairs();
    for (qsizetype index = 0; index < files_.size(); ++index) {
        const auto pair = std::find_if(pairs.begin(), pairs.end(), [&](const ProjectCopier::Pair &candidate) {
            return candidate.source == files_.at(index).path;
        });
        if (pair == pairs.end())
            continue;
        Repointed step{index, files_.at(index).path, {}};
        for (const auto &configuration : configurations) {
            if (configuration->renameFile(step.oldPath, pair->destination))
                step.renamedIn.append(configuration.get());
        }
        files_[index].path = pair->destination;
        repointed.append(step);
        pairs.erase(pair);
    }

    fileName_ = newPath;
    const bool wasModified = modified;
    modified = true;
    if (save()) {
        makefileCurrent = false;
        return true;
    }
    if (mainWindow)
        mainWindow->addError(tr("Could not save project"));
    for (auto step = repointed.crbegin(); step != repointed.crend(); ++step) {
        const QString copy = files_.at(step->file).path;
        for (BuildProject *configuration : step->renamedIn)
            configuration->renameFile(copy, step->oldPath);
        files_[step->file].path = step->oldPath;
    }
    fileName_ = oldFileName;
    modified = wasModified;
    if (copyFiles)
        copier.reportCopies();
    copier.removeEmptyFolders();
    return false;
}
