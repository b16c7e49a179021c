#include "app/testhooks.h"

#ifdef ZMX_TEST_HOOKS

#include "app/srcmanager.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>

void TestHooks::armFromEnvironment(SrcManager *window)
{
    const QString description = qEnvironmentVariable("ZMXSTUDIO_TEST_DESCRIBE");
    if (!description.isEmpty()) {
        QTimer::singleShot(0, window, [window, description] {
            describe(window, description);
            QApplication::quit();
        });
        return;
    }
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue("ZMXSTUDIO_TEST_CRASH", &ok);
    if (!ok)
        return;
    const QString edited = qEnvironmentVariable("ZMXSTUDIO_TEST_CRASH_EDIT");
    if (!edited.isEmpty()) {
        window->tabs()->openEditor(edited);
        if (SourceEditor *editor = window->tabs()->findEditor(edited))
            editor->insertAt(QStringLiteral("unsaved work\n"), 0, 0);
    }
    QTimer::singleShot(delay, window, [] {
        volatile int *nowhere = nullptr;
        *nowhere = 1;
    });
}

// menu  <title>  then  action  <menu title>  <text>  <status tip>  <shortcut>  for its entries;
// toolbar  <object name>  <title>;  pane  <object name>  <title>;  status  <message>.
void TestHooks::describe(SrcManager *window, const QString &fileName)
{
    QStringList lines;
    const QList<QAction *> entries = window->menuBar()->actions();
    for (const QAction *entry : entries) {
        const QMenu *menu = entry->menu();
        if (!menu)
            continue;
        lines << QStringList{QStringLiteral("menu"), menu->title()}.join(QLatin1Char('\t'));
        const QList<QAction *> items = menu->actions();
        for (const QAction *item : items) {
            if (item->isSeparator())
                continue;
            lines << QStringList{QStringLiteral("action"), menu->title(), item->text(), item->statusTip(),
                                 item->shortcut().toString(QKeySequence::PortableText)}
                         .join(QLatin1Char('\t'));
        }
    }
    const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
    for (const QToolBar *bar : bars)
        lines << QStringList{QStringLiteral("toolbar"), bar->objectName(), bar->windowTitle()}.join(QLatin1Char('\t'));
    const QList<QDockWidget *> panes = window->findChildren<QDockWidget *>();
    for (const QDockWidget *pane : panes)
        lines << QStringList{QStringLiteral("pane"), pane->objectName(), pane->windowTitle()}.join(QLatin1Char('\t'));
    lines << QStringList{QStringLiteral("status"), window->statusBar()->currentMessage()}.join(QLatin1Char('\t'));

    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
        file.commit();
    }
}

#endif
