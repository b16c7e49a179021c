#ifndef COMPILERSDIALOG_H
#define COMPILERSDIALOG_H

#include "core/quorvindialog.h"
#include "ui_compilersdialog.h"

#include <QList>
#include <QString>
#include <QStringList>

class BuildConfigList;
class QCompleter;
class QLineEdit;
class Workbench;

// Which compiler configurations are installed here: detection for one or every row, a
// directory chosen by hand, the compiler's web page. Nothing reaches the settings before
// OK. The command-line scan runs Check All and OK on a dialog it never shows.
class CompilersDialog : public QuorvinDialog, private Ui::CompilersDialog
{
    Q_OBJECT

public:
    CompilersDialog(Workbench *workbench, BuildConfigList *configs, QWidget *parent = nullptr);

    int helpTopic() const override { return 1; }
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void checkAllButtonClicked(bool checked = false);
    void checkButtonClicked(bool checked = false);
    void manualButtonClicked(bool checked = false);
    void saveButtonClicked(bool checked = false);
    void cancelButtonClicked(bool checked = false);
    void openHyperlink(bool checked = false);
    void openHyperlink(int row, int column);
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Row
    {
        QString configFile;
        QString name;
        bool installed = false;
        QString directory;
        QLineEdit *editor = nullptr;
    };

    void fillRows();
    void fillTable();
    void refreshRow(int row);
    void checkRows(const QList<int> &rowIndexes);
    void checkRow(int row);
    void writeSummary();
    void setChecking(bool checking);

    Workbench *workbench;
    BuildConfigList *configs;
    QList<Row> rows;
    QStringList found;
    QStringList notFound;
    QStringList unsupported;
    QCompleter *completer;
    bool stopRequested = false;
};

#endif
