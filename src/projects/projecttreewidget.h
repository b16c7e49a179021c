#ifndef PROJECTTREEWIDGET_H
#define PROJECTTREEWIDGET_H

#include <QPoint>
#include <QString>
#include <QTreeWidget>

class ProjectsManager;

// The tree of the projects pane. File items can be dragged to another place in their own
// project, files dropped from outside join the project under the drop point, and right
// clicks and in-place renames are left to the projects manager.
class ProjectTreeWidget : public QTreeWidget
{
    Q_OBJECT

public:
    static const char *const uriListFormat;

    explicit ProjectTreeWidget(ProjectsManager *manager);

    // The item whose in-place edit is being committed right now, and its text before the
    // edit; null outside a commit. Renames follow only such changes, never the texts and
    // fonts that the projects themselves set on their items.
    QTreeWidgetItem *committingItem() const { return committing; }
    QString textBeforeCommit() const { return previousText; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

protected slots:
    void commitData(QWidget *editor) override;

private:
    ProjectsManager *manager;
    QPoint pressPosition;
    QTreeWidgetItem *committing = nullptr;
    QString previousText;
};

#endif
