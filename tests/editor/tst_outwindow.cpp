#include "app/srcmanager.h"
#include "core/displaysettings.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QElapsedTimer>
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
    void linesArriveTogetherOncePerFrame();
    void linesLookAsTheTextViewsOwnAppendMakesThem_data();
    void linesLookAsTheTextViewsOwnAppendMakesThem();
    void lineLimitDropsOldestLinesWithANote();
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

// Lines may pour in faster than anyone could read them; the events (a click on Stop Build)
// are still served within a few milliseconds.
void TestOutWindow::appendsRunPendingEvents()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    int ran = 0;
    QMetaObject::invokeMethod(&window, [&ran] { ++ran; }, Qt::QueuedConnection);
    window.addMessage(QStringLiteral("one"));
    QCOMPARE(ran, 1);

    QMetaObject::invokeMethod(&window, [&ran] { ++ran; }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    while (ran < 2 && clock.elapsed() < 10000) {
        QString text = QStringLiteral("two");
        window.addErrorLink(QStringLiteral("/a.c"), 1, 1, text);
    }
    QCOMPARE(ran, 2);
}

// A burst of lines reaches the text in one edit, in order and each in its own format,
// once the frame's timer runs; nothing is shown line by line in between.
void TestOutWindow::linesArriveTogetherOncePerFrame()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    QTextDocument *document = window.textEdit()->document();
    int edits = 0;
    connect(document, &QTextDocument::contentsChanged, this, [&edits] { ++edits; });

    // A hidden pane keeps its lines until it is shown.
    window.addMessage(QStringLiteral("while hidden"));
    QTest::qWait(3 * OutWindow::flushIntervalMs);
    QVERIFY(document->isEmpty());
    window.show();
    QTRY_COMPARE(document->firstBlock().text(), QStringLiteral("while hidden"));
    window.clearOutput();
    edits = 0;

    for (int index = 0; index < 300; ++index) {
        if (index % 3 == 0) {
            window.addMessage(QStringLiteral("line %1").arg(index));
        } else if (index % 3 == 1) {
            QString text = QStringLiteral("a.c:%1: error <x>").arg(index);
            window.addErrorLink(QStringLiteral("/src/a.c"), index, 2, text);
        } else {
            window.addError(QStringLiteral("line %1").arg(index));
        }
    }
    // The lines go in by the frame, not one by one.
    QTRY_COMPARE(document->blockCount(), 300);
    QVERIFY2(edits <= 300 / 10, qPrintable(QString::number(edits)));

    for (int index = 0; index < 300; ++index) {
        const QTextBlock block = document->findBlockByNumber(index);
        const QTextCharFormat format = block.begin().fragment().charFormat();
        if (index % 3 == 1) {
            QCOMPARE(block.text(), QStringLiteral("a.c:%1: error <x>").arg(index));
            QCOMPARE(format.anchorHref(), QStringLiteral("/src/a.c#%1.2").arg(index));
        } else {
            QCOMPARE(block.text(), QStringLiteral("line %1").arg(index));
            QCOMPARE(format.foreground().color(), index % 3 == 0 ? QColor(Qt::black) : QColor(Qt::red));
        }
    }

    // Whoever reads the text gets every line appended so far, and a clear drops pending ones.
    window.addSuccess(QStringLiteral("Compiled successfully."));
    QCOMPARE(window.textEdit()->document()->lastBlock().text(), QStringLiteral("Compiled successfully."));
    window.addMessage(QStringLiteral("pending"));
    window.clearOutput();
    QTest::qWait(3 * OutWindow::flushIntervalMs);
    QVERIFY(window.textEdit()->document()->isEmpty());
}

void TestOutWindow::linesLookAsTheTextViewsOwnAppendMakesThem_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::newRow("plain links") << false << false << true;
    QTest::newRow("bold italic links") << true << true << false;
}

// Every line, link or not, ends up with the text, paragraph and character formats that the
// text view's own append gives the same line.
void TestOutWindow::linesLookAsTheTextViewsOwnAppendMakesThem()
{
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    FakeWorkbench bench;
    storeLinkFont(bench.settings(), bold, italic, underline, QColor(0x12, 0x34, 0x56));
    OutWindow window(&bench);

    const QTextCharFormat message = DisplaySettings::formatForItem(bench.settings(), DisplaySettings::outputWindow, "Messages");
    const QTextCharFormat error = DisplaySettings::formatForItem(bench.settings(), DisplaySettings::outputWindow, "Errors");
    QTextBrowser reference;
    reference.document()->setDefaultStyleSheet(window.textEdit()->document()->defaultStyleSheet());
    reference.document()->setDefaultFont(window.textEdit()->document()->defaultFont());
    const QString prefix = QString(italic ? "<i>" : "") + (bold ? "<b>" : "");
    const QString suffix = QString(bold ? "</b>" : "") + (italic ? "</i>" : "");
    const auto referenceLink = [&](const QTextCharFormat &format, const QString &file, const QString &text) {
        reference.setCurrentCharFormat(format);
        reference.append(prefix + "<a href=\"" + file.toHtmlEscaped() + "#3.4\">" + text + "</a>" + suffix);
    };

    const QStringList texts = {"main.c:3:4: error: expected ';'", "  two  spaces", "tab\there", "a<b>c</b>",
                               "R&D &amp; co", "x", "", "ends with a space "};
    for (const QString &text : texts) {
        window.addMessage(text);
        reference.setCurrentCharFormat(message);
        reference.append(text);
        window.addMessageLink(QStringLiteral("/src/R&D/main.c"), 3, 4, text);
        referenceLink(message, QStringLiteral("/src/R&D/main.c"), text);
        QString escaped = text;
        window.addErrorLink(QStringLiteral("/src/a \"b\".c"), 3, 4, escaped);
        referenceLink(error, QStringLiteral("/src/a \"b\".c"), escaped);
    }

    const QTextDocument *ours = window.textEdit()->document();
    const QTextDocument *theirs = reference.document();
    QCOMPARE(ours->blockCount(), theirs->blockCount());
    for (QTextBlock a = ours->begin(), b = theirs->begin(); a.isValid(); a = a.next(), b = b.next()) {
        const QByteArray where = QByteArray::number(a.blockNumber()) + ": " + a.text().toUtf8();
        QVERIFY2(a.text() == b.text(), where.constData());
        QVERIFY2(a.blockFormat() == b.blockFormat(), where.constData());
        QVERIFY2(a.charFormat() == b.charFormat(), where.constData());
        auto fa = a.begin();
        auto fb = b.begin();
        for (; !fa.atEnd() && !fb.atEnd(); ++fa, ++fb) {
            QVERIFY2(fa.fragment().text() == fb.fragment().text(), where.constData());
            QVERIFY2(fa.fragment().charFormat() == fb.fragment().charFormat(), where.constData());
        }
        QVERIFY2(fa.atEnd() && fb.atEnd(), where.constData());
    }
}

void TestOutWindow::lineLimitDropsOldestLinesWithANote()
{
    FakeWorkbench bench;
    OutWindow window(&bench);
    QCOMPARE(window.lineLimit(), 200000);
    window.setLineLimit(5);
    const auto lines = [&window] {
        QStringList texts;
        const QTextDocument *document = window.textEdit()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            texts.append(block.text());
        return texts;
    };

    for (int index = 1; index <= 5; ++index)
        window.addMessage(QString::number(index));
    QCOMPARE(lines(), QStringList({"1", "2", "3", "4", "5"}));

    for (int index = 6; index <= 12; ++index) {
        QString text = QString::number(index);
        window.addErrorLink(QStringLiteral("/a.c"), index, 1, text);
    }
    const QString note = QStringLiteral("[Earlier lines dropped: %1; the Output pane keeps the last 5 lines]");
    QCOMPARE(lines(), QStringList({note.arg(7), "8", "9", "10", "11", "12"}));
    // The kept lines are still links to their own places.
    const QTextBlock first = window.textEdit()->document()->findBlockByNumber(1);
    QCOMPARE(first.begin().fragment().charFormat().anchorHref(), QStringLiteral("/a.c#8.1"));

    // Lines dropped one frame at a time add up; lowering the limit drops at once.
    window.addMessage(QStringLiteral("13"));
    QCOMPARE(lines(), QStringList({note.arg(8), "9", "10", "11", "12", "13"}));
    window.setLineLimit(2);
    QCOMPARE(lines(), QStringList({QStringLiteral("[Earlier lines dropped: 11; the Output pane keeps the last 2 lines]"),
                                   "12", "13"}));

    window.clearOutput();
    window.addMessage(QStringLiteral("fresh"));
    QCOMPARE(lines(), QStringList({"fresh"}));
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
