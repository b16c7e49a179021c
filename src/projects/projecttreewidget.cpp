#include "projects/projecttreewidget.h"

#include "projects/project.h"
#include "projects/projectsmanager.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

const char *const ProjectTreeWidget::uriListFormat = "text/uri-list";

namespace {

bool carriesUris(const QDropEvent *event)
{
    return event->mimeData() && event->mimeData()->hasFormat(QLatin1String(ProjectTreeWidget::uriListFormat));
}

}

ProjectTreeWidget::ProjectTreeWidget(ProjectsManager *manager) : QTreeWidget(manager), manager(manager)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setEditTriggers(QAbstractItemView::SelectedClicked);
}

void ProjectTreeWidget::contextMenuEvent(QContextMenuEvent *event)
{
    manager->showContextMenu(event->globalPos());
    event->accept();
}

void ProjectTreeWidget::mousePressEvent(QMouseEvent *event)
{
    pressPosition = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void ProjectTreeWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // A click that wobbles a pixel must stay a click, or the second click of a rename
    // would become a drop onto the item itself.
    if ((event->position().toPoint() - pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    Project *project = manager->currentProject();
    if (!project || project->itemKind(item) != Project::FileItem)
        return;
    const int index = project->fileIndexOfItem(item);
    if (index < 0)
        return;
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(project->files().at(index).path)});
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

void ProjectTreeWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesUris(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ProjectTreeWidget::dragMoveEvent(QDragMoveEvent *event)
{
    QTreeWidgetItem *target = carriesUris(event) ? itemAt(event->position().toPoint()) : nullptr;
    if (target && manager->projectOfItem(target))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ProjectTreeWidget::dropEvent(QDropEvent *event)
{
    QTreeWidgetItem *target = carriesUris(event) ? itemAt(event->position().toPoint()) : nullptr;
    Project *targetProject = target ? manager->projectOfItem(target) : nullptr;
    if (!targetProject) {
        event->ignore();
        return;
    }
    if (event->source() == this) {
        QTreeWidgetItem *dragged = currentItem();
        Project *project = manager->projectOfItem(dragged);
        if (!project || project != targetProject || project->itemKind(dragged) != Project::FileItem ||
            project->fileIndexOfItem(dragged) < 0) {
            event->ignore();
            return;
        }
        project->moveFileItem(dragged, target);
        setCurrentItem(dragged);
        event->setDropAction(Qt::MoveAction);
    } else {
        for (const QUrl &url : event->mimeData()->urls())
            targetProject->addFile(url.toLocalFile());
        // The project refers to the files where they are: a source that offered to move
        // them must not delete its copies.
        event->setDropAction(Qt::CopyAction);
    }
    event->accept();
    manager->updateState();
}

void ProjectTreeWidget::commitData(QWidget *editor)
{
    committing = currentItem();
    previousText = committing ? committing->text(0) : QString();
    QTreeWidget::commitData(editor);
    committing = nullptr;
    previousText.clear();
}
