#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilersdialog.h"
#include "dialoganswerer.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

void writeText(const QString &path, const QString &text, bool executable = false)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

}

// Records the addresses the dialog asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class CompilersDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeWorkbench> workbench;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<BuildConfigList> configs;

    // A configuration whose DETECT checks the program bin/<program>.
    void addCompiler(const QString &name, const QString &detectAttributes, const QString &extra = QString())
    {
        const QDir compilers(dir->filePath(QStringLiteral("compilers")));
        const QString file = compilers.filePath(QStringLiteral("c%1.xml").arg(compilers.entryList(QDir::Files).size()));
        writeText(file, QStringLiteral("<COMPILER NAME=\"%1\" %2><DETECT %3/></COMPILER>").arg(name, extra, detectAttributes));
    }

    QString program(const QString &name, const QString &body)
    {
        const QString path = dir->filePath(QStringLiteral("bin/") + name);
        writeText(path, QStringLiteral("#!/bin/sh\n") + body + QLatin1Char('\n'), true);
        return path;
    }

    void load()
    {
        configs = std::make_unique<BuildConfigList>(workbench.get());
        QVERIFY(configs->loadAll(dir->filePath(QStringLiteral("compilers"))));
    }

    static QTableWidget *table(CompilersDialog &dialog) { return dialog.findChild<QTableWidget *>(QStringLiteral("compilersTable")); }
    static QLineEdit *editor(CompilersDialog &dialog, int row)
    {
        return qobject_cast<QLineEdit *>(table(dialog)->cellWidget(row, 3));
    }
    static void click(CompilersDialog &dialog, const char *button)
    {
        dialog.findChild<QPushButton *>(QLatin1String(button))->click();
    }

    QStringList summary() const
    {
        QStringList lines;
        for (const QString &line : workbench->output) {
            if (!line.startsWith(QStringLiteral("message: Detecting compiler")))
                lines.append(line);
        }
        return lines;
    }

private slots:
    void init()
    {
        workbench = std::make_unique<FakeWorkbench>();
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkpath(QStringLiteral("compilers"));
        QDir(dir->path()).mkpath(QStringLiteral("bin"));
    }

    void cleanup()
    {
        configs.reset();
        workbench.reset();
        dir.reset();
    }

    void showsTheMakersCompilersFirst()
    {
        for (const QString &name : {QStringLiteral("Zeta C"), QStringLiteral("alpha asm"), QStringLiteral("Quorvin B"),
                                    QStringLiteral("My QUORVIN A"), QStringLiteral("Beta")})
            addCompiler(name, QString());
        load();
        configs->find(QStringLiteral("Beta"))->storeDetection(true, QStringLiteral("/opt/beta/bin"));
        configs->find(QStringLiteral("Zeta C"))->storeDetection(false, QStringLiteral("/opt/zeta"));

        CompilersDialog dialog(workbench.get(), configs.get());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Compilers"));
        QCOMPARE(dialog.helpTopic(), 1);
        QTableWidget *rows = table(dialog);
        QCOMPARE(rows->columnCount(), 4);
        QStringList headers;
        for (int column = 0; column < 4; ++column)
            headers.append(rows->horizontalHeaderItem(column)->text());
        QCOMPARE(headers, QStringList({QStringLiteral("Compiler"), QStringLiteral("Installed"), QStringLiteral("Config File"),
                                       QStringLiteral("Compiler Directory")}));
        QVERIFY(rows->isColumnHidden(2));

        QStringList names;
        for (int row = 0; row < rows->rowCount(); ++row)
            names.append(rows->item(row, 0)->text());
        QCOMPARE(names, QStringList({QStringLiteral("Quorvin B"), QStringLiteral("My QUORVIN A"), QStringLiteral("Beta"),
                                     QStringLiteral("Zeta C"), QStringLiteral("alpha asm")}));
        QCOMPARE(rows->item(0, 0)->foreground().color(), QColor(0, 0, 125));
        QVERIFY(rows->item(1, 0)->toolTip().isEmpty());
        QCOMPARE(rows->item(2, 0)->toolTip(), QStringLiteral("Double click to visit compiler's website"));
        QCOMPARE(rows->item(2, 1)->text(), QStringLiteral("Yes"));
        QCOMPARE(editor(dialog, 2)->text(), QStringLiteral("/opt/beta/bin"));
        QCOMPARE(rows->item(3, 1)->text(), QStringLiteral("No"));
        QCOMPARE(editor(dialog, 3)->text(), QString()); // stored, but not configured
        QCOMPARE(rows->item(2, 2)->text(), configs->find(QStringLiteral("Beta"))->filePath(true));
        QVERIFY(!editor(dialog, 0)->hasFrame());
        QVERIFY(editor(dialog, 0)->completer());
    }

    void checksEveryRowAndSummarises()
    {
        const QString good = program(QStringLiteral("good"), QStringLiteral("echo good 1.0"));
        program(QStringLiteral("old"), QStringLiteral("echo old"));
        addCompiler(QStringLiteral("Found C"), QStringLiteral("PATH=\"%1\" STR=\"good 1\"").arg(good));
        addCompiler(QStringLiteral("Old C"), QStringLiteral("PATH=\"%1\" DATE=\"2999-01-01\"").arg(dir->filePath(QStringLiteral("bin/old"))),
                    QStringLiteral("VERSION=\"2.0\""));
        addCompiler(QStringLiteral("Missing C"), QStringLiteral("PATH=\"%1\"").arg(dir->filePath(QStringLiteral("bin/none"))));
        addCompiler(QStringLiteral("Older C"), QStringLiteral("PATH=\"%1\" DATE=\"2999-01-01\"").arg(dir->filePath(QStringLiteral("bin/old"))));
        load();
        configs->find(QStringLiteral("Missing C"))->storeDetection(true, QStringLiteral("/was/here"));
        const QString bin = QDir(dir->filePath(QStringLiteral("bin"))).absolutePath();

        CompilersDialog dialog(workbench.get(), configs.get());
        workbench->addMessage(QStringLiteral("earlier"));
        click(dialog, "checkAllButton");
        QCOMPARE(workbench->output.count(QStringLiteral("message: earlier")), 0);
        QCOMPARE(workbench->output.count(QStringLiteral("message: Detecting compiler Found C")), 1);
        QCOMPARE(summary(), QStringList({QStringLiteral("message: \nCompiler detection summary"), QStringLiteral("message: Not Found:"),
                                         QStringLiteral("message: Missing C:\t"), QStringLiteral("message: Found:"),
                                         QStringLiteral("message: Found C:\t") + bin,
                                         QStringLiteral("message: <span style='color: #FF0000; font-size: 10pt'>Unsupported Versions:<br>"
                                                        "Old C:\t\n\tVersion 2.0 or later required<br>"
                                                        "Older C:\t\n\tUse the latest version<br></span>")}));
        QTableWidget *rows = table(dialog);
        // Rows: Found C, Missing C, Old C, Older C.
        QCOMPARE(rows->item(0, 1)->text(), QStringLiteral("Yes"));
        QCOMPARE(editor(dialog, 0)->text(), bin);
        QCOMPARE(rows->item(1, 1)->text(), QStringLiteral("No"));
        QCOMPARE(editor(dialog, 1)->text(), QString());
        QCOMPARE(rows->item(2, 1)->text(), QStringLiteral("No"));
        QCOMPARE(editor(dialog, 2)->text(), QStringLiteral("Compiler too old"));
        QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("saveButton"))->isEnabled());

        // Nothing is stored before OK.
        QVERIFY(configs->find(QStringLiteral("Missing C"))->isConfigured());
        QVERIFY(!configs->find(QStringLiteral("Found C"))->isConfigured());
        click(dialog, "saveButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(configs->names(true), QStringList({QStringLiteral("Found C")}));
        QCOMPARE(configs->find(QStringLiteral("Found C"))->compilerDirectory(), bin);
    }

    void checksTheCurrentRowOnly()
    {
        const QString good = program(QStringLiteral("good"), QStringLiteral("echo good"));
        addCompiler(QStringLiteral("A"), QStringLiteral("PATH=\"%1\"").arg(good));
        addCompiler(QStringLiteral("B"), QStringLiteral("PATH=\"%1\"").arg(good));
        load();
        CompilersDialog dialog(workbench.get(), configs.get());
        workbench->addMessage(QStringLiteral("earlier"));
        click(dialog, "checkButton");
        QCOMPARE(workbench->output, QStringList({QStringLiteral("message: earlier")}));

        table(dialog)->setCurrentCell(1, 0);
        click(dialog, "checkButton");
        QCOMPARE(table(dialog)->item(0, 1)->text(), QStringLiteral("No"));
        QCOMPARE(table(dialog)->item(1, 1)->text(), QStringLiteral("Yes"));
        QCOMPARE(workbench->output.count(QStringLiteral("message: Detecting compiler B")), 1);
        QCOMPARE(workbench->output.count(QStringLiteral("message: Detecting compiler A")), 0);

        // Cancel stores nothing, not even a checked row.
        click(dialog, "cancelButton");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(configs->names(true).isEmpty());
    }

    void takesDirectoriesByHand()
    {
        addCompiler(QStringLiteral("A"), QString());
        addCompiler(QStringLiteral("B"), QString());
        addCompiler(QStringLiteral("C"), QString());
        load();
        configs->find(QStringLiteral("B"))->storeDetection(true, QStringLiteral("/opt/b"));
        const QString tool = program(QStringLiteral("tool"), QStringLiteral("true"));

        CompilersDialog dialog(workbench.get(), configs.get());
        dialog.show();
        click(dialog, "manualButton"); // no current row: no file dialog either
        table(dialog)->setCurrentCell(0, 0);
        DialogAnswerer::handleNext([&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            QVERIFY(files);
            QCOMPARE(files->windowTitle(), QStringLiteral("Open File"));
            files->selectFile(tool);
            static_cast<QDialog *>(files)->accept();
        });
        click(dialog, "manualButton");
        QCOMPARE(editor(dialog, 0)->text(), QFileInfo(tool).absolutePath());
        QCOMPARE(table(dialog)->item(0, 1)->text(), QStringLiteral("Yes"));

        editor(dialog, 1)->setText(QString());
        editor(dialog, 2)->setText(QStringLiteral("/opt/c/bin"));
        click(dialog, "saveButton");
        QCOMPARE(configs->names(true), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
        QCOMPARE(configs->find(QStringLiteral("A"))->compilerDirectory(), QFileInfo(tool).absolutePath());
        QCOMPARE(configs->find(QStringLiteral("C"))->compilerDirectory(), QStringLiteral("/opt/c/bin"));
    }

    void focusingADirectoryMakesItsRowCurrent()
    {
        addCompiler(QStringLiteral("A"), QString());
        addCompiler(QStringLiteral("B"), QString());
        load();
        CompilersDialog dialog(workbench.get(), configs.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        editor(dialog, 1)->setFocus();
        QTRY_COMPARE(table(dialog)->currentRow(), 1);
    }

    void opensTheCompilersWebsite()
    {
        addCompiler(QStringLiteral("A"), QString(), QStringLiteral("URL=\"https://example.org/a\""));
        addCompiler(QStringLiteral("B"), QString());
        load();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        CompilersDialog dialog(workbench.get(), configs.get());
        QTableWidget *rows = table(dialog);

        emit rows->cellDoubleClicked(0, 1);
        emit rows->cellDoubleClicked(1, 0);
        click(dialog, "websiteButton");
        QVERIFY(recorder.opened.isEmpty());
        emit rows->cellDoubleClicked(0, 0);
        rows->setCurrentCell(0, 3);
        click(dialog, "websiteButton");
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.opened, QList<QUrl>({QUrl(QStringLiteral("https://example.org/a")), QUrl(QStringLiteral("https://example.org/a"))}));
    }

    void fitsTheDirectoryColumnToTheWidth()
    {
        addCompiler(QStringLiteral("A rather long compiler name"), QString());
        load();
        CompilersDialog dialog(workbench.get(), configs.get());
        dialog.resize(900, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget *rows = table(dialog);
        QCOMPARE(rows->columnWidth(3), rows->width() - rows->columnWidth(0) - rows->columnWidth(1) - 20);
        QVERIFY(rows->columnWidth(0) >= rows->fontMetrics().horizontalAdvance(QStringLiteral("A rather long compiler name")));
    }

    void worksWithoutAWorkbench()
    {
        const QString good = program(QStringLiteral("good"), QStringLiteral("echo good"));
        addCompiler(QStringLiteral("A"), QStringLiteral("PATH=\"%1\"").arg(good));
        BuildConfigList detached(nullptr);
        QVERIFY(detached.loadAll(dir->filePath(QStringLiteral("compilers"))));
        CompilersDialog dialog(nullptr, &detached);
        dialog.checkAllButtonClicked();
        QCOMPARE(table(dialog)->item(0, 1)->text(), QStringLiteral("Yes"));
        dialog.saveButtonClicked();
        QVERIFY(detached.names(true).isEmpty());
    }
};

ZMX_TEST(CompilersDialogTest)
#include "tst_compilersdialog.moc"
