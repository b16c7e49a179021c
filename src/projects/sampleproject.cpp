#include "projects/sampleproject.h"

#include "core/waitcursor.h"
#include "core/workbench.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

SampleProject::SampleProject(ProjectsManager *manager, Workbench *owner, BuildConfigList *compilers, QWidget *parent)
    : QuorvinDialog(parent ? parent : owner ? owner->dialogParent() : nullptr), manager(manager), mainWindow(owner),
      compilers(compilers)
{
    setupUi(this);
    setModal(true);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(okButton, &QPushButton::clicked, this, &SampleProject::openSample);
    connect(categoryComboBox, &QComboBox::currentIndexChanged, this, &SampleProject::filterProjects);
    connect(controllerComboBox, &QComboBox::currentIndexChanged, this, &SampleProject::filterProjects);
    connect(projectsListWidget, &QListWidget::currentTextChanged, this, &SampleProject::updateDescription);
    // A double click is the quick way to take the sample under the mouse.
    connect(projectsListWidget, &QListWidget::itemDoubleClicked, this, &SampleProject::openSample);

    const QString installation = mainWindow ? mainWindow->quorvinPath() : QString();
    samplesDirectory_ = installation.isEmpty() ? QString() : installation + QDir::separator() + QStringLiteral("SAMPLES");
    loadSamples();
}

SampleProject::~SampleProject() = default;

void SampleProject::loadSamples()
{
    WaitCursor waitCursor;
    filling = true;
    categoryComboBox->clear();
    controllerComboBox->clear();
    projectsListWidget->clear();
    projectInfoTextEdit->clear();
    if (!samplesDirectory_.isEmpty() && QFileInfo(samplesDirectory_).isDir()) {
        samples.clear();
        scan(samplesDirectory_);
    }

    QStringList categories;
    QStringList families;
    QSet<QString> seenCategories;
    QSet<QString> seenFamilies;
    for (const Sample &entry : samples) {
        for (const QString &keyword : entry.project->keywords()) {
            if (!seenCategories.contains(keyword)) {
                seenCategories.insert(keyword);
                categories.append(keyword);
            }
        }
        const QString family = entry.project->currentFamily();
        if (!seenFamilies.contains(family)) {
            seenFamilies.insert(family);
            families.append(family);
        }
    }
    categories.sort();
    families.sort();
    categoryComboBox->addItem(tr("All"));
    categoryComboBox->addItems(categories);
    controllerComboBox->addItem(tr("All"));
    controllerComboBox->addItems(families);
    filling = false;
    filterProjects();
}

void SampleProject::scan(const QString &directory)
{
    const QDir dir(directory);
    const QFileInfoList entries = dir.entryInfoList({QStringLiteral("*.zmxp")}, QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot,
                                                    QDir::Name | QDir::DirsLast);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            scan(entry.absoluteFilePath());
            continue;
        }
        if (!entry.fileName().endsWith(QLatin1String(".zmxp"), Qt::CaseInsensitive))
            continue;
        // A sample is only read here; it must not report on the output pane or touch the
        // editors, so it is loaded without the main window.
        auto project = std::make_unique<Project>(compilers, nullptr);
        if (!project->load(entry.absoluteFilePath()))
            continue;
        samples.push_back({std::move(project), entry.completeBaseName(), entry.absoluteFilePath()});
    }
}

void SampleProject::filterProjects()
{
    if (filling || categoryComboBox->currentIndex() < 0 || controllerComboBox->currentIndex() < 0)
        return;
    projectsListWidget->clear();
    const bool anyCategory = categoryComboBox->currentIndex() == 0;
    const bool anyFamily = controllerComboBox->currentIndex() == 0;
    const QString category = categoryComboBox->currentText();
    const QString family = controllerComboBox->currentText();
    for (const Sample &entry : samples) {
        const bool categoryPasses = anyCategory || entry.project->keywords().contains(category, Qt::CaseInsensitive);
        const bool familyPasses = anyFamily || entry.project->currentFamily().compare(family, Qt::CaseInsensitive) == 0;
        if (categoryPasses && familyPasses)
            projectsListWidget->addItem(entry.name);
    }
    if (projectsListWidget->count() > 0)
        projectsListWidget->setCurrentRow(0);
}

void SampleProject::updateDescription()
{
    projectInfoTextEdit->clear();
    const QListWidgetItem *current = projectsListWidget->currentItem();
    if (!current)
        return;
    if (const Sample *entry = find(current->text()))
        entry->project->showInfo(projectInfoTextEdit);
}

void SampleProject::openSample()
{
    const QListWidgetItem *current = projectsListWidget->currentItem();
    const Sample *entry = current ? find(current->text()) : nullptr;
    // The dialog goes first: the project's own questions and messages must not sit
    // behind it.
    close();
    if (entry && manager)
        manager->openSampleCopy(entry->path);
}

const SampleProject::Sample *SampleProject::find(const QString &name) const
{
    for (const Sample &entry : samples) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

const Project *SampleProject::sample(const QString &name) const
{
    const Sample *entry = find(name);
    return entry ? entry->project.get() : nullptr;
}

QString SampleProject::samplePath(const QString &name) const
{
    const Sample *entry = find(name);
    return entry ? entry->path : QString();
}
