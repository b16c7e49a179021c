#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "testregistry.h"

#include <QFile>
#include <QSaveFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

class TestSrcTabsHolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void oneTabPerFile();
    void lookUps();
    void closingTabsAsksAboutChanges();
    void forcedCloseDoesNotAsk();
    void commandsWithoutTabsDoNothing();
    void titlesFollowTheModifiedState();
    void savingAll();
    void mainWindowFileOperations();
    void outputLinkPlacesTheCursor();
    void followsChangesOnDisk_data();
    void followsChangesOnDisk();

private:
    QString makeFile(const QString &name, const QByteArray &content = "int x;\n");

    QTemporaryDir scratch;
    QDir dir;
};

void TestSrcTabsHolder::init()
{
    QVERIFY(scratch.isValid());
    dir = QDir(scratch.filePath(QLatin1String(QTest::currentTestFunction())));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
}

QString TestSrcTabsHolder::makeFile(const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

void TestSrcTabsHolder::oneTabPerFile()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    QVERIFY(tabs->isMovable());
    QVERIFY(tabs->tabsClosable());
    const QString first = makeFile(QStringLiteral("first.c"));
    const QString second = makeFile(QStringLiteral("second.asm"));
    QVERIFY(QFile::link(first, dir.filePath(QStringLiteral("alias.c"))));

    tabs->openEditor(first);
    tabs->openEditor(second);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("first.c"));

    tabs->openEditor(dir.path() + QStringLiteral("/./first.c"));
    tabs->openEditor(dir.filePath(QStringLiteral("alias.c")));
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);

    tabs->openEditor(QString());
    QCOMPARE(tabs->count(), 2);

    // An unreadable file still gets its (untitled) tab.
    tabs->openEditor(dir.filePath(QStringLiteral("missing.c")));
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(2), QStringLiteral("Untitled*"));
}

void TestSrcTabsHolder::lookUps()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    QVERIFY(!tabs->currentEditor());
    QVERIFY(tabs->openFileNames().isEmpty());
    const QString first = makeFile(QStringLiteral("a.c"));
    const QString second = makeFile(QStringLiteral("b.c"));
    tabs->openEditor(first);
    tabs->openEditor(second);

    QCOMPARE(tabs->openFileNames(), QStringList({first, second}));
    QCOMPARE(tabs->findEditor(dir.path() + QStringLiteral("/../") + dir.dirName() + QStringLiteral("/a.c")),
             tabs->editorAt(0));
    QVERIFY(!tabs->findEditor(QString()));
    QVERIFY(!tabs->findEditor(dir.filePath(QStringLiteral("c.c"))));
    QVERIFY(!tabs->editorAt(5));
    QCOMPARE(tabs->currentEditor()->fileName(), second);

    tabs->activateEditor(first);
    QCOMPARE(tabs->currentEditor()->fileName(), first);
    tabs->activateEditor(dir.filePath(QStringLiteral("c.c")));
    tabs->activateEditor(QString());
    QCOMPARE(tabs->currentEditor()->fileName(), first);

    // Tab order is what the user made of it.
    tabs->tabBar()->moveTab(0, 1);
    QCOMPARE(tabs->openFileNames(), QStringList({second, first}));
}

void TestSrcTabsHolder::closingTabsAsksAboutChanges()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    const QString file = makeFile(QStringLiteral("edit.c"));
    tabs->openEditor(file);
    tabs->currentEditor()->append(QStringLiteral("int y;\n"));

    DialogAnswerer::pressButton(QMessageBox::Cancel);
    emit tabs->tabCloseRequested(0);
    QCOMPARE(tabs->count(), 1);
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!tabs->closeEditor(file, false));
    QCOMPARE(tabs->count(), 1);
    QVERIFY(!tabs->closeEditor(dir.filePath(QStringLiteral("other.c")), false));
    QVERIFY(tabs->closeEditor(QString(), false));

    QPointer<SourceEditor> editor = tabs->currentEditor();
    DialogAnswerer::pressButton(QMessageBox::Discard);
    emit tabs->tabCloseRequested(0);
    QCOMPARE(tabs->count(), 0);
    QVERIFY(editor.isNull());
    QFile onDisk(file);
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QCOMPARE(onDisk.readAll(), QByteArray("int x;\n"));

    tabs->openEditor(file);
    tabs->currentEditor()->append(QStringLiteral("int z;\n"));
    DialogAnswerer::pressButton(QMessageBox::Save);
    QVERIFY(tabs->closeEditor(file, false));
    QCOMPARE(tabs->count(), 0);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("int x;\nint z;\n"));
}

void TestSrcTabsHolder::forcedCloseDoesNotAsk()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    const QString file = makeFile(QStringLiteral("leaving.c"));
    tabs->openEditor(file);
    tabs->currentEditor()->append(QStringLiteral("lost"));
    DialogAnswerer::seenTexts().clear();
    QVERIFY(tabs->closeEditor(file, true));
    QCOMPARE(tabs->count(), 0);
    QVERIFY(DialogAnswerer::seenTexts().isEmpty());
}

void TestSrcTabsHolder::commandsWithoutTabsDoNothing()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    tabs->cut();
    tabs->copy();
    tabs->paste();
    tabs->undo();
    tabs->redo();
    tabs->save();
    tabs->close();
    tabs->saveAll();
    QVERIFY(tabs->maybeSaveAll());
    QCOMPARE(tabs->count(), 0);
}

void TestSrcTabsHolder::titlesFollowTheModifiedState()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    tabs->openEditor(makeFile(QStringLiteral("title.c")));
    tabs->openEditor(makeFile(QStringLiteral("other.c")));
    SourceEditor *editor = tabs->editorAt(0);

    editor->append(QStringLiteral("int y;\n"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("title.c*"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("other.c"));
    QVERIFY(editor->isWindowModified());
    QVERIFY(editor->save());
    QCOMPARE(tabs->tabText(0), QStringLiteral("title.c"));
    QVERIFY(!editor->isWindowModified());
}

void TestSrcTabsHolder::savingAll()
{
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    const QString first = makeFile(QStringLiteral("one.c"));
    const QString second = makeFile(QStringLiteral("two.c"));
    tabs->openEditor(first);
    tabs->openEditor(second);
    tabs->editorAt(0)->append(QStringLiteral("1"));
    tabs->editorAt(1)->append(QStringLiteral("2"));

    // The first Cancel stops the question round.
    DialogAnswerer::seenTexts().clear();
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!tabs->maybeSaveAll());
    QCOMPARE(DialogAnswerer::seenTexts().size(), 1);

    // What a crash saves: every modified editor.
    tabs->saveAll();
    QVERIFY(!tabs->editorAt(0)->isModified() && !tabs->editorAt(1)->isModified());
    QFile one(first);
    QFile two(second);
    QVERIFY(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly));
    QCOMPARE(one.readAll(), QByteArray("int x;\n1"));
    QCOMPARE(two.readAll(), QByteArray("int x;\n2"));
    QVERIFY(tabs->maybeSaveAll());
}

void TestSrcTabsHolder::mainWindowFileOperations()
{
    SrcManager main;
    const QString file = makeFile(QStringLiteral("main.c"));
    QVERIFY(main.saveEditor(file, false));
    QVERIFY(main.saveEditor(file, true));

    main.openFile(file);
    QCOMPARE(main.openFileNames(), QStringList(file));
    main.tabs()->currentEditor()->append(QStringLiteral("int y;\n"));
    QVERIFY(main.saveEditor(file, false));
    QVERIFY(!main.tabs()->currentEditor()->isModified());

    main.tabs()->currentEditor()->append(QStringLiteral("int z;\n"));
    DialogAnswerer::pressButton(QMessageBox::Cancel);
    QVERIFY(!main.saveEditor(file, true));
    QCOMPARE(main.tabs()->count(), 1);
    DialogAnswerer::pressButton(QMessageBox::Discard);
    QVERIFY(main.saveEditor(file, true));
    QCOMPARE(main.tabs()->count(), 0);

    // Files are reopened with a project only when they were open at the last exit.
    main.reopenFile(file);
    QCOMPARE(main.tabs()->count(), 0);
}

void TestSrcTabsHolder::outputLinkPlacesTheCursor()
{
    SrcManager main;
    QByteArray lines;
    for (int line = 0; line < 40; ++line)
        lines += "    nop ; line " + QByteArray::number(line) + "\n";
    const QString file = makeFile(QStringLiteral("R&D target.asm"), lines);

    main.tabs()->openEditor(makeFile(QStringLiteral("unrelated.c")));
    QString text = QStringLiteral("target.asm:13:6: Error[113] Symbol not previously defined <x>");
    main.addErrorLink(file, 12, 5, text);
    emit static_cast<QTextBrowser *>(main.output()->textEdit())
        ->anchorClicked(QUrl(file + QStringLiteral("#12.5")));

    SourceEditor *editor = main.tabs()->currentEditor();
    QVERIFY(editor);
    QCOMPARE(editor->fileName(), file);
    int line = -1;
    int column = -1;
    editor->getCursorPosition(&line, &column);
    QCOMPARE(line, 12);
    QCOMPARE(column, 5);
    QCOMPARE(main.focusWidget(), editor);

    // A second click on the open file moves within the same tab.
    emit static_cast<QTextBrowser *>(main.output()->textEdit())->anchorClicked(QUrl(file + QStringLiteral("#3")));
    QCOMPARE(main.tabs()->count(), 2);
    editor->getCursorPosition(&line, &column);
    QCOMPARE(line, 3);
    QCOMPARE(column, 0);
}

ZMX_TEST(TestSrcTabsHolder)
#include "tst_srctabsholder.moc"

void TestSrcTabsHolder::followsChangesOnDisk_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<int>("questions");
    const int none = QMessageBox::NoButton;
    QTest::newRow("unedited, written elsewhere") << false << "write" << none << "int disk;\n" << "watched.c" << 0;
    QTest::newRow("unedited, replaced by a checkout") << false << "replace" << none << "int disk;\n" << "watched.c" << 0;
    QTest::newRow("edited, reload accepted") << true << "write" << int(QMessageBox::Yes) << "int disk;\n" << "watched.c" << 1;
    QTest::newRow("edited, reload refused") << true << "write" << int(QMessageBox::No) << "int x;\nint mine;\n"
                                            << "watched.c*" << 1;
    QTest::newRow("deleted") << false << "delete" << none << "int x;\n" << "watched.c (deleted)" << 0;
    QTest::newRow("edited and deleted") << true << "delete" << none << "int x;\nint mine;\n"
                                        << "watched.c* (deleted)" << 0;
    QTest::newRow("deleted, then back") << false << "recreate" << none << "int disk;\n" << "watched.c" << 0;
    QTest::newRow("saved here") << true << "save" << none << "int x;\nint mine;\n" << "watched.c" << 0;
}

void TestSrcTabsHolder::followsChangesOnDisk()
{
    QFETCH(bool, edited);
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(QString, text);
    QFETCH(QString, tab);
    QFETCH(int, questions);
    SrcManager main;
    SrcTabsHolder *tabs = main.tabs();
    const QString file = makeFile(QStringLiteral("watched.c"));
    tabs->openEditor(file);
    SourceEditor *editor = tabs->currentEditor();
    if (edited)
        editor->append(QStringLiteral("int mine;\n"));
    DialogAnswerer::seenTexts().clear();
    if (answer != QMessageBox::NoButton)
        DialogAnswerer::pressButton(QMessageBox::StandardButton(answer));

    if (change == QLatin1String("write")) {
        makeFile(QStringLiteral("watched.c"), "int disk;\n");
    } else if (change == QLatin1String("replace")) {
        QSaveFile replacement(file);
        QVERIFY(replacement.open(QIODevice::WriteOnly));
        replacement.write("int disk;\n");
        QVERIFY(replacement.commit());
    } else if (change == QLatin1String("save")) {
        QVERIFY(editor->save());
    } else {
        QVERIFY(QFile::remove(file));
        if (change == QLatin1String("recreate")) {
            QTRY_VERIFY(tabs->tabText(0).endsWith(QStringLiteral("(deleted)")));
            makeFile(QStringLiteral("watched.c"), "int disk;\n");
        }
    }
    QTRY_COMPARE(tabs->tabText(0), tab);
    QTRY_COMPARE(editor->text(), text);
    QTRY_COMPARE(DialogAnswerer::seenTexts().size(), questions);
    // Settled: nothing more happens, and a refused reload is not asked again.
    QTest::qWait(500);
    QCOMPARE(DialogAnswerer::seenTexts().size(), questions);
    QCOMPARE(editor->text(), text);
    if (questions > 0)
        QVERIFY(DialogAnswerer::seenTexts().first().contains(QStringLiteral("watched.c")));
    // A deleted file is never written back behind the user's back.
    if (change == QLatin1String("delete"))
        QVERIFY(!QFile::exists(file));
}
