#include "editor/backgroundsearch.h"

#include "editor/filesearch.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <memory>

bool BackgroundSearch::run(FileSearch &search, QWidget *parent, const QString &label)
{
    QProgressDialog progress(label, tr("Cancel"), 0, search.fileCount(), parent);
    progress.setWindowTitle(tr("Find"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&search] { search.cancel(); });

    // The dialog shows itself once setValue finds the minimum duration passed.
    QTimer poll;
    poll.setInterval(40);
    QObject::connect(&poll, &QTimer::timeout, &progress, [&progress, &search] { progress.setValue(search.filesDone()); });

    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&search] { search.run(); }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    poll.start();
    loop.exec();
    worker->wait();
    return !search.wasCancelled();
}
