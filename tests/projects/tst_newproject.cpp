#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "managerfixture.h"
#include "projects/controllerdialog.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <functional>

namespace {

const QString dataDir = QStringLiteral(ZMX_SOURCE_DIR "/data");

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

void click(QWidget *dialog, const char *button)
{
    child<QPushButton>(dialog, button)->click();
}

void choose(QWidget *dialog, const char *comboName, const QString &text)
{
    auto *combo = child<QComboBox>(dialog, comboName);
    combo->setCurrentIndex(combo->findText(text));
}

QString outputText(SrcManager *window)
{
    return window->output()->textEdit()->toPlainText();
}

bool toolsInstalled(const QStringList &tools)
{
    for (const QString &tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    }
    return !QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty();
}

// Fills in the save dialog of a new project and presses OK.
void answerSave(const QString &name, const QString &folder)
{
    DialogAnswerer::handle("CopyProjectFilesDialog", [=](QWidget *dialog) {
        child<QLineEdit>(dialog, "projectNameEdit")->setText(name);
        // Without a folder the one the dialog offers stays.
        if (!folder.isEmpty())
            child<QLineEdit>(dialog, "pathEdit")->setText(folder);
        click(dialog, "okButton");
    });
}

// Answers the next message box with button, recording its text.
void answerBox(QMessageBox::StandardButton button)
{
    DialogAnswerer::handle("QMessageBox", [=](QWidget *modal) {
        auto *box = static_cast<QMessageBox *>(modal);
        DialogAnswerer::seenTexts().append(box->text() + QLatin1Char('\n') + box->informativeText());
        box->button(button)->click();
    });
}

// What the second page is to choose; an empty entry keeps what the page shows.
struct Choice
{
    QString family;
    QString controller;
    QString compiler;
    QString clock;
};

void answerControllerPage(const Choice &choice, std::function<void(QWidget *)> beforeOk)
{
    DialogAnswerer::handle("ControllerDialog", [=](QWidget *page) {
        if (!choice.family.isEmpty())
            choose(page, "controllerFamily", choice.family);
        if (!choice.controller.isEmpty())
            choose(page, "controller", choice.controller);
        if (!choice.compiler.isEmpty())
            choose(page, "compiler", choice.compiler);
        if (!choice.clock.isEmpty())
            child<QLineEdit>(page, "clockFrequency")->setText(choice.clock);
        beforeOk(page);
        click(page, "okButton");
    });
}

}

// The new-project wizard driven through its real pages, from the projects manager to a
// project that builds with the real tool chains.
class NewProjectTest : public QObject
{
    Q_OBJECT

private:
    // A window on our compilers and boards, with the installed tool chains detected.
    static SrcManager *windowWithToolChains(ManagerFixture &fixture, const QString &boards = QString())
    {
        ManagerFixture::setSetting(QStringLiteral("Compilers"), dataDir + QStringLiteral("/compilers"));
        ManagerFixture::setSetting(QStringLiteral("DevBoards"), boards.isEmpty() ? dataDir + QStringLiteral("/devboards") : boards);
        SrcManager *window = fixture.createWindow();
        window->scanCompilers();
        return window;
    }

    static QString buildCurrent(SrcManager *window)
    {
        window->action(SrcManager::BuildProject)->trigger();
        Project *project = window->projects()->currentProject();
        return project ? project->currentFirmwarePath() : QString();
    }

private slots:
    void init() { DialogAnswerer::seenTexts().clear(); }

    void aBoardProjectBuildsFromItsNewFolder_data()
    {
        QTest::addColumn<QString>("board");
        QTest::addColumn<QStringList>("tools");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("controller");
        QTest::addColumn<QString>("compiler");
        // The folders are kept below the files' common root: the AVR board's src/ is that root.
        QTest::addColumn<QStringList>("copies");
        QTest::newRow("AVR") << "ATmega328P_Board" << QStringList{"avr-gcc", "avr-objcopy"} << "AVR" << "ATmega328P"
                             << "AVR GCC"
            << QStringList{"src/main.c", "src/delay.S", "src/board.h", "src/delay.h", "ATmega328P_Board.dsn"};
        QTest::newRow("8051") << "AT89C52_Board" << QStringList{"sdcc", "packihx"} << "8051" << "AT89C52"
                              << "SDCC MCS51" << QStringList{"main.c", "timer.c", "board.h", "timer.h"};
        QTest::newRow("PIC") << "PIC16F877A_Board" << QStringList{"gpasm"} << "PIC16" << "PIC16F877A" << "GPUTILS PIC"
                             << QStringList{"blink.asm", "board.inc"};
    }

    void aBoardProjectBuildsFromItsNewFolder()
    {
        QFETCH(QString, board);
        QFETCH(QStringList, tools);
        QFETCH(QString, family);
        QFETCH(QString, controller);
        QFETCH(QString, compiler);
        QFETCH(QStringList, copies);
        if (!toolsInstalled(tools))
            QSKIP("The tool chain is not installed");
        ManagerFixture fixture;
        // A copy of the bundled boards, so that the test can see that they stay untouched.
        QVERIFY(TestFiles::copyTree(dataDir + QStringLiteral("/devboards"), fixture.path(QStringLiteral("boards"))));
        SrcManager *window = windowWithToolChains(fixture, fixture.path(QStringLiteral("boards")));
        const QString boardsBefore = QDir(fixture.path(QStringLiteral("boards"))).entryList(QDir::AllEntries).join(',');
        QDir().mkpath(fixture.path(QStringLiteral("new")));

        QString description;
        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            child<QRadioButton>(page, "demoProjectRadioButton")->click();
            auto *list = child<QListWidget>(page, "demoProjectsList");
            list->setCurrentItem(list->findItems(board, Qt::MatchExactly).value(0));
            description = child<QTextEdit>(page, "configurationDescription")->toPlainText();
            answerControllerPage({family, controller, compiler, QStringLiteral("12000000")},
                                 [&](QWidget *) { answerSave(QStringLiteral("Mine"), fixture.path(QStringLiteral("new"))); });
            click(page, "nextButton");
        });
        window->projects()->newProject();

        Project *project = window->projects()->currentProject();
        QVERIFY(project);
        QVERIFY2(description.startsWith(board + QLatin1Char('\n')), qPrintable(description));
        QVERIFY2(description.contains(QStringLiteral("Controller: ") + controller), qPrintable(description));
        const QString folder = fixture.path(QStringLiteral("new/Mine"));
        QCOMPARE(project->fileName(), folder + QStringLiteral("/Mine.zmxp"));
        QCOMPARE(project->currentFamily(), family);
        QCOMPARE(project->currentController(), controller);
        QCOMPARE(project->currentCompilerName(), compiler);
        QCOMPARE(project->currentClock(), QStringLiteral("12000000"));
        QVERIFY(!project->isModified());
        for (const QString &copy : copies)
            QVERIFY2(QFileInfo::exists(folder + QLatin1Char('/') + copy), qPrintable(copy));
        QCOMPARE(window->action(SrcManager::SaveProjectAs)->isEnabled(), true);

        const QString hex = buildCurrent(window);
        QVERIFY2(TestFiles::isIntelHex(hex), qPrintable(hex + QLatin1Char('\n') + outputText(window)));
        QVERIFY(hex.startsWith(folder + QLatin1Char('/')));
        // The boards of the installation were only read.
        QCOMPARE(QDir(fixture.path(QStringLiteral("boards"))).entryList(QDir::AllEntries).join(','), boardsBefore);
        QVERIFY(!QFileInfo::exists(fixture.path(QStringLiteral("boards/") + board + QStringLiteral("/Debug"))));
    }

    void anEmptyProjectBuildsFromItsStarterSource_data()
    {
        QTest::addColumn<QStringList>("tools");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("controller");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("starter");
        QTest::newRow("AVR C") << QStringList{"avr-gcc", "avr-objcopy"} << "AVR" << "ATmega8" << "AVR GCC" << "main.c";
        QTest::newRow("8051 C") << QStringList{"sdcc", "packihx"} << "8051" << "AT89C2051" << "SDCC MCS51" << "main.c";
        QTest::newRow("PIC assembler") << QStringList{"gpasm"} << "PIC16" << "PIC16F84A" << "GPUTILS PIC" << "main.asm";
    }

    void anEmptyProjectBuildsFromItsStarterSource()
    {
        QFETCH(QStringList, tools);
        QFETCH(QString, family);
        QFETCH(QString, controller);
        QFETCH(QString, compiler);
        QFETCH(QString, starter);
        if (!toolsInstalled(tools))
            QSKIP("The tool chain is not installed");
        ManagerFixture fixture;
        SrcManager *window = windowWithToolChains(fixture);
        QDir().mkpath(fixture.path(QStringLiteral("new")));

        QString offered;
        QString compilerShown;
        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            QVERIFY(child<QRadioButton>(page, "noneRadioButton")->isChecked());
            answerControllerPage({family, controller, QString(), QStringLiteral("4000000")}, [&](QWidget *second) {
                compilerShown = child<QComboBox>(second, "compiler")->currentText();
                auto *box = child<QCheckBox>(second, "starterSourceCheckBox");
                offered = box->isVisible() && box->isChecked() ? box->text() : QString();
                answerSave(QStringLiteral("Fresh"), fixture.path(QStringLiteral("new")));
            });
            click(page, "nextButton");
        });
        window->projects()->newProject();

        QCOMPARE(compilerShown, compiler);
        QCOMPARE(offered, QStringLiteral("Add a starter source file ") + starter);
        Project *project = window->projects()->currentProject();
        QVERIFY(project);
        const QString source = fixture.path(QStringLiteral("new/Fresh/")) + starter;
        QCOMPARE(project->files().size(), 1);
        QCOMPARE(project->files().first().path, source);
        QVERIFY(!project->isModified());
        const QByteArray text = ManagerFixture::readFile(source);
        QVERIFY(text.contains("Fresh: the first source of a new project for the " + controller.toUtf8()));
        QVERIFY(!text.contains('%'));
        QVERIFY(ManagerFixture::readFile(project->fileName()).contains("CLOCK=\"4000000\""));

        const QString hex = buildCurrent(window);
        QVERIFY2(TestFiles::isIntelHex(hex), qPrintable(hex + QLatin1Char('\n') + outputText(window)));
    }

    void theStarterSourceNeverReplacesAFile()
    {
        ManagerFixture fixture;
        SrcManager *window = windowWithToolChains(fixture);
        ManagerFixture::writeFile(fixture.path(QStringLiteral("new/Fresh/main.c")), "/* mine */\n");

        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            answerControllerPage({QStringLiteral("AVR"), QStringLiteral("ATmega16"), QString(), QString()},
                                 [&](QWidget *) { answerSave(QStringLiteral("Fresh"), fixture.path(QStringLiteral("new"))); });
            click(page, "nextButton");
        });
        window->projects()->newProject();

        Project *project = window->projects()->currentProject();
        QVERIFY(project);
        QCOMPARE(ManagerFixture::readFile(fixture.path(QStringLiteral("new/Fresh/main.c"))), QByteArray("/* mine */\n"));
        QCOMPARE(project->files().size(), 1);
        QVERIFY(outputText(window).contains(QStringLiteral("was there already; it joins the project as it is.")));
        // An empty clock of the start becomes 4MHz.
        QCOMPARE(project->currentClock(), QStringLiteral("4MHz"));
    }

    void aDesignFileBringsTheSourcesBesideIt()
    {
        ManagerFixture fixture;
        SrcManager *window = windowWithToolChains(fixture);
        const QString design = fixture.path(QStringLiteral("design"));
        for (const char *name : {"board.DSN", "main.c", "util.S", "board.h", "old.zmxp", "sub/extra.c", "readme.txt"})
            ManagerFixture::writeFile(design + QLatin1Char('/') + QLatin1String(name), "\n");

        QStringList shown;
        bool nextForText = true;
        bool nextForDesign = false;
        bool projectFileCheckable = true;
        bool subTicked = false;
        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            child<QRadioButton>(page, "designFileRadioButton")->click();
            auto *edit = child<QLineEdit>(page, "designFileEdit");
            edit->setText(design + QStringLiteral("/readme.txt"));
            nextForText = child<QPushButton>(page, "nextButton")->isEnabled();
            // Typed, with the file-system completer at work.
            edit->clear();
            QTest::keyClicks(edit, design + QStringLiteral("/board.DSN"));
            nextForDesign = child<QPushButton>(page, "nextButton")->isEnabled();
            QTreeWidgetItem *top = child<QTreeWidget>(page, "directoryViewTreeWidget")->topLevelItem(0);
            for (int index = 0; index < top->childCount(); ++index) {
                QTreeWidgetItem *item = top->child(index);
                shown.append(item->text(0));
                if (item->text(0).endsWith(QLatin1String("(Project File)")))
                    projectFileCheckable = item->flags().testFlag(Qt::ItemIsUserCheckable);
            }
            // Ticking a folder ticks what it holds, also what is read only when it opens.
            QTreeWidgetItem *sub = top->child(0);
            sub->setCheckState(0, Qt::Checked);
            sub->setExpanded(true);
            subTicked = sub->childCount() == 1 && sub->child(0)->checkState(0) == Qt::Checked;
            answerControllerPage({QStringLiteral("AVR"), QStringLiteral("ATmega16"), QString(), QString()},
                                 [&](QWidget *) { answerSave(QStringLiteral("FromDesign"), QString()); });
            click(page, "nextButton");
        });
        window->projects()->newProject();

        QVERIFY(!nextForText);
        QVERIFY(nextForDesign);
        QCOMPARE(shown, (QStringList{"sub", "main.c", "old.zmxp (Project File)", "util.S"}));
        QVERIFY(!projectFileCheckable);
        QVERIFY(subTicked);
        Project *project = window->projects()->currentProject();
        QVERIFY(project);
        // Saved beside the design, which no copy replaced.
        QCOMPARE(project->fileName(), design + QStringLiteral("/FromDesign.zmxp"));
        QStringList names;
        for (const ProjectFile &file : project->files())
            names.append(QDir(design).relativeFilePath(file.path));
        names.sort();
        QCOMPARE(names, (QStringList{"board.DSN", "main.c", "sub/extra.c", "util.S"}));
        QCOMPARE(project->designFile(), design + QStringLiteral("/board.DSN"));
    }

    void aDesignFileThatVanishedLeavesNoProject()
    {
        ManagerFixture fixture;
        SrcManager *window = windowWithToolChains(fixture);
        const QString design = fixture.path(QStringLiteral("design/board.dsn"));
        ManagerFixture::writeFile(design, "\n");
        window->addMessage(QStringLiteral("said before"));

        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            child<QRadioButton>(page, "designFileRadioButton")->click();
            child<QLineEdit>(page, "designFileEdit")->setText(design);
            DialogAnswerer::handle("ControllerDialog", [&](QWidget *second) {
                choose(second, "controllerFamily", QStringLiteral("AVR"));
                choose(second, "controller", QStringLiteral("ATmega16"));
                QFile::remove(design);
                DialogAnswerer::handle("QMessageBox", [](QWidget *box) {
                    DialogAnswerer::seenTexts().append(static_cast<QMessageBox *>(box)->text());
                    static_cast<QMessageBox *>(box)->accept();
                    // The page stays; the user gives up.
                    DialogAnswerer::handle("ControllerDialog", [](QWidget *again) { click(again, "cancelButton"); });
                });
                click(second, "okButton");
            });
            click(page, "nextButton");
        });
        window->projects()->newProject();

        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList(QStringLiteral("The design file %1 does not exist any more.").arg(QDir::toNativeSeparators(design))));
        QCOMPARE(window->projects()->projectCount(), 0);
        QCOMPARE(QDir(fixture.path(QStringLiteral("design"))).entryList(QDir::Files), QStringList());
        // A cancelled wizard leaves the output as it was.
        QVERIFY(outputText(window).contains(QStringLiteral("said before")));
    }

    void theKeywordFilterAndBoardsThatFailToLoad()
    {
        ManagerFixture fixture;
        const QString boards = fixture.path(QStringLiteral("boards"));
        QVERIFY(TestFiles::copyTree(dataDir + QStringLiteral("/devboards"), boards));
        ManagerFixture::writeFile(boards + QStringLiteral("/broken/Broken.zmxp"), "<PROJECT><FILES>");
        ManagerFixture::writeFile(boards + QStringLiteral("/empty/readme.txt"), "no project here");
        SrcManager *window = windowWithToolChains(fixture, boards);

        QStringList keywords;
        QStringList all;
        QStringList withLed;
        QStringList withTimer;
        DialogAnswerer::handle("DevBoardDialog", [&](QWidget *page) {
            auto *filter = child<QComboBox>(page, "demoProjectComboBox");
            auto *list = child<QListWidget>(page, "demoProjectsList");
            const auto names = [list] {
                QStringList shown;
                for (int row = 0; row < list->count(); ++row)
                    shown.append(list->item(row)->text());
                return shown;
            };
            for (int index = 0; index < filter->count(); ++index)
                keywords.append(filter->itemText(index));
            all = names();
            filter->setCurrentText(QStringLiteral("LED"));
            withLed = names();
            filter->setCurrentText(QStringLiteral("Timer"));
            withTimer = names();
            click(page, "cancelButton");
        });
        window->projects()->newProject();

        QCOMPARE(keywords.value(0), QStringLiteral("All"));
        QVERIFY(keywords.contains(QStringLiteral("LED")));
        QCOMPARE(all, (QStringList{"AT89C52_Board", "ATmega328P_Board", "PIC16F877A_Board"}));
        QCOMPARE(withLed, all);
        QCOMPARE(withTimer, QStringList(QStringLiteral("AT89C52_Board")));
        QVERIFY2(outputText(window).contains(QStringLiteral("The development board project %1 cannot be loaded")
                                                 .arg(QDir::toNativeSeparators(boards + QStringLiteral("/broken/Broken.zmxp")))),
                 qPrintable(outputText(window)));
        QCOMPARE(window->projects()->projectCount(), 0);
    }

    void clocksGetTheirUnit_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("shown");
        QTest::newRow("MHz") << "4000000" << "4MHz";
        QTest::newRow("KHz") << "20000" << "20KHz";
        QTest::newRow("Hz") << "12" << "12Hz";
        QTest::newRow("GHz") << "1000000000" << "1GHz";
        QTest::newRow("not a multiple of 3") << "1500" << "1500Hz";
        QTest::newRow("crystal") << "11059200" << "11059200Hz";
        QTest::newRow("has a unit") << "8 MHz" << "8 MHz";
        QTest::newRow("unit in lower case") << "16mhz" << "16mhz";
        QTest::newRow("only zeros") << "000" << "000Hz";
        QTest::newRow("empty stays empty") << "" << "";
    }

    void clocksGetTheirUnit()
    {
        QFETCH(QString, clock);
        QFETCH(QString, shown);
        QCOMPARE(ControllerDialog::normalizeClock(clock), shown);
    }

    void theSettingsOfAnOpenProject()
    {
        ManagerFixture fixture;
        Project *project = fixture.openTypical();
        QVERIFY(project);
        ControllerDialog dialog(project, fixture.manager()->buildConfigList(), fixture.window());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("blinky Project Settings"));
        // Stored as 8000000, shown with its unit.
        QCOMPARE(child<QLineEdit>(&dialog, "clockFrequency")->text(), QStringLiteral("8MHz"));
        QVERIFY(!child<QGroupBox>(&dialog, "advancedGroupBox")->isVisibleTo(&dialog));

        Project unnamed(nullptr, nullptr);
        ControllerDialog empty(&unnamed, nullptr, nullptr);
        QCOMPARE(empty.windowTitle(), QStringLiteral("Controller Selection"));
        QVERIFY(!child<QPushButton>(&empty, "okButton")->isEnabled());
    }

    void onlyWhatTheSimulatorRunsIsOffered()
    {
        ManagerFixture fixture;
        ManagerFixture::writeFile(fixture.path(QStringLiteral("simulator/avr.xml")),
                                  "<SIMULATOR><FAMILY NAME=\"AVR\"><CONTROLLER NAME=\"ATmega16\"/>"
                                  "<CONTROLLER NAME=\"ATmega8\"/></FAMILY></SIMULATOR>");
        ManagerFixture::setSetting(QStringLiteral("Simulator"), fixture.path(QStringLiteral("simulator")));
        SrcManager *window = windowWithToolChains(fixture);
        Project project(window->projects()->buildConfigList(), window);
        ControllerDialog dialog(&project, window->projects()->buildConfigList(), window);
        const auto entries = [&dialog](const char *name) {
            QStringList texts;
            auto *box = child<QComboBox>(&dialog, name);
            for (int index = 0; index < box->count(); ++index)
                texts.append(box->itemText(index));
            return texts;
        };
        QCOMPARE(entries("controllerFamily"), QStringList(QStringLiteral("AVR")));
        choose(&dialog, "controllerFamily", QStringLiteral("AVR"));
        QCOMPARE(entries("controller"), (QStringList{"ATmega16", "ATmega8"}));
    }

    void compilersThatAreMissingAreMarked()
    {
        ManagerFixture fixture;
        ManagerFixture::setSetting(QStringLiteral("Compilers"), dataDir + QStringLiteral("/compilers"));
        SrcManager *window = fixture.createWindow();
        window->setAdvancedMode(true);
        Project project(window->projects()->buildConfigList(), window);
        ControllerDialog dialog(&project, window->projects()->buildConfigList(), window);
        auto *families = child<QComboBox>(&dialog, "controllerFamily");
        // Nothing was detected: no family has a compiler to build with.
        QCOMPARE(families->count(), 0);
        child<QCheckBox>(&dialog, "simulatorOnly")->setChecked(true);
        QVERIFY(families->count() >= 3);
        choose(&dialog, "controllerFamily", QStringLiteral("PIC16"));
        choose(&dialog, "controller", QStringLiteral("PIC16F84A"));
        QCOMPARE(child<QComboBox>(&dialog, "compiler")->currentText(), QStringLiteral("GPUTILS PIC (Not Installed)"));
        QCOMPARE(dialog.selectedCompiler(), QStringLiteral("GPUTILS PIC"));
        QVERIFY(child<QPushButton>(&dialog, "okButton")->isEnabled());

        answerBox(QMessageBox::Cancel);
        click(&dialog, "okButton");
        QCOMPARE(DialogAnswerer::seenTexts(),
                 QStringList(QStringLiteral("The selected compiler is not installed.\nDo you want to proceed?")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(project.fileName().isEmpty());
    }
};

ZMX_TEST(NewProjectTest)

#include "tst_newproject.moc"
