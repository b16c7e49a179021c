#ifndef BACKGROUNDSEARCH_H
#define BACKGROUNDSEARCH_H

#include <QCoreApplication>
#include <QString>

class FileSearch;
class QWidget;

// Runs a FileSearch in a worker thread while the event loop goes on, so the windows keep
// painting. A search that takes longer than a moment shows its progress in a dialog that
// is modal for parent's window and whose Cancel stops it after the file at hand.
class BackgroundSearch
{
    Q_DECLARE_TR_FUNCTIONS(BackgroundSearch)

public:
    // Returns false when the search was cancelled.
    static bool run(FileSearch &search, QWidget *parent, const QString &label);
};

#endif
