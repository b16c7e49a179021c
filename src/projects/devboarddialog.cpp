#include "projects/devboarddialog.h"

#include "core/waitcursor.h"
#include "core/workbench.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "projects/project.h"

#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTreeWidgetItem>
#include <algorithm>

namespace {

enum ItemRole { PathRole = Qt::UserRole, KindRole, FilledRole };
enum ItemKind { DirectoryItem, SourceItem, ProjectFileItem };

bool hasSuffix(const QString &path, const char *suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

}

DevBoardDialog::DevBoardDialog(Workbench *mainWindow, BuildConfigList *compilers)
    : QuorvinDialog(mainWindow ? mainWindow->dialogParent() : nullptr), mainWindow(mainWindow), compilers(compilers)
{
    WaitCursor waitCursor;
    setupUi(this);
    noneRadioButton->setChecked(true);
    designFileEdit->clear();
    loadBoards();

    QStringList keywords;
    for (const auto &board : boardProjects) {
        for (const QString &keyword : board->keywords()) {
            if (!keywords.contains(keyword))
                keywords.append(keyword);
        }
    }
    keywords.sort();
    boardKeywords_ = QStringList(tr("All")) + keywords;
    demoProjectComboBox->addItems(boardKeywords_);
    demoProjectComboBoxCurrentIndexChanged(boardKeywords_.first());

    if (compilers) {
        for (const QString &suffix : compilers->allSourceSuffixes())
            sourceSuffixes.append(suffix.toUpper());
    }
    sourceSuffixes.append(QStringLiteral("ZMXP"));

    connect(backButton, &QPushButton::clicked, this, &DevBoardDialog::backButtonClicked);
    connect(nextButton, &QPushButton::clicked, this, &DevBoardDialog::nextButtonClicked);
    connect(okButton, &QPushButton::clicked, this, &DevBoardDialog::okButtonClicked);
    connect(cancelButton, &QPushButton::clicked, this, &DevBoardDialog::cancelButtonClicked);
    for (QRadioButton *button : {demoProjectRadioButton, noneRadioButton, designFileRadioButton})
        connect(button, &QRadioButton::toggled, this, &DevBoardDialog::radioButtonToggled);
    connect(designFileButton, &QPushButton::clicked, this, &DevBoardDialog::designFileButtonClicked);
    connect(designFileEdit, &QLineEdit::editingFinished, this, &DevBoardDialog::designFileEntryCompleted);
    // Next follows the typing too, not only the end of an edit.
    connect(designFileEdit, &QLineEdit::textChanged, this, &DevBoardDialog::refreshState);
    connect(demoProjectComboBox, &QComboBox::currentTextChanged, this,
            &DevBoardDialog::demoProjectComboBoxCurrentIndexChanged);
    connect(demoProjectsList, &QListWidget::currentTextChanged, this,
            &DevBoardDialog::demoProjectsListCurrentTextChanged);
    connect(directoryViewTreeWidget, &QTreeWidget::itemChanged, this, &DevBoardDialog::directoryTreeItemChanged);
    connect(directoryViewTreeWidget, &QTreeWidget::itemClicked, this, &DevBoardDialog::directoryTreeItemClicked);
    connect(directoryViewTreeWidget, &QTreeWidget::itemExpanded, this, &DevBoardDialog::directoryTreeItemExpanded);

    setWindowTitle(tr("New Project Wizard"));
    auto *completer = new QCompleter(this);
    auto *model = new QFileSystemModel(completer);
    model->setRootPath(QString());
    completer->setModel(model);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    designFileEdit->setCompleter(completer);

    directoryViewTreeWidget->setColumnCount(1);
    directoryViewTreeWidget->setHeaderHidden(true);
    auto *top = new QTreeWidgetItem(directoryViewTreeWidget);
    top->setIcon(0, QIcon(QStringLiteral(":/images/project.png")));
    top->setHidden(true);
    refreshState();
}

DevBoardDialog::~DevBoardDialog() = default;

void DevBoardDialog::loadBoards()
{
    const QString root = mainWindow ? mainWindow->devBoardsDirectory() : QString();
    if (root.isEmpty())
        return;
    const QDir boards(root);
    for (const QString &folder : boards.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir board(boards.filePath(folder));
        const QStringList projectFiles =
            board.entryList({QStringLiteral("*.") + QLatin1String(Project::extension)}, QDir::Files, QDir::Name);
        if (projectFiles.isEmpty())
            continue;
        const QString path = board.absoluteFilePath(projectFiles.first());
        auto project = std::make_unique<Project>(compilers, mainWindow);
        if (!hasSuffix(path, Project::extension) || !project->load(path)) {
            if (mainWindow)
                mainWindow->addError(tr("The development board project %1 cannot be loaded; the board is not offered.")
                                         .arg(QDir::toNativeSeparators(path)));
            continue;
        }
        // Only shown here: it must not clear the output or close editors when it goes.
        project->detachFromWindow();
        boardProjects.push_back(std::move(project));
    }
    std::stable_sort(boardProjects.begin(), boardProjects.end(),
                     [](const auto &a, const auto &b) { return a->name() < b->name(); });
}

QStringList DevBoardDialog::boardNames() const
{
    QStringList names;
    for (const auto &board : boardProjects)
        names.append(board->name());
    return names;
}

QString DevBoardDialog::designFilePath() const
{
    return QDir::fromNativeSeparators(designFileEdit->text().trimmed());
}

void DevBoardDialog::setButtonsShown(bool back, bool next, bool ok)
{
    backButton->setVisible(back);
    nextButton->setVisible(next);
    okButton->setVisible(ok);
}

void DevBoardDialog::demoProjectComboBoxCurrentIndexChanged(const QString &text)
{
    const QString selectedName = selectedBoard >= 0 ? boardProjects.at(size_t(selectedBoard))->name() : QString();
    const bool all = text == boardKeywords_.value(0);
    shownBoards.clear();
    demoProjectsList->blockSignals(true);
    demoProjectsList->clear();
    for (size_t index = 0; index < boardProjects.size(); ++index) {
        if (all || boardProjects.at(index)->keywords().contains(text)) {
            shownBoards.append(int(index));
            demoProjectsList->addItem(boardProjects.at(index)->name());
        }
    }
    demoProjectsList->blockSignals(false);
    // A board that is still listed stays chosen.
    const QList<QListWidgetItem *> kept = demoProjectsList->findItems(selectedName, Qt::MatchExactly);
    if (!selectedName.isEmpty() && !kept.isEmpty())
        demoProjectsList->setCurrentItem(kept.first());
    else
        demoProjectsListCurrentTextChanged(QString());
    refreshState();
}

void DevBoardDialog::demoProjectsListCurrentTextChanged(const QString &text)
{
    int found = -1;
    for (int index : std::as_const(shownBoards)) {
        if (boardProjects.at(size_t(index))->name() == text) {
            found = index;
            break;
        }
    }
    if (found != selectedBoard) {
        selectedBoard = found;
        refreshState();
    }
}

void DevBoardDialog::radioButtonToggled(bool checked)
{
    if (!checked)
        return;
    if (demoProjectRadioButton->isChecked())
        choice_ = DemoProjectChoice;
    else if (designFileRadioButton->isChecked())
        choice_ = DesignFileChoice;
    else
        choice_ = NoChoice;
    refreshState();
}

bool DevBoardDialog::designFileUsable() const
{
    const QFileInfo design(designFilePath());
    return !designFilePath().isEmpty() && design.isFile() && design.suffix().toUpper() == QLatin1String("DSN");
}

void DevBoardDialog::refreshState()
{
    demoProjectsList->setEnabled(false);
    demoProjectComboBox->setEnabled(false);
    designFileEdit->setEnabled(false);
    designFileButton->setEnabled(false);
    if (choice_ == DemoProjectChoice) {
        rightHandPaneWidget->setCurrentWidget(defaultViewWidget);
        demoProjectsList->setEnabled(true);
        demoProjectComboBox->setEnabled(true);
        configurationDescription->setPlaceholderText(tr("Choose a board to see what its project holds."));
        if (selectedBoard >= 0)
            boardProjects.at(size_t(selectedBoard))->showInfo(configurationDescription);
        else
            configurationDescription->clear();
        nextButton->setEnabled(selectedBoard >= 0);
    } else if (choice_ == DesignFileChoice) {
        rightHandPaneWidget->setCurrentWidget(directoryViewWidget);
        designFileEdit->setEnabled(true);
        designFileButton->setEnabled(true);
        rebuildDirectoryTree();
        nextButton->setEnabled(designFileUsable());
    } else {
        rightHandPaneWidget->setCurrentWidget(defaultViewWidget);
        configurationDescription->setPlaceholderText(
            tr("An empty project with the configurations Debug and Release. The next page chooses the "
               "controller, the compiler and the clock; it can add a starter source that builds at once."));
        configurationDescription->clear();
        nextButton->setEnabled(true);
    }
}

void DevBoardDialog::designFileButtonClicked(bool)
{
    const QString current = QFileInfo(designFilePath()).absolutePath();
    const QString start = !designFilePath().isEmpty() && QFileInfo(current).isDir()
                              ? current
                              : (mainWindow ? mainWindow->projectsDirectory() : QString());
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Import Design File"), start, QStringLiteral("*.dsn"));
    if (!chosen.isEmpty())
        designFileEdit->setText(QDir::toNativeSeparators(chosen));
    refreshState();
}

void DevBoardDialog::designFileEntryCompleted()
{
    refreshState();
}

void DevBoardDialog::rebuildDirectoryTree()
{
    // Rebuilt only for another folder, so that the boxes ticked so far stay ticked.
    const QString directory = designFileUsable() ? QFileInfo(designFilePath()).absolutePath() : QString();
    if (directory == shownDirectory)
        return;
    shownDirectory = directory;
    QTreeWidgetItem *top = directoryViewTreeWidget->topLevelItem(0);
    propagatingChecks = true;
    qDeleteAll(top->takeChildren());
    top->setText(0, directory.isEmpty() ? QString() : QDir(directory).dirName());
    top->setData(0, PathRole, directory);
    top->setData(0, KindRole, DirectoryItem);
    top->setData(0, FilledRole, false);
    // Without a design file there is no folder to show.
    top->setHidden(directory.isEmpty());
    if (directory.isEmpty()) {
        top->setData(0, Qt::CheckStateRole, QVariant());
    } else {
        top->setFlags(top->flags() | Qt::ItemIsUserCheckable);
        top->setCheckState(0, Qt::Checked);
        fillDirectory(top);
        top->setExpanded(true);
    }
    propagatingChecks = false;
}

void DevBoardDialog::fillDirectory(QTreeWidgetItem *item)
{
    if (item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    const bool wasPropagating = propagatingChecks;
    propagatingChecks = true;
    const QDir directory(item->data(0, PathRole).toString());
    // Files start ticked beside the design file; folders below start as they are shown.
    const bool topLevel = item->parent() == nullptr;
    const Qt::CheckState inherited = topLevel ? Qt::Unchecked : item->checkState(0);
    for (const QFileInfo &entry :
         directory.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto *child = new QTreeWidgetItem(item, QStringList(entry.fileName()));
        child->setIcon(0, QIcon(QStringLiteral(":/images/project.png")));
        child->setData(0, PathRole, entry.absoluteFilePath());
        child->setData(0, KindRole, DirectoryItem);
        child->setData(0, FilledRole, false);
        child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
        child->setCheckState(0, inherited);
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    for (const QFileInfo &entry : directory.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!sourceSuffixes.contains(entry.suffix().toUpper()))
            continue;
        auto *child = new QTreeWidgetItem(item);
        child->setData(0, PathRole, entry.absoluteFilePath());
        if (hasSuffix(entry.fileName(), Project::extension)) {
            child->setText(0, entry.fileName() + tr(" (Project File)"));
            child->setIcon(0, QIcon(QStringLiteral(":/images/ZMXStudio16.png")));
            child->setData(0, KindRole, ProjectFileItem);
            child->setFlags(child->flags() & ~Qt::ItemIsUserCheckable);
        } else {
            child->setText(0, entry.fileName());
            child->setIcon(0, QIcon(QStringLiteral(":/images/project_source.png")));
            child->setData(0, KindRole, SourceItem);
            child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
            child->setCheckState(0, topLevel ? Qt::Checked : inherited);
        }
    }
    item->setChildIndicatorPolicy(item->childCount() ? QTreeWidgetItem::ShowIndicator
                                                     : QTreeWidgetItem::DontShowIndicator);
    propagatingChecks = wasPropagating;
}

void DevBoardDialog::directoryTreeItemChanged(QTreeWidgetItem *item, int column)
{
    if (propagatingChecks || column != 0 || item->data(0, KindRole).toInt() != DirectoryItem)
        return;
    propagatingChecks = true;
    const Qt::CheckState state = item->checkState(0);
    QList<QTreeWidgetItem *> pending{item};
    while (!pending.isEmpty()) {
        QTreeWidgetItem *current = pending.takeLast();
        for (int index = 0; index < current->childCount(); ++index) {
            QTreeWidgetItem *child = current->child(index);
            if (child->data(0, KindRole).toInt() == ProjectFileItem)
                continue;
            child->setCheckState(0, state);
            pending.append(child);
        }
    }
    propagatingChecks = false;
}

void DevBoardDialog::directoryTreeItemClicked(QTreeWidgetItem *item, int)
{
    // A click on a folder's name opens or closes it; the box beside it ticks it.
    if (item && item->parent() && item->data(0, KindRole).toInt() == DirectoryItem)
        item->setExpanded(!item->isExpanded());
}

void DevBoardDialog::directoryTreeItemExpanded(QTreeWidgetItem *item)
{
    if (item->data(0, KindRole).toInt() == DirectoryItem)
        fillDirectory(item);
}

void DevBoardDialog::collectCheckedFiles(QTreeWidgetItem *item, QStringList &files)
{
    for (int index = 0; index < item->childCount(); ++index) {
        QTreeWidgetItem *child = item->child(index);
        const int kind = child->data(0, KindRole).toInt();
        if (kind == SourceItem && child->checkState(0) == Qt::Checked)
            files.append(child->data(0, PathRole).toString());
        else if (kind == DirectoryItem)
            collectCheckedFiles(child, files);
    }
}

void DevBoardDialog::nextButtonClicked(bool)
{
    if (choice_ == DesignFileChoice) {
        // The file may have gone since it was chosen.
        if (!designFileUsable()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("The design file %1 does not exist any more.")
                                     .arg(QDir::toNativeSeparators(designFilePath())));
            refreshState();
            return;
        }
        designFiles_.clear();
        collectCheckedFiles(directoryViewTreeWidget->topLevelItem(0), designFiles_);
        designFiles_.append(QFileInfo(designFilePath()).absoluteFilePath());
        designFiles_.erase(std::remove_if(designFiles_.begin(), designFiles_.end(),
                                          [](const QString &path) { return hasSuffix(path, Project::extension); }),
                           designFiles_.end());
    }
    closeCode_ = NextPage;
    accept();
}

void DevBoardDialog::okButtonClicked(bool)
{
    closeCode_ = Confirmed;
    accept();
}

void DevBoardDialog::backButtonClicked(bool)
{
    closeCode_ = PreviousPage;
    accept();
}

void DevBoardDialog::cancelButtonClicked(bool)
{
    closeCode_ = Cancelled;
    reject();
}

const Project *DevBoardDialog::createStartProject()
{
    if (choice_ == DemoProjectChoice && selectedBoard >= 0)
        return boardProjects.at(size_t(selectedBoard)).get();
    emptyStart = std::make_unique<Project>(compilers, mainWindow);
    std::vector<std::unique_ptr<BuildProject>> configurations;
    for (const QString &name : {QStringLiteral("Debug"), QStringLiteral("Release")}) {
        auto configuration = std::make_unique<BuildProject>(mainWindow, compilers);
        configuration->setName(name);
        configuration->selectTarget(name);
        configurations.push_back(std::move(configuration));
    }
    emptyStart->setConfigurations(std::move(configurations));
    if (choice_ == DesignFileChoice) {
        for (const QString &path : std::as_const(designFiles_))
            emptyStart->addFile(path);
    }
    emptyStart->detachFromWindow();
    return emptyStart.get();
}
