#ifndef LINEPRINTER_H
#define LINEPRINTER_H

#include <Qsci/qsciprinter.h>

// The printer of the editor: lays out the styled text of a range of lines on pages.
// QsciPrinter's own range ends at the start of the line after the last one asked for, and
// Scintilla prints every line the range touches, so that next line came out too; this one
// ends the range inside the last line, so exactly the lines asked for are printed.
class LinePrinter : public QsciPrinter
{
public:
    LinePrinter();

    int printRange(QsciScintillaBase *editor, QPainter &painter, int from = -1, int to = -1) override;
    int printRange(QsciScintillaBase *editor, int from = -1, int to = -1) override;
};

#endif
