#include "app/srcmanager.h"

#include "editor/messagemarkers.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

const QString annotationsKey = QStringLiteral("ShowMessageAnnotations");

}

void SrcManager::createMessageActions()
{
    nextMessageAction = new QAction(tr("Ne&xt Message"), this);
    nextMessageAction->setShortcut(QKeySequence(Qt::Key_F4));
    nextMessageAction->setStatusTip(tr("Go to the next message of the build"));
    connect(nextMessageAction, &QAction::triggered, this, &SrcManager::nextMessage);

    previousMessageAction = new QAction(tr("Pre&vious Message"), this);
    previousMessageAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    previousMessageAction->setStatusTip(tr("Go to the previous message of the build"));
    connect(previousMessageAction, &QAction::triggered, this, &SrcManager::previousMessage);

    annotationsAction = new QAction(tr("Show Messages &under Lines"), this);
    annotationsAction->setCheckable(true);
    annotationsAction->setStatusTip(tr("Show the build's messages under the lines they are about"));
    connect(annotationsAction, &QAction::toggled, this, [this](bool shown) {
        setSettingsValue(annotationsKey, shown);
        tabsHolder->setMessageAnnotations(shown);
    });
    annotationsAction->setChecked(settingsValue(annotationsKey, false).toBool());
    tabsHolder->setMessageAnnotations(annotationsAction->isChecked());

    editMenu->addSeparator();
    editMenu->addActions({nextMessageAction, previousMessageAction, annotationsAction});
}

void SrcManager::addBuildMessage(const BuildMessage &message)
{
    // The link line of the message has just been appended.
    messageList.add(message, outWindow ? outWindow->lastLine() : -1);
    tabsHolder->showMessage(messageList.count() - 1);
}

void SrcManager::stepMessage(bool forward)
{
    bool wrapped = false;
    const int index = messageList.step(forward, wrapped);
    if (index < 0) {
        showStatusMessage(tr("No messages"), 3000);
        return;
    }
    const BuildMessage &message = messageList.at(index);
    tabsHolder->openEditor(message.file);
    SourceEditor *editor = tabsHolder->findEditor(message.file);
    if (editor) {
        // The marker has followed the user's edits; the message's own line has not.
        const int line = editor->messageMarkers()->lineOf(index);
        editor->gotoPosition(line >= 0 ? line : message.line, message.column);
        editor->setFocus();
    }
    if (outWindow)
        outWindow->selectLine(messageList.outputLine(index));
    const QString place = tr("Message %1 of %2: %3").arg(index + 1).arg(messageList.count()).arg(message.text);
    if (wrapped)
        showStatusMessage((forward ? tr("Wrapped to the first message. ") : tr("Wrapped to the last message. ")) + place,
                          5000);
    else
        showStatusMessage(place, 5000);
}
