#ifndef CONFIGURATIONSDIALOG_H
#define CONFIGURATIONSDIALOG_H

#include "core/quorvindialog.h"
#include "ui_configurationsdialog.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class BuildProject;
class Project;
class QComboBox;
class QTableWidgetItem;

// The configurations of a project: copy, delete and rename them and pick the target each
// builds. Works on copies that the project takes over only on OK.
class ConfigurationsDialog : public QuorvinDialog, private Ui::ConfigurationsDialog
{
    Q_OBJECT

public:
    ConfigurationsDialog(QWidget *parent, Project *project);
    ~ConfigurationsDialog() override;

    int helpTopic() const override { return 8; }

    // Why name cannot name a configuration beside others (the accepted names of the other
    // rows); empty when it can. The name becomes the folder and the file names of its build.
    static QString nameRefusal(const QString &name, const QStringList &others);

public slots:
    void accept() override;
    void reject() override;
    void copyButtonClicked(bool checked = false);
    void deleteButtonClicked(bool checked = false);
    void itemChanged(QTableWidgetItem *item);

private:
    void fillTable();
    QString unusedName(const QString &base) const;

    Project *project;
    std::vector<std::unique_ptr<BuildProject>> workingCopies;
    QList<QComboBox *> targetBoxes;
    QStringList names;
    bool updating = false;
};

#endif
