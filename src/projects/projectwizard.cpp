// Project: the two pages of the new-project wizard.
#include "projects/project.h"

#include "core/workbench.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "projects/controllerdialog.h"
#include "projects/devboarddialog.h"
#include "projects/startersource.h"

#include <QDir>
#include <QFileInfo>

void Project::adoptStartProject(const Project &start)
{
    if (&start == this)
        return;
    std::vector<std::unique_ptr<BuildProject>> copies;
    for (const auto &configuration : start.configurations) {
        copies.push_back(configuration->copy());
        if (copies.back()->clock().isEmpty())
            copies.back()->setClock(QStringLiteral("4MHz"));
    }
    configurations = std::move(copies);
    currentConfiguration_ = 0;
    files_.clear();
    for (const ProjectFile &file : start.files_)
        files_.append({file.path, file.group, nullptr, file.exists});
    if (!start.name_.isEmpty())
        name_ = start.name_;
    makefileCurrent = false;
}

bool Project::newProjectWizard()
{
    DevBoardDialog first(mainWindow, compilers);
    ControllerDialog second(this, compilers, mainWindow);
    // The name an empty start gets; a board's project brings its own.
    updateName();
    first.setButtonsShown(false, true, false);
    second.setButtonsShown(true, false, true);

    QDialog *current = &first;
    QDialog *shownBefore = nullptr;
    for (;;) {
        // The pages take each other's place, so that they seem to be one window.
        if (shownBefore)
            current->setGeometry(shownBefore->geometry());
        if (current == &first) {
            const bool accepted = first.exec() == QDialog::Accepted;
            shownBefore = &first;
            if (!accepted || first.closeCode() != DevBoardDialog::NextPage)
                return false;
            adoptStartProject(*first.createStartProject());
            second.loadFromProject();
            second.offerStarterSource(first.choice() == DevBoardDialog::NoChoice);
            current = &second;
            continue;
        }
        second.setProjectDirectory(first.choice() == DevBoardDialog::DesignFileChoice
                                       ? QFileInfo(first.designFilePath()).absolutePath()
                                       : QString());
        second.checkDialogIsComplete();
        const bool accepted = second.exec() == QDialog::Accepted;
        shownBefore = &second;
        if (accepted && second.closeCode() == ControllerDialog::Confirmed)
            break;
        if (!accepted || second.closeCode() != ControllerDialog::PreviousPage)
            return false;
        current = &first;
    }
    if (second.starterSourceWanted())
        addStarterSource();
    return true;
}

void Project::addStarterSource()
{
    const BuildProject *current = currentConfiguration();
    const QString templatePath = current ? StarterSource::templatePath(current->compiler()) : QString();
    if (templatePath.isEmpty())
        return;
    const QHash<QString, QString> values{{QStringLiteral("PROJECT"), name_},
                                         {QStringLiteral("FAMILY"), current->family()},
                                         {QStringLiteral("CONTROLLER"), current->controller()},
                                         {QStringLiteral("CLOCK"), current->clock()}};
    bool existed = false;
    QString error;
    const QString path = StarterSource::write(templatePath, projectDirectory(), values, existed, error);
    if (path.isEmpty()) {
        if (mainWindow)
            mainWindow->addError(error);
        return;
    }
    if (existed && mainWindow)
        mainWindow->addMessage(tr("%1 was there already; it joins the project as it is.")
                                   .arg(QDir::toNativeSeparators(path)));
    addFile(path);
    save();
}
