#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "build/maketext.h"
#include "dialoganswerer.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "projects/configurationoptionsdialog.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QComboBox *choiceOf(QWidget *dialog, const QString &option)
{
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("optionsTable"));
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 1)->text() == option)
            return qobject_cast<QComboBox *>(table->cellWidget(row, 2));
    }
    return nullptr;
}

// The lines of the output pane that run the compiler on a source file.
QStringList compilerLines(SrcManager &window)
{
    QStringList lines;
    for (const QString &line : window.output()->textEdit()->toPlainText().split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("avr-gcc -c")))
            lines.append(line);
    }
    return lines;
}

// The rule heads and recipes of a Makefile: every line but comments and variables.
QStringList rules(const QString &makefile)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(TestFiles::contents(makefile)).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1Char('#')) && !line.contains(QLatin1String("FLAGS=")))
            lines.append(line);
    }
    return lines;
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files.append(it.next());
    files.sort();
    return files;
}

}

// The options and configurations dialogs through the window's own commands, with the real
// AVR tool chain building the board before and after.
class ProjectOptionsBuildTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *work = nullptr;
    SrcManager *window = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }

    void build()
    {
        window->output()->clearOutput();
        window->action(SrcManager::BuildProject)->trigger();
    }

    QString output() const { return window->output()->textEdit()->toPlainText(); }

private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        work = new QTemporaryDir;
        window = new SrcManager;
        BuildConfig *avr = window->projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
        QVERIFY(avr);
        const DetectionResult detected = CompilerDetector(window).detect(*avr);
        if (!detected.detected())
            QSKIP("The AVR GCC tool chain is not installed");
        avr->storeDetection(true, detected.directory);
        QVERIFY(TestFiles::copyTree(QStringLiteral(ZMX_SOURCE_DIR "/data/devboards/avr_atmega328p"), work->path()));
        window->openProject(at(QStringLiteral("ATmega328P_Board.zmxp")));
        QCOMPARE(window->projects()->projectCount(), 1);
    }

    void cleanup()
    {
        delete window;
        delete work;
        window = nullptr;
        work = nullptr;
    }

    void newOptimisationAndControllerReachEveryToolAndTheFirmware()
    {
        build();
        QVERIFY2(output().contains(QStringLiteral("Compiled successfully.")), qPrintable(output()));
        const QByteArray before = TestFiles::contents(at(QStringLiteral("Debug/Debug.hex")));
        QVERIFY(!before.isEmpty());

        bool answered = false;
        DialogAnswerer::handleNext([&answered](QWidget *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("controllerCombo"))->setCurrentText(QStringLiteral("ATmega16"));
            if (QComboBox *optimisation = choiceOf(dialog, QStringLiteral("-O")))
                optimisation->setCurrentText(QStringLiteral("2"));
            answered = true;
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        window->action(SrcManager::ProjectSettings)->trigger();
        QVERIFY(answered);

        build();
        QVERIFY2(output().contains(QStringLiteral("Compiled successfully.")), qPrintable(output()));
        // Every source is compiled again with the new flags, though none of them changed.
        const QStringList lines = compilerLines(*window);
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines) {
            QVERIFY2(line.contains(QStringLiteral("-mmcu=atmega16")), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral("atmega328p")), qPrintable(line));
        }
        // The C compile takes the optimisation; with steps run side by side the assembler's
        // line may come first.
        const auto compile = std::find_if(lines.cbegin(), lines.cend(), [](const QString &line) {
            return !line.contains(QStringLiteral("assembler-with-cpp"));
        });
        QVERIFY2(compile != lines.cend(), qPrintable(lines.join(QLatin1Char('\n'))));
        QVERIFY2(compile->contains(QStringLiteral("-O2")) && !compile->contains(QStringLiteral("-Og")), qPrintable(*compile));
        const QByteArray after = TestFiles::contents(at(QStringLiteral("Debug/Debug.hex")));
        QVERIFY(TestFiles::isIntelHex(at(QStringLiteral("Debug/Debug.hex"))));
        QVERIFY(after != before);
        QVERIFY(TestFiles::contents(at(QStringLiteral("ATmega328P_Board.zmxp"))).contains("TYPE=\"ATmega16\""));

        // The next build has nothing to do again.
        build();
        QCOMPARE(compilerLines(*window).size(), 0);
    }

    void copiedConfigurationBuildsOnItsOwn()
    {
        bool answered = false;
        DialogAnswerer::handleNext([&answered](QWidget *dialog) {
            auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("configurationsTable"));
            table->setCurrentCell(0, 0);
            dialog->findChild<QPushButton *>(QStringLiteral("copyButton"))->click();
            // The copy's name is open for editing: the user types the new one.
            if (auto *editor = table->viewport()->findChild<QLineEdit *>()) {
                editor->setText(QStringLiteral("Test"));
                QTest::keyClick(editor, Qt::Key_Return);
                QCoreApplication::processEvents();
            }
            answered = table->item(table->rowCount() - 1, 0)->text() == QLatin1String("Test");
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
        });
        QComboBox *box = window->configurationBox();
        box->setCurrentIndex(box->findText(QStringLiteral("Configurations...")));
        QVERIFY(answered);
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->itemText(2), QStringLiteral("Test"));

        box->setCurrentIndex(2);
        build();
        QVERIFY2(output().contains(QStringLiteral("Compiled successfully.")), qPrintable(output()));
        QVERIFY(TestFiles::isIntelHex(at(QStringLiteral("Test/Test.hex"))));
        QVERIFY(!QFile::exists(at(QStringLiteral("Debug"))));
        const QByteArray saved = TestFiles::contents(at(QStringLiteral("ATmega328P_Board.zmxp")));
        QVERIFY(saved.contains("<CONFIGURATION NAME=\"Test\" COMPILER=\"AVR GCC\" TARGET=\"Debug\">"));
    }

    void injectedValuesNeverReachMakeOrTheShell_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("recipe line") << QStringLiteral("1\n\ttouch %1");
        QTest::newRow("make function") << QStringLiteral("$(shell touch %1)");
        QTest::newRow("command substitution") << QStringLiteral("`touch %1`");
    }

    void injectedValuesNeverReachMakeOrTheShell()
    {
        QFETCH(QString, value);
        build();
        const QStringList rulesBefore = rules(at(QStringLiteral("Debug/Makefile")));
        QVERIFY(!rulesBefore.isEmpty());
        const QString marker = at(QStringLiteral("pwned"));
        const QString injected = value.arg(marker);

        // A macro definition takes any text the Makefile can hold; what it cannot hold is
        // refused in the dialog at once and the value before stays.
        QString refusal;
        DialogAnswerer::handleNext([&](QWidget *dialog) {
            auto *add = dialog->findChild<QComboBox *>(QStringLiteral("addComboBox"));
            add->setCurrentIndex(add->findText(QStringLiteral("-D "), Qt::MatchStartsWith));
            dialog->findChild<QPushButton *>(QStringLiteral("addOptionButton"))->click();
            auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("optionsTable"));
            table->item(table->rowCount() - 1, 2)->setText(QStringLiteral("TAG=1"));
            table->item(table->rowCount() - 1, 2)->setText(QStringLiteral("TAG=") + injected);
            refusal = dialog->findChild<QLabel *>(QStringLiteral("messageLabel"))->text();
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        window->action(SrcManager::ProjectSettings)->trigger();
        const bool refused = !MakeText::variableRefusal(QStringLiteral("-DTAG=") + injected).isEmpty();
        QCOMPARE(refusal.contains(QLatin1String("cannot take")), refused);
        if (injected.contains(QLatin1Char('\n')))
            QVERIFY(refused);

        build();
        QVERIFY2(output().contains(QStringLiteral("Compiled successfully.")), qPrintable(output()));
        QVERIFY(!QFile::exists(marker));
        QVERIFY(!filesBelow(work->path()).join(QLatin1Char('\n')).contains(QLatin1String("pwned")));
        QCOMPARE(rules(at(QStringLiteral("Debug/Makefile"))), rulesBefore);
        // The definition is the C compiler's: the C source gets it, the assembler source not.
        const QStringList lines = compilerLines(*window);
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines)
            QVERIFY2(line.contains(QStringLiteral("-DTAG=")) == line.endsWith(QLatin1String("main.c")), qPrintable(line));
    }

    void cancelChangesNothingOnDisk()
    {
        window->action(SrcManager::SaveProject)->trigger();
        const QString projectFile = at(QStringLiteral("ATmega328P_Board.zmxp"));
        const QByteArray before = TestFiles::contents(projectFile);
        DialogAnswerer::handleNext([](QWidget *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("controllerCombo"))->setCurrentText(QStringLiteral("ATtiny85"));
            dialog->findChild<QPushButton *>(QStringLiteral("defaultsButton"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        });
        window->action(SrcManager::ProjectSettings)->trigger();
        DialogAnswerer::handleNext([](QWidget *dialog) {
            auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("configurationsTable"));
            table->setCurrentCell(0, 0);
            dialog->findChild<QPushButton *>(QStringLiteral("copyButton"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("deleteButton"))->click();
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Cancel)->click();
        });
        QComboBox *box = window->configurationBox();
        box->setCurrentIndex(box->findText(QStringLiteral("Configurations...")));
        QVERIFY(!window->action(SrcManager::SaveProject)->isEnabled());
        window->action(SrcManager::SaveProject)->trigger();
        QCOMPARE(TestFiles::contents(projectFile), before);
        QCOMPARE(box->currentText(), QStringLiteral("Debug"));
    }
};

ZMX_TEST(ProjectOptionsBuildTest)

#include "tst_projectoptionsbuild.moc"
