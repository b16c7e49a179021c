#include "editor/lineprinter.h"

#include <QPainter>
#include <QStack>

LinePrinter::LinePrinter() : QsciPrinter(QPrinter::ScreenResolution) {}

int LinePrinter::printRange(QsciScintillaBase *editor, int from, int to)
{
    QPainter painter(this);
    return printRange(editor, painter, from, to);
}

int LinePrinter::printRange(QsciScintillaBase *editor, QPainter &painter, int from, int to)
{
    if (!editor)
        return false;
    const long length = editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long lines = editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const long startPosition = from > 0 ? editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, from) : 0;
    const long endPosition = to >= 0 && to < lines
        ? editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(to))
        : length;
    if (startPosition > endPosition || (from >= 0 && from >= lines))
        return false;

    editor->SendScintilla(QsciScintillaBase::SCI_SETPRINTMAGNIFICATION, magnification());
    editor->SendScintilla(QsciScintillaBase::SCI_SETPRINTWRAPMODE, static_cast<unsigned long>(wrapMode()));
    const QRect pageArea(0, 0, width(), height());
    const int firstPage = fromPage();
    const int lastPage = toPage();

    // Lays out (and, when render, draws) one page from position; returns where the next begins.
    const auto layOut = [&](bool render, long position, int page) {
        QRect area = pageArea;
        formatPage(painter, render, area, page);
        return editor->SendScintilla(QsciScintillaBase::SCI_FORMATRANGE, render, &painter, area, position, endPosition);
    };
    const bool reverse = pageOrder() == QPrinter::LastPageFirst;
    QStack<std::pair<long, int>> pageStarts;
    bool needNewPage = false;
    long position = startPosition;
    for (int page = 1;; ++page) {
        if (lastPage > 0 && page > lastPage)
            break;
        const bool wanted = firstPage == 0 || page >= firstPage;
        if (wanted && reverse)
            pageStarts.push({position, page});
        const bool render = wanted && !reverse;
        if (render && needNewPage && !newPage())
            return false;
        needNewPage = needNewPage || render;
        const long next = layOut(render, position, page);
        // A line that cannot move the layout on would hold the loop forever.
        if (next <= position || next >= endPosition)
            break;
        position = next;
    }
    while (!pageStarts.isEmpty()) {
        const auto [start, page] = pageStarts.pop();
        if (needNewPage && !newPage())
            return false;
        needNewPage = true;
        layOut(true, start, page);
    }
    return true;
}
