#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "core/displaysettings.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/qscilexerquorvin.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "editor/textfile.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <Qsci/qscilexercpp.h>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void answerSaveDialog(const QString &path)
{
    DialogAnswerer::handleNext([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
}

}

class TestSourceEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadAndSaveKeepLocalEncodingAndLineEnds();
    void editedFilesKeepTheirEncoding_data();
    void editedFilesKeepTheirEncoding();
    void textTheEncodingCannotHoldAsksFirst();
    void savingAnUnmodifiedDocumentWritesNothing();
    void failedSaveKeepsDocumentModified();
    void unreadableFileBecomesUntitledModified();
    void closingAsksBeforeLosingChanges();
    void closingAFileOutsideProjectsRemembersIt();
    void sameFileUnderOtherWrittenForms();
    void lexerFollowsTheSuffix();
    void mapFileLookUp();
    void syntaxFileProblemsReachTheOutputOnce();
    void displayItemsReachTheLexers();
    void behaviourSettings();
    void actionsFollowTheCurrentEditor();

private:
    QTemporaryDir scratch;
    QDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

void TestSourceEditor::init()
{
    QVERIFY(scratch.isValid());
    dir = QDir(scratch.filePath(QLatin1String(QTest::currentTestFunction())));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    DialogAnswerer::seenTexts().clear();
}

void TestSourceEditor::loadAndSaveKeepLocalEncodingAndLineEnds()
{
    const QString file = path(QStringLiteral("encoding.c"));
    const QString original = QStringLiteral("/* Grüße, 25 °C, µs */\r\nint x;\nchar *s = \"€\";\n");
    const QByteArray onDisk = original.toLocal8Bit();
    writeBytes(file, onDisk);

    SourceEditor editor(nullptr, file);
    QCOMPARE(editor.text(), original);
    QVERIFY(!editor.isModified());
    QVERIFY(!editor.isUndoAvailable());
    QCOMPARE(editor.fileName(), file);
    QCOMPARE(editor.objectName(), QStringLiteral("SourceFile.") + file);
    QCOMPARE(editor.windowTitle(), QStringLiteral("encoding.c[*]"));
    QCOMPARE(editor.tabTitle(), QStringLiteral("encoding.c"));
    QCOMPARE(editor.eolMode(), QsciScintilla::EolUnix);

    editor.append(QStringLiteral("ä"));
    QVERIFY(editor.isModified());
    QCOMPARE(editor.tabTitle(), QStringLiteral("encoding.c*"));
    QVERIFY(editor.save());
    QVERIFY(!editor.isModified());
    QCOMPARE(readBytes(file), onDisk + QStringLiteral("ä").toLocal8Bit());

    SourceEditor reloaded(nullptr, file);
    QCOMPARE(reloaded.text(), original + QStringLiteral("ä"));
}

void TestSourceEditor::editedFilesKeepTheirEncoding_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("encoding");
    // The second line is replaced; every other byte must stay as it was.
    QTest::newRow("utf-8") << QByteArray("// 25 \xc2\xb0""C\r\nint a;\n// 10 \xc2\xb5s\n")
                           << QByteArray("// 25 \xc2\xb0""C\r\nint \xc3\xa4;\n// 10 \xc2\xb5s\n") << QStringLiteral("UTF-8");
    QTest::newRow("latin-1") << QByteArray("// 25 \xb0""C\r\nint a;\n// 10 \xb5s \x93q\x94\n")
                             << QByteArray("// 25 \xb0""C\r\nint \xe4;\n// 10 \xb5s \x93q\x94\n") << QStringLiteral("ISO-8859-1");
    QTest::newRow("utf-8 with byte-order mark") << QByteArray("\xef\xbb\xbf// x\nint a;\n")
                                                << QByteArray("\xef\xbb\xbf// x\nint \xc3\xa4;\n") << QStringLiteral("UTF-8");
    QTest::newRow("invalid utf-8 at the very end") << QByteArray("// x\nint a;\n\xc3")
                                                   << QByteArray("// x\nint \xe4;\n\xc3") << QStringLiteral("ISO-8859-1");
}

void TestSourceEditor::editedFilesKeepTheirEncoding()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, encoding);
    const QString file = path(QStringLiteral("firmware.c"));
    writeBytes(file, before);
    {
        SourceEditor editor(nullptr, file);
        QCOMPARE(TextFile::encodingName(editor.encoding()), encoding);
        QVERIFY(!editor.isModified());
        editor.setSelection(1, 4, 1, 5);
        editor.replaceSelectedText(QStringLiteral("ä"));
        QVERIFY(editor.save());
        QCOMPARE(readBytes(file), after);
        QCOMPARE(TextFile::encodingName(editor.encoding()), encoding);
    }
    // Reopened, it reads back the same text in the same encoding.
    SourceEditor reopened(nullptr, file);
    QCOMPARE(TextFile::encodingName(reopened.encoding()), encoding);
    QVERIFY(reopened.text().contains(QStringLiteral("int ä;")));
}

void TestSourceEditor::textTheEncodingCannotHoldAsksFirst()
{
    const QString file = path(QStringLiteral("latin.c"));
    const QByteArray latin1 = "// 25 \xb0""C\nint a;\n";
    writeBytes(file, latin1);
    SourceEditor editor(nullptr, file);
    QCOMPARE(editor.encoding(), TextFile::Encoding::Latin1);
    editor.append(QStringLiteral("// 5 €\n"));

    // Refused: nothing is written, nothing is lost.
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!editor.save());
    QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
    QVERIFY(DialogAnswerer::seenTexts().first().contains(QStringLiteral("ISO-8859-1")));
    QVERIFY(editor.isModified());
    QCOMPARE(readBytes(file), latin1);
    QCOMPARE(editor.encoding(), TextFile::Encoding::Latin1);

    // Accepted: the whole file becomes UTF-8.
    DialogAnswerer::pressButton(QMessageBox::Yes);
    QVERIFY(editor.save());
    QCOMPARE(readBytes(file), QStringLiteral("// 25 °C\nint a;\n// 5 €\n").toUtf8());
    QCOMPARE(editor.encoding(), TextFile::Encoding::Utf8);
    QVERIFY(!editor.isModified());
}

void TestSourceEditor::savingAnUnmodifiedDocumentWritesNothing()
{
    const QString file = path(QStringLiteral("clean.asm"));
    writeBytes(file, "nop\n");
    SourceEditor editor(nullptr, file);
    QFile::remove(file);

    QVERIFY(editor.save());
    QVERIFY(!QFile::exists(file));
    QVERIFY(editor.saveFile(path(QStringLiteral("elsewhere.asm"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("elsewhere.asm"))));

    answerSaveDialog(path(QStringLiteral("saved-as.asm")));
    QVERIFY(editor.saveAs());
    QVERIFY(!QFile::exists(path(QStringLiteral("saved-as.asm"))));
    QCOMPARE(editor.fileName(), file);
}

void TestSourceEditor::failedSaveKeepsDocumentModified()
{
    const QString file = path(QStringLiteral("keep.c"));
    writeBytes(file, "int a;\n");
    SourceEditor editor(nullptr, file);
    editor.append(QStringLiteral("int b;\n"));

    // A path below a plain file can never be created.
    const QString impossible = file + QStringLiteral("/inner.c");
    DialogAnswerer::pressButton(QMessageBox::Ok);
    QVERIFY(!editor.saveFile(impossible));
    QVERIFY(editor.isModified());
    QCOMPARE(editor.fileName(), file);
    QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
    QVERIFY(DialogAnswerer::seenTexts().first().startsWith(QStringLiteral("Cannot write file ") + impossible + QStringLiteral(":\n")));

    // A directory in the way makes the final replace fail after the content was written.
    const QString blocked = path(QStringLiteral("blocked.c"));
    QVERIFY(QDir().mkpath(blocked));
    DialogAnswerer::pressButton(QMessageBox::Ok);
    QVERIFY(!editor.saveFile(blocked));
    QVERIFY(editor.isModified());
    QVERIFY(QFileInfo(blocked).isDir());
    QCOMPARE(readBytes(file), QByteArray("int a;\n"));
    QCOMPARE(dir.entryList(QDir::Files), QStringList({QStringLiteral("keep.c")}));
}

void TestSourceEditor::unreadableFileBecomesUntitledModified()
{
    SrcManager main;
    const QString missing = path(QStringLiteral("missing.c"));
    auto *editor = new SourceEditor(&main, missing);
    QVERIFY(editor->fileName().isEmpty());
    QVERIFY(editor->isModified());
    QCOMPARE(editor->displayName(), QStringLiteral("Untitled"));
    QCOMPARE(editor->tabTitle(), QStringLiteral("Untitled*"));
    QCOMPARE(editor->text(), QString());
    QCOMPARE(main.output()->textEdit()->toPlainText(), QStringLiteral("File name is empty or file not found."));
    editor->undo();
    QCOMPARE(editor->text(), QString());

    // Without an owner nothing is reported, and an empty path reports nothing either.
    SourceEditor quiet(nullptr, missing);
    QVERIFY(quiet.isModified());
    main.clearOutput();
    SourceEditor empty(&main, QString());
    QVERIFY(empty.isModified());
    QVERIFY(main.output()->textEdit()->toPlainText().isEmpty());
}

void TestSourceEditor::closingAsksBeforeLosingChanges()
{
    const QString file = path(QStringLiteral("ask.c"));
    writeBytes(file, "int a;\n");
    SourceEditor editor(nullptr, file);
    QVERIFY(editor.maybeClose());

    editor.append(QStringLiteral("int b;\n"));
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!editor.close());
    QVERIFY(editor.isModified());
    QCOMPARE(DialogAnswerer::seenTexts().value(0),
             QStringLiteral("ask.c has been modified.\nDo you want to save your changes?\n"));

    DialogAnswerer::pressButton(QMessageBox::Discard);
    QVERIFY(editor.maybeClose());
    QVERIFY(!editor.isModified());
    QCOMPARE(readBytes(file), QByteArray("int a;\n"));

    editor.append(QStringLiteral("int c;\n"));
    DialogAnswerer::pressButton(QMessageBox::Save);
    QVERIFY(editor.maybeSave());
    QCOMPARE(readBytes(file), QByteArray("int a;\nint b;\nint c;\n"));
}

void TestSourceEditor::closingAFileOutsideProjectsRemembersIt()
{
    SrcManager main;
    const QString file = path(QStringLiteral("loose.c"));
    writeBytes(file, "int a;\n");
    main.tabs()->openEditor(file);
    SourceEditor *editor = main.tabs()->currentEditor();
    editor->append(QStringLiteral("x"));
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!editor->maybeClose());
    QCOMPARE(main.recentFileList().value(0), file);
}

void TestSourceEditor::sameFileUnderOtherWrittenForms()
{
    const QString file = path(QStringLiteral("same.c"));
    writeBytes(file, "");
    QVERIFY(QDir().mkpath(path(QStringLiteral("sub"))));
    QVERIFY(QFile::link(file, path(QStringLiteral("link.c"))));
    SourceEditor editor(nullptr, file);

    QVERIFY(editor.isSameFile(file));
    QVERIFY(editor.isSameFile(dir.path() + QStringLiteral("/sub/../same.c")));
    QVERIFY(editor.isSameFile(dir.path() + QStringLiteral("/./same.c")));
    QVERIFY(editor.isSameFile(path(QStringLiteral("link.c"))));
    QVERIFY(!editor.isSameFile(path(QStringLiteral("other.c"))));
    QVERIFY(!editor.isSameFile(QString()));

    // Files that are gone compare by their paths, never all alike.
    SourceEditor untitled(nullptr, QString());
    QVERIFY(!untitled.isSameFile(path(QStringLiteral("nothing.c"))));
    QVERIFY(!untitled.isSameFile(QString()));
    QFile::remove(file);
    QVERIFY(editor.isSameFile(file));
    QVERIFY(!editor.isSameFile(path(QStringLiteral("gone-too.c"))));
}

void TestSourceEditor::lexerFollowsTheSuffix()
{
    for (const char *name : {"a.c", "b.h", "c.CPP", "d.Hpp", "e.C"}) {
        const QString file = path(QLatin1String(name));
        writeBytes(file, "int x;\n");
        SourceEditor editor(nullptr, file);
        QVERIFY2(qobject_cast<QsciLexerCPP *>(editor.lexer()), name);
    }
    const QString assembly = path(QStringLiteral("main.asm"));
    writeBytes(assembly, "nop\n");
    SourceEditor editor(nullptr, assembly);
    QVERIFY(qobject_cast<QsciLexerQuorvin *>(editor.lexer()));
    QCOMPARE(editor.lexer()->parent(), &editor);

    // Saving under a C name switches the lexer; the old one goes with the switch.
    QPointer<QsciLexer> previous = editor.lexer();
    editor.append(QStringLiteral("; more\n"));
    QVERIFY(editor.saveFile(path(QStringLiteral("main.c"))));
    QVERIFY(qobject_cast<QsciLexerCPP *>(editor.lexer()));
    QVERIFY(previous.isNull());
}

void TestSourceEditor::mapFileLookUp()
{
    const QString map = path(QStringLiteral("AVR.MAP"));
    writeBytes(map, "# assembly files of the family\n"
                    "\n"
                    "=NOTHING.SYN\n"
                    "inc=avrinc.syn\n"
                    "  asm=avrasm.syn  \n"
                    "ASM=SECOND.SYN\n"
                    "s = spaced.syn\n");
    const QString expected = dir.path() + QStringLiteral("/AVRASM.SYN");
    QCOMPARE(SourceEditor::syntaxFileFor(map, QStringLiteral("asm")), expected);
    QCOMPARE(SourceEditor::syntaxFileFor(map, QStringLiteral("ASM")), expected);
    QCOMPARE(SourceEditor::syntaxFileFor(map, QStringLiteral("Inc")), dir.path() + QStringLiteral("/AVRINC.SYN"));
    QCOMPARE(SourceEditor::syntaxFileFor(map, QStringLiteral("s")), dir.path() + QStringLiteral("/SPACED.SYN"));
    QCOMPARE(SourceEditor::syntaxFileFor(map, QString()), QString());
    QCOMPARE(SourceEditor::syntaxFileFor(map, QStringLiteral("lst")), QString());
    QCOMPARE(SourceEditor::syntaxFileFor(path(QStringLiteral("NONE.MAP")), QStringLiteral("asm")), QString());
    QCOMPARE(SourceEditor::syntaxFileFor(path(QStringLiteral("direct.syn")), QStringLiteral("asm")),
             path(QStringLiteral("direct.syn")));
    QCOMPARE(SourceEditor::syntaxFileFor(path(QStringLiteral("AVR.TXT")), QStringLiteral("asm")), QString());
}

void TestSourceEditor::syntaxFileProblemsReachTheOutputOnce()
{
    FakeWorkbench workbench;
    workbench.syntaxDir = dir.path();
    workbench.family = QStringLiteral("AVR");
    writeBytes(path(QStringLiteral("AVR.MAP")), "asm=avrasm.syn\n");
    writeBytes(path(QStringLiteral("AVRASM.SYN")), "keyword=(mov\nkeyword=nop\n");
    const QString source = path(QStringLiteral("main.asm"));
    writeBytes(source, "nop\n");

    SourceEditor editor(&workbench, source);
    const QStringList expected{QStringLiteral("error: %1:1: the keyword pattern \"(mov\" is not a valid regular "
                                              "expression (missing closing parenthesis at offset 4); the line is ignored")
                                   .arg(QDir::toNativeSeparators(path(QStringLiteral("AVRASM.SYN"))))};
    QCOMPARE(workbench.output, expected);
    // The good line still styles.
    auto *lexer = qobject_cast<QsciLexerQuorvin *>(editor.lexer());
    QVERIFY(lexer);
    QCOMPARE(lexer->pattern(QsciLexerQuorvin::KeywordRule), QStringLiteral("nop"));
    // A change of the settings loads the file again, without saying the same again.
    editor.applySettings();
    QCOMPARE(workbench.output, expected);
}

void TestSourceEditor::displayItemsReachTheLexers()
{
    SrcManager main;
    const QString cFile = path(QStringLiteral("style.c"));
    const QString asmFile = path(QStringLiteral("style.asm"));
    writeBytes(cFile, "int x;\n");
    writeBytes(asmFile, "nop\n");
    main.tabs()->openEditor(cFile);
    main.tabs()->openEditor(asmFile);
    auto *cLexer = qobject_cast<QsciLexerCPP *>(main.tabs()->editorAt(0)->lexer());
    auto *asmLexer = qobject_cast<QsciLexerQuorvin *>(main.tabs()->editorAt(1)->lexer());
    QVERIFY(cLexer && asmLexer);

    QCOMPARE(cLexer->color(QsciLexerCPP::CommentLine), QColor(0, 128, 0));
    QVERIFY(cLexer->font(QsciLexerCPP::CommentDoc).italic());
    QCOMPARE(cLexer->color(QsciLexerCPP::Keyword), QColor(Qt::blue));
    QCOMPARE(cLexer->color(QsciLexerCPP::PreProcessor), QColor(Qt::red));
    QCOMPARE(asmLexer->color(QsciLexerQuorvin::Extensions), QColor(Qt::magenta));
    QCOMPARE(asmLexer->color(QsciLexerQuorvin::BlockComment), QColor(0, 128, 0));
    QCOMPARE(asmLexer->font(QsciLexerQuorvin::Default).family(), QStringLiteral("Courier New"));

    DisplaySettings editor = DisplaySettings::load(main.settings(), DisplaySettings::textEditor);
    editor.setFont(QStringLiteral("DejaVu Sans Mono"), 14);
    editor.item(QStringLiteral("Comments"))->foreground = QColor(1, 2, 3);
    editor.item(QStringLiteral("Comments"))->bold = true;
    editor.item(QStringLiteral("Extensions"))->foreground = QColor(4, 5, 6);
    editor.item(QStringLiteral("Text"))->background = QColor(7, 8, 9);
    DisplaySettings::saveDisplaySettings(main.settings(), editor);
    main.tabs()->applySettingsToAll();

    QCOMPARE(cLexer->color(QsciLexerCPP::Comment), QColor(1, 2, 3));
    QCOMPARE(cLexer->font(QsciLexerCPP::Comment).weight(), int(QFont::Bold));
    QCOMPARE(cLexer->font(QsciLexerCPP::Identifier).pointSize(), 14);
    QCOMPARE(cLexer->paper(QsciLexerCPP::Default), QColor(7, 8, 9));
    QCOMPARE(asmLexer->color(QsciLexerQuorvin::LineComment), QColor(1, 2, 3));
    QCOMPARE(asmLexer->color(QsciLexerQuorvin::Extensions), QColor(4, 5, 6));
    QCOMPARE(asmLexer->paper(QsciLexerQuorvin::Default), QColor(7, 8, 9));
    // The same lexers are kept when the language does not change.
    QCOMPARE(main.tabs()->editorAt(0)->lexer(), cLexer);
    QCOMPARE(main.tabs()->editorAt(1)->lexer(), asmLexer);
}

void TestSourceEditor::behaviourSettings()
{
    SrcManager main;
    const QString file = path(QStringLiteral("behaviour.c"));
    writeBytes(file, "int x;\n");
    main.tabs()->openEditor(file);
    SourceEditor *editor = main.tabs()->currentEditor();

    QCOMPARE(editor->marginWidth(1), 50);
    QVERIFY(editor->marginLineNumbers(1));
    QCOMPARE(editor->braceMatching(), QsciScintilla::StrictBraceMatch);
    QCOMPARE(editor->indentationWidth(), 4);
    QCOMPARE(editor->tabWidth(), 4);
    QVERIFY(editor->tabIndents());
    QVERIFY(editor->indentationsUseTabs());
    QVERIFY(editor->autoIndent());
    QVERIFY(!editor->backspaceUnindents());
    QVERIFY(!editor->indentationGuides());
    QCOMPARE(editor->whitespaceVisibility(), QsciScintilla::WsInvisible);
    QCOMPARE(editor->wrapMode(), QsciScintilla::WrapNone);
    QCOMPARE(editor->folding(), QsciScintilla::BoxedFoldStyle);
    QVERIFY(!editor->eolVisibility());

    QSettings *store = main.settings();
    store->beginGroup(QStringLiteral("Text Editor Display Settings"));
    store->setValue(QStringLiteral("Display line numbers"), false);
    store->setValue(QStringLiteral("Brace matching"), 2);
    store->setValue(QStringLiteral("Indent width"), 2);
    store->setValue(QStringLiteral("Tab width"), 8);
    store->setValue(QStringLiteral("Tabs for indents"), false);
    store->setValue(QStringLiteral("Auto indent"), false);
    store->setValue(QStringLiteral("Backspace unindents"), true);
    store->setValue(QStringLiteral("Display indentation guides"), true);
    store->setValue(QStringLiteral("Whitespaces visibility"), 2);
    store->setValue(QStringLiteral("Wrap mode"), 1);
    store->setValue(QStringLiteral("Folding style"), 4);
    store->endGroup();
    main.tabs()->applySettingsToAll();
    QCOMPARE(editor->marginWidth(1), 0);
    QVERIFY(!editor->marginLineNumbers(1));
    QCOMPARE(editor->braceMatching(), QsciScintilla::SloppyBraceMatch);
    QCOMPARE(editor->indentationWidth(), 2);
    QCOMPARE(editor->tabWidth(), 8);
    QVERIFY(!editor->indentationsUseTabs());
    QVERIFY(!editor->autoIndent());
    QVERIFY(editor->backspaceUnindents());
    QVERIFY(editor->indentationGuides());
    QCOMPARE(editor->whitespaceVisibility(), QsciScintilla::WsVisibleAfterIndent);
    QCOMPARE(editor->wrapMode(), QsciScintilla::WrapWord);
    QCOMPARE(editor->folding(), QsciScintilla::CircledTreeFoldStyle);

    // Values out of range fall back as the dialog cannot produce them.
    store->beginGroup(QStringLiteral("Text Editor Display Settings"));
    store->setValue(QStringLiteral("Brace matching"), 7);
    store->setValue(QStringLiteral("Whitespaces visibility"), 9);
    store->setValue(QStringLiteral("Wrap mode"), -1);
    store->setValue(QStringLiteral("Folding style"), 6);
    store->endGroup();
    editor->applySettings();
    QCOMPARE(editor->braceMatching(), QsciScintilla::StrictBraceMatch);
    QCOMPARE(editor->whitespaceVisibility(), QsciScintilla::WsInvisible);
    QCOMPARE(editor->wrapMode(), QsciScintilla::WrapNone);
    QCOMPARE(editor->folding(), QsciScintilla::BoxedFoldStyle);
}

void TestSourceEditor::actionsFollowTheCurrentEditor()
{
    SrcManager main;
    const QString first = path(QStringLiteral("first.c"));
    const QString second = path(QStringLiteral("second.c"));
    writeBytes(first, "int a;\n");
    writeBytes(second, "int b;\n");
    main.tabs()->openEditor(first);
    SourceEditor *firstEditor = main.tabs()->currentEditor();
    QVERIFY(!main.action(SrcManager::SaveFile)->isEnabled());
    QVERIFY(main.action(SrcManager::CloseFile)->isEnabled());
    QVERIFY(main.action(SrcManager::Find)->isEnabled());
    QVERIFY(!main.action(SrcManager::Undo)->isEnabled());

    firstEditor->append(QStringLiteral("int c;\n"));
    QVERIFY(main.action(SrcManager::SaveFile)->isEnabled());
    QVERIFY(main.action(SrcManager::Undo)->isEnabled());
    firstEditor->selectAll();
    QVERIFY(main.action(SrcManager::Copy)->isEnabled());
    QVERIFY(main.action(SrcManager::Cut)->isEnabled());

    main.tabs()->openEditor(second);
    QVERIFY(!main.action(SrcManager::SaveFile)->isEnabled());
    QVERIFY(!main.action(SrcManager::Copy)->isEnabled());
    // Saving the editor in the background leaves the shown one in charge of the actions.
    main.tabs()->currentEditor()->append(QStringLiteral("x"));
    firstEditor->save();
    QVERIFY(main.action(SrcManager::SaveFile)->isEnabled());

    DialogAnswerer::pressButton(QMessageBox::Discard);
    main.tabs()->close();
    QCOMPARE(main.tabs()->currentEditor(), firstEditor);
    main.tabs()->close();
    QCOMPARE(main.tabs()->count(), 0);
    QVERIFY(!main.action(SrcManager::SaveFile)->isEnabled());
    QVERIFY(!main.action(SrcManager::CloseFile)->isEnabled());
}

ZMX_TEST(TestSourceEditor)
#include "tst_sourceeditor.moc"
