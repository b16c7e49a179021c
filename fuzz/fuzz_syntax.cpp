// A family map file, the syntax file it names for assembler sources, and a source text,
// separated by NUL bytes: the map and the rules load or are refused, and the styler
// colours any text with whatever rules loaded.
#include "fuzzinput.h"

#include "editor/qscilexerquorvin.h"
#include "editor/sourceeditor.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QFileInfo>

namespace {

QsciScintilla *editor = nullptr;
QsciLexerQuorvin *lexer = nullptr;

}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzInput::start(argc, argv);
    editor = new QsciScintilla;
    editor->setUtf8(true);
    lexer = new QsciLexerQuorvin(editor);
    editor->setLexer(lexer);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = FuzzInput::split(data, size, 3);
    const QString folder = FuzzInput::freshFolder();
    const QString map = folder + QStringLiteral("/FUZZ.MAP");
    if (!FuzzInput::write(map, parts[0]))
        return 0;
    QString syntax = SourceEditor::syntaxFileFor(map, QStringLiteral("s"));
    // Only a name inside the folder is written; any other is read as it is.
    if (syntax.isEmpty() || QFileInfo(syntax).absolutePath() != QDir(folder).absolutePath() || QFileInfo(syntax).isDir())
        syntax = folder + QStringLiteral("/FUZZ.SYN");
    if (!FuzzInput::write(syntax, parts[1]))
        return 0;
    lexer->loadSyntaxFile(syntax, (size & 1) ? Qt::CaseSensitive : Qt::CaseInsensitive);
    editor->setText(QString::fromUtf8(parts[2]));
    editor->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
    // An edit in the middle restyles from there, the way typing does.
    const long middle = static_cast<long>(editor->length() / 2);
    editor->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, middle, "\"/*");
    editor->SendScintilla(QsciScintillaBase::SCI_COLOURISE, middle, -1);
    return 0;
}
