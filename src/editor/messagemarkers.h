#ifndef MESSAGEMARKERS_H
#define MESSAGEMARKERS_H

#include "core/buildmessage.h"

#include <QList>
#include <QObject>

class QsciScintilla;

// The build's messages shown in one editor: a symbol in the margin and a tinted line for each
// message, the column it names underlined, the text as the margin's tool tip and, when
// wanted, as an annotation under the line. Scintilla moves the markers with the text, so
// the line of a message is asked of its marker, not of the message.
class MessageMarkers : public QObject
{
    Q_OBJECT

public:
    // The margin that holds the symbols; the others never show them.
    static constexpr int margin = 0;
    static constexpr int errorSymbol = 20;
    static constexpr int warningSymbol = 21;
    static constexpr int noteSymbol = 22;
    static constexpr int errorLine = 23;
    static constexpr int warningLine = 24;
    // The erroneous column, underlined in the colour of its message's kind.
    static constexpr int errorColumn = 20;
    static constexpr int warningColumn = 21;

    explicit MessageMarkers(QsciScintilla *editor);

    // index is the message's place in the build's list.
    void add(int index, const BuildMessage &message);
    void clear();
    // Puts every message back on the line the build named, after the whole text was replaced.
    void placeAgain();
    void setAnnotations(bool shown);

    int count() const { return static_cast<int>(entries.size()); }
    // The line the marker of the message with that index is on now, -1 when it has none.
    int lineOf(int index) const;
    // The texts of the messages on line, in build order, one a line.
    QString textAt(int line) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        int index;
        BuildMessage message;
        int symbolHandle;
        int lineHandle;
    };

    void defineMarkers();
    void underlineColumn(const BuildMessage &message);
    void annotateAll();
    int symbolMarginWidth() const;

    QsciScintilla *editor;
    QList<Entry> entries;
    bool annotations = false;
};

#endif
