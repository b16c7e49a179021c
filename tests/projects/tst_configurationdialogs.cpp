#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "dialoganswerer.h"
#include "fakeworkbench.h"
#include "projects/configurationoptionsdialog.h"
#include "projects/configurationsdialog.h"
#include "projects/project.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

const QString board = QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p");

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    T *found = dialog->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no widget %s", name);
    return found;
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int index = 0; index < box->count(); ++index)
        texts.append(box->itemText(index));
    return texts;
}

// "name=value" of every row of the options table, the choice boxes read as shown.
QStringList rows(QWidget *dialog)
{
    auto *table = child<QTableWidget>(dialog, "optionsTable");
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, 2));
        texts.append(table->item(row, 1)->text() + QLatin1Char('=') + (box ? box->currentText() : table->item(row, 2)->text())
                     + QLatin1Char(':') + table->item(row, 3)->text());
    }
    return texts;
}

// "TOOL name=value" of the configuration-wide option values.
QStringList values(const BuildProject *configuration)
{
    QStringList texts;
    for (const OptionValue &value : configuration->optionValues())
        texts.append(value.tool + QLatin1Char(' ') + value.name + QLatin1Char('=') + value.value);
    return texts;
}

int rowOf(QWidget *dialog, const QString &option)
{
    auto *table = child<QTableWidget>(dialog, "optionsTable");
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 1)->text() == option)
            return row;
    }
    return -1;
}

void chooseAdd(QWidget *dialog, const QString &option)
{
    auto *box = child<QComboBox>(dialog, "addComboBox");
    for (int index = 0; index < box->count(); ++index) {
        if (box->itemText(index) == option || box->itemText(index).startsWith(option + QLatin1Char(' '))) {
            box->setCurrentIndex(index);
            child<QPushButton>(dialog, "addOptionButton")->click();
            return;
        }
    }
    qWarning("no entry %s to add", qPrintable(option));
}

// The cell editor the table has open, or null.
QLineEdit *openEditor(QTableWidget *table)
{
    for (QLineEdit *editor : table->viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisibleTo(table))
            return editor;
    }
    return nullptr;
}

// Types a name into the cell's editor as a user does, opening it first unless it is open.
void typeName(QTableWidget *table, int row, const QString &name)
{
    if (!openEditor(table)) {
        table->setCurrentCell(row, 0);
        table->editItem(table->item(row, 0));
    }
    QLineEdit *editor = openEditor(table);
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits what the editor holds once the key has been handled.
    QCoreApplication::processEvents();
}

}

// The project options and configurations dialogs on a copy of the AVR board, with the
// bundled compiler configurations.
class ConfigurationDialogsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<BuildConfigList> compilers;
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<Project> project;

    QString projectFile() const { return work->filePath(QStringLiteral("ATmega328P_Board.zmxp")); }

    // The project file as saved now.
    QByteArray saved()
    {
        project->save();
        return TestFiles::contents(projectFile());
    }

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        workbench->compilersDir = QStringLiteral(ZMX_SOURCE_DIR "/data/compilers");
        workbench->simulated = QStringList{QStringLiteral("AVR/ATMEGA16"), QStringLiteral("AVR/ATTINY85")};
        compilers = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(compilers->loadAll());
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(TestFiles::copyTree(board, work->path()));
        project = std::make_unique<Project>(compilers.get(), workbench.get());
        QVERIFY(project->load(projectFile()));
    }

    void cleanup()
    {
        project.reset();
        compilers.reset();
        work.reset();
        workbench.reset();
    }

    void clockIsShownInItsLargestWholeUnit_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("twenty million") << "20000000" << "20MHz";
        QTest::newRow("eight million") << "8000000" << "8MHz";
        QTest::newRow("four thousand") << "4000" << "4KHz";
        QTest::newRow("no whole unit") << "12345" << "12345Hz";
        QTest::newRow("zero") << "0" << "0Hz";
        QTest::newRow("ten giga and more") << "10000000000000" << "10000GHz";
        QTest::newRow("with unit") << "8 MHz" << "8 MHz";
        QTest::newRow("none") << "" << "";
    }

    void clockIsShownInItsLargestWholeUnit()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(ConfigurationOptionsDialog::clockDisplay(stored), shown);
    }

    void configurationNamesMustBeFolderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("letters digits underscore") << "Test_2" << "";
        QTest::newRow("empty") << "" << "needs a name";
        QTest::newRow("other letter case of another") << "release" << "already named";
        QTest::newRow("same as another") << "Release" << "already named";
        QTest::newRow("slash") << "a/b" << "only letters";
        QTest::newRow("backslash") << "a\\b" << "only letters";
        QTest::newRow("parent folder") << ".." << "only letters";
        QTest::newRow("blank") << "My Test" << "only letters";
        QTest::newRow("line break") << "Test\nall:" << "only letters";
    }

    void configurationNamesMustBeFolderNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        const QString reason = ConfigurationsDialog::nameRefusal(name, {QStringLiteral("Debug"), QStringLiteral("Release")});
        if (refusal.isEmpty())
            QVERIFY2(reason.isEmpty(), qPrintable(reason));
        else
            QVERIFY2(reason.contains(refusal), qPrintable(reason));
    }

    void opensOnTheActiveConfigurationWithItsControllerAndOptions()
    {
        workbench->target = QStringLiteral("Release");
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Project Options"));
        auto *configurations = child<QComboBox>(&dialog, "configurationsCombo");
        QCOMPARE(itemTexts(configurations), QStringList({"Debug", "Release (Active)"}));
        QCOMPARE(configurations->currentIndex(), 1);
        QCOMPARE(child<QLineEdit>(&dialog, "toolChainEdit")->text(), QStringLiteral("AVR GCC"));
        QCOMPARE(child<QLineEdit>(&dialog, "controllerFamilyEdit")->text(), QStringLiteral("AVR"));
        QCOMPARE(child<QLineEdit>(&dialog, "clockFrequency")->text(), QStringLiteral("16MHz"));

        auto *controllers = child<QComboBox>(&dialog, "controllerCombo");
        QCOMPARE(controllers->count(), 10);
        QCOMPARE(controllers->currentText(), QStringLiteral("ATmega328P"));
        // The simulator's own are marked; the others are offered too.
        for (int index = 0; index < controllers->count(); ++index) {
            const bool simulated = QStringList{"ATmega16", "ATtiny85"}.contains(controllers->itemText(index));
            QCOMPARE(!controllers->itemIcon(index).isNull(), simulated);
        }

        QCOMPARE(itemTexts(child<QComboBox>(&dialog, "toolComboBox")), QStringList({"CC", "AS", "LD", "OBJCOPY"}));
        QCOMPARE(rows(&dialog), QStringList({"-O=s:Choice", "-Wall=:None", "-ffunction-sections=:None",
                                             "-fdata-sections=:None", "-mmcu==atmega328p:String"}));
        auto *table = child<QTableWidget>(&dialog, "optionsTable");
        QVERIFY(table->isColumnHidden(0));
        table->setCurrentCell(0, 1);
        QCOMPARE(child<QTextEdit>(&dialog, "descriptionTextEdit")->toPlainText(), QStringLiteral("Optimisation"));

        // Used options are offered again only when they may repeat.
        const QStringList offered = itemTexts(child<QComboBox>(&dialog, "addComboBox"));
        QCOMPARE(offered.first(), QStringLiteral("Generic Option"));
        QVERIFY(offered.contains(QStringLiteral("-D Define a macro: NAME or NAME=VALUE")));
        QVERIFY(offered.contains(QStringLiteral("-Werror Treat warnings as errors")));
        QVERIFY(!offered.contains(QStringLiteral("-Wall Enable most warning messages")));
        QVERIFY(!offered.contains(QStringLiteral("-O Optimisation")));
    }

    void projectTabOnlyInAdvancedMode_data()
    {
        QTest::addColumn<bool>("advanced");
        QTest::newRow("plain") << false;
        QTest::newRow("advanced") << true;
    }

    void projectTabOnlyInAdvancedMode()
    {
        QFETCH(bool, advanced);
        workbench->advanced = advanced;
        const QStringList keywords = project->keywords();
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        auto *tabs = child<QTabWidget>(&dialog, "settingsTabWidget");
        QCOMPARE(tabs->count(), advanced ? 3 : 2);
        child<QLineEdit>(&dialog, "descriptionEdit")->setText(QStringLiteral("New description"));
        child<QLineEdit>(&dialog, "keywordsEdit")->setText(QStringLiteral("Timer"));
        child<QPushButton>(&dialog, "addKeywordBtn")->click();
        QCOMPARE(child<QLineEdit>(&dialog, "keywordsEdit")->text(), QString());
        child<QComboBox>(&dialog, "keywordsComboBox")->setCurrentIndex(0);
        child<QPushButton>(&dialog, "removeKeywordBtn")->click();
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(project->description() == QStringLiteral("New description"), advanced);
        QCOMPARE(project->keywords(), advanced ? keywords.mid(1) + QStringList{"Timer"} : keywords);
    }

    void everyOptionKindIsEditedAndReachesTheConfiguration()
    {
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        auto *table = child<QTableWidget>(&dialog, "optionsTable");
        QCOMPARE(rows(&dialog), QStringList({"-O=g:Choice", "-g=:None", "-Wall=:None", "-mmcu==atmega328p:String"}));

        // A choice box, a flag, repeatable free text with the configured default, a generic one.
        qobject_cast<QComboBox *>(table->cellWidget(rowOf(&dialog, "-O"), 2))->setCurrentText(QStringLiteral("2"));
        chooseAdd(&dialog, QStringLiteral("-std="));
        chooseAdd(&dialog, QStringLiteral("-Werror"));
        chooseAdd(&dialog, QStringLiteral("-D"));
        table->item(table->rowCount() - 1, 2)->setText(QStringLiteral("BAUD=9600"));
        chooseAdd(&dialog, QStringLiteral("-D"));
        table->item(table->rowCount() - 1, 2)->setText(QStringLiteral("DEBUG"));
        chooseAdd(&dialog, QStringLiteral("Generic Option"));
        QCOMPARE(table->currentRow(), table->rowCount() - 1);
        table->item(table->rowCount() - 1, 2)->setText(QStringLiteral("-fshort-enums"));
        QCOMPARE(rows(&dialog), QStringList({"-O=2:Choice", "-g=:None", "-Wall=:None", "-mmcu==atmega328p:String",
                                             "-std==gnu11:Choice", "-Werror=:None", "-D=BAUD=9600:String",
                                             "-D=DEBUG:String", "=-fshort-enums:String"}));

        // Order: DEBUG before BAUD; then -g goes.
        table->setCurrentCell(rowOf(&dialog, "-D") + 1, 1);
        child<QPushButton>(&dialog, "upButton")->click();
        QCOMPARE(table->currentRow(), 6);
        table->setCurrentCell(0, 1);
        child<QPushButton>(&dialog, "upButton")->click();
        child<QPushButton>(&dialog, "downButton")->click();
        QCOMPARE(table->currentRow(), 1);
        child<QPushButton>(&dialog, "deleteButton")->click();
        QCOMPARE(rows(&dialog), QStringList({"-g=:None", "-Wall=:None", "-mmcu==atmega328p:String",
                                             "-std==gnu11:Choice", "-Werror=:None", "-D=DEBUG:String",
                                             "-D=BAUD=9600:String", "=-fshort-enums:String"}));

        // Another tool keeps its own list; coming back shows the edits.
        child<QComboBox>(&dialog, "toolComboBox")->setCurrentText(QStringLiteral("LD"));
        QCOMPARE(rows(&dialog), QStringList({"-g=:None", "-mmcu==atmega328p:String"}));
        child<QComboBox>(&dialog, "toolComboBox")->setCurrentText(QStringLiteral("CC"));
        QCOMPARE(rows(&dialog).size(), 8);

        child<QPushButton>(&dialog, "okButton")->click();
        const QStringList stored = values(project->configuration(0));
        for (const char *expected : {"CC -g=", "CC -std==gnu11", "CC -Werror=", "CC -D=DEBUG", "CC -D=BAUD=9600",
                                        "CC =-fshort-enums", "LD -g=", "AS -mmcu==atmega328p"})
            QVERIFY2(stored.contains(QLatin1String(expected)), qPrintable(stored.join(QLatin1String(", "))));
        QVERIFY(!stored.contains(QStringLiteral("CC -O=g")));
        QVERIFY(!stored.contains(QStringLiteral("CC -O=2")));
        QVERIFY(stored.indexOf(QStringLiteral("CC -D=DEBUG")) < stored.indexOf(QStringLiteral("CC -D=BAUD=9600")));
        QVERIFY(project->isModified());
    }

    void controllerChangeReplacesItsOptionsInEveryTool()
    {
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        child<QComboBox>(&dialog, "controllerCombo")->setCurrentText(QStringLiteral("ATmega16"));
        QVERIFY(rows(&dialog).contains(QStringLiteral("-mmcu==atmega16:String")));
        child<QLineEdit>(&dialog, "clockFrequency")->setText(QStringLiteral("8MHz"));
        child<QPushButton>(&dialog, "okButton")->click();
        const BuildProject *debug = project->configuration(0);
        QCOMPARE(debug->controller(), QStringLiteral("ATmega16"));
        QCOMPARE(debug->clock(), QStringLiteral("8MHz"));
        const QStringList stored = values(debug);
        for (const char *tool : {"CC", "AS", "LD"}) {
            QVERIFY(stored.contains(QLatin1String(tool) + QStringLiteral(" -mmcu==atmega16")));
            QVERIFY(!stored.contains(QLatin1String(tool) + QStringLiteral(" -mmcu==atmega328p")));
        }
        // Release was not touched.
        QCOMPARE(project->configuration(1)->controller(), QStringLiteral("ATmega328P"));
    }

    void defaultsBringBackTheTargetAndControllerOptions()
    {
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        auto *table = child<QTableWidget>(&dialog, "optionsTable");
        chooseAdd(&dialog, QStringLiteral("-Werror"));
        table->setCurrentCell(0, 1);
        child<QPushButton>(&dialog, "deleteButton")->click();
        QVERIFY(!rows(&dialog).contains(QStringLiteral("-O=g:Choice")));
        child<QPushButton>(&dialog, "defaultsButton")->click();
        QCOMPARE(rows(&dialog), QStringList({"-O=g:Choice", "-g=:None", "-Wall=:None", "-mmcu==atmega328p:String"}));
    }

    void valuesTheMakefileCannotTakeAreRevertedAtOnce_data()
    {
        // The Makefile writer quotes what it can; what it cannot write is put back at once.
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("optionRefused");
        QTest::newRow("recipe line") << "x\n\ttouch pwned" << true;
        QTest::newRow("backslash before a hash") << "x\\#" << true;
        QTest::newRow("make function") << "$(shell touch pwned)" << false;
        QTest::newRow("two words and quotes") << "-DA=\"b c\";" << false;
        QTest::newRow("frequency") << "8MHz" << false;
    }

    void valuesTheMakefileCannotTakeAreRevertedAtOnce()
    {
        QFETCH(QString, value);
        QFETCH(bool, optionRefused);
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        auto *table = child<QTableWidget>(&dialog, "optionsTable");
        auto *message = child<QLabel>(&dialog, "messageLabel");
        const int mmcu = rowOf(&dialog, "-mmcu=");
        table->item(mmcu, 2)->setText(value);
        QCOMPARE(table->item(mmcu, 2)->text(), optionRefused ? QStringLiteral("atmega328p") : value);
        QCOMPARE(!message->isHidden(), optionRefused);
        if (optionRefused)
            QVERIFY(message->text().contains(QLatin1String("previous value is kept")));

        // Only a frequency the build can use is a clock.
        const bool clockRefused = value != QLatin1String("8MHz");
        auto *clock = child<QLineEdit>(&dialog, "clockFrequency");
        clock->setText(value);
        emit clock->editingFinished();
        QCOMPARE(clock->text(), clockRefused ? QStringLiteral("16MHz") : value);
        QCOMPARE(!message->isHidden(), clockRefused);

        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(project->currentConfiguration()->clock() == QLatin1String("8MHz"), !clockRefused);
    }

    void cancelLeavesTheProjectAsItWas()
    {
        workbench->advanced = true;
        const QByteArray before = saved();
        ConfigurationOptionsDialog dialog(project.get(), compilers.get(), workbench.get());
        child<QComboBox>(&dialog, "controllerCombo")->setCurrentText(QStringLiteral("ATtiny85"));
        chooseAdd(&dialog, QStringLiteral("-Werror"));
        child<QPushButton>(&dialog, "defaultsButton")->click();
        child<QComboBox>(&dialog, "configurationsCombo")->setCurrentIndex(1);
        child<QLineEdit>(&dialog, "clockFrequency")->setText(QStringLiteral("1MHz"));
        child<QLineEdit>(&dialog, "keywordsEdit")->setText(QStringLiteral("Timer"));
        child<QPushButton>(&dialog, "addKeywordBtn")->click();
        child<QPushButton>(&dialog, "cancelButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!project->isModified());
        QCOMPARE(saved(), before);
    }

    void configurationsAreCopiedRenamedAndDeleted()
    {
        ConfigurationsDialog dialog(nullptr, project.get());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Confgiurations"));
        auto *table = child<QTableWidget>(&dialog, "configurationsTable");
        auto *message = child<QLabel>(&dialog, "messageLabel");
        QCOMPARE(table->rowCount(), 2);
        QVERIFY(child<QPushButton>(&dialog, "deleteButton")->isEnabled());

        table->setCurrentCell(0, 0);
        child<QPushButton>(&dialog, "copyButton")->click();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->currentRow(), 2);
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("Debug_copy"));
        QVERIFY(openEditor(table));
        QCOMPARE(openEditor(table)->text(), QStringLiteral("Debug_copy"));

        // Refused names put the accepted one back and say why.
        for (const char *refused : {"release", "", "a/b", ".."}) {
            typeName(table, 2, QLatin1String(refused));
            QCOMPARE(table->item(2, 0)->text(), QStringLiteral("Debug_copy"));
            QVERIFY(!message->isHidden());
        }
        typeName(table, 2, QStringLiteral("Test"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("Test"));
        QVERIFY(message->isHidden());
        qobject_cast<QComboBox *>(table->cellWidget(2, 1))->setCurrentText(QStringLiteral("Release"));

        table->setCurrentCell(1, 0);
        child<QPushButton>(&dialog, "deleteButton")->click();
        QCOMPARE(table->rowCount(), 2);
        table->setCurrentCell(1, 0);
        child<QPushButton>(&dialog, "deleteButton")->click();
        QCOMPARE(table->rowCount(), 1);
        QVERIFY(!child<QPushButton>(&dialog, "deleteButton")->isEnabled());
        dialog.deleteButtonClicked();
        QCOMPARE(table->rowCount(), 1);
        child<QPushButton>(&dialog, "copyButton")->click();
        QVERIFY(child<QPushButton>(&dialog, "deleteButton")->isEnabled());
        typeName(table, 1, QStringLiteral("Test"));

        dialog.accept();
        QCOMPARE(project->configurationCount(), 2);
        QCOMPARE(project->configuration(0)->name(), QStringLiteral("Debug"));
        QCOMPARE(project->configuration(1)->name(), QStringLiteral("Test"));
        QCOMPARE(project->configuration(1)->targetName(), QStringLiteral("Debug"));
        QCOMPARE(values(project->configuration(1)), values(project->configuration(0)));
    }

    void copiedConfigurationKeepsTheTargetChosenForIt()
    {
        ConfigurationsDialog dialog(nullptr, project.get());
        auto *table = child<QTableWidget>(&dialog, "configurationsTable");
        qobject_cast<QComboBox *>(table->cellWidget(0, 1))->setCurrentText(QStringLiteral("Release"));
        table->setCurrentCell(0, 0);
        child<QPushButton>(&dialog, "copyButton")->click();
        QCOMPARE(qobject_cast<QComboBox *>(table->cellWidget(2, 1))->currentText(), QStringLiteral("Release"));
        QCOMPARE(qobject_cast<QComboBox *>(table->cellWidget(0, 1))->currentText(), QStringLiteral("Release"));
    }
};

ZMX_TEST(ConfigurationDialogsTest)

#include "tst_configurationdialogs.moc"
