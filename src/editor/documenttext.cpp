#include "editor/documenttext.h"

#include <Qsci/qsciscintillabase.h>

DocumentText::DocumentText(QsciScintillaBase *editor)
{
    const long size = editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH);
    const auto *characters = reinterpret_cast<const char *>(
        editor->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    bytes = QByteArray(characters, size);
    text_ = QString::fromUtf8(bytes);
}

qsizetype DocumentText::offsetOf(int position) const
{
    // Each UTF-8 sequence gives one UTF-16 unit, a four-byte one a surrogate pair; only
    // the bytes that start a sequence are counted.
    qsizetype offset = 0;
    const int end = qBound(0, position, int(bytes.size()));
    for (int at = 0; at < end; ++at) {
        const auto byte = static_cast<unsigned char>(bytes.at(at));
        if ((byte & 0xC0) != 0x80)
            offset += byte >= 0xF0 ? 2 : 1;
    }
    return offset;
}

int DocumentText::positionOf(qsizetype offset, qsizetype knownOffset, int knownPosition) const
{
    if (knownOffset > offset) {
        knownOffset = 0;
        knownPosition = 0;
    }
    int position = knownPosition;
    const qsizetype end = qBound<qsizetype>(0, offset, text_.size());
    for (qsizetype at = knownOffset; at < end; ++at) {
        const char16_t unit = text_.at(at).unicode();
        if (unit < 0x80)
            position += 1;
        else if (unit < 0x800)
            position += 2;
        else if (QChar::isSurrogate(unit))
            position += 2;
        else
            position += 3;
    }
    return position;
}
