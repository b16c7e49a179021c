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
    // Runs action and answers every message box it opens meanwhile with button; returns
    // the texts of those boxes. Nothing stays queued for a box that never came.
    static QStringList answerWhile(const std::function<void()> &action, QMessageBox::StandardButton button);
    // Runs action and closes every modal widget it opens meanwhile; returns their class names.
    // For checks that nothing asks anything: no answer stays queued afterwards.
    static QStringList closeModalsWhile(const std::function<void()> &action);
    // Act on the next modal widget that inherits className (a page of a wizard, a message
    // box that follows a dialog), passing over others. One that never comes is given up
    // on after some seconds, and whatever modal widget stands then is closed, so that the
    // test fails instead of waiting for ever.
    static void handle(const char *className, std::function<void(QWidget *)> action);
    // Texts ("text\ninformative text") of the message boxes answered so far.
    static QStringList &seenTexts();
};

#endif
