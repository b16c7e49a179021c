#ifndef CONTROLLERDIALOG_H
#define CONTROLLERDIALOG_H

#include "core/quorvindialog.h"
#include "ui_controllerdialog.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class BuildConfigList;
class BuildProject;
class Project;
class Workbench;

// Controller family, controller, compiler and clock of a project (the second page of the
// new-project wizard, and the project's settings): what the installed compiler
// configurations offer and the simulator can run. Edits working copies of the project's
// configurations and hands them over on OK or Next.
class ControllerDialog : public QuorvinDialog, private Ui::ControllerDialog
{
    Q_OBJECT

public:
    enum CloseCode { Cancelled = 1, Confirmed = 2, NextPage = 3, PreviousPage = 4 };

    ControllerDialog(Project *project, BuildConfigList *compilers, Workbench *mainWindow);
    ~ControllerDialog() override;

    int helpTopic() const override { return 8; }

    int closeCode() const { return closeCode_; }
    QString selectedFamily() const { return family_; }
    QString selectedController() const { return controller_; }
    QString selectedCompiler() const { return compiler_; }
    void setProjectDirectory(const QString &directory) { projectDirectory = directory; }
    void setButtonsShown(bool back, bool next, bool ok);
    // Offers to add a starter source for the chosen compiler (a new, empty project).
    void offerStarterSource(bool offer);
    bool starterSourceWanted() const;

    void loadFromProject();
    void applyToProject();

    // A plain number gets its unit: 4000000 gives 4MHz, 20000 gives 20KHz, 12 gives 12Hz;
    // a text that names Hz already, and an empty one, stay as they are.
    static QString normalizeClock(const QString &clock);

public slots:
    void checkDialogIsComplete();

private slots:
    void backButtonClicked(bool checked = false);
    void nextButtonClicked(bool checked = false);
    void okButtonClicked(bool checked = false);
    void cancelButtonClicked(bool checked = false);
    void compilersButtonClicked(bool checked = false);
    void simulatorOnlyChanged(int state);
    void controllerFamilyIndexChanged(const QString &text);
    void controllerIndexChanged(const QString &text);
    void compilerIndexChanged(const QString &text);
    void clockChanged(const QString &text);
    void addKeywordBtnClicked(bool checked = false);
    void removeKeywordBtnClicked(bool checked = false);
    void descriptionChanged(const QString &text);

private:
    struct Row
    {
        QString controller;
        QString compiler;
        bool installed = false;
        bool simulated = false;
    };
    struct FamilyEntry
    {
        QString family;
        QList<Row> rows;
    };

    void buildControllerTable();
    void fillFamilies();
    void refill();
    bool isSimulated(const QString &family, const QString &controller) const;
    bool offered(const Row &row) const;
    QList<Row> rowsOf(const QString &family) const;
    static void selectOrShow(QComboBox *box, const QString &text);
    void fillBox(QComboBox *box, const QStringList &entries);
    void writeChoicesInto(BuildProject *configuration) const;
    void dropWorkingCopies();
    void updateStarterSource();

    int closeCode_ = Cancelled;
    QString family_;
    QString controller_;
    QString compiler_;
    bool loading = false;
    QStringList families;
    QStringList controllers;
    QStringList compilerNames;
    QList<FamilyEntry> controllerTable;
    Project *project;
    BuildConfigList *compilers;
    Workbench *mainWindow;
    std::vector<std::unique_ptr<BuildProject>> workingConfigurations;
    BuildProject *currentCopy = nullptr;
    const QString notInstalledMark;
    QString projectDirectory;
    bool starterOffered = false;
};

#endif
