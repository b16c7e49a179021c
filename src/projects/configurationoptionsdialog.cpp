#include "projects/configurationoptionsdialog.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/maketext.h"
#include "build/placeholderresolver.h"
#include "projects/project.h"

#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>

namespace {

enum OptionsColumn { DescriptionColumn, OptionColumn, ValueColumn, TypeColumn };

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QString typeText(const OptionDefinition *definition)
{
    if (!definition)
        return ConfigurationOptionsDialog::tr("String");
    switch (definition->type) {
    case OptionDefinition::None:
        return ConfigurationOptionsDialog::tr("None");
    case OptionDefinition::Number:
        return ConfigurationOptionsDialog::tr("Number");
    case OptionDefinition::String:
        return ConfigurationOptionsDialog::tr("String");
    case OptionDefinition::Choice:
        return ConfigurationOptionsDialog::tr("Choice");
    }
    return QString();
}

QString genericOption()
{
    return ConfigurationOptionsDialog::tr("Generic Option");
}

}

ConfigurationOptionsDialog::ConfigurationOptionsDialog(Project *project, BuildConfigList *compilers,
                                                       Workbench *mainWindow, QWidget *parent)
    : QuorvinDialog(parent), project(project), compilers(compilers), mainWindow(mainWindow)
{
    setupUi(this);
    messageLabel->hide();
    optionsTable->setColumnHidden(DescriptionColumn, true);
    optionsTable->horizontalHeader()->setSectionResizeMode(ValueColumn, QHeaderView::Stretch);

    for (int index = 0; index < project->configurationCount(); ++index) {
        auto copy = project->configuration(index)->copy();
        copy->normalizeOptionValues(true);
        workingCopies.push_back(std::move(copy));
    }

    const QString active = mainWindow ? mainWindow->currentTarget() : QString();
    int selected = 0;
    for (int index = 0; index < int(workingCopies.size()); ++index) {
        const QString name = workingCopies[size_t(index)]->name();
        if (name == active) {
            configurationsCombo->addItem(name + tr(" (Active)"));
            selected = index;
        } else {
            configurationsCombo->addItem(name);
        }
    }
    configurationsCombo->setCurrentIndex(workingCopies.empty() ? -1 : selected);

    if (!mainWindow || !mainWindow->advancedMode())
        settingsTabWidget->removeTab(settingsTabWidget->indexOf(projectTab));
    descriptionEdit->setText(project->description());
    keywordsComboBox->addItems(project->keywords());

    connect(okButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::okButtonClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::cancelButtonClicked);
    connect(upButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::upButtonClicked);
    connect(downButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::downButtonClicked);
    connect(deleteButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::deleteButtonClicked);
    connect(defaultsButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::defaultsButtonClicked);
    connect(addOptionButton, &QPushButton::clicked, this, &ConfigurationOptionsDialog::addOption);
    connect(toolComboBox, &QComboBox::currentIndexChanged, this, &ConfigurationOptionsDialog::toolComboBoxIndexChanged);
    connect(addComboBox, &QComboBox::currentIndexChanged, this, &ConfigurationOptionsDialog::setOptionsComboTooltip);
    connect(configurationsCombo, &QComboBox::currentIndexChanged, this,
            &ConfigurationOptionsDialog::currentConfigurationChanged);
    connect(controllerCombo, &QComboBox::currentTextChanged, this, &ConfigurationOptionsDialog::currentControllerChanged);
    connect(addKeywordBtn, &QPushButton::clicked, this, &ConfigurationOptionsDialog::addKeywordBtnClicked);
    connect(removeKeywordBtn, &QPushButton::clicked, this, &ConfigurationOptionsDialog::removeKeywordBtnClicked);
    connect(optionsTable, &QTableWidget::currentCellChanged, this, &ConfigurationOptionsDialog::selectedOptionChanged);
    connect(optionsTable, &QTableWidget::itemChanged, this, &ConfigurationOptionsDialog::optionValueEdited);
    connect(clockFrequency, &QLineEdit::editingFinished, this, &ConfigurationOptionsDialog::clockEdited);

    currentIndex = 0;
    editedIndex = -1;
    currentConfigurationChanged();
}

ConfigurationOptionsDialog::~ConfigurationOptionsDialog() = default;

QString ConfigurationOptionsDialog::clockDisplay(const QString &clock)
{
    // No clock stays no clock: "Hz" alone would reach the Makefile as a frequency.
    if (clock.isEmpty() || clock.contains(QLatin1String("Hz"), Qt::CaseInsensitive))
        return clock;
    static const QRegularExpression lastSignificant(QStringLiteral("[1-9][^1-9]*$"));
    const QRegularExpressionMatch match = lastSignificant.match(clock);
    const qsizetype trailing = match.hasMatch() ? clock.size() - match.capturedStart() - 1 : 0;
    static const char *const units[] = {"Hz", "KHz", "MHz", "GHz"};
    const qsizetype thousands = std::min<qsizetype>(trailing / 3, 3);
    return clock.left(clock.size() - thousands * 3) + QLatin1String(units[thousands]);
}

BuildProject *ConfigurationOptionsDialog::shown() const
{
    return currentIndex >= 0 && currentIndex < int(workingCopies.size()) ? workingCopies[size_t(currentIndex)].get()
                                                                         : nullptr;
}

QString ConfigurationOptionsDialog::selectedTool() const
{
    return toolComboBox->currentText();
}

const OptionDefinition *ConfigurationOptionsDialog::definitionFor(const QString &name, const QString &id) const
{
    const auto found = std::find_if(options.cbegin(), options.cend(), [&](const OptionDefinition &option) {
        return option.name == name && option.id == id;
    });
    return found == options.cend() ? nullptr : &*found;
}

QString ConfigurationOptionsDialog::shownText(const QString &value)
{
    QString shown = value;
    return shown.replace(QLatin1Char('\n'), QStringLiteral("\\n")).replace(QLatin1Char('\r'), QStringLiteral("\\r"));
}

void ConfigurationOptionsDialog::showRefusal(const QString &message)
{
    messageLabel->setText(message);
    messageLabel->show();
}

void ConfigurationOptionsDialog::currentConfigurationChanged()
{
    if (configurationsCombo->currentIndex() < 0)
        return;
    currentIndex = configurationsCombo->currentIndex();
    if (editedIndex >= 0 && editedIndex < int(workingCopies.size())) {
        storeTable();
        storeClock();
        workingCopies[size_t(editedIndex)]->setClock(clockFrequency->text());
    }
    editedIndex = currentIndex;

    BuildProject *configuration = shown();
    tools.clear();
    if (const BuildConfig *compiler = configuration->compiler()) {
        for (const BuildTool *tool : compiler->tools())
            tools += tool->names();
    }
    toolChainEdit->setText(configuration->compilerName());

    updating = true;
    refillControllers();
    controllerFamilyEdit->setText(configuration->family());
    clockFrequency->setText(clockDisplay(configuration->clock()));
    acceptedClock = clockFrequency->text();
    controllerCombo->setCurrentIndex(controllerCombo->findText(configuration->controller(), Qt::MatchExactly));
    toolComboBox->clear();
    toolComboBox->addItems(tools);
    updating = false;
    rebuildTable();
}

// Every controller of the family is offered; the simulator's own are marked, so that a
// project meant for debugging in the simulator is not set up for a part it cannot run.
void ConfigurationOptionsDialog::refillControllers()
{
    BuildProject *configuration = shown();
    controllerCombo->clear();
    const BuildConfig *compiler = compilers ? compilers->find(configuration->compilerName()) : nullptr;
    if (!compiler)
        return;
    const int family = compiler->familyIndex(configuration->family());
    if (family < 0)
        return;
    const QIcon simulated(QStringLiteral(":/images/vask.png"));
    for (const CompilerController &controller : compiler->families().at(family).controllers) {
        if (mainWindow && mainWindow->isSimulated(compiler->families().at(family).name, controller.name)) {
            controllerCombo->addItem(simulated, controller.name);
            controllerCombo->setItemData(controllerCombo->count() - 1, tr("Supported by the simulator"), Qt::ToolTipRole);
        } else {
            controllerCombo->addItem(controller.name);
        }
    }
    // A controller the compiler no longer lists stays visible rather than seeming replaced.
    if (!configuration->controller().isEmpty() && controllerCombo->findText(configuration->controller()) < 0)
        controllerCombo->addItem(configuration->controller());
}

void ConfigurationOptionsDialog::rebuildTable()
{
    const bool wasFilling = tableFilling;
    tableFilling = true;
    optionsTable->clearContents();
    optionsTable->setRowCount(0);
    optionsTable->setColumnHidden(DescriptionColumn, true);
    choiceBoxes.clear();
    rowRecords.clear();
    BuildProject *configuration = shown();
    const QString tool = selectedTool();
    options = configuration && configuration->compiler() && !tool.isEmpty()
        ? configuration->compiler()->toolOptionDefinitions(tool)
        : QList<OptionDefinition>();
    if (configuration) {
        const QList<OptionValue> &values = configuration->optionValues();
        for (int record = 0; record < values.size(); ++record) {
            if (!tool.isEmpty() && values[record].tool.compare(tool, Qt::CaseInsensitive) == 0)
                addRow(record, definitionFor(values[record].name, values[record].id));
        }
    }
    refillAddCombo();
    optionsTable->resizeColumnToContents(TypeColumn);
    optionsTable->resizeColumnToContents(OptionColumn);
    tableFilling = wasFilling;
    if (layout())
        layout()->activate();
    selectedOptionChanged();
}

void ConfigurationOptionsDialog::addRow(int record, const OptionDefinition *definition)
{
    const OptionValue &value = shown()->optionValues().at(record);
    const int row = optionsTable->rowCount();
    optionsTable->insertRow(row);
    rowRecords.append(record);
    choiceBoxes.append(nullptr);
    optionsTable->setItem(row, OptionColumn, readOnlyItem(value.name));
    optionsTable->setItem(row, DescriptionColumn, readOnlyItem(definition ? definition->description : QString()));
    optionsTable->setItem(row, TypeColumn, readOnlyItem(typeText(definition)));
    if (definition && definition->type == OptionDefinition::None) {
        optionsTable->setItem(row, ValueColumn, readOnlyItem(QString()));
    } else if (definition && definition->type == OptionDefinition::Choice) {
        optionsTable->setItem(row, ValueColumn, readOnlyItem(QString()));
        auto *box = new QComboBox;
        for (const OptionChoice &choice : definition->choices) {
            box->addItem(choice.value);
            box->setItemData(box->count() - 1, choice.description, Qt::ToolTipRole);
        }
        box->setCurrentIndex(box->findText(value.value, Qt::MatchExactly));
        optionsTable->setCellWidget(row, ValueColumn, box);
        choiceBoxes[row] = box;
    } else {
        auto *item = new QTableWidgetItem(value.value);
        item->setData(Qt::UserRole, value.value);
        optionsTable->setItem(row, ValueColumn, item);
    }
    optionsTable->setCurrentCell(row, OptionColumn);
}

void ConfigurationOptionsDialog::refillAddCombo()
{
    tableFilling = true;
    const QList<OptionValue> &values = shown() ? shown()->optionValues() : QList<OptionValue>();
    QStringList entries;
    for (const OptionDefinition &option : std::as_const(options)) {
        const bool used = std::any_of(rowRecords.cbegin(), rowRecords.cend(), [&](int record) {
            return values.at(record).name == option.name && values.at(record).id == option.id;
        });
        if (!used || option.multiple)
            entries.append(option.name + QLatin1Char(' ') + option.description);
    }
    entries.removeDuplicates();
    entries.sort();
    addComboBox->clear();
    addComboBox->addItem(genericOption());
    addComboBox->addItems(entries);
    addComboBox->setCurrentIndex(0);
    tableFilling = false;
    setOptionsComboTooltip(0);
}

void ConfigurationOptionsDialog::storeTable()
{
    BuildProject *configuration = editedIndex >= 0 && editedIndex < int(workingCopies.size())
        ? workingCopies[size_t(editedIndex)].get()
        : nullptr;
    if (!configuration)
        return;
    QList<OptionValue> &values = configuration->optionValues();
    for (int row = 0; row < rowRecords.size(); ++row) {
        const int record = rowRecords[row];
        if (record < 0 || record >= values.size())
            continue;
        if (choiceBoxes[row])
            values[record].value = choiceBoxes[row]->currentText();
        else if (const QTableWidgetItem *item = optionsTable->item(row, ValueColumn))
            values[record].value = item->data(Qt::UserRole).isValid() ? item->data(Qt::UserRole).toString() : item->text();
    }
}

// A value cell keeps the last accepted text in its user data: what the Makefile cannot take
// is put back at once, with the reason below the tabs.
void ConfigurationOptionsDialog::optionValueEdited(QTableWidgetItem *item)
{
    if (tableFilling || updating || !item || item->column() != ValueColumn || !(item->flags() & Qt::ItemIsEditable))
        return;
    const int row = item->row();
    const QString name = optionsTable->item(row, OptionColumn) ? optionsTable->item(row, OptionColumn)->text() : QString();
    // The Makefile writer quotes option values for make and the shell; only what it cannot
    // write at all is refused, before it is stored.
    const QString refusal = MakeText::variableRefusal(name + item->text());
    if (!refusal.isEmpty()) {
        showRefusal(tr("The option value \"%1\" holds %2, which the Makefile cannot take as one literal word; "
                       "the previous value is kept.")
                        .arg(shownText(item->text()), refusal));
        const QSignalBlocker blocker(optionsTable);
        item->setText(item->data(Qt::UserRole).toString());
        return;
    }
    messageLabel->hide();
    item->setData(Qt::UserRole, item->text());
}

void ConfigurationOptionsDialog::clockEdited()
{
    storeClock();
}

bool ConfigurationOptionsDialog::storeClock()
{
    if (!PlaceholderResolver::clockValue(clockFrequency->text())) {
        showRefusal(tr("The clock frequency \"%1\" is not a frequency from 1 Hz to %2 Hz; the previous value is kept.")
                        .arg(shownText(clockFrequency->text()))
                        .arg(PlaceholderResolver::maximumClock));
        clockFrequency->setText(acceptedClock);
        return false;
    }
    acceptedClock = clockFrequency->text();
    return true;
}

void ConfigurationOptionsDialog::toolComboBoxIndexChanged(int)
{
    if (updating)
        return;
    storeTable();
    rebuildTable();
}

void ConfigurationOptionsDialog::setOptionsComboTooltip(int index)
{
    if (tableFilling)
        return;
    const bool rowSelected = optionsTable->currentRow() >= 0;
    if (index < 0 || index >= addComboBox->count()) {
        addComboBox->setToolTip(QString());
        if (!rowSelected)
            descriptionTextEdit->clear();
        return;
    }
    QString description;
    const QString text = addComboBox->itemText(index);
    if (text == genericOption()) {
        description = tr("Generic Option allows arbitrary options to be created");
    } else {
        const auto found = std::find_if(options.cbegin(), options.cend(), [&](const OptionDefinition &option) {
            return text.startsWith(option.name + QLatin1Char(' '));
        });
        if (found != options.cend())
            description = found->description;
    }
    addComboBox->setToolTip(description);
    if (!rowSelected)
        descriptionTextEdit->setPlainText(description);
}

void ConfigurationOptionsDialog::addOption()
{
    BuildProject *configuration = shown();
    if (tableFilling || !configuration || selectedTool().isEmpty())
        return;
    const QString tool = selectedTool();
    const QString text = addComboBox->currentText();
    OptionValue value;
    value.tool = tool;
    if (text != genericOption()) {
        const QString name = text.section(QLatin1Char(' '), 0, 0);
        const auto found = std::find_if(options.cbegin(), options.cend(),
                                        [&](const OptionDefinition &option) { return option.name == name; });
        if (found == options.cend())
            return;
        value.name = found->name;
        value.id = found->id;
        if (found->type == OptionDefinition::Choice) {
            for (const OptionChoice &choice : found->choices) {
                if (choice.isDefault) {
                    value.value = choice.value;
                    break;
                }
            }
        } else if (found->type != OptionDefinition::None) {
            for (const OptionValue &preset : configuration->defaultOptionValues(tool)) {
                if (preset.name == found->name) {
                    value.value = preset.value;
                    break;
                }
            }
        }
    }
    storeTable();
    configuration->optionValues().append(value);
    rebuildTable();
    // A generic option is nothing until it is typed: its cell opens at once.
    if (value.name.isEmpty() && optionsTable->rowCount() > 0)
        optionsTable->editItem(optionsTable->item(optionsTable->rowCount() - 1, ValueColumn));
}

void ConfigurationOptionsDialog::moveRow(int offset)
{
    const int row = optionsTable->currentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= optionsTable->rowCount() || optionsTable->rowCount() < 2)
        return;
    storeTable();
    QList<OptionValue> &values = shown()->optionValues();
    values.swapItemsAt(rowRecords[row], rowRecords[other]);
    rebuildTable();
    optionsTable->setCurrentCell(other, OptionColumn);
}

void ConfigurationOptionsDialog::upButtonClicked(bool)
{
    moveRow(-1);
}

void ConfigurationOptionsDialog::downButtonClicked(bool)
{
    moveRow(1);
}

void ConfigurationOptionsDialog::deleteButtonClicked(bool)
{
    const int row = optionsTable->currentRow();
    if (row < 0 || row >= rowRecords.size())
        return;
    storeTable();
    shown()->optionValues().removeAt(rowRecords[row]);
    rebuildTable();
    if (optionsTable->rowCount() > 0)
        optionsTable->setCurrentCell(std::min(row, optionsTable->rowCount() - 1), OptionColumn);
}

void ConfigurationOptionsDialog::defaultsButtonClicked(bool)
{
    if (!shown())
        return;
    shown()->resetOptionValues();
    rebuildTable();
}

void ConfigurationOptionsDialog::selectedOptionChanged()
{
    const int row = optionsTable->currentRow();
    if (row < 0) {
        descriptionTextEdit->setPlainText(addComboBox->toolTip());
        return;
    }
    const QTableWidgetItem *description = optionsTable->item(row, DescriptionColumn);
    descriptionTextEdit->setPlainText(description ? description->text() : QString());
}

void ConfigurationOptionsDialog::currentControllerChanged(const QString &name)
{
    BuildProject *configuration = shown();
    if (updating || !configuration || name.isEmpty())
        return;
    storeTable();
    configuration->selectController(configuration->family(), name, true);
    rebuildTable();
}

void ConfigurationOptionsDialog::addKeywordBtnClicked(bool)
{
    const QString keyword = keywordsEdit->text().trimmed();
    if (keyword.isEmpty())
        return;
    keywordsComboBox->addItem(keyword);
    keywordsComboBox->setCurrentIndex(keywordsComboBox->count() - 1);
    keywordsEdit->clear();
}

void ConfigurationOptionsDialog::removeKeywordBtnClicked(bool)
{
    if (keywordsComboBox->currentIndex() >= 0)
        keywordsComboBox->removeItem(keywordsComboBox->currentIndex());
}

void ConfigurationOptionsDialog::okButtonClicked(bool)
{
    if (!workingCopies.empty()) {
        if (!storeClock())
            return;
        storeTable();
        workingCopies[size_t(currentIndex)]->setClock(clockFrequency->text());
    }
    for (const auto &copy : workingCopies)
        copy->normalizeOptionValues(false);
    project->setConfigurations(std::move(workingCopies));
    workingCopies.clear();
    if (settingsTabWidget->indexOf(projectTab) >= 0) {
        project->setDescription(descriptionEdit->text());
        QStringList keywords;
        for (int index = 0; index < keywordsComboBox->count(); ++index)
            keywords.append(keywordsComboBox->itemText(index));
        project->setKeywords(keywords);
    }
    project->setModified(true);
    accept();
}

void ConfigurationOptionsDialog::cancelButtonClicked(bool)
{
    reject();
}
