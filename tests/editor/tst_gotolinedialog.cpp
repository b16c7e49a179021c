#include "editor/gotolinedialog.h"
#include "testregistry.h"

#include <QTest>
#include <Qsci/qsciscintilla.h>

class TestGotoLineDialog : public QObject
{
    Q_OBJECT

private slots:
    void fieldTakesOnlyLinesOfTheDocument_data();
    void fieldTakesOnlyLinesOfTheDocument();
    void movesToTheFirstCharacterOfTheLine_data();
    void movesToTheFirstCharacterOfTheLine();
};

void TestGotoLineDialog::fieldTakesOnlyLinesOfTheDocument_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");

    // The document has 6 lines (the last one empty).
    QTest::newRow("a line") << "3" << "3";
    QTest::newRow("the last line") << "6" << "6";
    QTest::newRow("past the end becomes the last line") << "60" << "6";
    QTest::newRow("far past the end") << "99999999999" << "6";
    QTest::newRow("zero is refused") << "0" << "";
    QTest::newRow("leading zero is refused") << "04" << "4";
    QTest::newRow("text is refused") << "abc" << "";
    QTest::newRow("digits after text") << "x4" << "4";
    QTest::newRow("minus is refused") << "-2" << "2";
}

void TestGotoLineDialog::fieldTakesOnlyLinesOfTheDocument()
{
    QFETCH(QString, typed);
    QFETCH(QString, field);

    QsciScintilla editor;
    editor.setText(QStringLiteral("a\nb\nc\nd\ne\n"));
    GotoLineDialog dialog(nullptr);
    dialog.setEditor(&editor);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("linesLabel"))->text(), QStringLiteral("Line number (1 - 6)"));
    QTest::keyClicks(dialog.lineEdit(), typed);
    QCOMPARE(dialog.lineEdit()->text(), field);
    QCOMPARE(dialog.helpTopic(), 13);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Go To Line"));
}

void TestGotoLineDialog::movesToTheFirstCharacterOfTheLine_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("index");

    QTest::newRow("indented with tab and blanks") << "2" << 1 << 3;
    QTest::newRow("not indented") << "1" << 0 << 0;
    QTest::newRow("blank line goes to its start") << "3" << 2 << 0;
    QTest::newRow("empty last line") << "5" << 4 << 0;
    QTest::newRow("0 set by a program goes to line 1") << "0" << 0 << 0;
    QTest::newRow("past the end set by a program") << "70" << 4 << 0;
    QTest::newRow("multi-byte text before") << "4" << 3 << 2;
}

void TestGotoLineDialog::movesToTheFirstCharacterOfTheLine()
{
    QFETCH(QString, entry);
    QFETCH(int, line);
    QFETCH(int, index);

    QsciScintilla editor;
    editor.setUtf8(true);
    editor.setText(QString::fromUtf8("main:\n\t  ldi r16, 1\n   \t \n  \xc3\xa4x\n"));
    editor.setCursorPosition(0, 2);
    GotoLineDialog dialog(nullptr);
    dialog.setEditor(&editor);
    dialog.lineEdit()->setValidator(nullptr);
    dialog.lineEdit()->setText(entry);
    dialog.accept();
    int atLine = -1;
    int atIndex = -1;
    editor.getCursorPosition(&atLine, &atIndex);
    QCOMPARE(atLine, line);
    QCOMPARE(atIndex, index);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

ZMX_TEST(TestGotoLineDialog)
#include "tst_gotolinedialog.moc"
