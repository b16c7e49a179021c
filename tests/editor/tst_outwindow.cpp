#include "app/srcmanager.h"
#include "core/displaysettings.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

// The formatted pieces of the last paragraph of the output.
QList<QTextFragment> lastLine(OutWindow &window)
{
    QList<QTextFragment> fragments;
    const QTextBlock block = window.textEdit()->document()->lastBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragments.append(it.fragment());
    return fragments;
}

QString lastLineText(OutWindow &window)
{
    return window.textEdit()->document()->lastBlock().text();
}

void storeLinkFont(QSettings *store, bool bold, bool italic, bool underline, const QColor &colour)
{
    DisplaySettings output = DisplaySettings::load(store, DisplaySettings::outputWindow);
    DisplayItem *links = output.item(QStringLiteral("Links"));
    links->bold = bold;
    links->italic = italic;
    links->underline = underline;
    links->foreground = colour;
    DisplaySettings::saveDisplaySettings(store, output);
}

}

class TestOutWindow : public QObject
{
    Q_OBJECT

private slots:
    void linesTakeTheirCategoryFormat();
    void settingsApplyToLaterLinesOnly();
    void linkFontCombinations_data();
    void linkFontCombinations();
    void errorLinksShowTextLiterally();
    void followingLinks_data();
    void followingLinks();
    void clickingARenderedLinkKeepsAwkwardPaths();
    void appendsRunPendingEvents();
    void worksWithoutOwner();
    void mainWindowForwardsToTheOutput();
};

void TestOutWindow::linesTakeTheirCategoryFormat()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    QCOMPARE(window.objectName(), QStringLiteral("Output Window"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Output"));
    QVERIFY(window.textEdit()->isReadOnly());
    QCOMPARE(window.textEdit()->lineWrapMode(), QTextEdit::NoWrap);

    window.addMessage(QStringLiteral("plain message"));
    QCOMPARE(lastLine(window).first().charFormat().foreground().color(), QColor(Qt::black));
    window.addError(QStringLiteral("it failed"));
    QCOMPARE(lastLine(window).first().charFormat().foreground().color(), QColor(Qt::red));
    window.addSuccess(QStringLiteral("Compiled successfully."));
    QCOMPARE(lastLine(window).first().charFormat().foreground().color(), QColor(0, 128, 0));
    QCOMPARE(lastLine(window).first().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(window.textEdit()->document()->blockCount(), 3);

    window.clearOutput();
    QVERIFY(window.textEdit()->document()->isEmpty());
}

void TestOutWindow::settingsApplyToLaterLinesOnly()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    window.addError(QStringLiteral("old"));

    DisplaySettings output = DisplaySettings::load(bench.settings(), DisplaySettings::outputWindow);
    output.item(QStringLiteral("Errors"))->foreground = QColor(0, 0, 200);
    DisplaySettings::saveDisplaySettings(bench.settings(), output);
    window.loadSettings();
    window.addError(QStringLiteral("new"));

    const QTextDocument *document = window.textEdit()->document();
    QCOMPARE(document->firstBlock().begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    QCOMPARE(document->lastBlock().begin().fragment().charFormat().foreground().color(), QColor(0, 0, 200));
}

void TestOutWindow::linkFontCombinations_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("plain") << false << false;
    QTest::newRow("bold") << true << false;
    QTest::newRow("italic") << false << true;
    QTest::newRow("bold italic") << true << true;
}

void TestOutWindow::linkFontCombinations()
{
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    FakeWorkbench bench;
    const bool underline = !bold;
    storeLinkFont(bench.settings(), bold, italic, underline, QColor(0x12, 0x34, 0x56));
    OutWindow window(&bench);

    const QString sheet = window.textEdit()->document()->defaultStyleSheet();
    QCOMPARE(sheet, underline ? QStringLiteral("a { text-decoration: underline; color: #123456 }")
                              : QStringLiteral("a { text-decoration: none; color: #123456 }"));

    window.addMessageLink(QStringLiteral("/src/main.c"), 12, 5, QStringLiteral("main.c:12: warning"));
    const QList<QTextFragment> fragments = lastLine(window);
    QCOMPARE(fragments.size(), 1);
    const QTextCharFormat format = fragments.first().charFormat();
    QVERIFY(format.isAnchor());
    QCOMPARE(format.anchorHref(), QStringLiteral("/src/main.c#12.5"));
    QCOMPARE(fragments.first().text(), QStringLiteral("main.c:12: warning"));
    QCOMPARE(format.fontWeight() > QFont::Normal, bold);
    QCOMPARE(format.fontItalic(), italic);
    QCOMPARE(format.fontUnderline(), underline);
    QCOMPARE(format.foreground().color(), QColor(0x12, 0x34, 0x56));
}

void TestOutWindow::errorLinksShowTextLiterally()
{
    FakeWorkbench bench;
    OutWindow window(&bench);

    QString errorText = QStringLiteral("a<b>c & d");
    window.addErrorLink(QStringLiteral("/x.c"), 1, 2, errorText);
    QCOMPARE(errorText, QStringLiteral("a&lt;b&gt;c & d"));
    QCOMPARE(lastLineText(window), QStringLiteral("a<b>c & d"));

    const QString messageText = QStringLiteral("a<b>c</b>");
    window.addMessageLink(QStringLiteral("/x.c"), 1, 2, messageText);
    QCOMPARE(lastLineText(window), QStringLiteral("ac"));
    const QList<QTextFragment> fragments = lastLine(window);
    QCOMPARE(fragments.size(), 2);
    QCOMPARE(fragments.at(1).text(), QStringLiteral("c"));
    QCOMPARE(fragments.at(1).charFormat().fontWeight(), int(QFont::Bold));
}

void TestOutWindow::followingLinks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("opened");
    QTest::newRow("line and column") << "src/main.c#12.5" << "src/main.c#12.5";
    QTest::newRow("line only") << "src/main.c#12" << "src/main.c#12.0";
    QTest::newRow("empty file") << "#12.5" << "";
    QTest::newRow("no hash") << "src/main.c" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("line not a number") << "src/main.c#x.3" << "src/main.c#0.3";
    QTest::newRow("column not a number") << "src/main.c#7.y" << "src/main.c#7.0";
    QTest::newRow("negative line") << "src/main.c#-1.3" << "";
    QTest::newRow("hash in path") << "dir#1/main.c#3.4" << "dir#0.0";
    QTest::newRow("absolute path") << "/home/me/a b/x.asm#100.0" << "/home/me/a b/x.asm#100.0";
}

void TestOutWindow::followingLinks()
{
    QFETCH(QString, target);
    QFETCH(QString, opened);
    FakeWorkbench bench;
    OutWindow window(&bench);
    emit static_cast<QTextBrowser *>(window.textEdit())->anchorClicked(QUrl(target));
    QCOMPARE(bench.openedFiles.join(QLatin1Char('|')), opened);
}

void TestOutWindow::clickingARenderedLinkKeepsAwkwardPaths()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    window.resize(800, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QString path = QStringLiteral("/tmp/R&D \"boards\" 100%/C:\\main<1>.c");
    QString text = QStringLiteral("main.c:3:1: error: expected ';'");
    window.addErrorLink(path, 3, 1, text);

    QTextCursor cursor(window.textEdit()->document()->lastBlock());
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    const QPoint inside = window.textEdit()->cursorRect(cursor).center();
    QTest::mouseClick(window.textEdit()->viewport(), Qt::LeftButton, {}, inside);
    QCOMPARE(bench.openedFiles, QStringList(path + QStringLiteral("#3.1")));
}

void TestOutWindow::appendsRunPendingEvents()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    int ran = 0;
    QMetaObject::invokeMethod(&window, [&ran] { ++ran; }, Qt::QueuedConnection);
    window.addMessage(QStringLiteral("one"));
    QCOMPARE(ran, 1);
    QMetaObject::invokeMethod(&window, [&ran] { ++ran; }, Qt::QueuedConnection);
    QString text = QStringLiteral("two");
    window.addErrorLink(QStringLiteral("/a.c"), 1, 1, text);
    QCOMPARE(ran, 2);
}

void TestOutWindow::worksWithoutOwner()
{
    OutWindow window(nullptr);
    window.addMessage(QStringLiteral("shown with defaults"));
    window.addMessageLink(QStringLiteral("/a.c"), 1, 1, QStringLiteral("link"));
    emit static_cast<QTextBrowser *>(window.textEdit())->anchorClicked(QUrl(QStringLiteral("/a.c#1.1")));
    QCOMPARE(window.textEdit()->document()->blockCount(), 2);
}

void TestOutWindow::mainWindowForwardsToTheOutput()
{
    SrcManager main;
    OutWindow *output = main.output();
    main.addMessage(QStringLiteral("m"));
    main.addError(QStringLiteral("e"));
    main.addSuccess(QStringLiteral("s"));
    main.addMessageLink(QStringLiteral("/a.c"), 1, 2, QStringLiteral("ml"));
    QString text = QStringLiteral("<el>");
    main.addErrorLink(QStringLiteral("/a.c"), 3, 4, text);
    QCOMPARE(text, QStringLiteral("&lt;el&gt;"));
    QCOMPARE(output->textEdit()->toPlainText(), QStringLiteral("m\ne\ns\nml\n<el>"));
    main.clearOutput();
    QVERIFY(output->textEdit()->document()->isEmpty());
}

ZMX_TEST(TestOutWindow)
#include "tst_outwindow.moc"
