#include "build/compilersdialog.h"

#include "core/waitcursor.h"
#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"

#include <QCompleter>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QUrl>

namespace {

enum CompilerColumn { CompilerNameColumn, InstalledColumn, FileColumn, DirectoryColumn };

bool isMakersOwn(const QString &name)
{
    return name.contains(QLatin1String("quorvin"), Qt::CaseInsensitive);
}

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}

CompilersDialog::CompilersDialog(Workbench *workbench, BuildConfigList *configs, QWidget *parent)
    : QuorvinDialog(parent), workbench(workbench), configs(configs), completer(new QCompleter(this))
{
    setupUi(this);
    auto *model = new QFileSystemModel(completer);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model->setRootPath(QString());
    completer->setModel(model);

    compilersTable->setColumnHidden(FileColumn, true);
    connect(checkAllButton, &QPushButton::clicked, this, &CompilersDialog::checkAllButtonClicked);
    connect(checkButton, &QPushButton::clicked, this, &CompilersDialog::checkButtonClicked);
    connect(manualButton, &QPushButton::clicked, this, &CompilersDialog::manualButtonClicked);
    connect(saveButton, &QPushButton::clicked, this, &CompilersDialog::saveButtonClicked);
    connect(cancelButton, &QPushButton::clicked, this, &CompilersDialog::cancelButtonClicked);
    connect(websiteButton, &QPushButton::clicked, this, qOverload<bool>(&CompilersDialog::openHyperlink));
    connect(compilersTable, &QTableWidget::cellDoubleClicked, this, qOverload<int, int>(&CompilersDialog::openHyperlink));

    fillRows();
    fillTable();
}

void CompilersDialog::fillRows()
{
    QStringList names = configs ? configs->names() : QStringList();
    names.sort();
    QList<Row> top;
    QList<Row> rest;
    for (const QString &name : std::as_const(names)) {
        Row row;
        row.name = name;
        if (const BuildConfig *config = configs->find(name)) {
            row.configFile = config->filePath(true);
            row.installed = config->isConfigured();
            row.directory = config->compilerDirectory();
        }
        // The maker's own tool chains come first, the last of them on top.
        if (isMakersOwn(name))
            top.prepend(row);
        else
            rest.append(row);
    }
    rows = top + rest;
}

void CompilersDialog::fillTable()
{
    compilersTable->setRowCount(static_cast<int>(rows.size()));
    for (int index = 0; index < rows.size(); ++index) {
        Row &row = rows[index];
        QTableWidgetItem *name = readOnlyItem(row.name);
        if (isMakersOwn(row.name))
            name->setForeground(QColor(0, 0, 125));
        else
            name->setToolTip(tr("Double click to visit compiler's website"));
        compilersTable->setItem(index, CompilerNameColumn, name);
        compilersTable->setItem(index, InstalledColumn, readOnlyItem(QString()));
        compilersTable->setItem(index, FileColumn, readOnlyItem(row.configFile));
        if (!row.editor) {
            row.editor = new QLineEdit(compilersTable);
            row.editor->setFrame(false);
            row.editor->setCompleter(completer);
            row.editor->installEventFilter(this);
            compilersTable->setCellWidget(index, DirectoryColumn, row.editor);
        }
        refreshRow(index);
    }
}

void CompilersDialog::refreshRow(int index)
{
    const Row &row = rows.at(index);
    compilersTable->item(index, InstalledColumn)->setText(row.installed ? tr("Yes") : tr("No"));
    row.editor->setText(row.directory);
}

bool CompilersDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Typing in a directory makes its row the one Check and Manual act on.
    if (event->type() == QEvent::FocusIn) {
        for (int index = 0; index < rows.size(); ++index) {
            if (rows.at(index).editor == watched)
                compilersTable->setCurrentCell(index, DirectoryColumn);
        }
    }
    return QuorvinDialog::eventFilter(watched, event);
}

void CompilersDialog::resizeEvent(QResizeEvent *event)
{
    QuorvinDialog::resizeEvent(event);
    compilersTable->resizeColumnToContents(CompilerNameColumn);
    int others = 0;
    for (int column = 0; column < DirectoryColumn; ++column) {
        if (!compilersTable->isColumnHidden(column))
            others += compilersTable->columnWidth(column);
    }
    compilersTable->setColumnWidth(DirectoryColumn, compilersTable->width() - others - 20);
}

void CompilersDialog::setChecking(bool checking)
{
    // One check at a time: a second click while detection waits for a program would
    // start another round inside the first.
    for (QPushButton *button : {checkAllButton, checkButton, manualButton, saveButton})
        button->setEnabled(!checking);
}

void CompilersDialog::checkAllButtonClicked(bool)
{
    QList<int> all;
    for (int index = 0; index < rows.size(); ++index)
        all.append(index);
    checkRows(all);
}

void CompilersDialog::checkButtonClicked(bool)
{
    const int current = compilersTable->currentRow();
    if (current >= 0 && current < rows.size())
        checkRows({current});
}

void CompilersDialog::checkRows(const QList<int> &rowIndexes)
{
    WaitCursor wait;
    setChecking(true);
    stopRequested = false;
    if (workbench)
        workbench->clearOutput();
    found.clear();
    notFound.clear();
    unsupported.clear();
    for (int index : rowIndexes) {
        if (stopRequested)
            break;
        checkRow(index);
    }
    writeSummary();
    setChecking(false);
}

void CompilersDialog::checkRow(int index)
{
    compilersTable->item(index, InstalledColumn)->setText(tr("Checking..."));
    compilersTable->setCurrentCell(index, qMax(compilersTable->currentColumn(), 0));
    QCoreApplication::processEvents();

    Row &row = rows[index];
    row.directory.clear();
    row.installed = false;
    if (const BuildConfig *config = configs->find(row.name)) {
        const DetectionResult result = CompilerDetector(workbench).detect(*config);
        if (result.detected()) {
            found.append(row.name + QStringLiteral(":\t") + result.directory);
            row.directory = result.directory;
            row.installed = !row.directory.isEmpty();
        } else if (result.found && result.status == DetectionResult::TooOld) {
            const QString required = result.version.isEmpty() ? tr("\n\tUse the latest version")
                                                               : tr("\n\tVersion %1 or later required").arg(result.version);
            unsupported.append(row.name + QStringLiteral(":\t") + required);
            row.directory = tr("Compiler too old");
        } else {
            notFound.append(row.name + QStringLiteral(":\t"));
        }
    }
    refreshRow(index);
}

void CompilersDialog::writeSummary()
{
    if (!workbench)
        return;
    workbench->addMessage(tr("\nCompiler detection summary"));
    if (!notFound.isEmpty()) {
        workbench->addMessage(tr("Not Found:"));
        for (const QString &entry : std::as_const(notFound))
            workbench->addMessage(entry);
    }
    if (!found.isEmpty()) {
        workbench->addMessage(tr("Found:"));
        for (const QString &entry : std::as_const(found))
            workbench->addMessage(entry);
    }
    if (!unsupported.isEmpty()) {
        QString text = QStringLiteral("<span style='color: #FF0000; font-size: 10pt'>") + tr("Unsupported Versions:")
                     + QStringLiteral("<br>");
        for (const QString &entry : std::as_const(unsupported))
            text += entry + QStringLiteral("<br>");
        workbench->addMessage(text + QStringLiteral("</span>"));
    }
}

void CompilersDialog::manualButtonClicked(bool)
{
    const int current = compilersTable->currentRow();
    if (current < 0 || current >= rows.size())
        return;
    const QString file = QFileDialog::getOpenFileName(this, tr("Open File"), QStringLiteral("."), tr("All files (*.*)"));
    if (file.isEmpty())
        return;
    const QFileInfo info(file);
    if (!info.dir().exists())
        return;
    Row &row = rows[current];
    row.directory = info.absolutePath();
    row.installed = !row.directory.isEmpty();
    refreshRow(current);
}

void CompilersDialog::openHyperlink(bool)
{
    openHyperlink(compilersTable->currentRow(), CompilerNameColumn);
}

void CompilersDialog::openHyperlink(int row, int column)
{
    if (column != CompilerNameColumn || row < 0 || row >= compilersTable->rowCount())
        return;
    const BuildConfig *config = configs->find(compilersTable->item(row, CompilerNameColumn)->text());
    if (config && !config->webAddress().isEmpty())
        QDesktopServices::openUrl(QUrl(config->webAddress()));
}

void CompilersDialog::saveButtonClicked(bool)
{
    for (Row &row : rows) {
        const QString text = row.editor->text();
        if (text != row.directory) {
            row.directory = QDir::fromNativeSeparators(text);
            row.installed = !row.directory.isEmpty();
        }
    }
    for (const Row &row : std::as_const(rows)) {
        if (row.configFile.isEmpty())
            continue;
        if (const BuildConfig *config = configs->find(row.name))
            config->storeDetection(row.installed, row.directory);
    }
    accept();
}

void CompilersDialog::cancelButtonClicked(bool)
{
    reject();
}

void CompilersDialog::reject()
{
    // Closing the dialog while Check All runs ends the round after the current row.
    stopRequested = true;
    QuorvinDialog::reject();
}
