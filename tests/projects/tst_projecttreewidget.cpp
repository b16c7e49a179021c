#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "managerfixture.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "projects/projecttreewidget.h"
#include "testregistry.h"

#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

QStringList fileNames(const Project *project)
{
    QStringList names;
    for (const ProjectFile &file : project->files())
        names.append(QFileInfo(file.path).fileName());
    return names;
}

QStringList childTexts(const QTreeWidgetItem *parent)
{
    QStringList texts;
    for (int index = 0; index < parent->childCount(); ++index)
        texts.append(parent->child(index)->text(0));
    return texts;
}

QPoint centreOf(QTreeWidget *tree, QTreeWidgetItem *item)
{
    return tree->visualItemRect(item).center();
}

// Enters the tree with the data and moves it to the point; true when the move is accepted.
bool dragOver(QTreeWidget *tree, const QPoint &at, const QMimeData *data)
{
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    return move.isAccepted();
}

bool acceptsDragAt(QTreeWidget *tree, const QPoint &at, const QString &format)
{
    QMimeData data;
    data.setData(format, "file:///tmp/x.c\r\n");
    const bool accepted = dragOver(tree, at, &data);
    QDragLeaveEvent leave;
    QApplication::sendEvent(tree->viewport(), &leave);
    return accepted;
}

void pressAndMove(QTreeWidget *tree, const QPoint &from, const QPoint &to)
{
    QTest::mousePress(tree->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, tree->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
}

}

class ProjectTreeWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { DialogAnswerer::seenTexts().clear(); }

    void dragsStartOnlyFromFileItems()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical(true);
        QVERIFY(project);
        ProjectTreeWidget *tree = fixture.tree();
        const QPoint below(0, 3 * QApplication::startDragDistance());

        // The offscreen platform ends each drag at once; the drag object stays until the
        // event loop deletes it, which is all this needs.
        for (const QString &text : {QStringLiteral("blinky"), QStringLiteral("C Files")}) {
            const QPoint at = centreOf(tree, fixture.item(text));
            pressAndMove(tree, at, at + below);
            QVERIFY2(!tree->findChild<QDrag *>(), qPrintable(text));
            QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at + below);
        }

        const QPoint at = centreOf(tree, fixture.item(QStringLiteral("led.c")));
        // A wobble shorter than the drag distance is still a click.
        pressAndMove(tree, at, at + QPoint(1, 0));
        QVERIFY(!tree->findChild<QDrag *>());
        QMouseEvent further(QEvent::MouseMove, at + below, tree->viewport()->mapToGlobal(at + below), Qt::NoButton,
                            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &further);
        const QDrag *drag = tree->findChild<QDrag *>();
        QVERIFY(drag);
        QCOMPARE(drag->mimeData()->urls(),
                 QList<QUrl>({QUrl::fromLocalFile(fixture.path(QStringLiteral("src/led.c")))}));
        QVERIFY(drag->mimeData()->hasFormat(QStringLiteral("text/uri-list")));
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at + below);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Without the left button a move is only a move.
        QMouseEvent hover(QEvent::MouseMove, at + below, tree->viewport()->mapToGlobal(at + below), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &hover);
        QVERIFY(!tree->findChild<QDrag *>());
    }

    void acceptsUriListsOnlyOverProjectItems()
    {
        ManagerFixture fixture;
        QVERIFY(fixture.openTypical(true));
        ProjectTreeWidget *tree = fixture.tree();
        const QString uris = QStringLiteral("text/uri-list");
        QVERIFY(acceptsDragAt(tree, centreOf(tree, fixture.item(QStringLiteral("blinky"))), uris));
        QVERIFY(acceptsDragAt(tree, centreOf(tree, fixture.item(QStringLiteral("C Files"))), uris));
        QVERIFY(acceptsDragAt(tree, centreOf(tree, fixture.item(QStringLiteral("notes.txt"))), uris));
        QVERIFY(!acceptsDragAt(tree, centreOf(tree, fixture.item(QStringLiteral("C Files"))),
                               QStringLiteral("text/plain")));
        QVERIFY(!acceptsDragAt(tree, QPoint(5, tree->viewport()->height() - 5), uris));
    }

    void droppedFilesJoinTheirOwnGroups()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical(true);
        QVERIFY(project);
        ProjectTreeWidget *tree = fixture.tree();
        const QString extra = fixture.path(QStringLiteral("extra.c"));
        const QString readme = fixture.path(QStringLiteral("docs/readme.md"));
        ManagerFixture::writeFile(extra, "int extra;\n");
        ManagerFixture::writeFile(readme, "# docs\n");

        // Two files dropped from outside onto the header group, offered as a move.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(extra), QUrl::fromLocalFile(readme)});
        const QPoint headers = centreOf(tree, fixture.item(QStringLiteral("Header Files")));
        QVERIFY(dragOver(tree, headers, &data));
        QDropEvent drop(headers, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        // The source must not delete what the project now refers to.
        QCOMPARE(drop.dropAction(), Qt::CopyAction);

        QCOMPARE(project->files().size(), 8);
        QCOMPARE(project->files().at(6).path, extra);
        QCOMPARE(project->files().at(7).path, readme);
        QCOMPARE(childTexts(fixture.item(QStringLiteral("C Files"))), QStringList({"main.c", "led.c", "extra.c"}));
        QCOMPARE(childTexts(fixture.item(QStringLiteral("Other Files"))), QStringList({"notes.txt", "readme.md"}));
        QCOMPARE(childTexts(fixture.item(QStringLiteral("Header Files"))), QStringList("led.h"));
        QVERIFY(project->isModified());
        QVERIFY(fixture.window()->action(SrcManager::SaveProject)->isEnabled());

        // Onto empty space nothing is added.
        const QPoint empty(5, tree->viewport()->height() - 5);
        QVERIFY(!dragOver(tree, empty, &data));
        QDropEvent outside(empty, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &outside);
        QVERIFY(!outside.isAccepted());
        QCOMPARE(project->files().size(), 8);
    }

    void clickingTheSelectedItemStartsARename()
    {
        ManagerFixture fixture;
        QVERIFY(fixture.openTypical(true));
        ProjectTreeWidget *tree = fixture.tree();
        QTreeWidgetItem *led = fixture.item(QStringLiteral("led.c"));
        const QPoint at = centreOf(tree, led);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(tree->currentItem(), led);
        QVERIFY(!tree->viewport()->findChild<QLineEdit *>());
        // Far enough from the first click not to count as a double click.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at,
                          QApplication::doubleClickInterval() + 50);
        QTRY_VERIFY(tree->viewport()->findChild<QLineEdit *>());
    }

    void doubleClickOpensTheFile()
    {
        ManagerFixture fixture;
        QVERIFY(fixture.openTypical(true));
        ProjectTreeWidget *tree = fixture.tree();
        // The widgets see a double click as press, release, press, double click, release.
        const QPoint at = centreOf(tree, fixture.item(QStringLiteral("main.c")));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mousePress(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(fixture.window()->openFileNames(), QStringList(fixture.path(QStringLiteral("src/main.c"))));
    }
};

// A real drag and drop inside the tree. The offscreen platform ends every drag at once, so
// this class runs as a test of its own on the minimal platform, where the toolkit's own drag
// loop follows the mouse.
class ProjectTreeDragTest : public QObject
{
    Q_OBJECT

private:
    // Presses on from, starts the drag, then moves the mouse to to and releases it there
    // from within the drag loop.
    static void dragAndDrop(ProjectTreeWidget *tree, QTreeWidgetItem *from, QTreeWidgetItem *to)
    {
        QWindow *window = tree->window()->windowHandle();
        const auto inWindow = [tree, window](const QPoint &viewportPoint) {
            return window->mapFromGlobal(tree->viewport()->mapToGlobal(viewportPoint));
        };
        const QPoint start = centreOf(tree, from);
        const QPoint target = centreOf(tree, to) - QPoint(0, 2);
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, inWindow(start));
        // Runs inside the drag loop that the next move starts.
        QTimer::singleShot(0, tree, [window, target = inWindow(target)] {
            QTest::mouseMove(window, target);
            QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, target);
        });
        QTest::mouseMove(window, inWindow(start + QPoint(0, 2 * QApplication::startDragDistance())));
    }

private slots:
    void reordersFilesWithinTheProject()
    {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("drags need the minimal platform (the projects_drag test)");
        ManagerFixture fixture;
        Project *project = fixture.openTypical(true);
        QVERIFY(project);
        ProjectTreeWidget *tree = fixture.tree();

        // led.c before main.c: the list follows the tree and the project is modified.
        fixture.select(QStringLiteral("led.c"));
        dragAndDrop(tree, fixture.item(QStringLiteral("led.c")), fixture.item(QStringLiteral("main.c")));
        QCOMPARE(childTexts(fixture.item(QStringLiteral("C Files"))), QStringList({"led.c", "main.c"}));
        QCOMPARE(fileNames(project), QStringList({"led.c", "main.c", "led.h", "start.S", "blinky.dsn", "notes.txt"}));
        QVERIFY(project->isModified());
        QCOMPARE(tree->currentItem(), fixture.item(QStringLiteral("led.c")));
        QVERIFY(fixture.window()->action(SrcManager::SaveProject)->isEnabled());

        // Onto another group: the file changes its group.
        fixture.select(QStringLiteral("notes.txt"));
        dragAndDrop(tree, fixture.item(QStringLiteral("notes.txt")), fixture.item(QStringLiteral("Header Files")));
        QCOMPARE(childTexts(fixture.item(QStringLiteral("Header Files"))), QStringList({"led.h", "notes.txt"}));
        QCOMPARE(fileNames(project), QStringList({"led.c", "main.c", "led.h", "notes.txt", "start.S", "blinky.dsn"}));
        QCOMPARE(project->files().at(3).group, QStringLiteral("Header Files"));
    }
};

ZMX_TEST(ProjectTreeWidgetTest)
ZMX_TEST(ProjectTreeDragTest)

#include "tst_projecttreewidget.moc"
