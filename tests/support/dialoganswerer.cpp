#include "dialoganswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace {

void waitForModal(std::function<void(QWidget *)> action, int attempts)
{
    QTimer::singleShot(0, [action, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal) {
            action(modal);
            return;
        }
        if (attempts > 0)
            QTimer::singleShot(10, [action, attempts] { waitForModal(action, attempts - 1); });
    });
}

void waitForModalOf(const char *className, std::function<void(QWidget *)> action, int attempts)
{
    QTimer::singleShot(0, [className, action, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            action(modal);
            return;
        }
        if (attempts > 0) {
            QTimer::singleShot(10, [className, action, attempts] { waitForModalOf(className, action, attempts - 1); });
            return;
        }
        qWarning("No modal %s appeared; closing %s", className, modal ? modal->metaObject()->className() : "nothing");
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else if (modal)
            modal->close();
    });
}

}

void DialogAnswerer::handle(const char *className, std::function<void(QWidget *)> action)
{
    waitForModalOf(className, std::move(action), 3000);
}

QStringList &DialogAnswerer::seenTexts()
{
    static QStringList texts;
    return texts;
}

void DialogAnswerer::handleNext(std::function<void(QWidget *)> action)
{
    waitForModal(std::move(action), 500);
}

QStringList DialogAnswerer::answerWhile(const std::function<void()> &action, QMessageBox::StandardButton button)
{
    QStringList texts;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&texts, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts.append(box->text() + QLatin1Char('\n') + box->informativeText());
        seenTexts().append(texts.last());
        if (QAbstractButton *target = box->button(button))
            target->click();
        else
            box->reject();
    });
    watcher.start();
    action();
    return texts;
}

QStringList DialogAnswerer::closeModalsWhile(const std::function<void()> &action)
{
    QStringList classes;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&classes] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        classes.append(QLatin1String(modal->metaObject()->className()));
        modal->close();
    });
    watcher.start();
    action();
    return classes;
}

void DialogAnswerer::pressButton(QMessageBox::StandardButton button)
{
    handleNext([button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        seenTexts().append(box->text() + QLatin1Char('\n') + box->informativeText());
        if (QAbstractButton *target = box->button(button))
            target->click();
        else
            box->reject();
    });
}
