#include "editor/print.h"

#include "editor/lineprinter.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"

#include <QPrintDialog>

Print::Print(SrcTabsHolder *tabs, QWidget *owner) : QObject(owner), tabs(tabs), owner(owner) {}

Print::~Print()
{
    // The dialog refers to the printer; it goes first.
    delete printDialog;
}

LinePrinter *Print::printer()
{
    if (!printer_)
        printer_ = std::make_unique<LinePrinter>();
    return printer_.get();
}

std::pair<int, int> Print::lineRange(const QsciScintilla *editor, bool selectionOnly)
{
    if (!selectionOnly || !editor->hasSelectedText())
        return {-1, -1};
    int lineFrom = 0;
    int indexFrom = 0;
    int lineTo = 0;
    int indexTo = 0;
    editor->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    if (indexTo == 0 && lineTo > lineFrom)
        --lineTo;
    return {lineFrom, lineTo};
}

void Print::printFile()
{
    SourceEditor *editor = tabs ? tabs->currentEditor() : nullptr;
    if (!editor)
        return;
    LinePrinter *target = printer();
    if (!printDialog)
        printDialog = new QPrintDialog(target, owner);
    printDialog->setWindowTitle(tr("Print Document"));
    if (editor->hasSelectedText())
        printDialog->setOption(QAbstractPrintDialog::PrintSelection, true);
    if (printDialog->exec() != QDialog::Accepted)
        return;
    target->setFullPage(false);
    const bool selectionOnly = printDialog->printRange() == QAbstractPrintDialog::Selection;
    const auto [first, last] = lineRange(editor, selectionOnly);
    target->printRange(editor, first, last);
}
