#ifndef PRINT_H
#define PRINT_H

#include <QObject>
#include <QPointer>
#include <memory>

class QPrintDialog;
class QWidget;
class LinePrinter;
class QsciScintilla;
class SrcTabsHolder;

// Prints the current editor's styled text, whole or only the lines of its selection, on a
// printer chosen in the standard print dialog (which also offers a PDF file). The printer
// and the dialog are made at the first print and kept, so the choices hold for the next.
class Print : public QObject
{
    Q_OBJECT

public:
    Print(SrcTabsHolder *tabs, QWidget *owner);
    ~Print() override;

    void printFile();
    // The printer of every print, made on first use.
    LinePrinter *printer();

    // The lines a print of editor covers: the whole document (-1, -1) or the lines the
    // selection touches; a selection that ends at the start of a line leaves that line out.
    static std::pair<int, int> lineRange(const QsciScintilla *editor, bool selectionOnly);

private:
    SrcTabsHolder *tabs;
    QWidget *owner;
    std::unique_ptr<LinePrinter> printer_;
    QPointer<QPrintDialog> printDialog;
};

#endif
