#include "projects/controllerdialog.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/compilersdialog.h"
#include "projects/project.h"
#include "projects/startersource.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace {

// Entries listed once, ignoring letter case (the first spelling stays), then sorted.
QStringList uniqueSorted(const QStringList &entries)
{
    QStringList result;
    for (const QString &entry : entries) {
        if (!result.contains(entry, Qt::CaseInsensitive))
            result.append(entry);
    }
    result.sort();
    return result;
}

}

ControllerDialog::ControllerDialog(Project *project, BuildConfigList *compilers, Workbench *mainWindow)
    : QuorvinDialog(mainWindow ? mainWindow->dialogParent() : nullptr), project(project), compilers(compilers),
      mainWindow(mainWindow), notInstalledMark(tr(" (Not Installed)"))
{
    setupUi(this);
    starterSourceCheckBox->setChecked(true);
    starterSourceCheckBox->hide();
    loadFromProject();
    setWindowTitle(project && !project->name().isEmpty() ? tr("%1 Project Settings").arg(project->name())
                                                         : tr("Controller Selection"));
    const bool advanced = mainWindow && mainWindow->advancedMode();
    advancedGroupBox->setVisible(advanced);
    simulatorOnlyWidget->setVisible(advanced);

    for (QComboBox *box : {controllerFamily, controller, compiler}) {
        box->installEventFilter(this);
        connect(box, &QComboBox::currentTextChanged, this, &ControllerDialog::checkDialogIsComplete);
        connect(box, &QComboBox::currentIndexChanged, this, &ControllerDialog::checkDialogIsComplete);
    }
    connect(controllerFamily, &QComboBox::currentTextChanged, this, &ControllerDialog::controllerFamilyIndexChanged);
    connect(controller, &QComboBox::currentTextChanged, this, &ControllerDialog::controllerIndexChanged);
    connect(compiler, &QComboBox::currentTextChanged, this, &ControllerDialog::compilerIndexChanged);
    connect(clockFrequency, &QLineEdit::textChanged, this, &ControllerDialog::clockChanged);
    connect(simulatorOnly, &QCheckBox::stateChanged, this, &ControllerDialog::simulatorOnlyChanged);
    connect(compilersPushButton, &QPushButton::clicked, this, &ControllerDialog::compilersButtonClicked);
    connect(addKeywordBtn, &QPushButton::clicked, this, &ControllerDialog::addKeywordBtnClicked);
    connect(removeKeywordBtn, &QPushButton::clicked, this, &ControllerDialog::removeKeywordBtnClicked);
    connect(descriptionEdit, &QLineEdit::textEdited, this, &ControllerDialog::descriptionChanged);
    connect(backButton, &QPushButton::clicked, this, &ControllerDialog::backButtonClicked);
    connect(nextButton, &QPushButton::clicked, this, &ControllerDialog::nextButtonClicked);
    connect(okButton, &QPushButton::clicked, this, &ControllerDialog::okButtonClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ControllerDialog::cancelButtonClicked);
    checkDialogIsComplete();
}

ControllerDialog::~ControllerDialog() = default;

void ControllerDialog::setButtonsShown(bool back, bool next, bool ok)
{
    backButton->setVisible(back);
    nextButton->setVisible(next);
    okButton->setVisible(ok);
}

void ControllerDialog::offerStarterSource(bool offer)
{
    starterOffered = offer;
    updateStarterSource();
}

bool ControllerDialog::starterSourceWanted() const
{
    return starterOffered && !starterSourceCheckBox->isHidden() && starterSourceCheckBox->isChecked();
}

void ControllerDialog::updateStarterSource()
{
    const QString path = starterOffered && compilers ? StarterSource::templatePath(compilers->find(compiler_))
                                                     : QString();
    starterSourceCheckBox->setVisible(!path.isEmpty());
    starterSourceCheckBox->setText(tr("Add a starter source file %1").arg(QFileInfo(path).fileName()));
}

QString ControllerDialog::normalizeClock(const QString &clock)
{
    if (clock.isEmpty() || clock.contains(QLatin1String("Hz"), Qt::CaseInsensitive))
        return clock;
    qsizetype lastSignificant = -1;
    for (qsizetype index = clock.size() - 1; index >= 0; --index) {
        if (clock.at(index) >= QLatin1Char('1') && clock.at(index) <= QLatin1Char('9')) {
            lastSignificant = index;
            break;
        }
    }
    const qsizetype trailing = lastSignificant < 0 ? 0 : (clock.size() - 1 - lastSignificant) / 3 * 3;
    switch (trailing) {
    case 3:
        return clock.chopped(3) + QLatin1String("KHz");
    case 6:
        return clock.chopped(6) + QLatin1String("MHz");
    case 9:
        return clock.chopped(9) + QLatin1String("GHz");
    default:
        return clock + QLatin1String("Hz");
    }
}

bool ControllerDialog::isSimulated(const QString &family, const QString &controller) const
{
    return mainWindow && mainWindow->isSimulated(family, controller);
}

void ControllerDialog::buildControllerTable()
{
    controllerTable.clear();
    if (!compilers)
        return;
    for (const BuildConfig *config : compilers->configurations()) {
        const bool installed = config->isConfigured();
        for (const CompilerFamily &family : config->families()) {
            auto entry = std::find_if(controllerTable.begin(), controllerTable.end(),
                                      [&](const FamilyEntry &candidate) { return candidate.family == family.name; });
            if (entry == controllerTable.end()) {
                controllerTable.append({family.name, {}});
                entry = controllerTable.end() - 1;
            }
            for (const CompilerController &controllerEntry : family.controllers) {
                const bool present = std::any_of(entry->rows.cbegin(), entry->rows.cend(), [&](const Row &row) {
                    return row.controller == controllerEntry.name && row.compiler == config->name();
                });
                if (!present)
                    entry->rows.append({controllerEntry.name, config->name(), installed,
                                        isSimulated(family.name, controllerEntry.name)});
            }
        }
    }
}

bool ControllerDialog::offered(const Row &row) const
{
    return row.simulated && (simulatorOnly->isChecked() || row.installed);
}

QList<ControllerDialog::Row> ControllerDialog::rowsOf(const QString &family) const
{
    QList<Row> rows;
    for (const FamilyEntry &entry : controllerTable) {
        if (entry.family.toUpper() == family.toUpper())
            rows += entry.rows;
    }
    return rows;
}

void ControllerDialog::fillFamilies()
{
    QStringList names;
    for (const FamilyEntry &entry : std::as_const(controllerTable)) {
        const bool simulated = std::any_of(entry.rows.cbegin(), entry.rows.cend(), [](const Row &row) { return row.simulated; });
        const bool installed = std::any_of(entry.rows.cbegin(), entry.rows.cend(), [](const Row &row) { return row.installed; });
        if (simulated && (simulatorOnly->isChecked() || installed))
            names.append(entry.family);
    }
    families = uniqueSorted(names);
    fillBox(controllerFamily, families);
    controllerFamilyIndexChanged(family_);
}

void ControllerDialog::fillBox(QComboBox *box, const QStringList &entries)
{
    const bool wasLoading = loading;
    loading = true;
    box->clear();
    box->setEditable(false);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    loading = wasLoading;
}

// Selects text in the box; a text it does not offer is shown in the box's own field.
void ControllerDialog::selectOrShow(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index >= 0) {
        box->setEditable(false);
        box->setCurrentIndex(index);
    } else if (text.isEmpty()) {
        box->setEditable(false);
        box->setCurrentIndex(-1);
    } else {
        box->setEditable(true);
        box->setEditText(text);
    }
}

void ControllerDialog::controllerFamilyIndexChanged(const QString &text)
{
    if (loading)
        return;
    family_ = text;
    loading = true;
    selectOrShow(controllerFamily, text);
    loading = false;

    QStringList names;
    for (const Row &row : rowsOf(text)) {
        if (offered(row))
            names.append(row.controller);
    }
    controllers = uniqueSorted(names);
    fillBox(controller, controllers);
    controllerIndexChanged(controller_);
}

void ControllerDialog::controllerIndexChanged(const QString &text)
{
    if (loading)
        return;
    controller_ = text;
    loading = true;
    selectOrShow(controller, text);
    loading = false;

    QStringList names;
    for (const Row &row : rowsOf(family_)) {
        if (row.controller.toUpper() != text.toUpper() || (simulatorOnly->isChecked() && !row.simulated))
            continue;
        names.append(row.installed ? row.compiler : row.compiler + notInstalledMark);
    }
    compilerNames = uniqueSorted(names);
    QString wanted = compiler_;
    if (wanted.isEmpty() && !workingConfigurations.empty() && compilers)
        wanted = compilers->defaultCompiler(family_, text, workingConfigurations.front()->allFiles());
    fillBox(compiler, compilerNames);
    compilerIndexChanged(wanted);
    compilersPushButton->setEnabled(!compiler->currentText().isEmpty());
}

void ControllerDialog::compilerIndexChanged(const QString &text)
{
    if (loading)
        return;
    loading = true;
    int index = compiler->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        index = compiler->findText(text + notInstalledMark, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0 && compiler->count() > 0)
        index = 0;
    compiler->setCurrentIndex(index);
    loading = false;
    QString selected = compiler->currentText();
    if (selected.endsWith(notInstalledMark))
        selected.chop(notInstalledMark.size());
    compiler_ = selected;
    updateStarterSource();
}

void ControllerDialog::clockChanged(const QString &text)
{
    if (currentCopy)
        currentCopy->setClock(text);
}

void ControllerDialog::simulatorOnlyChanged(int)
{
    fillFamilies();
}

void ControllerDialog::checkDialogIsComplete()
{
    const bool complete = !controllerFamily->currentText().isEmpty() && !controller->currentText().isEmpty()
                       && !compiler->currentText().isEmpty();
    okButton->setEnabled(complete);
    nextButton->setEnabled(complete);
}

void ControllerDialog::refill()
{
    buildControllerTable();
    if (currentCopy) {
        family_ = currentCopy->family();
        controller_ = currentCopy->controller();
        compiler_ = currentCopy->compilerName();
    }
    fillFamilies();
    checkDialogIsComplete();
}

void ControllerDialog::loadFromProject()
{
    dropWorkingCopies();
    if (project) {
        for (int index = 0; index < project->configurationCount(); ++index)
            workingConfigurations.push_back(project->configuration(index)->copy());
    }
    currentCopy = workingConfigurations.empty() ? nullptr : workingConfigurations.front().get();
    family_.clear();
    controller_.clear();
    compiler_.clear();
    refill();
    if (currentCopy)
        clockFrequency->setText(normalizeClock(currentCopy->clock()));
    descriptionEdit->setText(project ? project->description() : QString());
    keywordsComboBox->clear();
    if (project)
        keywordsComboBox->addItems(project->keywords());
}

void ControllerDialog::writeChoicesInto(BuildProject *configuration) const
{
    if (!configuration)
        return;
    if (!compiler_.isEmpty())
        configuration->selectCompiler(compiler_);
    if (!family_.isEmpty() && !controller_.isEmpty())
        configuration->selectController(family_, controller_, true);
}

void ControllerDialog::applyToProject()
{
    if (!project)
        return;
    writeChoicesInto(currentCopy);
    std::vector<std::unique_ptr<BuildProject>> replacement;
    for (const auto &configuration : workingConfigurations)
        replacement.push_back(configuration->copy());
    if (!replacement.empty()) {
        const BuildProject *first = replacement.front().get();
        if (!first->family().isEmpty() && !first->controller().isEmpty() && !first->compilerName().isEmpty()) {
            for (size_t index = 1; index < replacement.size(); ++index) {
                BuildProject *other = replacement.at(index).get();
                if (!other->family().isEmpty() || !other->controller().isEmpty() || !other->compilerName().isEmpty())
                    continue;
                other->selectCompiler(first->compilerName());
                other->selectController(first->family(), first->controller(), true);
                other->setClock(first->clock());
            }
        }
    }
    project->setConfigurations(std::move(replacement));
    project->setCurrentConfiguration(0);
    project->setDescription(descriptionEdit->text());
    QStringList keywords;
    for (int index = 0; index < keywordsComboBox->count(); ++index)
        keywords.append(keywordsComboBox->itemText(index));
    project->setKeywords(keywords);
}

void ControllerDialog::compilersButtonClicked(bool)
{
    writeChoicesInto(currentCopy);
    CompilersDialog dialog(mainWindow, compilers, this);
    dialog.exec();
    // The choices made so far stay: only what detection found is read again.
    refill();
}

void ControllerDialog::addKeywordBtnClicked(bool)
{
    const QString keyword = keywordsEdit->text();
    if (!keyword.isEmpty()) {
        keywordsComboBox->addItem(keyword);
        keywordsComboBox->setCurrentIndex(keywordsComboBox->count() - 1);
        if (project)
            project->setModified(true);
    }
    keywordsEdit->clear();
}

void ControllerDialog::removeKeywordBtnClicked(bool)
{
    if (keywordsComboBox->currentIndex() < 0)
        return;
    keywordsComboBox->removeItem(keywordsComboBox->currentIndex());
    if (project)
        project->setModified(true);
}

void ControllerDialog::descriptionChanged(const QString &)
{
    if (project)
        project->setModified(true);
}

void ControllerDialog::okButtonClicked(bool)
{
    if (compiler->currentText().contains(notInstalledMark)) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), tr("The selected compiler is not installed."),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setInformativeText(tr("Do you want to proceed?"));
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Ok)
            return;
    }
    applyToProject();
    closeCode_ = Confirmed;
    if (!project) {
        accept();
        return;
    }
    project->setModified(true);
    project->updateItemText();

    if (!projectDirectory.isEmpty()) {
        // The design file was chosen a page ago; it may have gone since.
        const QString design = project->designFile();
        if (!design.isEmpty() && !QFileInfo::exists(design)) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("The design file %1 does not exist any more.").arg(QDir::toNativeSeparators(design)),
                                 QMessageBox::Ok);
            return;
        }
        if (project->saveAs(projectDirectory, false))
            accept();
    } else if (project->save()) {
        accept();
    }
}

void ControllerDialog::nextButtonClicked(bool)
{
    applyToProject();
    closeCode_ = NextPage;
    accept();
}

void ControllerDialog::backButtonClicked(bool)
{
    dropWorkingCopies();
    closeCode_ = PreviousPage;
    accept();
}

void ControllerDialog::cancelButtonClicked(bool)
{
    dropWorkingCopies();
    closeCode_ = Cancelled;
    reject();
}

void ControllerDialog::dropWorkingCopies()
{
    currentCopy = nullptr;
    workingConfigurations.clear();
}
