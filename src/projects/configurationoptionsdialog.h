#ifndef CONFIGURATIONOPTIONSDIALOG_H
#define CONFIGURATIONOPTIONSDIALOG_H

#include "core/quorvindialog.h"
#include "build/buildtool.h"
#include "ui_compileroptionsdialog.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class BuildConfigList;
class BuildProject;
class Project;
class QComboBox;
class QTableWidgetItem;
class Workbench;

// "Project Options": per configuration the controller, the clock and the options of every
// tool, and the project's description and keywords. Every configuration is edited as a
// copy; the project gets the copies only on OK, so Cancel leaves it as it was.
class ConfigurationOptionsDialog : public QuorvinDialog, private Ui::CompilerOptionsDialog
{
    Q_OBJECT

public:
    ConfigurationOptionsDialog(Project *project, BuildConfigList *compilers, Workbench *mainWindow,
                               QWidget *parent = nullptr);
    ~ConfigurationOptionsDialog() override;

    int helpTopic() const override { return 8; }

    // The clock as the dialog shows it: a plain number of hertz in Hz, KHz, MHz or GHz.
    static QString clockDisplay(const QString &clock);

public slots:
    void okButtonClicked(bool checked = false);
    void cancelButtonClicked(bool checked = false);
    void upButtonClicked(bool checked = false);
    void downButtonClicked(bool checked = false);
    void deleteButtonClicked(bool checked = false);
    void defaultsButtonClicked(bool checked = false);
    void addOption();
    void toolComboBoxIndexChanged(int index);
    void setOptionsComboTooltip(int index);
    void currentConfigurationChanged();
    void currentControllerChanged(const QString &name);
    void addKeywordBtnClicked(bool checked = false);
    void removeKeywordBtnClicked(bool checked = false);
    void selectedOptionChanged();

private slots:
    void optionValueEdited(QTableWidgetItem *item);
    void clockEdited();

private:
    BuildProject *shown() const;
    QString selectedTool() const;
    const OptionDefinition *definitionFor(const QString &name, const QString &id) const;
    void refillControllers();
    void rebuildTable();
    void addRow(int record, const OptionDefinition *definition);
    void refillAddCombo();
    void storeTable();
    bool storeClock();
    void moveRow(int offset);
    // Line breaks made visible, so a refused value shows what it held.
    static QString shownText(const QString &value);
    void showRefusal(const QString &message);

    Project *project;
    BuildConfigList *compilers;
    Workbench *mainWindow;
    std::vector<std::unique_ptr<BuildProject>> workingCopies;
    int currentIndex = 0;
    int editedIndex = -1;
    QStringList tools;
    QList<OptionDefinition> options;
    // The position in the shown copy's option values of the record each row edits.
    QList<int> rowRecords;
    QList<QComboBox *> choiceBoxes;
    QString acceptedClock;
    bool updating = false;
    bool tableFilling = false;
};

#endif
