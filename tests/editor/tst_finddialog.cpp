#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "editor/finddialog.h"
#include "editor/gotolinedialog.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "projects/projectsmanager.h"
#include "testregistry.h"

#include <QFile>
#include <QProgressDialog>
#include <QSettings>
#include <fcntl.h>
#include <sys/stat.h>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <unistd.h>

// The real dialog on a real main window with real editors and files.
class TestFindDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void oneMatchIsFoundEveryOtherStep();
    void optionsAndDirections_data();
    void optionsAndDirections();
    void upwardsKeepsThePassMatchCaseRestarts();
    void replaceStepByStepEnds_data();
    void replaceStepByStepEnds();
    void replaceAllEndsWithItsCount_data();
    void replaceAllEndsWithItsCount();
    void invalidExpressionSearchesNothing();
    void projectFilesOnDiskOpenAtTheirMatch();
    void replaceAllInProjectFiles();
    void longProjectPassShowsProgressAndCancels();
    void historyAndModes();
    void windowCommands();

private:
    QString makeFile(const QString &name, const QByteArray &content);
    SourceEditor *open(const QString &name, const QByteArray &content);
    QString openProject(const QStringList &files);
    void search(const QString &text, bool regex = false, bool caseSensitive = false, bool wholeWords = false,
                bool upwards = false);
    // The selection as "line:index+length", or the box text when a box came instead.
    QString step(QAbstractButton *button);
    QString replaceAll();

    QTemporaryDir scratch;
    QDir dir;
    std::unique_ptr<SrcManager> main;
    std::unique_ptr<FindDialog> dialog;
};

void TestFindDialog::init()
{
    QVERIFY(scratch.isValid());
    dir = QDir(scratch.filePath(QLatin1String(QTest::currentTestFunction()) + QLatin1String(QTest::currentDataTag())));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    QSettings store(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio"));
    store.setValue(QStringLiteral("1/Compilers"), QStringLiteral(ZMX_FIXTURES "/projects/compilers"));
    store.sync();
    main = std::make_unique<SrcManager>();
    dialog = std::make_unique<FindDialog>(main.get(), main->tabs(), main->projects(), main.get());
}

void TestFindDialog::cleanup()
{
    dialog.reset();
    for (int index = main->tabs()->count() - 1; index >= 0; --index)
        main->tabs()->closeEditor(main->tabs()->editorAt(index)->fileName(), true);
    main.reset();
}

QString TestFindDialog::makeFile(const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

SourceEditor *TestFindDialog::open(const QString &name, const QByteArray &content)
{
    const QString path = makeFile(name, content);
    main->tabs()->openEditor(path);
    return main->tabs()->findEditor(path);
}

QString TestFindDialog::openProject(const QStringList &files)
{
    QByteArray xml = "<?xml version='1.0' encoding='UTF-8'?>\n<PROJECT>\n <FILES>\n";
    for (const QString &file : files)
        xml += "  <FILE NAME=\"" + file.toUtf8() + "\" GROUP=\"C Files\"/>\n";
    xml += " </FILES>\n <CONFIGURATION NAME=\"Debug\" COMPILER=\"Test Chain\" TARGET=\"Debug\">\n"
           "  <CONTROLLER FAMILY=\"AVR\" TYPE=\"ATmega16\" CLOCK=\"8000000\"/>\n </CONFIGURATION>\n</PROJECT>\n";
    const QString path = makeFile(QStringLiteral("search.zmxp"), xml);
    if (!main->projects()->openProjectFile(path, true) || !main->projects()->currentProject())
        qWarning("project not opened: %s", qPrintable(main->output()->textEdit()->toPlainText()));
    return path;
}

void TestFindDialog::search(const QString &text, bool regex, bool caseSensitive, bool wholeWords, bool upwards)
{
    const Ui::FindDialog &form = dialog->form();
    form.findTextComboBox->setEditText(text);
    form.regexCheckBox->setChecked(regex);
    form.matchCaseCheckBox->setChecked(caseSensitive);
    form.wholeWordsCheckBox->setChecked(wholeWords);
    form.backwardsCheckBox->setChecked(upwards);
    dialog->restartFind();
}

QString TestFindDialog::step(QAbstractButton *button)
{
    const QStringList boxes = DialogAnswerer::answerWhile([button] { button->click(); }, QMessageBox::Ok);
    if (!boxes.isEmpty())
        return boxes.join(QLatin1Char('|')).trimmed();
    SourceEditor *editor = main->tabs()->currentEditor();
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    editor->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    if (!editor->hasSelectedText())
        editor->getCursorPosition(&lineFrom, &indexFrom);
    return QStringLiteral("%1:%2+%3").arg(lineFrom).arg(indexFrom).arg(editor->selectedText().size());
}

QString TestFindDialog::replaceAll()
{
    QPushButton *button = dialog->form().replaceAllButton;
    return DialogAnswerer::answerWhile([button] { button->click(); }, QMessageBox::Ok).join(QLatin1Char('|')).trimmed();
}

void TestFindDialog::oneMatchIsFoundEveryOtherStep()
{
    SourceEditor *editor = open(QStringLiteral("one.c"), "x = 1;\nint abc;\n");
    editor->setCursorPosition(0, 0);
    search(QStringLiteral("abc"));
    QPushButton *next = dialog->form().findNextButton;
    QCOMPARE(step(next), QStringLiteral("1:4+3"));
    QCOMPARE(step(next), QStringLiteral("Reached start of search"));
    QCOMPARE(step(next), QStringLiteral("1:4+3"));
    QVERIFY(next->isEnabled());
    QVERIFY(dialog->form().cancelButton->isEnabled());
}

void TestFindDialog::optionsAndDirections_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("upwards");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("steps");

    const QString reached = QStringLiteral("Reached start of search");
    QTest::newRow("any case, wraps to the top") << "port" << false << false << false << false << 1
                                                << QStringList{"1:0+4", "1:5+4", "2:0+4", "0:0+4", reached};
    QTest::newRow("case") << "PORT" << false << true << false << false << 0 << QStringList{"1:0+4", reached};
    QTest::newRow("whole words") << "port" << false << false << true << false << 0
                                 << QStringList{"0:0+4", "1:0+4", "1:5+4", reached};
    QTest::newRow("upwards across the wrap") << "port" << false << false << true << true << 1
                                             << QStringList{"0:0+4", "1:5+4", "1:0+4", reached};
    QTest::newRow("regex with case and whole words") << "[a-z]+_b" << true << true << true << false << 0
                                                     << QStringList{"2:0+6", reached};
    QTest::newRow("regex upwards") << "p.r" << true << false << false << true << 2
                                   << QStringList{"1:5+3", "1:0+3", "0:0+3", "2:0+3", reached};
    QTest::newRow("empty matches move on") << "^" << true << false << false << false << 1
                                           << QStringList{"1:0+0", "2:0+0", "0:0+0", reached};
}

void TestFindDialog::optionsAndDirections()
{
    QFETCH(QString, text);
    QFETCH(bool, regex);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, wholeWords);
    QFETCH(bool, upwards);
    QFETCH(int, line);
    QFETCH(QStringList, steps);

    SourceEditor *editor = open(QStringLiteral("ports.c"), "port = 1;\nPORT(port);\nport_b = 2;\n");
    editor->setCursorPosition(line, 0);
    search(text, regex, caseSensitive, wholeWords, upwards);
    QStringList seen;
    for (qsizetype index = 0; index < steps.size(); ++index)
        seen.append(step(dialog->form().findNextButton));
    QCOMPARE(seen, steps);
    QCOMPARE(editor->text(), QStringLiteral("port = 1;\nPORT(port);\nport_b = 2;\n"));
}

void TestFindDialog::upwardsKeepsThePassMatchCaseRestarts()
{
    SourceEditor *editor = open(QStringLiteral("pass.c"), "a\nA\na\nA\n");
    editor->setCursorPosition(0, 0);
    search(QStringLiteral("a"));
    QPushButton *next = dialog->form().findNextButton;
    QCOMPARE(step(next), QStringLiteral("0:0+1"));
    QCOMPARE(step(next), QStringLiteral("1:0+1"));
    QCOMPARE(step(next), QStringLiteral("2:0+1"));
    dialog->form().backwardsCheckBox->click();
    QCOMPARE(step(next), QStringLiteral("1:0+1"));
    // Still the same pass: back at its first match it ends.
    QCOMPARE(step(next), QStringLiteral("Reached start of search"));

    // Match case starts a new pass from the cursor.
    dialog->form().backwardsCheckBox->click();
    editor->setCursorPosition(2, 1);
    dialog->form().matchCaseCheckBox->click();
    QCOMPARE(step(next), QStringLiteral("0:0+1"));
    QCOMPARE(step(next), QStringLiteral("2:0+1"));
    QCOMPARE(step(next), QStringLiteral("Reached start of search"));
}

void TestFindDialog::replaceStepByStepEnds_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("with");
    QTest::addColumn<int>("replacements");
    QTest::addColumn<QString>("result");

    QTest::newRow("a into aa") << QByteArray("banana") << "a" << false << "aa" << 3 << "baanaanaa";
    QTest::newRow("line starts") << QByteArray("a\nb") << "^" << true << "// " << 2 << "// a\n// b";
    QTest::newRow("x* everywhere") << QByteArray("ab") << "x*" << true << "-" << 3 << "-a-b-";
    QTest::newRow("empty replacement of empty matches") << QByteArray("ab") << "\\b" << true << "" << 2 << "ab";
    QTest::newRow("groups") << QByteArray("r1=r2") << "(r\\d)=(r\\d)" << true << "\\2=\\1" << 1 << "r2=r1";
}

void TestFindDialog::replaceStepByStepEnds()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(QString, with);
    QFETCH(int, replacements);
    QFETCH(QString, result);

    SourceEditor *editor = open(QStringLiteral("step.c"), text);
    editor->setCursorPosition(0, 0);
    dialog->showFor(true);
    QVERIFY(dialog->form().replaceButton->isEnabled());
    search(find, regex, true);
    dialog->form().replaceWithTextComboBox->setEditText(with);
    int done = 0;
    for (; done <= replacements; ++done) {
        if (step(dialog->form().replaceButton) == QLatin1String("Reached start of search"))
            break;
    }
    QCOMPARE(done, replacements);
    QCOMPARE(editor->text(), result);
}

void TestFindDialog::replaceAllEndsWithItsCount_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("a into aa") << QByteArray("banana\n") << "a" << false << false << "aa" << "baanaanaa\n" << 3;
    QTest::newRow("^") << QByteArray("a\nb\n") << "^" << true << false << "; " << "; a\n; b\n" << 2;
    QTest::newRow("x*") << QByteArray("axb") << "x*" << true << false << "-" << "-a--b-" << 4;
    QTest::newRow("\\b") << QByteArray("ab cd") << "\\b" << true << false << "|" << "|ab| |cd|" << 4;
    QTest::newRow("whole words beside multi-byte text") << QByteArray("\xc3\xa4 led led2 led\n") << "led" << false
                                                        << true << "lamp" << QString::fromUtf8("ä lamp led2 lamp\n") << 2;
}

void TestFindDialog::replaceAllEndsWithItsCount()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(bool, wholeWords);
    QFETCH(QString, with);
    QFETCH(QString, result);
    QFETCH(int, count);

    SourceEditor *editor = open(QStringLiteral("all.c"), text);
    dialog->setReplaceMode(true);
    search(find, regex, true, wholeWords);
    dialog->form().replaceWithTextComboBox->setEditText(with);
    QCOMPARE(replaceAll(), QStringLiteral("Replaced %1 occurences").arg(count));
    QCOMPARE(editor->text(), result);
    // One undo step brings the whole document back.
    editor->undo();
    QCOMPARE(editor->text(), QString::fromUtf8(text));
}

void TestFindDialog::invalidExpressionSearchesNothing()
{
    SourceEditor *editor = open(QStringLiteral("bad.c"), "a(b a(b\n");
    dialog->setReplaceMode(true);
    search(QStringLiteral("a(b"), true);
    dialog->form().replaceWithTextComboBox->setEditText(QStringLiteral("x"));
    const QString message = QStringLiteral("Invalid regular expression \"a(b\": missing closing parenthesis at position 4.");
    QCOMPARE(step(dialog->form().findNextButton), message);
    QVERIFY(!editor->hasSelectedText());
    QCOMPARE(step(dialog->form().replaceButton), message);
    QCOMPARE(replaceAll(), message);
    QCOMPARE(editor->text(), QStringLiteral("a(b a(b\n"));
    QVERIFY(!editor->isModified());

    // The same text as plain text is found.
    dialog->form().regexCheckBox->click();
    editor->setCursorPosition(0, 1);
    QCOMPARE(step(dialog->form().findNextButton), QStringLiteral("0:4+3"));
}

void TestFindDialog::projectFilesOnDiskOpenAtTheirMatch()
{
    makeFile(QStringLiteral("a.c"), "int a;\n");
    makeFile(QStringLiteral("b.c"), "int b;\n");
    makeFile(QStringLiteral("c.c"), "int c;\n\n  timer_start();\n");
    makeFile(QStringLiteral("d.c"), "timer_start(); timer_start();\n");
    openProject({QStringLiteral("a.c"), QStringLiteral("b.c"), QStringLiteral("c.c"), QStringLiteral("d.c")});
    main->tabs()->openEditor(dir.filePath(QStringLiteral("a.c")));
    QCOMPARE(main->tabs()->count(), 1);

    dialog->form().lookInComboBox->setCurrentIndex(FindDialog::CurrentProject);
    search(QStringLiteral("timer_start"), false, true, true);
    QPushButton *next = dialog->form().findNextButton;
    QCOMPARE(step(next), QStringLiteral("2:2+11"));
    QCOMPARE(QFileInfo(main->tabs()->currentEditor()->fileName()).fileName(), QStringLiteral("c.c"));
    // b.c holds no match and was never opened.
    QCOMPARE(main->tabs()->openFileNames().size(), 2);
    QCOMPARE(step(next), QStringLiteral("0:0+11"));
    QCOMPARE(QFileInfo(main->tabs()->currentEditor()->fileName()).fileName(), QStringLiteral("d.c"));
    QCOMPARE(step(next), QStringLiteral("0:15+11"));
    QCOMPARE(step(next), QStringLiteral("Reached start of search"));
    QCOMPARE(main->tabs()->count(), 3);

    // Upwards, a file from disk is entered at its last match.
    main->tabs()->closeEditor(dir.filePath(QStringLiteral("d.c")), true);
    main->tabs()->activateEditor(dir.filePath(QStringLiteral("a.c")));
    main->tabs()->closeEditor(dir.filePath(QStringLiteral("c.c")), true);
    dialog->form().backwardsCheckBox->setChecked(true);
    dialog->restartFind();
    QCOMPARE(step(next), QStringLiteral("2:2+11"));
    QCOMPARE(QFileInfo(main->tabs()->currentEditor()->fileName()).fileName(), QStringLiteral("c.c"));
}

// Files one may read but not write, also for a test run by root.
class ReadOnlyFiles
{
public:
    ReadOnlyFiles(const QDir &dir, const QString &readOnly) : dir(dir)
    {
        // The other user must reach the folder through its parent, the test's scratch folder.
        QFile::setPermissions(QFileInfo(dir.path()).path(), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(dir.filePath(readOnly), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        // Real and effective user both, since permission checks ask with the real one; the
        // saved one stays root to come back.
        if (geteuid() == 0 && setresuid(65534, 65534, 0) == 0)
            dropped = true;
    }
    ~ReadOnlyFiles()
    {
        if (dropped && setresuid(0, 0, 0) != 0)
            qFatal("cannot take back the root user");
    }

private:
    QDir dir;
    bool dropped = false;
};

void TestFindDialog::replaceAllInProjectFiles()
{
    const QStringList names{QStringLiteral("open.c"), QStringLiteral("disk.c"), QStringLiteral("locked.c"),
                            QStringLiteral("nomatch.c"), QStringLiteral("latin1.c")};
    makeFile(names.at(0), "LED_ON; LED_OFF;\n");
    makeFile(names.at(1), "/* LED_ON */\r\nLED_ON;\r\n");
    makeFile(names.at(2), "LED_ON;\n");
    makeFile(names.at(3), "nothing;\n");
    makeFile(names.at(4), "/* gr\xfc\xdf" "e */ LED_ON;\n");
    for (const QString &name : names)
        QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions(0x6666));
    openProject(names);
    main->tabs()->openEditor(dir.filePath(names.at(0)));
    SourceEditor *open = main->tabs()->currentEditor();

    dialog->setReplaceMode(true);
    dialog->form().lookInComboBox->setCurrentIndex(FindDialog::CurrentProject);
    search(QStringLiteral("LED_(ON|OFF)"), true, true, true);
    dialog->form().replaceWithTextComboBox->setEditText(QStringLiteral("led_\\1()"));
    QString report;
    {
        ReadOnlyFiles guard(dir, names.at(2));
        report = replaceAll();
    }
    QCOMPARE(report, QStringLiteral("Replaced 5 occurences"));
    QCOMPARE(open->text(), QStringLiteral("led_ON(); led_OFF();\n"));
    QVERIFY(open->isModified());
    QCOMPARE(main->tabs()->count(), 1);

    const auto bytes = [this](const QString &name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(bytes(names.at(1)), QByteArray("/* led_ON() */\r\nled_ON();\r\n"));
    QCOMPARE(bytes(names.at(2)), QByteArray("LED_ON;\n"));
    QCOMPARE(bytes(names.at(3)), QByteArray("nothing;\n"));
    // Not valid UTF-8: written back in Latin-1, every other byte as it was.
    QCOMPARE(bytes(names.at(4)), QByteArray("/* gr\xfc\xdf" "e */ led_ON();\n"));
    const QString output = main->output()->textEdit()->toPlainText();
    QVERIFY2(output.contains(QStringLiteral("Cannot write file ") + dir.filePath(names.at(2))), qPrintable(output));
    QVERIFY(!output.contains(names.at(1)));
    QVERIFY(!output.contains(names.at(4)));

    open->undo();
    QCOMPARE(open->text(), QStringLiteral("LED_ON; LED_OFF;\n"));
}

// A file that holds the search up (a pipe nobody writes yet) keeps the worker busy while the
// window goes on: the progress dialog comes, and its Cancel ends the pass after that file.
void TestFindDialog::longProjectPassShowsProgressAndCancels()
{
    const QString pipe = dir.filePath(QStringLiteral("held.c"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    makeFile(QStringLiteral("later.c"), "LED_ON;\n");
    makeFile(QStringLiteral("last.c"), "LED_ON;\n");
    openProject({QStringLiteral("held.c"), QStringLiteral("later.c"), QStringLiteral("last.c")});

    dialog->setReplaceMode(true);
    dialog->form().lookInComboBox->setCurrentIndex(FindDialog::CurrentProject);
    search(QStringLiteral("LED_ON"), false, true);
    dialog->form().replaceWithTextComboBox->setEditText(QStringLiteral("led_on()"));
    // Lets the held file end (it has no match); does nothing once no one reads the pipe.
    const auto release = [pipe] {
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            const char text[] = "nothing here\n";
            if (::write(writer, text, sizeof text - 1) < 0)
                qWarning("cannot write the pipe");
            ::close(writer);
        }
    };
    QTimer::singleShot(10000, dialog.get(), release);
    QString progressLabel;
    DialogAnswerer::handleNext([&](QWidget *modal) {
        auto *progress = qobject_cast<QProgressDialog *>(modal);
        if (!progress)
            return;
        progressLabel = progress->labelText();
        if (QPushButton *cancel = progress->findChild<QPushButton *>())
            cancel->click();
        release();
    });
    QCOMPARE(replaceAll(), QStringLiteral("Replaced 0 occurences"));
    QCOMPARE(progressLabel, QStringLiteral("Replacing in the files of the project..."));
    QFile later(dir.filePath(QStringLiteral("later.c")));
    QVERIFY(later.open(QIODevice::ReadOnly));
    QCOMPARE(later.readAll(), QByteArray("LED_ON;\n"));
    const QString output = main->output()->textEdit()->toPlainText();
    QVERIFY2(output.contains(QStringLiteral("Replace All was cancelled after 1 of 3 files.")), qPrintable(output));
    QVERIFY(dialog->form().replaceAllButton->isEnabled());
}

void TestFindDialog::historyAndModes()
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->setReplaceMode(false);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QVERIFY(!dialog->form().replaceWithTextComboBox->isEnabled());
    QVERIFY(!dialog->form().replaceAllButton->isEnabled());
    dialog->setReplaceMode(true);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find / Replace"));
    QVERIFY(dialog->form().replaceButton->isEnabled());
    QCOMPARE(dialog->helpTopic(), 6);
    QCOMPARE(dialog->findNextAction()->shortcut(), QKeySequence(Qt::Key_F3));

    QComboBox *find = dialog->form().findTextComboBox;
    const QStringList texts{QStringLiteral("tick"), QStringLiteral("Tick"), QStringLiteral("tick"), QString()};
    for (const QString &text : texts) {
        find->setFocus();
        find->setEditText(text);
        dialog->form().lookInComboBox->setFocus();
    }
    QStringList items;
    for (int index = 0; index < find->count(); ++index)
        items.append(find->itemText(index));
    QCOMPARE(items, (QStringList{"tick", "Tick"}));
}

// The window's actions and keys reach the dialogs it made once.
void TestFindDialog::windowCommands()
{
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    // Without an editor neither printing nor going to a line asks anything.
    QWidget *window = main.get();
    QCOMPARE(DialogAnswerer::closeModalsWhile([window] {
                 QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
                 QTest::keyClick(window, Qt::Key_G, Qt::ControlModifier);
                 QTest::qWait(30);
             }),
             QStringList());

    SourceEditor *editor = open(QStringLiteral("window.c"), "int abc;\nabc = 1;\n  abc++;\n");
    editor->setFocus();
    editor->setSelection(0, 4, 0, 7);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    FindDialog *find = main->findDialog();
    QVERIFY(find->isVisible());
    QCOMPARE(find->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(find->form().findTextComboBox->currentText(), QStringLiteral("abc"));
    QVERIFY(!find->form().replaceCheckBox->isChecked());

    main->activateWindow();
    editor->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(editor->selectedText(), QStringLiteral("abc"));
    int line = -1;
    int index = -1;
    editor->getCursorPosition(&line, &index);
    QCOMPARE(line, 1);
    QTest::keyClick(editor, Qt::Key_F3);
    editor->getCursorPosition(&line, &index);
    QCOMPARE(line, 2);

    QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(main->findDialog(), find);
    QCOMPARE(find->windowTitle(), QStringLiteral("Find / Replace"));
    QVERIFY(find->form().replaceAllButton->isEnabled());

    main->activateWindow();
    editor->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    QString label;
    DialogAnswerer::handleNext([&label](QWidget *modal) {
        auto *gotoLine = qobject_cast<GotoLineDialog *>(modal);
        if (!gotoLine) {
            modal->close();
            return;
        }
        label = gotoLine->findChild<QLabel *>(QStringLiteral("linesLabel"))->text();
        QTest::keyClicks(gotoLine->lineEdit(), QStringLiteral("3"));
        QTest::keyClick(gotoLine->lineEdit(), Qt::Key_Return);
    });
    QTest::keyClick(editor, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(label, QStringLiteral("Line number (1 - 4)"));
    editor->getCursorPosition(&line, &index);
    QCOMPARE(line, 2);
    QCOMPARE(index, 2);
}

ZMX_TEST(TestFindDialog)
#include "tst_finddialog.moc"
