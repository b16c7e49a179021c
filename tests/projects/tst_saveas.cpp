#include "app/srcmanager.h"
#include "build/buildproject.h"
#include "dialoganswerer.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "managerfixture.h"
#include "projects/copyprojectfilesdialog.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QStandardPaths>

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

QString outputText(SrcManager *window)
{
    return window->output()->textEdit()->toPlainText();
}

// Fills in the save dialog and presses OK; before that, then() may queue the answers to
// what follows.
void answerSaveDialog(const QString &name, const QString &folder, bool keep, std::function<void()> then = {},
                      QString *suggested = nullptr)
{
    DialogAnswerer::handle("CopyProjectFilesDialog", [=](QWidget *dialog) {
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("projectNameEdit"));
        if (suggested)
            *suggested = nameEdit->text();
        nameEdit->setText(name);
        dialog->findChild<QLineEdit *>(QStringLiteral("pathEdit"))->setText(folder);
        dialog->findChild<QCheckBox *>(QStringLiteral("keepStructure"))->setChecked(keep);
        if (then)
            then();
        dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    });
}

// Answers the next message box with button, recording its text.
void answerBox(QMessageBox::StandardButton button, std::function<void()> then = {})
{
    DialogAnswerer::handle("QMessageBox", [=](QWidget *modal) {
        auto *box = static_cast<QMessageBox *>(modal);
        DialogAnswerer::seenTexts().append(box->text() + QLatin1Char('\n') + box->informativeText());
        if (then)
            then();
        box->button(button)->click();
    });
}

QStringList filePaths(const Project *project)
{
    QStringList paths;
    for (const ProjectFile &file : project->files())
        paths.append(file.path);
    return paths;
}

QStringList sortedFiles(const QString &folder)
{
    QStringList found;
    QDir root(folder);
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir()) {
            for (const QString &inner : sortedFiles(entry.absoluteFilePath()))
                found.append(entry.fileName() + QLatin1Char('/') + inner);
        } else {
            found.append(entry.fileName());
        }
    }
    found.sort();
    return found;
}

}

// Saving a project under a new name: the dialog that asks where, the copying with and
// without the folders, and what stays untouched when something fails.
class SaveAsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { DialogAnswerer::seenTexts().clear(); }

    void copiesKeepingOrFlatteningTheFolders_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QStringList>("copies");
        QTest::addColumn<QString>("storedMain");
        QTest::newRow("kept") << true
                              << QStringList{"blinky.dsn", "copy.zmxp", "inc/led.h", "notes.txt", "src/led.c",
                                             "src/main.c", "start.S"}
                              << "src/main.c";
        QTest::newRow("flattened") << false
                                   << QStringList{"blinky.dsn", "copy.zmxp", "led.c", "led.h", "main.c", "notes.txt",
                                                  "start.S"}
                                   << "main.c";
    }

    void copiesKeepingOrFlatteningTheFolders()
    {
        QFETCH(bool, keep);
        QFETCH(QStringList, copies);
        QFETCH(QString, storedMain);
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        const QByteArray oldProjectFile = ManagerFixture::readFile(fixture.projectPath());
        const QStringList oldFiles = sortedFiles(fixture.path(QString()));
        QDir().mkpath(fixture.path(QStringLiteral("out")));

        QString suggested;
        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), keep, {}, &suggested);
        fixture.manager()->saveProjectAs();

        QCOMPARE(suggested, QStringLiteral("blinky copy"));
        const QString target = fixture.path(QStringLiteral("out/copy"));
        QCOMPARE(project->fileName(), target + QStringLiteral("/copy.zmxp"));
        QCOMPARE(project->name(), QStringLiteral("copy"));
        QVERIFY(!project->isModified());
        QCOMPARE(sortedFiles(target), copies);
        for (const QString &path : filePaths(project))
            QVERIFY2(path.startsWith(target + QLatin1Char('/')), qPrintable(path));
        for (const QString &path : project->currentFiles())
            QVERIFY2(path.startsWith(target + QLatin1Char('/')), qPrintable(path));
        QVERIFY(ManagerFixture::readFile(target + QStringLiteral("/copy.zmxp"))
                    .contains("<FILE NAME=\"" + storedMain.toUtf8() + "\" GROUP=\"C Files\"/>"));

        // The copy loads on its own; the original project and its files are as they were.
        Project reloaded(fixture.manager()->buildConfigList(), nullptr);
        QVERIFY(reloaded.load(target + QStringLiteral("/copy.zmxp")));
        for (const ProjectFile &file : reloaded.files())
            QVERIFY2(file.exists, qPrintable(file.path));
        QCOMPARE(ManagerFixture::readFile(fixture.projectPath()), oldProjectFile);
        QStringList untouched = sortedFiles(fixture.path(QString()));
        untouched.removeIf([](const QString &path) { return path.startsWith(QLatin1String("out/")); });
        QCOMPARE(untouched, oldFiles);
    }

    void refusesATargetThatWouldBeOverwritten()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        ManagerFixture::writeFile(fixture.path(QStringLiteral("out/copy/led.c")), "mine");

        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), true,
                         [] { answerBox(QMessageBox::Ok); });
        fixture.manager()->saveProjectAs();

        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList(QStringLiteral("Error saving project\nCannot save project copy as files in the target "
                                            "directory would be overwritten.")));
        QCOMPARE(project->fileName(), fixture.projectPath());
        QCOMPARE(sortedFiles(fixture.path(QStringLiteral("out/copy"))), QStringList(QStringLiteral("led.c")));
    }

    void twoFilesOfOneNameAreNotFlattenedIntoOne()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        ManagerFixture::writeFile(fixture.path(QStringLiteral("lib/main.c")), "int lib;\n");
        project->addFile(fixture.path(QStringLiteral("lib/main.c")));
        QDir().mkpath(fixture.path(QStringLiteral("out")));

        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), false);
        fixture.manager()->saveProjectAs();

        QVERIFY2(outputText(fixture.window()).contains(QStringLiteral("they have the same name")),
                 qPrintable(outputText(fixture.window())));
        QCOMPARE(project->fileName(), fixture.projectPath());
        // The folder the dialog made for the copy went again, as nothing was put in it.
        QVERIFY(!QFileInfo::exists(fixture.path(QStringLiteral("out/copy"))));
    }

    void existingDestinationsAreReplacedOrKeptAsAnswered_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QByteArray>("mainAfter");
        QTest::addColumn<QByteArray>("ledAfter");
        const QByteArray main = ManagerFixture::readFile(QStringLiteral(ZMX_FIXTURES "/projects/typical/src/main.c"));
        const QByteArray led = ManagerFixture::readFile(QStringLiteral(ZMX_FIXTURES "/projects/typical/src/led.c"));
        QTest::newRow("yes to all") << int(QMessageBox::YesToAll) << 1 << main << led;
        QTest::newRow("no to all") << int(QMessageBox::NoToAll) << 1 << QByteArray("old main") << QByteArray("old led");
        QTest::newRow("yes") << int(QMessageBox::Yes) << 2 << main << led;
    }

    void existingDestinationsAreReplacedOrKeptAsAnswered()
    {
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(QByteArray, mainAfter);
        QFETCH(QByteArray, ledAfter);
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        ManagerFixture::writeFile(fixture.path(QStringLiteral("out/copy/src/main.c")), "old main");
        ManagerFixture::writeFile(fixture.path(QStringLiteral("out/copy/src/led.c")), "old led");

        const auto button = QMessageBox::StandardButton(answer);
        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), true, [=] {
            // A second question, when one comes, gets the same answer.
            answerBox(button, [=] {
                if (questions > 1)
                    answerBox(button);
            });
        });
        fixture.manager()->saveProjectAs();

        QCOMPARE(DialogAnswerer::seenTexts().size(), questions);
        QVERIFY(DialogAnswerer::seenTexts().first().startsWith(QStringLiteral("Destination file ")));
        QVERIFY(DialogAnswerer::seenTexts().first().contains(QStringLiteral("exists\nDdo you want to overwrite it?")));
        const QString target = fixture.path(QStringLiteral("out/copy"));
        QCOMPARE(ManagerFixture::readFile(target + QStringLiteral("/src/main.c")), mainAfter);
        QCOMPARE(ManagerFixture::readFile(target + QStringLiteral("/src/led.c")), ledAfter);
        // A kept destination is the copy the project now uses.
        QCOMPARE(project->fileName(), target + QStringLiteral("/copy.zmxp"));
        QVERIFY(filePaths(project).contains(target + QStringLiteral("/src/main.c")));
    }

    void aCopyFailingHalfWayNamesTheCopiesItMade()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        const QStringList before = filePaths(project);
        // A file where the folder src has to go stops the copy after the files that sort first.
        ManagerFixture::writeFile(fixture.path(QStringLiteral("out/copy/src")), "in the way");

        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), true);
        fixture.manager()->saveProjectAs();

        const QString target = QDir::toNativeSeparators(fixture.path(QStringLiteral("out/copy")));
        const QString output = outputText(fixture.window());
        QVERIFY2(output.contains(QStringLiteral("Could not create directory %1/src").arg(target)), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("These copies were made and left in place:\n%1/blinky.dsn\n%1/inc/led.h\n"
                                                "%1/notes.txt")
                                     .arg(target)),
                 qPrintable(output));
        QCOMPARE(project->fileName(), fixture.projectPath());
        QCOMPARE(filePaths(project), before);
    }

    void aFailedFinalSaveLeavesTheProjectOnItsOwnFiles()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        const QStringList before = filePaths(project);
        const QStringList configured = project->currentFiles();
        const QByteArray oldProjectFile = ManagerFixture::readFile(fixture.projectPath());
        // A folder of the new project file's name: the copies succeed, the save cannot.
        QDir().mkpath(fixture.path(QStringLiteral("out/copy/copy.zmxp")));

        answerSaveDialog(QStringLiteral("copy"), fixture.path(QStringLiteral("out")), true,
                         [] { answerBox(QMessageBox::Yes); });
        fixture.manager()->saveProjectAs();

        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList(QStringLiteral("A project with the same name already exists\nDo you want to overwrite it?")));
        const QString output = outputText(fixture.window());
        QVERIFY2(output.contains(QStringLiteral("Could not save project")), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("These copies were made and left in place:")), qPrintable(output));
        QCOMPARE(project->fileName(), fixture.projectPath());
        QCOMPARE(project->name(), QStringLiteral("blinky"));
        QVERIFY(!project->isModified());
        QCOMPARE(filePaths(project), before);
        QCOMPARE(project->currentFiles(), configured);

        // A later save writes the project's own paths into its own file.
        project->setModified(true);
        QVERIFY(project->save());
        QCOMPARE(ManagerFixture::readFile(fixture.projectPath()), oldProjectFile);
    }

    void theCopyBuildsFromItsNewPlaceAndTheOriginalStill_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QStringList>("sources");
        QTest::newRow("kept") << true << QStringList{"src/main.c", "src/delay.S", "lib/spare.c"};
        QTest::newRow("flattened") << false << QStringList{"main.c", "delay.S", "spare.c"};
    }

    void theCopyBuildsFromItsNewPlaceAndTheOriginalStill()
    {
        QFETCH(bool, keep);
        QFETCH(QStringList, sources);
        for (const char *tool : {"make", "avr-gcc", "avr-objcopy"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("The AVR tool chain is not installed");
        }
        ManagerFixture fixture;
        const QString board = fixture.path(QStringLiteral("board"));
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p"), board));
        ManagerFixture::writeFile(board + QStringLiteral("/lib/spare.c"), "int spare(int x) { return x + 1; }\n");
        ManagerFixture::setSetting(QStringLiteral("Compilers"), QStringLiteral(ZMX_SOURCE_DIR "/data/compilers"));
        SrcManager *window = fixture.createWindow();
        window->scanCompilers();
        const QString original = board + QStringLiteral("/ATmega328P_Board.zmxp");
        QVERIFY(fixture.manager()->openProjectFile(original, true));
        Project *project = fixture.manager()->currentProject();
        project->addFile(board + QStringLiteral("/lib/spare.c"));
        QVERIFY(project->save());
        const QByteArray originalFile = ManagerFixture::readFile(original);
        QDir().mkpath(fixture.path(QStringLiteral("out")));

        answerSaveDialog(QStringLiteral("Copy"), fixture.path(QStringLiteral("out")), keep);
        window->action(SrcManager::SaveProjectAs)->trigger();
        const QString target = fixture.path(QStringLiteral("out/Copy"));
        QCOMPARE(project->fileName(), target + QStringLiteral("/Copy.zmxp"));
        for (const QString &source : sources)
            QVERIFY2(QFileInfo::exists(target + QLatin1Char('/') + source), qPrintable(source));

        window->action(SrcManager::BuildProject)->trigger();
        const QString copyHex = project->currentFirmwarePath();
        QVERIFY2(copyHex.startsWith(target + QLatin1Char('/')), qPrintable(copyHex));
        QVERIFY2(TestFiles::isIntelHex(copyHex), qPrintable(outputText(window)));
        QVERIFY(!QFileInfo::exists(board + QStringLiteral("/Debug")));

        // The original was left as it was and builds where it is.
        QCOMPARE(ManagerFixture::readFile(original), originalFile);
        QVERIFY(fixture.manager()->openProjectFile(original, true));
        window->action(SrcManager::BuildProject)->trigger();
        const QString originalHex = fixture.manager()->currentProject()->currentFirmwarePath();
        QVERIFY2(originalHex.startsWith(board + QLatin1Char('/')), qPrintable(originalHex));
        QVERIFY2(TestFiles::isIntelHex(originalHex), qPrintable(outputText(window)));
    }

    void theDialogRefusesUnusableNamesAndFolders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("newProject");
        QTest::addColumn<QString>("message");
        QTest::newRow("only dots") << "..." << "" << false << "A project cannot be called \"...\".";
        QTest::newRow("only spaces") << "   " << "" << true << "A project cannot be called \"   \".";
        QTest::newRow("dots and spaces") << ". ." << "" << false << "A project cannot be called \". .\".";
        QTest::newRow("missing folder") << "p" << "/nonexistent/zmx" << false << "The folder /nonexistent/zmx does not exist.";
        QTest::newRow("folder cannot be made") << "p" << "/proc" << false << "Cannot create the folder /proc/p.";
        QTest::newRow("folder cannot be written") << "p" << "/proc/self" << true << "Cannot write to the folder /proc/self";
    }

    void theDialogRefusesUnusableNamesAndFolders()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(bool, newProject);
        QFETCH(QString, message);
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        CopyProjectFilesDialog dialog(window, QStringLiteral("p"), QString(), newProject);
        dialog.findChild<QLineEdit *>(QStringLiteral("projectNameEdit"))->setText(name);
        dialog.findChild<QLineEdit *>(QStringLiteral("pathEdit"))
            ->setText(folder.isEmpty() ? fixture.path(QString()) : folder);
        answerBox(QMessageBox::Ok);
        dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();

        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY2(DialogAnswerer::seenTexts().first().startsWith(message), qPrintable(DialogAnswerer::seenTexts().first()));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.resultPath().isEmpty());
    }

    void theNameCannotTakeCharactersFileSystemsRefuse()
    {
        CopyProjectFilesDialog dialog(nullptr, QString(), QString(), false);
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("projectNameEdit"));
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(edit, QStringLiteral("a\\b/c:d*e?f\"g<h>i|j"));
        QCOMPARE(edit->text(), QStringLiteral("abcdefghij"));
        QVERIFY(ok->isEnabled());
        edit->clear();
        QVERIFY(!ok->isEnabled());
    }

    void aNewProjectGoesStraightIntoTheFolderOfItsDesign()
    {
        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        ManagerFixture::writeFile(fixture.path(QStringLiteral("design/board.dsn")), "");
        CopyProjectFilesDialog dialog(window, QStringLiteral("board"), fixture.path(QStringLiteral("design/board.dsn")),
                                      true);
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("locationLabel"))->text(),
                 QStringLiteral("Directory to store project in"));
        QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("pathEdit"))->text(),
                 QDir::toNativeSeparators(fixture.path(QStringLiteral("design"))));
        dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.resultPath(), fixture.path(QStringLiteral("design/board.zmxp")));
        QCOMPARE(sortedFiles(fixture.path(QStringLiteral("design"))), QStringList(QStringLiteral("board.dsn")));
    }
};

ZMX_TEST(SaveAsTest)

#include "tst_saveas.moc"
