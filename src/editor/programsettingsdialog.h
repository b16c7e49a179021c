#ifndef PROGRAMSETTINGSDIALOG_H
#define PROGRAMSETTINGSDIALOG_H

#include "core/displaysettings.h"
#include "core/quorvindialog.h"
#include "ui_programsettingsdialog.h"

#include <QList>
#include <QString>

class QLineEdit;
class Workbench;

// Editor Configuration: the seven working directories, the fonts and colours of the editor,
// the project tree and the output pane, and the editor's behaviour. Everything is edited in
// working copies; OK stores the fonts, colours and behaviour, and the caller takes the
// directories (the window's setters store them). A directory that does not exist is refused.
class ProgramSettingsDialog : public QuorvinDialog, private Ui::ProgramSettingsDialog
{
    Q_OBJECT

public:
    enum DirectoryRow { Compilers, Simulator, Syntax, Tools, DevBoards, Quorvin, Projects, DirectoryCount };

    static const char *const editorGroup;

    explicit ProgramSettingsDialog(Workbench *owner, QWidget *parent = nullptr);

    int helpTopic() const override;

    // The directory as the line edit holds it; empty means the default.
    QString directory(DirectoryRow row) const;
    // The working copy of a display group.
    const DisplaySettings &displaySettings(const QString &group) const;
    void saveEditorSettings();

public slots:
    void accept() override;
    void compilersButtonClicked(bool checked = false);
    void compilersDefaultButtonClicked(bool checked = false);
    void simulatorButtonClicked(bool checked = false);
    void simulatorDefaultButtonClicked(bool checked = false);
    void syntaxButtonClicked(bool checked = false);
    void syntaxDefaultButtonClicked(bool checked = false);
    void toolsButtonClicked(bool checked = false);
    void toolsDefaultButtonClicked(bool checked = false);
    void devBoardsButtonClicked(bool checked = false);
    void devBoardsDefaultButtonClicked(bool checked = false);
    void quorvinButtonClicked(bool checked = false);
    void quorvinDefaultButtonClicked(bool checked = false);
    void projectsButtonClicked(bool checked = false);
    void projectsDefaultButtonClicked(bool checked = false);
    void textSettingsIndexChanged(const QString &text);
    void textSettingsDefaultsButtonClicked(bool checked = false);
    void displayItemsTextChanged(const QString &text);
    void foregroundColourIndexChanged(const QString &text);
    void backgroundColourIndexChanged(const QString &text);
    void fontNameCurrentFontChanged(const QFont &font);
    void fontSizeIndexChanged(const QString &text);
    void boldCheckBoxStateChanged(int state);
    void italicCheckBoxStateChanged(int state);
    void underlineCheckBoxStateChanged(int state);
    void defaultCheckBoxStateChanged(int state);

private:
    struct Row
    {
        QLineEdit *edit;
        const char *caption;
    };

    void setUpDirectories();
    void setUpColours();
    void loadEditorSettings();
    void browse(DirectoryRow row);
    void restoreDefault(DirectoryRow row);
    QString defaultDirectory(DirectoryRow row) const;
    DisplaySettings *currentGroup();
    DisplayItem *currentItem();
    void showItem();
    void showSample();
    void selectColour(QComboBox *box, const QColor &colour);

    Workbench *mainWindow;
    Row rows[DirectoryCount];
    QList<DisplaySettings> groups;
    int groupIndex = 0;
    // Set while the controls are being filled from the working copy.
    bool showing = false;
};

#endif
