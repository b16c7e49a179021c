#include "editor/programsettingsdialog.h"

#include "core/workbench.h"
#include "build/projectbuilder.h"

#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QMessageBox>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <iterator>

const char *const ProgramSettingsDialog::editorGroup = "Text Editor Display Settings";

namespace {

struct NamedColour
{
    const char *name;
    Qt::GlobalColor colour;
};

const NamedColour namedColours[] = {
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Black"), Qt::black},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "White"), Qt::white},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Maroon"), Qt::darkRed},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Green"), Qt::darkGreen},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Olive"), Qt::darkYellow},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Navy"), Qt::darkBlue},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Purple"), Qt::darkMagenta},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Teal"), Qt::darkCyan},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Silver"), Qt::lightGray},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Gray"), Qt::gray},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Red"), Qt::red},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Lime"), Qt::green},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Yellow"), Qt::yellow},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Blue"), Qt::blue},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Magenta"), Qt::magenta},
    {QT_TRANSLATE_NOOP("ProgramSettingsDialog", "Cyan"), Qt::cyan},
};

const int customIndex = int(std::size(namedColours));

// Fixed-width families are the ones that suit source text; the list shows them in bold.
class FontFamilyDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (QFontDatabase::isFixedPitch(index.data().toString()))
            option->font.setBold(true);
    }
};

}

ProgramSettingsDialog::ProgramSettingsDialog(Workbench *owner, QWidget *parent)
    : QuorvinDialog(parent ? parent : owner ? owner->dialogParent() : nullptr), mainWindow(owner)
{
    setupUi(this);
    setUpDirectories();
    setUpColours();
    loadEditorSettings();
    tabWidget->setCurrentWidget(directoriesTab);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &ProgramSettingsDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &ProgramSettingsDialog::reject);
}

int ProgramSettingsDialog::helpTopic() const
{
    if (tabWidget->currentWidget() == coloursTab)
        return 5;
    if (tabWidget->currentWidget() == editorTab)
        return 3;
    return 4;
}

void ProgramSettingsDialog::setUpDirectories()
{
    rows[Compilers] = {compilersDir, QT_TR_NOOP("Compilers Configuration Files Directory")};
    rows[Simulator] = {simulatorDir, QT_TR_NOOP("Simulator Configuration Files Directory")};
    rows[Syntax] = {syntaxDir, QT_TR_NOOP("Syntax Higlighting Files Directory")};
    rows[Tools] = {toolsDir, QT_TR_NOOP("Tools Directory")};
    rows[DevBoards] = {devBoardsDir, QT_TR_NOOP("Development Boards Directory")};
    rows[Quorvin] = {quorvinDir, QT_TR_NOOP("Quorvin Directory")};
    rows[Projects] = {projectsDir, QT_TR_NOOP("Projects Directory")};

    auto *model = new QFileSystemModel(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QString());
    auto *completer = new QCompleter(model, this);
    for (const Row &row : rows)
        row.edit->setCompleter(completer);

    if (mainWindow) {
        compilersDir->setText(mainWindow->compilersDirectory());
        simulatorDir->setText(mainWindow->simulatorDirectory());
        syntaxDir->setText(mainWindow->syntaxDirectory());
        toolsDir->setText(mainWindow->toolsDirectory());
        devBoardsDir->setText(mainWindow->devBoardsDirectory());
        quorvinDir->setText(mainWindow->quorvinPath());
        projectsDir->setText(mainWindow->projectsDirectory());
    }

    const auto wire = [this](QPushButton *browseButton, void (ProgramSettingsDialog::*browseSlot)(bool),
                             QPushButton *defaultButton, void (ProgramSettingsDialog::*defaultSlot)(bool)) {
        connect(browseButton, &QPushButton::clicked, this, browseSlot);
        connect(defaultButton, &QPushButton::clicked, this, defaultSlot);
    };
    wire(compilersButton, &ProgramSettingsDialog::compilersButtonClicked, compilersDefaultButton,
         &ProgramSettingsDialog::compilersDefaultButtonClicked);
    wire(simulatorButton, &ProgramSettingsDialog::simulatorButtonClicked, simulatorDefaultButton,
         &ProgramSettingsDialog::simulatorDefaultButtonClicked);
    wire(syntaxButton, &ProgramSettingsDialog::syntaxButtonClicked, syntaxDefaultButton,
         &ProgramSettingsDialog::syntaxDefaultButtonClicked);
    wire(toolsButton, &ProgramSettingsDialog::toolsButtonClicked, toolsDefaultButton,
         &ProgramSettingsDialog::toolsDefaultButtonClicked);
    wire(devBoardsButton, &ProgramSettingsDialog::devBoardsButtonClicked, devBoardsDefaultButton,
         &ProgramSettingsDialog::devBoardsDefaultButtonClicked);
    wire(quorvinButton, &ProgramSettingsDialog::quorvinButtonClicked, quorvinDefaultButton,
         &ProgramSettingsDialog::quorvinDefaultButtonClicked);
    wire(projectsButton, &ProgramSettingsDialog::projectsButtonClicked, projectsDefaultButton,
         &ProgramSettingsDialog::projectsDefaultButtonClicked);
}

QString ProgramSettingsDialog::directory(DirectoryRow row) const
{
    return rows[row].edit->text().trimmed();
}

QString ProgramSettingsDialog::defaultDirectory(DirectoryRow row) const
{
    if (!mainWindow)
        return QString();
    switch (row) {
    case Compilers:
        return mainWindow->compilersDirectory(true);
    case Simulator:
        return mainWindow->simulatorDirectory(true);
    case Syntax:
        return mainWindow->syntaxDirectory(true);
    case Tools:
        return mainWindow->toolsDirectory(true);
    case DevBoards:
        return mainWindow->devBoardsDirectory(true);
    case Quorvin:
        return mainWindow->quorvinPath(true);
    case Projects:
        return mainWindow->projectsDirectory(true);
    case DirectoryCount:
        break;
    }
    return QString();
}

void ProgramSettingsDialog::browse(DirectoryRow row)
{
    const QString chosen = QFileDialog::getExistingDirectory(this, tr(rows[row].caption), rows[row].edit->text());
    if (!chosen.isEmpty())
        rows[row].edit->setText(QDir::toNativeSeparators(chosen));
}

void ProgramSettingsDialog::restoreDefault(DirectoryRow row)
{
    rows[row].edit->setText(defaultDirectory(row));
}

void ProgramSettingsDialog::compilersButtonClicked(bool) { browse(Compilers); }
void ProgramSettingsDialog::compilersDefaultButtonClicked(bool) { restoreDefault(Compilers); }
void ProgramSettingsDialog::simulatorButtonClicked(bool) { browse(Simulator); }
void ProgramSettingsDialog::simulatorDefaultButtonClicked(bool) { restoreDefault(Simulator); }
void ProgramSettingsDialog::syntaxButtonClicked(bool) { browse(Syntax); }
void ProgramSettingsDialog::syntaxDefaultButtonClicked(bool) { restoreDefault(Syntax); }
void ProgramSettingsDialog::toolsButtonClicked(bool) { browse(Tools); }
void ProgramSettingsDialog::toolsDefaultButtonClicked(bool) { restoreDefault(Tools); }
void ProgramSettingsDialog::devBoardsButtonClicked(bool) { browse(DevBoards); }
void ProgramSettingsDialog::devBoardsDefaultButtonClicked(bool) { restoreDefault(DevBoards); }
void ProgramSettingsDialog::quorvinButtonClicked(bool) { browse(Quorvin); }
void ProgramSettingsDialog::quorvinDefaultButtonClicked(bool) { restoreDefault(Quorvin); }
void ProgramSettingsDialog::projectsButtonClicked(bool) { browse(Projects); }
void ProgramSettingsDialog::projectsDefaultButtonClicked(bool) { restoreDefault(Projects); }

void ProgramSettingsDialog::setUpColours()
{
    QSettings *store = mainWindow ? mainWindow->settings() : nullptr;
    for (const QString &group : DisplaySettings::groupNames())
        groups.append(DisplaySettings::load(store, group));

    for (QComboBox *box : {foregroundColour, backgroundColour}) {
        for (const NamedColour &entry : namedColours)
            box->addItem(tr(entry.name));
        box->addItem(tr("Custom"));
    }
    fontName->setItemDelegate(new FontFamilyDelegate(fontName));

    connect(textSettings, &QComboBox::currentTextChanged, this, &ProgramSettingsDialog::textSettingsIndexChanged);
    connect(textSettingsDefaultsButton, &QPushButton::clicked, this,
            &ProgramSettingsDialog::textSettingsDefaultsButtonClicked);
    connect(displayItems, &QListWidget::currentTextChanged, this, &ProgramSettingsDialog::displayItemsTextChanged);
    connect(foregroundColour, &QComboBox::currentTextChanged, this, &ProgramSettingsDialog::foregroundColourIndexChanged);
    connect(backgroundColour, &QComboBox::currentTextChanged, this, &ProgramSettingsDialog::backgroundColourIndexChanged);
    connect(fontName, &QFontComboBox::currentFontChanged, this, &ProgramSettingsDialog::fontNameCurrentFontChanged);
    connect(fontSize, &QComboBox::currentTextChanged, this, &ProgramSettingsDialog::fontSizeIndexChanged);
    connect(boldCheckBox, &QCheckBox::stateChanged, this, &ProgramSettingsDialog::boldCheckBoxStateChanged);
    connect(italicCheckBox, &QCheckBox::stateChanged, this, &ProgramSettingsDialog::italicCheckBoxStateChanged);
    connect(underlineCheckBox, &QCheckBox::stateChanged, this, &ProgramSettingsDialog::underlineCheckBoxStateChanged);
    connect(foregroundDefault, &QCheckBox::stateChanged, this, &ProgramSettingsDialog::defaultCheckBoxStateChanged);
    connect(backgroundDefault, &QCheckBox::stateChanged, this, &ProgramSettingsDialog::defaultCheckBoxStateChanged);

    textSettings->addItems(DisplaySettings::groupNames());
}

const DisplaySettings &ProgramSettingsDialog::displaySettings(const QString &group) const
{
    for (const DisplaySettings &settings : groups) {
        if (settings.groupName == group)
            return settings;
    }
    return groups.first();
}

DisplaySettings *ProgramSettingsDialog::currentGroup()
{
    return groupIndex >= 0 && groupIndex < groups.size() ? &groups[groupIndex] : nullptr;
}

DisplayItem *ProgramSettingsDialog::currentItem()
{
    DisplaySettings *group = currentGroup();
    const QListWidgetItem *selected = displayItems->currentItem();
    return group && selected ? group->item(selected->text()) : nullptr;
}

void ProgramSettingsDialog::textSettingsIndexChanged(const QString &text)
{
    groupIndex = int(DisplaySettings::groupNames().indexOf(text));
    const DisplaySettings *group = currentGroup();
    if (!group)
        return;
    showing = true;
    displayItems->clear();
    for (const DisplayItem &item : group->items)
        displayItems->addItem(item.name);
    fontName->setCurrentFont(QFont(group->fontFamily));
    // A size outside the offered range leaves the box where it is.
    const int sizeIndex = fontSize->findText(QString::number(group->fontSize));
    if (sizeIndex >= 0)
        fontSize->setCurrentIndex(sizeIndex);
    showing = false;
    if (displayItems->count() > 0)
        displayItems->setCurrentRow(0);
    showItem();
}

void ProgramSettingsDialog::textSettingsDefaultsButtonClicked(bool)
{
    if (DisplaySettings *group = currentGroup()) {
        const int row = displayItems->currentRow();
        *group = DisplaySettings::defaults(group->groupName);
        textSettingsIndexChanged(group->groupName);
        displayItems->setCurrentRow(row);
    }
}

void ProgramSettingsDialog::displayItemsTextChanged(const QString &)
{
    showItem();
}

void ProgramSettingsDialog::selectColour(QComboBox *box, const QColor &colour)
{
    int index = customIndex;
    for (int entry = 0; entry < customIndex && colour.isValid(); ++entry) {
        if (QColor(namedColours[entry].colour).rgb() == colour.rgb()) {
            index = entry;
            break;
        }
    }
    box->setCurrentIndex(index);
}

void ProgramSettingsDialog::showItem()
{
    const DisplayItem *item = currentItem();
    showing = true;
    if (item) {
        selectColour(foregroundColour, item->foreground);
        selectColour(backgroundColour, item->background);
        boldCheckBox->setChecked(item->bold);
        italicCheckBox->setChecked(item->italic);
        underlineCheckBox->setChecked(item->underline);
        foregroundDefault->setChecked(!item->fixedForeground && item->useDefaultForeground);
        backgroundDefault->setChecked(!item->fixedBackground && item->useDefaultBackground);
    }
    const bool fontChoices = item && !item->fontFixed;
    for (QWidget *control : {static_cast<QWidget *>(fontName), static_cast<QWidget *>(fontSize),
                             static_cast<QWidget *>(boldCheckBox), static_cast<QWidget *>(italicCheckBox),
                             static_cast<QWidget *>(underlineCheckBox)})
        control->setEnabled(fontChoices);
    foregroundDefault->setEnabled(item && !item->fixedForeground);
    backgroundDefault->setEnabled(item && !item->fixedBackground && !item->noBackground);
    foregroundColour->setEnabled(item && !foregroundDefault->isChecked());
    backgroundColour->setEnabled(item && !item->noBackground && !backgroundDefault->isChecked());
    showing = false;
    showSample();
}

void ProgramSettingsDialog::showSample()
{
    const DisplaySettings *group = currentGroup();
    const DisplayItem *item = currentItem();
    textSampleEdit->clear();
    if (!group || !item)
        return;
    QTextCharFormat format;
    format.setFontFamilies({group->fontFamily});
    format.setFontStyleHint(QFont::TypeWriter);
    format.setFontPointSize(group->fontSize);
    format.setForeground(item->foreground);
    format.setBackground(item->background);
    format.setFontWeight(item->bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(item->italic);
    format.setFontUnderline(item->underline);
    QTextCursor cursor(textSampleEdit->document());
    cursor.insertText(tr("AaBbCcXxYyZz 0123456789 (){}[] ;:,."), format);
    QPalette palette = textSampleEdit->palette();
    palette.setColor(QPalette::Base, item->noBackground ? Qt::white : item->background);
    textSampleEdit->setPalette(palette);
}

void ProgramSettingsDialog::foregroundColourIndexChanged(const QString &)
{
    DisplayItem *item = currentItem();
    const int index = foregroundColour->currentIndex();
    // "Custom" stands for a colour the list does not name; choosing it changes nothing.
    if (showing || !item || index < 0 || index >= customIndex)
        return;
    item->foreground = QColor(namedColours[index].colour);
    showSample();
}

void ProgramSettingsDialog::backgroundColourIndexChanged(const QString &)
{
    DisplayItem *item = currentItem();
    const int index = backgroundColour->currentIndex();
    if (showing || !item || index < 0 || index >= customIndex)
        return;
    item->background = QColor(namedColours[index].colour);
    showSample();
}

void ProgramSettingsDialog::fontNameCurrentFontChanged(const QFont &font)
{
    DisplaySettings *group = currentGroup();
    if (showing || !group)
        return;
    group->setFont(font.family(), group->fontSize);
    showSample();
}

void ProgramSettingsDialog::fontSizeIndexChanged(const QString &text)
{
    DisplaySettings *group = currentGroup();
    bool number = false;
    const int size = text.toInt(&number);
    if (showing || !group || !number)
        return;
    group->setFont(group->fontFamily, size);
    showSample();
}

void ProgramSettingsDialog::boldCheckBoxStateChanged(int state)
{
    if (DisplayItem *item = currentItem(); item && !showing) {
        item->bold = state == Qt::Checked;
        showSample();
    }
}

void ProgramSettingsDialog::italicCheckBoxStateChanged(int state)
{
    if (DisplayItem *item = currentItem(); item && !showing) {
        item->italic = state == Qt::Checked;
        showSample();
    }
}

void ProgramSettingsDialog::underlineCheckBoxStateChanged(int state)
{
    if (DisplayItem *item = currentItem(); item && !showing) {
        item->underline = state == Qt::Checked;
        showSample();
    }
}

void ProgramSettingsDialog::defaultCheckBoxStateChanged(int)
{
    DisplayItem *item = currentItem();
    if (showing || !item)
        return;
    if (!item->fixedForeground)
        item->useDefaultForeground = foregroundDefault->isChecked();
    if (!item->fixedBackground)
        item->useDefaultBackground = backgroundDefault->isChecked();
    showItem();
}

void ProgramSettingsDialog::loadEditorSettings()
{
    QSettings *store = mainWindow ? mainWindow->settings() : nullptr;
    const auto value = [store](const char *key, const QVariant &fallback) {
        if (!store)
            return fallback;
        store->beginGroup(QLatin1String(editorGroup));
        const QVariant stored = store->value(QLatin1String(key), fallback);
        store->endGroup();
        return stored;
    };
    highlightCurrentLineCheckBox->setChecked(value("Highlight current line", true).toBool());
    displayLineNumbersCheckBox->setChecked(value("Display line numbers", true).toBool());
    braceMatchingComboBox->setCurrentIndex(value("Brace matching", 1).toInt());
    indentWidthSpinBox->setValue(value("Indent width", 4).toInt());
    tabIndentsCheckBox->setChecked(value("Tab indents", true).toBool());
    tabWidthSpinBox->setValue(value("Tab width", 4).toInt());
    const bool tabs = value("Tabs for indents", false).toBool();
    tabsForIndentsRadioBtn->setChecked(tabs);
    spacesForIndentsRadioBtn->setChecked(!tabs);
    autoIndentCheckBox->setChecked(value("Auto indent", false).toBool());
    backspaceUnindentsCheckBox->setChecked(value("Backspace unindents", false).toBool());
    displayIndentationGuidesCheckBox->setChecked(value("Display indentation guides", false).toBool());
    whitespaceVisibilityComboBox->setCurrentIndex(value("Whitespaces visibility", 0).toInt());
    wrapModeComboBox->setCurrentIndex(value("Wrap mode", 0).toInt());
    foldingStyleComboBox->setCurrentIndex(value("Folding style", 0).toInt());
    makeJobsSpinBox->setMaximum(ProjectBuilder::maximumMakeJobs);
    makeJobsSpinBox->setValue(ProjectBuilder::makeJobs(mainWindow));
    makeJobsSpinBox->setToolTip(tr("How many build steps make runs at the same time; 0 runs them one after another. "
                                   "Processors of this computer: %1.")
                                    .arg(QThread::idealThreadCount()));
}

void ProgramSettingsDialog::saveEditorSettings()
{
    QSettings *store = mainWindow ? mainWindow->settings() : nullptr;
    if (!store)
        return;
    store->beginGroup(QLatin1String(editorGroup));
    store->setValue(QStringLiteral("Highlight current line"), highlightCurrentLineCheckBox->isChecked());
    store->setValue(QStringLiteral("Display line numbers"), displayLineNumbersCheckBox->isChecked());
    store->setValue(QStringLiteral("Brace matching"), braceMatchingComboBox->currentIndex());
    store->setValue(QStringLiteral("Indent width"), indentWidthSpinBox->value());
    store->setValue(QStringLiteral("Tab indents"), tabIndentsCheckBox->isChecked());
    store->setValue(QStringLiteral("Tab width"), tabWidthSpinBox->value());
    store->setValue(QStringLiteral("Tabs for indents"), tabsForIndentsRadioBtn->isChecked());
    store->setValue(QStringLiteral("Auto indent"), autoIndentCheckBox->isChecked());
    store->setValue(QStringLiteral("Backspace unindents"), backspaceUnindentsCheckBox->isChecked());
    store->setValue(QStringLiteral("Display indentation guides"), displayIndentationGuidesCheckBox->isChecked());
    store->setValue(QStringLiteral("Whitespaces visibility"), whitespaceVisibilityComboBox->currentIndex());
    store->setValue(QStringLiteral("Wrap mode"), wrapModeComboBox->currentIndex());
    store->setValue(QStringLiteral("Folding style"), foldingStyleComboBox->currentIndex());
    store->endGroup();
    store->beginGroup(QLatin1String(ProjectBuilder::makeJobsGroup));
    store->setValue(QLatin1String(ProjectBuilder::makeJobsKey), makeJobsSpinBox->value());
    store->endGroup();
}

void ProgramSettingsDialog::accept()
{
    static const char *const labels[DirectoryCount] = {
        QT_TR_NOOP("Compilers Configuration Files"), QT_TR_NOOP("Simulator Configuration Files"),
        QT_TR_NOOP("Syntax Highlight Files"), QT_TR_NOOP("Tools Files"), QT_TR_NOOP("Development Boards Files"),
        QT_TR_NOOP("Quorvin"), QT_TR_NOOP("Projects")};
    // An empty row means the default; anything else must be an existing directory, or every
    // later use of it would fail far from here.
    for (int row = 0; row < DirectoryCount; ++row) {
        const QString path = directory(DirectoryRow(row));
        if (path.isEmpty() || QFileInfo(path).isDir())
            continue;
        tabWidget->setCurrentWidget(directoriesTab);
        rows[row].edit->setFocus();
        QMessageBox::warning(this, windowTitle(),
                             tr("The directory \"%1\" given for %2 does not exist.").arg(path, tr(labels[row])));
        return;
    }
    QSettings *store = mainWindow ? mainWindow->settings() : nullptr;
    for (const DisplaySettings &group : std::as_const(groups))
        DisplaySettings::saveDisplaySettings(store, group);
    saveEditorSettings();
    QDialog::accept();
}
