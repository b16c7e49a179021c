#include "projects/configurationsdialog.h"

#include "build/buildconfig.h"
#include "build/buildproject.h"
#include "projects/project.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>

namespace {

enum ConfigurationColumn { NameColumn, TargetColumn };

}

ConfigurationsDialog::ConfigurationsDialog(QWidget *parent, Project *project)
    : QuorvinDialog(parent), project(project)
{
    setupUi(this);
    messageLabel->hide();
    configurationsTable->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    for (int index = 0; index < project->configurationCount(); ++index)
        workingCopies.push_back(project->configuration(index)->copy());

    connect(buttonBox, &QDialogButtonBox::accepted, this, &ConfigurationsDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &ConfigurationsDialog::reject);
    connect(copyButton, &QPushButton::clicked, this, &ConfigurationsDialog::copyButtonClicked);
    connect(deleteButton, &QPushButton::clicked, this, &ConfigurationsDialog::deleteButtonClicked);
    connect(configurationsTable, &QTableWidget::itemChanged, this, &ConfigurationsDialog::itemChanged);
    fillTable();
    if (configurationsTable->rowCount() > 0)
        configurationsTable->setCurrentCell(0, NameColumn);
}

ConfigurationsDialog::~ConfigurationsDialog() = default;

QString ConfigurationsDialog::nameRefusal(const QString &name, const QStringList &others)
{
    if (name.isEmpty())
        return tr("A configuration needs a name.");
    if (others.contains(name, Qt::CaseInsensitive))
        return tr("Another configuration is already named \"%1\" (letter case aside).").arg(name);
    static const QRegularExpression word(QStringLiteral("^\\w+$"), QRegularExpression::UseUnicodePropertiesOption);
    if (!word.match(name).hasMatch()) {
        return tr("\"%1\" cannot name a configuration: its build folder and files are named after it, so it may "
                  "hold only letters, digits and underscores.")
            .arg(QString(name).replace(QLatin1Char('\n'), QStringLiteral("\\n")));
    }
    return QString();
}

void ConfigurationsDialog::fillTable()
{
    updating = true;
    configurationsTable->clearContents();
    configurationsTable->setRowCount(int(workingCopies.size()));
    targetBoxes.clear();
    names.clear();
    for (int row = 0; row < int(workingCopies.size()); ++row) {
        const BuildProject *configuration = workingCopies[size_t(row)].get();
        configurationsTable->setItem(row, NameColumn, new QTableWidgetItem(configuration->name()));
        auto *box = new QComboBox;
        if (const BuildConfig *compiler = configuration->compiler()) {
            for (const CompilerTarget &target : compiler->targets())
                box->addItem(target.name);
        }
        int selected = box->findText(configuration->targetName(), Qt::MatchFixedString);
        if (selected < 0 && !configuration->targetName().isEmpty()) {
            box->addItem(configuration->targetName());
            selected = box->count() - 1;
        }
        box->setCurrentIndex(selected);
        configurationsTable->setCellWidget(row, TargetColumn, box);
        targetBoxes.append(box);
        names.append(configuration->name());
    }
    deleteButton->setEnabled(workingCopies.size() >= 2);
    configurationsTable->resizeColumnToContents(TargetColumn);
    updating = false;
}

QString ConfigurationsDialog::unusedName(const QString &base) const
{
    QString name = base + tr("_copy");
    for (int number = 2; names.contains(name, Qt::CaseInsensitive); ++number)
        name = base + tr("_copy") + QString::number(number);
    return name;
}

// The copy gets a name of its own at once: two configurations of one name would share
// their build folder and files, and the configuration box could not tell them apart.
void ConfigurationsDialog::copyButtonClicked(bool)
{
    const int row = configurationsTable->currentRow();
    if (row < 0 || row >= int(workingCopies.size()))
        return;
    // The target each row shows is the one it is to build; the copy starts from it too.
    workingCopies[size_t(row)]->selectTarget(targetBoxes[row]->currentText());
    auto copy = workingCopies[size_t(row)]->copy();
    copy->setName(unusedName(names.value(row)));
    workingCopies.push_back(std::move(copy));
    for (int index = 0; index < targetBoxes.size(); ++index)
        workingCopies[size_t(index)]->selectTarget(targetBoxes[index]->currentText());
    fillTable();
    const int added = configurationsTable->rowCount() - 1;
    configurationsTable->setCurrentCell(added, NameColumn);
    configurationsTable->editItem(configurationsTable->item(added, NameColumn));
}

void ConfigurationsDialog::deleteButtonClicked(bool)
{
    const int row = configurationsTable->currentRow();
    if (row < 0 || row >= int(workingCopies.size()) || workingCopies.size() < 2)
        return;
    for (int index = 0; index < targetBoxes.size(); ++index)
        workingCopies[size_t(index)]->selectTarget(targetBoxes[index]->currentText());
    workingCopies.erase(workingCopies.begin() + row);
    fillTable();
    configurationsTable->setCurrentCell(std::min(row, configurationsTable->rowCount() - 1), NameColumn);
}

void ConfigurationsDialog::itemChanged(QTableWidgetItem *item)
{
    if (updating || !item || item->column() != NameColumn || item->row() >= names.size())
        return;
    const int row = item->row();
    const QString text = item->text();
    if (text == names[row])
        return;
    QStringList others = names;
    others.removeAt(row);
    const QString refusal = nameRefusal(text, others);
    if (refusal.isEmpty()) {
        names[row] = text;
        messageLabel->hide();
        return;
    }
    messageLabel->setText(refusal + QLatin1Char(' ') + tr("The name \"%1\" is kept.").arg(names[row]));
    messageLabel->show();
    updating = true;
    item->setText(names[row]);
    updating = false;
}

void ConfigurationsDialog::accept()
{
    const int rows = std::min(configurationsTable->rowCount(), int(workingCopies.size()));
    for (int row = 0; row < rows; ++row) {
        workingCopies[size_t(row)]->setName(names[row]);
        workingCopies[size_t(row)]->selectTarget(targetBoxes[row]->currentText());
    }
    project->setConfigurations(std::move(workingCopies));
    workingCopies.clear();
    QDialog::accept();
}

void ConfigurationsDialog::reject()
{
    workingCopies.clear();
    QDialog::reject();
}
