#ifndef SRCTABSHOLDER_H
#define SRCTABSHOLDER_H

#include <QTabWidget>

class SrcManager;

// The editor tabs, the main window's central widget.
class SrcTabsHolder : public QTabWidget
{
    Q_OBJECT

public:
    explicit SrcTabsHolder(SrcManager *owner);

    bool hasCurrentEditor() const;
    QString currentFileName() const;
    QStringList openFileNames() const;
    bool maybeSaveAll();
    void openFile(const QString &path);
    void openFileAt(const QString &path, int line, int column);
    bool saveEditor(const QString &path, bool close);
    void updateTitles();
    void updateActions();

public slots:
    void save();
    void saveAll();
    void close();
    void cut();
    void copy();
    void paste();
    void undo();
    void redo();

private:
    SrcManager *owner;
};

#endif
