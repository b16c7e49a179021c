#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/projectbuilder.h"
#include "core/displaysettings.h"
#include "dialoganswerer.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/programsettingsdialog.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "fakesimulatorlocator.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"
#include "testfiles.h"
#include "testregistry.h"

#include <Qsci/qscilexercpp.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>

namespace {

const QString dataDir = QStringLiteral(ZMX_SOURCE_DIR "/data");

std::unique_ptr<QSettings> userStore()
{
    auto store = std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"),
                                             QStringLiteral("ZMX Studio"));
    store->beginGroup(QStringLiteral("1"));
    return store;
}

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    T *found = dialog->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no %s in the dialog", name);
    return found;
}

void choose(QWidget *dialog, const char *combo, const QString &text)
{
    auto *box = child<QComboBox>(dialog, combo);
    box->setCurrentIndex(box->findText(text));
}

void selectItem(QWidget *dialog, const QString &group, const QString &item)
{
    choose(dialog, "textSettings", group);
    auto *list = child<QListWidget>(dialog, "displayItems");
    list->setCurrentItem(list->findItems(item, Qt::MatchExactly).value(0));
}

void press(QWidget *dialog, QDialogButtonBox::StandardButton button)
{
    child<QDialogButtonBox>(dialog, "buttonBox")->button(button)->click();
}

// A fixed-width family of this system other than the given ones.
QString otherFixedFamily(const QStringList &taken)
{
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) && !taken.contains(family))
            return family;
    }
    return QString();
}

}

// Editor Configuration through the real window: what OK changes in the open editor, the
// project tree and the output pane, what Cancel leaves alone, which directories it refuses.
class ProgramSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    SrcManager *makeWindow()
    {
        auto *window = new SrcManager;
        const QString source = scratch.filePath(QStringLiteral("main.c"));
        QFile file(source);
        if (file.open(QIODevice::WriteOnly))
            file.write("/* a comment */\nint main(void) { return 0; }\n");
        file.close();
        window->tabs()->openEditor(source);
        return window;
    }

    // Runs Editor Configuration; act works on the shown dialog and closes it.
    static void runDialog(SrcManager &window, std::function<void(QWidget *)> act)
    {
        bool reached = false;
        DialogAnswerer::handleNext([&reached, act](QWidget *modal) {
            reached = qobject_cast<ProgramSettingsDialog *>(modal) != nullptr;
            if (reached)
                act(modal);
            else
                modal->close();
        });
        window.action(SrcManager::EditorConfiguration)->trigger();
        QVERIFY(reached);
    }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        FakeSimulatorLocator::install(scratch.path());
        DialogAnswerer::seenTexts().clear();
    }

    void cleanup() { FakeSimulatorLocator::uninstall(); }

    // One pass through every tab, and what the window shows afterwards.
    void okAppliesEverywhereAndStores()
    {
        std::unique_ptr<SrcManager> window(makeWindow());
        SourceEditor *editor = window->tabs()->currentEditor();
        QVERIFY(editor);
        auto *lexer = qobject_cast<QsciLexerCPP *>(editor->lexer());
        QVERIFY(lexer);
        QCOMPARE(lexer->color(QsciLexerCPP::Comment), QColor(Qt::darkGreen));
        QString family;
        runDialog(*window, [&family, &lexer](QWidget *dialog) {
            child<QTabWidget>(dialog, "tabWidget")->setCurrentIndex(1);
            selectItem(dialog, DisplaySettings::textEditor, QStringLiteral("Comments"));
            // Neither the stored family nor the one the box shows in its place.
            family = otherFixedFamily({lexer->font(QsciLexerCPP::Comment).family(),
                                       child<QFontComboBox>(dialog, "fontName")->currentFont().family()});
            choose(dialog, "foregroundColour", QStringLiteral("Purple"));
            child<QCheckBox>(dialog, "boldCheckBox")->setChecked(true);
            if (!family.isEmpty())
                child<QFontComboBox>(dialog, "fontName")->setCurrentFont(QFont(family));
            choose(dialog, "fontSize", QStringLiteral("14"));
            selectItem(dialog, DisplaySettings::outputWindow, QStringLiteral("Errors"));
            choose(dialog, "foregroundColour", QStringLiteral("Teal"));
            selectItem(dialog, DisplaySettings::projectsTree, QStringLiteral("Files"));
            child<QCheckBox>(dialog, "italicCheckBox")->setChecked(true);
            child<QCheckBox>(dialog, "displayLineNumbersCheckBox")->setChecked(false);
            child<QCheckBox>(dialog, "displayIndentationGuidesCheckBox")->setChecked(true);
            choose(dialog, "wrapModeComboBox", QStringLiteral("Word"));
            press(dialog, QDialogButtonBox::Ok);
        });

        QCOMPARE(lexer->color(QsciLexerCPP::Comment), QColor(Qt::darkMagenta));
        if (family.isEmpty())
            QSKIP("this system has too few fixed-width fonts to choose another");
        QCOMPARE(lexer->font(QsciLexerCPP::Comment).family(), family);
        QCOMPARE(lexer->font(QsciLexerCPP::Comment).pointSize(), 14);
        QVERIFY(lexer->font(QsciLexerCPP::Comment).bold());
        QVERIFY(!lexer->font(QsciLexerCPP::Keyword).bold());
        QCOMPARE(editor->marginWidth(1), 0);
        QVERIFY(editor->indentationGuides());
        QCOMPARE(editor->wrapMode(), QsciScintilla::WrapWord);

        window->addError(QStringLiteral("broken\n"));
        QTextEdit *output = window->output()->textEdit();
        QTextCursor cursor(output->document()->lastBlock().previous());
        cursor.movePosition(QTextCursor::EndOfBlock);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(Qt::darkCyan));

        const auto store = userStore();
        QVERIFY(DisplaySettings::formatForItem(store.get(), DisplaySettings::projectsTree, QStringLiteral("Files")).fontItalic());
        store->beginGroup(QLatin1String(ProgramSettingsDialog::editorGroup));
        QCOMPARE(store->value(QStringLiteral("Display line numbers")).toBool(), false);
        QCOMPARE(store->value(QStringLiteral("Wrap mode")).toInt(), 1);
        // Keys that were missing are stored with the values the dialog showed.
        QCOMPARE(store->value(QStringLiteral("Tabs for indents")).toBool(), false);
        QCOMPARE(store->value(QStringLiteral("Auto indent")).toBool(), false);
        QCOMPARE(store->value(QStringLiteral("Folding style")).toInt(), 0);
    }

    void cancelChangesNothing()
    {
        std::unique_ptr<SrcManager> window(makeWindow());
        auto *lexer = qobject_cast<QsciLexerCPP *>(window->tabs()->currentEditor()->lexer());
        const QString projects = window->projectsDirectory();
        runDialog(*window, [this](QWidget *dialog) {
            selectItem(dialog, DisplaySettings::textEditor, QStringLiteral("Comments"));
            choose(dialog, "foregroundColour", QStringLiteral("Red"));
            choose(dialog, "fontSize", QStringLiteral("20"));
            child<QCheckBox>(dialog, "displayLineNumbersCheckBox")->setChecked(false);
            child<QLineEdit>(dialog, "projectsDir")->setText(scratch.path());
            press(dialog, QDialogButtonBox::Cancel);
        });
        QCOMPARE(lexer->color(QsciLexerCPP::Comment), QColor(Qt::darkGreen));
        QCOMPARE(lexer->font(QsciLexerCPP::Comment).pointSize(), 10);
        QCOMPARE(window->tabs()->currentEditor()->marginWidth(1), 50);
        QCOMPARE(window->projectsDirectory(), projects);
        const auto store = userStore();
        QVERIFY(!store->childGroups().contains(QStringLiteral("Text Editor Display Settings")));
    }

    // The job count starts at the processor count, survives a restart, and Cancel keeps
    // what was stored; a value the box cannot show falls back to the processor count.
    void makeJobsRoundTrip()
    {
        const int processors = QThread::idealThreadCount();
        const auto shownJobs = [](SrcManager &window) {
            int shown = -1;
            runDialog(window, [&shown](QWidget *dialog) {
                shown = child<QSpinBox>(dialog, "makeJobsSpinBox")->value();
                press(dialog, QDialogButtonBox::Cancel);
            });
            return shown;
        };
        const auto setJobs = [](SrcManager &window, int jobs, QDialogButtonBox::StandardButton button) {
            runDialog(window, [jobs, button](QWidget *dialog) {
                child<QSpinBox>(dialog, "makeJobsSpinBox")->setValue(jobs);
                press(dialog, button);
            });
        };

        std::unique_ptr<SrcManager> window(makeWindow());
        QCOMPARE(shownJobs(*window), processors);
        QCOMPARE(ProjectBuilder::makeJobs(window.get()), processors);
        setJobs(*window, 0, QDialogButtonBox::Ok);
        QCOMPARE(ProjectBuilder::makeJobs(window.get()), 0);

        window.reset(makeWindow());
        QCOMPARE(shownJobs(*window), 0);
        QCOMPARE(ProjectBuilder::makeJobs(window.get()), 0);
        setJobs(*window, 7, QDialogButtonBox::Cancel);
        QCOMPARE(ProjectBuilder::makeJobs(window.get()), 0);
        setJobs(*window, 12, QDialogButtonBox::Ok);
        window.reset();
        QCOMPARE(userStore()->value(QStringLiteral("Build/Make jobs")).toInt(), 12);

        userStore()->setValue(QStringLiteral("Build/Make jobs"), QStringLiteral("lots"));
        window.reset(makeWindow());
        QCOMPARE(shownJobs(*window), processors);
    }

    // Each row is refused by name and nothing is stored; the dialog stays open to mend it.
    void missingDirectoryIsRefused_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("key");
        const char *rows[][2] = {{"compilersDir", "Compilers"}, {"simulatorDir", "Simulator"}, {"syntaxDir", "Syntax"},
                                 {"toolsDir", "Tools"},         {"devBoardsDir", "DevBoards"}, {"quorvinDir", "Quorvin"},
                                 {"projectsDir", "Projects"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }

    void missingDirectoryIsRefused()
    {
        QFETCH(QString, edit);
        QFETCH(QString, key);
        std::unique_ptr<SrcManager> window(makeWindow());
        // The dialog shows every directory, which stores the defaults of those not stored yet.
        for (const QString &shown : {window->compilersDirectory(), window->simulatorDirectory(), window->syntaxDirectory(),
                                     window->toolsDirectory(), window->devBoardsDirectory(), window->quorvinPath(),
                                     window->projectsDirectory()})
            QVERIFY(!shown.isEmpty());
        const QString before = userStore()->value(key).toString();
        const QString missing = scratch.filePath(QStringLiteral("no such folder"));
        bool stillOpen = false;
        runDialog(*window, [&](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(edit)->setText(missing);
            child<QCheckBox>(dialog, "displayLineNumbersCheckBox")->setChecked(false);
            DialogAnswerer::pressButton(QMessageBox::Ok);
            press(dialog, QDialogButtonBox::Ok);
            stillOpen = dialog->isVisible();
            QCOMPARE(child<QTabWidget>(dialog, "tabWidget")->currentIndex(), 0);
            press(dialog, QDialogButtonBox::Cancel);
        });
        QVERIFY(stillOpen);
        QCOMPARE(DialogAnswerer::seenTexts().size(), 1);
        QVERIFY2(DialogAnswerer::seenTexts().first().contains(missing), qPrintable(DialogAnswerer::seenTexts().first()));
        QCOMPARE(userStore()->value(key).toString(), before);
        QCOMPARE(window->tabs()->currentEditor()->marginWidth(1), 50);
    }

    // A new compilers directory is read at once; the open project's configurations bind to
    // what was read and keep their unsaved state.
    void newCompilersDirectoryIsReadAgain()
    {
        QTemporaryDir compilers;
        QVERIFY(QFile::copy(dataDir + QStringLiteral("/compilers/avr_gcc.xml"), compilers.filePath(QStringLiteral("avr_gcc.xml"))));
        QVERIFY(TestFiles::copyTree(dataDir + QStringLiteral("/devboards/avr_atmega328p"), scratch.filePath(QStringLiteral("board"))));
        std::unique_ptr<SrcManager> window(makeWindow());
        window->setCompilersDirectory(dataDir + QStringLiteral("/compilers"));
        ProjectsManager *manager = window->projects();
        manager->buildConfigList()->loadAll();
        QVERIFY(manager->openProjectFile(scratch.filePath(QStringLiteral("board/ATmega328P_Board.zmxp")), true));
        Project *project = manager->currentProject();
        project->configuration(1)->setClock(QStringLiteral("8MHz"));
        project->setCurrentConfiguration(1);
        project->setModified(true);
        const BuildConfig *before = project->configuration(0)->compiler();
        QCOMPARE(manager->buildConfigList()->names().size(), 3);

        runDialog(*window, [&compilers](QWidget *dialog) {
            child<QLineEdit>(dialog, "compilersDir")->setText(compilers.path());
            press(dialog, QDialogButtonBox::Ok);
        });
        QCOMPARE(manager->buildConfigList()->names(), QStringList{QStringLiteral("AVR GCC")});
        QCOMPARE(project, manager->currentProject());
        for (int index = 0; index < project->configurationCount(); ++index) {
            QCOMPARE(project->configuration(index)->compiler(), manager->buildConfigList()->find(QStringLiteral("AVR GCC")));
            QCOMPARE(project->configuration(index)->controller(), QStringLiteral("ATmega328P"));
            QVERIFY(project->configuration(index)->target());
        }
        QVERIFY(project->configuration(0)->compiler() != before);
        QCOMPARE(project->configuration(1)->clock(), QStringLiteral("8MHz"));
        QCOMPARE(project->currentConfigurationIndex(), 1);
        QVERIFY(project->isModified());

        // A directory without the project's compiler is taken at the next start only.
        QTemporaryDir empty;
        QVERIFY(QFile::copy(dataDir + QStringLiteral("/compilers/sdcc_mcs51.xml"), empty.filePath(QStringLiteral("sdcc.xml"))));
        const BuildConfig *kept = project->configuration(0)->compiler();
        runDialog(*window, [&empty](QWidget *dialog) {
            child<QLineEdit>(dialog, "compilersDir")->setText(empty.path());
            press(dialog, QDialogButtonBox::Ok);
        });
        QCOMPARE(project->configuration(0)->compiler(), kept);
        QCOMPARE(manager->buildConfigList()->names(), QStringList{QStringLiteral("AVR GCC")});
        QCOMPARE(window->compilersDirectory(), empty.path());
        QVERIFY(window->output()->textEdit()->toPlainText().contains(QStringLiteral("AVR GCC")));
        project->setModified(false);
    }

    // How an item's flags show in the colour tab's controls.
    void controlsFollowTheItem_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("foreground");
        QTest::addColumn<QString>("background");
        // font, background box, foreground default, background default
        QTest::addColumn<QString>("enabled");
        QTest::newRow("text") << DisplaySettings::textEditor << "Text" << "Black" << "White" << "font bg";
        QTest::newRow("margins") << DisplaySettings::textEditor << "Margins" << "Black" << "Custom" << "font bg";
        QTest::newRow("caret") << DisplaySettings::textEditor << "Caret" << "Black" << "Yellow" << "bg";
        QTest::newRow("selection") << DisplaySettings::textEditor << "Selection" << "Black" << "Silver"
                                   << "bg fgdefault bgdefault";
        QTest::newRow("call tips highlight") << DisplaySettings::textEditor << "Call Tips Highlight" << "Navy"
                                             << "White" << "";
        QTest::newRow("links") << DisplaySettings::outputWindow << "Links" << "Blue" << "White" << "font bg";
    }

    void controlsFollowTheItem()
    {
        QFETCH(QString, group);
        QFETCH(QString, item);
        QFETCH(QString, foreground);
        QFETCH(QString, background);
        QFETCH(QString, enabled);
        ProgramSettingsDialog dialog(nullptr);
        QCOMPARE(dialog.helpTopic(), 4);
        child<QTabWidget>(&dialog, "tabWidget")->setCurrentIndex(1);
        QCOMPARE(dialog.helpTopic(), 5);
        selectItem(&dialog, group, item);
        QCOMPARE(child<QComboBox>(&dialog, "foregroundColour")->currentText(), foreground);
        QCOMPARE(child<QComboBox>(&dialog, "backgroundColour")->currentText(), background);
        QStringList states;
        if (child<QWidget>(&dialog, "boldCheckBox")->isEnabled() && child<QWidget>(&dialog, "fontName")->isEnabled())
            states.append(QStringLiteral("font"));
        if (child<QWidget>(&dialog, "backgroundColour")->isEnabled())
            states.append(QStringLiteral("bg"));
        if (child<QWidget>(&dialog, "foregroundDefault")->isEnabled())
            states.append(QStringLiteral("fgdefault"));
        if (child<QWidget>(&dialog, "backgroundDefault")->isEnabled())
            states.append(QStringLiteral("bgdefault"));
        QCOMPARE(states.join(QLatin1Char(' ')), enabled);
        // "Custom" names no colour: choosing it keeps the item's own.
        const QColor kept = dialog.displaySettings(group).item(item)->foreground;
        choose(&dialog, "foregroundColour", QStringLiteral("Custom"));
        QCOMPARE(dialog.displaySettings(group).item(item)->foreground, kept);
    }

    // The sample line follows every change, and Load Defaults brings back the comments'
    // dark green italics.
    void sampleFollowsChangesAndDefaultsReturn()
    {
        ProgramSettingsDialog dialog(nullptr);
        selectItem(&dialog, DisplaySettings::textEditor, QStringLiteral("Comments"));
        auto *sample = child<QTextEdit>(&dialog, "textSampleEdit");
        const auto sampleFormat = [sample] {
            QTextCursor cursor(sample->document());
            cursor.movePosition(QTextCursor::NextCharacter);
            return cursor.charFormat();
        };
        QVERIFY(sampleFormat().fontItalic());
        QCOMPARE(sampleFormat().foreground().color(), QColor(Qt::darkGreen));
        choose(&dialog, "foregroundColour", QStringLiteral("Lime"));
        child<QCheckBox>(&dialog, "italicCheckBox")->setChecked(false);
        child<QCheckBox>(&dialog, "underlineCheckBox")->setChecked(true);
        QCOMPARE(sampleFormat().foreground().color(), QColor(Qt::green));
        QVERIFY(!sampleFormat().fontItalic());
        QVERIFY(sampleFormat().fontUnderline());

        child<QPushButton>(&dialog, "textSettingsDefaultsButton")->click();
        const DisplayItem *comments = dialog.displaySettings(DisplaySettings::textEditor).item(QStringLiteral("Comments"));
        QCOMPARE(comments->foreground, QColor(Qt::darkGreen));
        QVERIFY(comments->italic);
        QVERIFY(!comments->underline);
        QCOMPARE(child<QListWidget>(&dialog, "displayItems")->currentItem()->text(), QStringLiteral("Comments"));
        QVERIFY(sampleFormat().fontItalic());
    }
};

ZMX_TEST(ProgramSettingsTest)

#include "tst_programsettings.moc"
