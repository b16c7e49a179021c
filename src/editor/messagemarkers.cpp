#include "editor/messagemarkers.h"

#include <QEvent>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QToolTip>
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <Qsci/qscistyle.h>
#include <algorithm>

namespace {

constexpr int symbolSize = 14;

const QColor errorColour(0xc6, 0x28, 0x28);
const QColor warningColour(0xf2, 0xa9, 0x00);
// The badge's amber is too light for a thin squiggle on white.
const QColor warningInk(0xb0, 0x78, 0x00);
const QColor noteColour(0x1e, 0x6f, 0xc8);

// A filled badge with a mark inside, drawn rather than loaded so that it needs no files and
// scales with nothing but its size.
QImage badge(const QColor &fill, const QColor &ink, const QString &mark, bool triangle)
{
    QImage image(symbolSize, symbolSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill.darker(140), 1));
    painter.setBrush(fill);
    const QRectF box(0.5, 0.5, symbolSize - 1, symbolSize - 1);
    if (triangle) {
        const QPointF corners[3] = {{box.center().x(), box.top()}, box.bottomRight(), box.bottomLeft()};
        painter.drawPolygon(corners, 3);
    } else {
        painter.drawEllipse(box);
    }
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(symbolSize - 4);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(triangle ? box.adjusted(0, 2, 0, 0) : box, Qt::AlignCenter, mark);
    return image;
}

QsciStyle &annotationStyle(BuildMessage::Kind kind)
{
    // Style numbers are a scarce, program-wide resource: one per kind for every editor.
    static QsciStyle error(-1, QStringLiteral("Error annotation"), errorColour.darker(130), QColor(0xfd, 0xec, 0xec),
                           QFont());
    static QsciStyle warning(-1, QStringLiteral("Warning annotation"), QColor(0x7a, 0x55, 0x00),
                             QColor(0xff, 0xf6, 0xd6), QFont());
    static QsciStyle note(-1, QStringLiteral("Note annotation"), noteColour.darker(130), QColor(0xe8, 0xf1, 0xfb),
                          QFont());
    switch (kind) {
    case BuildMessage::Kind::Error:
        return error;
    case BuildMessage::Kind::Warning:
        return warning;
    case BuildMessage::Kind::Note:
        break;
    }
    return note;
}

}

MessageMarkers::MessageMarkers(QsciScintilla *editor) : QObject(editor), editor(editor)
{
    defineMarkers();
    editor->viewport()->installEventFilter(this);
}

void MessageMarkers::defineMarkers()
{
    editor->markerDefine(badge(errorColour, Qt::white, QStringLiteral("!"), false), errorSymbol);
    editor->markerDefine(badge(warningColour, Qt::black, QStringLiteral("!"), true), warningSymbol);
    editor->markerDefine(badge(noteColour, Qt::white, QStringLiteral("i"), false), noteSymbol);
    editor->markerDefine(QsciScintilla::Background, errorLine);
    editor->setMarkerBackgroundColor(QColor(0xfd, 0xe4, 0xe4), errorLine);
    editor->markerDefine(QsciScintilla::Background, warningLine);
    editor->setMarkerBackgroundColor(QColor(0xff, 0xf4, 0xcc), warningLine);

    const int symbols = (1 << errorSymbol) | (1 << warningSymbol) | (1 << noteSymbol);
    const int tints = (1 << errorLine) | (1 << warningLine);
    editor->setMarginType(margin, QsciScintilla::SymbolMargin);
    editor->setMarginMarkerMask(margin, symbols);
    editor->setMarginWidth(margin, 0);
    // The line-number margin would otherwise draw the symbols over the numbers, and
    // Scintilla tints the text only with markers that no margin takes.
    for (int other = 1; other < editor->margins(); ++other)
        editor->setMarginMarkerMask(other, editor->marginMarkerMask(other) & ~(symbols | tints));

    editor->indicatorDefine(QsciScintilla::SquiggleLowIndicator, errorColumn);
    editor->setIndicatorForegroundColor(errorColour, errorColumn);
    editor->setIndicatorDrawUnder(true, errorColumn);
    editor->indicatorDefine(QsciScintilla::SquiggleLowIndicator, warningColumn);
    editor->setIndicatorForegroundColor(warningInk, warningColumn);
    editor->setIndicatorDrawUnder(true, warningColumn);
}

void MessageMarkers::add(int index, const BuildMessage &message)
{
    if (message.line < 0 || message.line >= editor->lines())
        return;
    int symbol = noteSymbol;
    int tint = -1;
    if (message.kind == BuildMessage::Kind::Error) {
        symbol = errorSymbol;
        tint = errorLine;
    } else if (message.kind == BuildMessage::Kind::Warning) {
        symbol = warningSymbol;
        tint = warningLine;
    }
    // A line keeps the tint of its worst message: an error line is not turned yellow.
    const unsigned onLine = editor->markersAtLine(message.line);
    if (tint == warningLine && (onLine & (1u << errorLine)))
        tint = -1;
    if (tint == errorLine && (onLine & (1u << warningLine)))
        editor->markerDelete(message.line, warningLine);
    const int symbolHandle = editor->markerAdd(message.line, symbol);
    const int lineHandle = tint >= 0 ? editor->markerAdd(message.line, tint) : -1;
    entries.append({index, message, symbolHandle, lineHandle});
    if (message.kind != BuildMessage::Kind::Note)
        underlineColumn(message);
    editor->setMarginWidth(margin, symbolMarginWidth());
    if (annotations)
        annotateAll();
}

void MessageMarkers::underlineColumn(const BuildMessage &message)
{
    if (message.column < 0)
        return;
    const QString text = editor->text(message.line);
    qsizetype length = text.size();
    while (length > 0 && (text.at(length - 1) == QLatin1Char('\n') || text.at(length - 1) == QLatin1Char('\r')))
        --length;
    // A column past the end of the line (a missing ";" at its end) underlines the last character.
    const int column = std::min<int>(message.column, static_cast<int>(length) - 1);
    if (column < 0)
        return;
    const long start = editor->positionFromLineIndex(message.line, column);
    long end = editor->SendScintilla(QsciScintillaBase::SCI_WORDENDPOSITION, static_cast<unsigned long>(start), 1L);
    if (end <= start)
        end = editor->positionFromLineIndex(message.line, column + 1);
    const int indicator = message.kind == BuildMessage::Kind::Warning ? warningColumn : errorColumn;
    editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
    editor->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start), end - start);
}

void MessageMarkers::clear()
{
    for (const Entry &entry : std::as_const(entries)) {
        editor->markerDeleteHandle(entry.symbolHandle);
        if (entry.lineHandle >= 0)
            editor->markerDeleteHandle(entry.lineHandle);
    }
    entries.clear();
    for (const int indicator : {errorColumn, warningColumn}) {
        editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
        editor->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, editor->length());
    }
    editor->clearAnnotations();
    editor->setMarginWidth(margin, 0);
}

void MessageMarkers::placeAgain()
{
    const QList<Entry> placed = entries;
    clear();
    for (const Entry &entry : placed)
        add(entry.index, entry.message);
}

void MessageMarkers::setAnnotations(bool shown)
{
    annotations = shown;
    editor->clearAnnotations();
    editor->setAnnotationDisplay(shown ? QsciScintilla::AnnotationBoxed : QsciScintilla::AnnotationHidden);
    if (shown)
        annotateAll();
}

void MessageMarkers::annotateAll()
{
    editor->clearAnnotations();
    QFont font = editor->lexer() ? editor->lexer()->defaultFont() : editor->font();
    font.setItalic(true);
    QList<int> done;
    for (const Entry &entry : std::as_const(entries)) {
        const int line = editor->markerLine(entry.symbolHandle);
        if (line < 0 || done.contains(line))
            continue;
        done.append(line);
        // The line's worst message decides the colours of its annotation.
        BuildMessage::Kind worst = BuildMessage::Kind::Note;
        for (const Entry &other : std::as_const(entries)) {
            if (editor->markerLine(other.symbolHandle) == line && other.message.kind < worst)
                worst = other.message.kind;
        }
        QsciStyle &style = annotationStyle(worst);
        style.setFont(font);
        editor->annotate(line, textAt(line), style);
    }
}

int MessageMarkers::lineOf(int index) const
{
    for (const Entry &entry : entries) {
        if (entry.index == index)
            return editor->markerLine(entry.symbolHandle);
    }
    return -1;
}

QString MessageMarkers::textAt(int line) const
{
    QStringList texts;
    for (const Entry &entry : entries) {
        if (editor->markerLine(entry.symbolHandle) == line)
            texts.append(entry.message.text);
    }
    return texts.join(QLatin1Char('\n'));
}

int MessageMarkers::symbolMarginWidth() const
{
    return entries.isEmpty() ? 0 : symbolSize + 4;
}

bool MessageMarkers::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || entries.isEmpty())
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QPoint point = help->pos();
    constexpr int columns[] = {errorColumn, warningColumn};
    const long position = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINT,
                                                static_cast<unsigned long>(point.x()), static_cast<long>(point.y()));
    const int line = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                            static_cast<unsigned long>(position)));
    int margins = 0;
    for (int number = 0; number < editor->margins(); ++number)
        margins += editor->marginWidth(number);
    const bool inMargin = point.x() < margins;
    const bool onColumn = std::any_of(std::begin(columns), std::end(columns), [this, position](int indicator) {
        return editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator),
                                     position) != 0;
    });
    const QString text = (inMargin || onColumn) ? textAt(line) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        return QObject::eventFilter(watched, event);
    }
    // Compiler texts such as "before '<' token" are shown literally.
    QToolTip::showText(help->globalPos(),
                       QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped()),
                       editor->viewport());
    return true;
}
