#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "editor/lineprinter.h"
#include "editor/print.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "testregistry.h"

#include <QFile>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Prints through the print dialog into a PDF file and reads the page text back.
class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printsTheChosenLines_data();
    void printsTheChosenLines();
    void nothingWithoutAnEditorOrWhenCancelled();

private:
    QTemporaryDir scratch;
};

void TestPrint::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed: run scripts/install-deps.sh");
}

void TestPrint::printsTheChosenLines_data()
{
    QTest::addColumn<bool>("select");
    QTest::addColumn<int>("lineTo");
    QTest::addColumn<int>("indexTo");
    QTest::addColumn<bool>("lineNumbers");
    // The page's text lines, with their numbers when shown.
    QTest::addColumn<QStringList>("printed");

    // The selection starts in the middle of line 3 (line 2 counted from 0).
    QTest::newRow("middle of line 3 to middle of line 5") << true << 4 << 3 << true
                                                         << QStringList{"3 gamma_3", "4 delta_4", "5 epsilon_5"};
    QTest::newRow("within line 3") << true << 2 << 5 << true << QStringList{"3 gamma_3"};
    QTest::newRow("up to the start of line 5") << true << 4 << 0 << true << QStringList{"3 gamma_3", "4 delta_4"};
    QTest::newRow("selection without line numbers") << true << 4 << 3 << false
                                                    << QStringList{"gamma_3", "delta_4", "epsilon_5"};
    QTest::newRow("into the last line") << true << 5 << 2 << true
                                        << QStringList{"3 gamma_3", "4 delta_4", "5 epsilon_5", "6 zeta_6"};
    // The empty line after the last line end is a line of the document too.
    QTest::newRow("whole document") << false << 0 << 0 << true
                                    << QStringList{"1 alpha_1", "2 beta_2", "3 gamma_3", "4 delta_4", "5 epsilon_5",
                                                   "6 zeta_6", "7"};
}

void TestPrint::printsTheChosenLines()
{
    QFETCH(bool, select);
    QFETCH(int, lineTo);
    QFETCH(int, indexTo);
    QFETCH(bool, lineNumbers);
    QFETCH(QStringList, printed);

    const QString source = scratch.filePath(QStringLiteral("lines.c"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("alpha_1\nbeta_2\ngamma_3\ndelta_4\nepsilon_5\nzeta_6\n");
    file.close();

    SrcManager main;
    main.settings()->setValue(QStringLiteral("Text Editor Display Settings/Display line numbers"), lineNumbers);
    main.tabs()->openEditor(source);
    SourceEditor *editor = main.tabs()->currentEditor();
    if (select)
        editor->setSelection(2, 3, lineTo, indexTo);

    Print print(main.tabs(), &main);
    const QString pdf = scratch.filePath(QLatin1String(QTest::currentDataTag()) + QLatin1String(".pdf"));
    print.printer()->setOutputFormat(QPrinter::PdfFormat);
    print.printer()->setOutputFileName(pdf);
    QString title;
    bool selectionOffered = false;
    DialogAnswerer::handleNext([&](QWidget *modal) {
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        title = dialog->windowTitle();
        selectionOffered = dialog->testOption(QAbstractPrintDialog::PrintSelection);
        dialog->setPrintRange(select ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
        dialog->done(QDialog::Accepted);
    });
    print.printFile();
    QCOMPARE(title, QStringLiteral("Print Document"));
    QCOMPARE(selectionOffered, select);
    QVERIFY(!print.printer()->fullPage());

    QProcess extract;
    extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(extract.waitForFinished(30000));
    QCOMPARE(extract.exitCode(), 0);
    QStringList lines;
    for (const QString &line : QString::fromUtf8(extract.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            lines.append(line.simplified());
    }
    QVERIFY2(lines == printed, qPrintable(lines.join(QLatin1Char('|'))));
}

void TestPrint::nothingWithoutAnEditorOrWhenCancelled()
{
    SrcManager main;
    Print print(main.tabs(), &main);
    QCOMPARE(DialogAnswerer::closeModalsWhile([&print] {
                 print.printFile();
                 QTest::qWait(30);
             }),
             QStringList());

    const QString source = scratch.filePath(QStringLiteral("cancel.c"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("int x;\n");
    file.close();
    main.tabs()->openEditor(source);
    const QString pdf = scratch.filePath(QStringLiteral("cancelled.pdf"));
    print.printer()->setOutputFormat(QPrinter::PdfFormat);
    print.printer()->setOutputFileName(pdf);
    bool selectionOffered = true;
    DialogAnswerer::handleNext([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal))
            selectionOffered = dialog->testOption(QAbstractPrintDialog::PrintSelection);
        static_cast<QDialog *>(modal)->reject();
    });
    print.printFile();
    QVERIFY(!selectionOffered);
    QVERIFY(!QFile::exists(pdf));
}

ZMX_TEST(TestPrint)
#include "tst_print.moc"
