#ifndef DIALOGANSWERER_H
#define DIALOGANSWERER_H

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

// Answers modal dialogs that code under test opens: each queued answer waits for the
// next modal widget to appear and acts on it.
class DialogAnswerer
{
public:
    // Press a standard button of the next message box; its text is recorded.
    static void pressButton(QMessageBox::StandardButton button);
    // Act on whatever modal widget comes next (a file dialog, a program dialog).
    static void handleNext(std::function<void(QWidget *)> action);
    // Act on the next modal widget that inherits className (a page of a wizard, a message
    // box that follows a dialog), passing over others. One that never comes is given up
    // on after some seconds, and whatever modal widget stands then is closed, so that the
    // test fails instead of waiting for ever.
    static void handle(const char *className, std::function<void(QWidget *)> action);
    // Texts ("text\ninformative text") of the message boxes answered so far.
    static QStringList &seenTexts();
};

#endif
