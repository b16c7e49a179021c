#include "projects/copyprojectfilesdialog.h"

#include "core/workbench.h"
#include "projects/project.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTemporaryFile>

CopyProjectFilesDialog::CopyProjectFilesDialog(Workbench *mainWindow, const QString &suggestedName,
                                               const QString &designFile, bool newProjectMode)
    : QuorvinDialog(mainWindow ? mainWindow->dialogParent() : nullptr), mainWindow(mainWindow),
      newProjectMode(newProjectMode)
{
    setupUi(this);
    // Names that a file system of either platform could not hold cannot be typed.
    projectNameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\\\/:\\*\\?\"<>|]+")), projectNameEdit));
    if (newProjectMode) {
        locationLabel->setText(tr("Directory to store project in"));
        // Nothing is copied, so there is no structure to keep.
        keepStructure->hide();
    }
    projectNameEdit->setText(suggestedName);
    projectNameChanged(projectNameEdit->text());
    if (newProjectMode && !designFile.isEmpty())
        pathEdit->setText(QDir::toNativeSeparators(QFileInfo(designFile).absolutePath()));
    else if (mainWindow)
        pathEdit->setText(QDir::toNativeSeparators(mainWindow->projectsDirectory()));

    connect(okButton, &QPushButton::clicked, this, &CopyProjectFilesDialog::okButtonClicked);
    connect(cancelButton, &QPushButton::clicked, this, &CopyProjectFilesDialog::cancelButtonClicked);
    connect(browseButton, &QPushButton::clicked, this, &CopyProjectFilesDialog::selectRootFolder);
    connect(projectNameEdit, &QLineEdit::textChanged, this, &CopyProjectFilesDialog::projectNameChanged);
}

bool CopyProjectFilesDialog::isUsableName(const QString &name)
{
    static const QRegularExpression onlyDotsAndSpaces(QStringLiteral("^[. ]*$"));
    return !onlyDotsAndSpaces.match(name).hasMatch();
}

void CopyProjectFilesDialog::projectNameChanged(const QString &text)
{
    okButton->setEnabled(!text.isEmpty());
}

void CopyProjectFilesDialog::selectRootFolder(bool)
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Directory"), pathEdit->text(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        pathEdit->setText(QDir::toNativeSeparators(folder));
}

void CopyProjectFilesDialog::refuse(const QString &text, const QString &detail)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setInformativeText(detail);
    box.exec();
}

void CopyProjectFilesDialog::okButtonClicked(bool)
{
    const QString name = projectNameEdit->text();
    if (!isUsableName(name)) {
        refuse(tr("A project cannot be called \"%1\".").arg(name),
               tr("A project name needs at least one character other than dots and spaces."));
        return;
    }
    const QString chosen = QDir::fromNativeSeparators(pathEdit->text().trimmed());
    const QFileInfo parent(chosen);
    if (chosen.isEmpty() || !parent.isDir()) {
        refuse(tr("The folder %1 does not exist.").arg(QDir::toNativeSeparators(chosen)),
               tr("Choose an existing folder, or check that its disk is present."));
        return;
    }
    QDir directory(parent.absoluteFilePath());
    if (!newProjectMode) {
        const bool existed = directory.exists(name);
        if (!directory.mkpath(name) || !directory.cd(name)) {
            refuse(tr("Cannot create the folder %1.").arg(QDir::toNativeSeparators(directory.filePath(name))),
                   tr("Check that the folder can be written to."));
            return;
        }
        if (!existed)
            createdFolder_ = directory.absolutePath();
    }
    // Permissions alone do not tell (an administrator passes every check, a read-only
    // medium fails none): only a file that could be made proves the folder writable.
    QTemporaryFile probe(directory.filePath(QStringLiteral(".zmxprobe-XXXXXX")));
    if (!probe.open()) {
        refuse(tr("Cannot write to the folder %1.").arg(QDir::toNativeSeparators(directory.absolutePath())),
               probe.errorString());
        if (!createdFolder_.isEmpty() && QDir().rmdir(createdFolder_))
            createdFolder_.clear();
        return;
    }
    probe.remove();

    const QString path = directory.absoluteFilePath(name + QLatin1Char('.') + QLatin1String(Project::extension));
    if (QFileInfo::exists(path)) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), tr("A project with the same name already exists"),
                        QMessageBox::Yes | QMessageBox::Cancel, this);
        box.setInformativeText(tr("Do you want to overwrite it?"));
        box.button(QMessageBox::Yes)->setText(tr("Overwrite"));
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    resultPath_ = path;
    accept();
}

void CopyProjectFilesDialog::cancelButtonClicked(bool)
{
    reject();
}
