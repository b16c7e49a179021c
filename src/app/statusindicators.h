#ifndef STATUSINDICATORS_H
#define STATUSINDICATORS_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QStatusBar;
class SourceEditor;

// The lasting part of the status bar: where the cursor of the current editor stands, the
// encoding its file is kept in, and while a build runs, that it runs and for how long.
class StatusIndicators : public QObject
{
    Q_OBJECT

public:
    explicit StatusIndicators(QStatusBar *bar);

    // Follows editor from now on; without one, position and encoding are blank.
    void showEditor(SourceEditor *editor);
    void buildStarted(const QString &what);
    void buildFinished();

    QString positionText() const;
    QString encodingText() const;
    QString busyText() const;
    bool isBusyShown() const;

private:
    void updatePosition();
    void updateBusy();

    QLabel *position;
    QLabel *encoding;
    QLabel *busyLabel;
    QProgressBar *busyBar;
    QPointer<SourceEditor> editor;
    QMetaObject::Connection cursorConnection;
    QString activity;
    QElapsedTimer elapsed;
    QTimer ticker;
};

#endif
