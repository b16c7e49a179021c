#include "editor/messagelist.h"
#include "editor/messagemarkers.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

BuildMessage message(const QString &file, int line, int column, BuildMessage::Kind kind, const QString &text)
{
    return {file, line, column, text, kind};
}

constexpr unsigned bit(int marker)
{
    return 1u << marker;
}

}

// The build's messages in the editors: which markers a line gets, where they go when the
// text changes, what the margin says, and stepping through the list.
class MessageMarkersTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;

    QString makeFile(const QString &name, const QByteArray &content)
    {
        const QString path = scratch.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return path;
    }

private slots:
    void steppingWrapsAtBothEnds_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("visited");
        QTest::addColumn<QList<bool>>("wraps");
        // "+" is Next Message, "-" Previous Message, over a list of three.
        QTest::newRow("forward") << "++++" << QList<int>{0, 1, 2, 0} << QList<bool>{false, false, false, true};
        QTest::newRow("backward first") << "---" << QList<int>{2, 1, 0} << QList<bool>{false, false, false};
        QTest::newRow("back over the start") << "+-" << QList<int>{0, 2} << QList<bool>{false, true};
        QTest::newRow("to and fro") << "++-+" << QList<int>{0, 1, 0, 1} << QList<bool>{false, false, false, false};
    }

    void steppingWrapsAtBothEnds()
    {
        QFETCH(QString, steps);
        QFETCH(QList<int>, visited);
        QFETCH(QList<bool>, wraps);
        MessageList list;
        bool wrapped = true;
        QCOMPARE(list.step(true, wrapped), -1);
        QVERIFY(!wrapped);
        for (int index = 0; index < 3; ++index)
            list.add(message(QStringLiteral("a.c"), index, 0, BuildMessage::Kind::Error, QString::number(index)), index + 5);
        QCOMPARE(list.outputLine(2), 7);
        for (qsizetype step = 0; step < steps.size(); ++step) {
            QCOMPARE(list.step(steps.at(step) == QLatin1Char('+'), wrapped), visited.at(step));
            QCOMPARE(wrapped, wraps.at(step));
        }
        // A new build starts from the beginning again.
        list.clear();
        list.add(message(QStringLiteral("a.c"), 0, 0, BuildMessage::Kind::Error, QString()), 0);
        QCOMPARE(list.step(false, wrapped), 0);
        QVERIFY(!wrapped);
    }

    void linesGetTheMarkersOfTheirMessages()
    {
        const QString path = makeFile(QStringLiteral("kinds.c"), "int a;\nint b;\nint c;\nint d;\nint e;\n");
        SourceEditor editor(nullptr, path);
        MessageMarkers *markers = editor.messageMarkers();
        QCOMPARE(editor.marginWidth(MessageMarkers::margin), 0);

        markers->add(0, message(path, 1, 4, BuildMessage::Kind::Error, QStringLiteral("kinds.c:2:5: error: one")));
        markers->add(1, message(path, 2, 4, BuildMessage::Kind::Warning, QStringLiteral("kinds.c:3: warning: two")));
        markers->add(2, message(path, 2, 0, BuildMessage::Kind::Error, QStringLiteral("kinds.c:3: error: three")));
        markers->add(3, message(path, 3, 0, BuildMessage::Kind::Note, QStringLiteral("kinds.c:4: note: four")));
        // A line the file does not have (the file changed since the build) gets nothing.
        markers->add(4, message(path, 40, 0, BuildMessage::Kind::Error, QStringLiteral("kinds.c:41: error: gone")));

        QCOMPARE(editor.markersAtLine(0), 0u);
        QCOMPARE(editor.markersAtLine(1), bit(MessageMarkers::errorSymbol) | bit(MessageMarkers::errorLine));
        // The worst message tints the line; every message keeps its symbol.
        QCOMPARE(editor.markersAtLine(2), bit(MessageMarkers::warningSymbol) | bit(MessageMarkers::errorSymbol) |
                                              bit(MessageMarkers::errorLine));
        QCOMPARE(editor.markersAtLine(3), bit(MessageMarkers::noteSymbol));
        QCOMPARE(markers->count(), 4);
        QCOMPARE(markers->lineOf(4), -1);
        QVERIFY(editor.marginWidth(MessageMarkers::margin) > 0);
        // Only the symbol margin shows the symbols, not the line numbers.
        QCOMPARE(editor.marginMarkerMask(1) & int(bit(MessageMarkers::errorSymbol)), 0);

        QCOMPARE(markers->textAt(1), QStringLiteral("kinds.c:2:5: error: one"));
        QCOMPARE(markers->textAt(2), QStringLiteral("kinds.c:3: warning: two\nkinds.c:3: error: three"));
        QCOMPARE(markers->textAt(0), QString());

        // The column is underlined from the column to the end of its word.
        const long start = editor.positionFromLineIndex(1, 4);
        const auto indicatorAt = [&editor](long position, int indicator = MessageMarkers::errorColumn) {
            return editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator),
                                        position) != 0;
        };
        QVERIFY(indicatorAt(start));
        QVERIFY(!indicatorAt(start - 1));
        QVERIFY(!indicatorAt(start + 1));
        QVERIFY(!indicatorAt(start, MessageMarkers::warningColumn));
        // A warning's column is underlined in the warning's own colour.
        const long warned = editor.positionFromLineIndex(2, 4);
        QVERIFY(indicatorAt(warned, MessageMarkers::warningColumn));

        editor.messageMarkers()->setAnnotations(true);
        QCOMPARE(editor.annotation(2), QStringLiteral("kinds.c:3: warning: two\nkinds.c:3: error: three"));
        QCOMPARE(editor.annotation(0), QString());

        markers->clear();
        for (int line = 0; line < editor.lines(); ++line) {
            QCOMPARE(editor.markersAtLine(line), 0u);
            QCOMPARE(editor.annotation(line), QString());
        }
        QVERIFY(!indicatorAt(start));
        QVERIFY(!indicatorAt(warned, MessageMarkers::warningColumn));
        QCOMPARE(editor.marginWidth(MessageMarkers::margin), 0);
    }

    void markersMoveWithTheText()
    {
        const QString path = makeFile(QStringLiteral("moves.c"), "int a;\nint b;\nint c;\n");
        SourceEditor editor(nullptr, path);
        editor.messageMarkers()->add(7, message(path, 2, 0, BuildMessage::Kind::Error, QStringLiteral("three")));
        editor.insertAt(QStringLiteral("/* new */\n/* lines */\n"), 0, 0);
        QCOMPARE(editor.messageMarkers()->lineOf(7), 4);
        QCOMPARE(editor.messageMarkers()->textAt(4), QStringLiteral("three"));
        QCOMPARE(editor.markersAtLine(2), 0u);
        editor.setSelection(0, 0, 2, 0);
        editor.removeSelectedText();
        QCOMPARE(editor.messageMarkers()->lineOf(7), 2);

        // Taking in a change made outside replaces the whole text; the marker stays on the
        // build's line instead of gathering on the first.
        editor.setModified(false);
        QCOMPARE(makeFile(QStringLiteral("moves.c"), "int a;\nint b;\nint c;\nint d;\n"), path);
        editor.checkDisk();
        QCOMPARE(editor.lines(), 5);
        QCOMPARE(editor.messageMarkers()->lineOf(7), 2);
        QCOMPARE(editor.markersAtLine(0), 0u);
    }

    void tabsMarkOpenAndLaterOpenedEditors()
    {
        const QString first = makeFile(QStringLiteral("first.c"), "a\nb\nc\n");
        const QString second = makeFile(QStringLiteral("second.c"), "a\nb\nc\n");
        FakeWorkbench workbench;
        SrcTabsHolder tabs(&workbench);
        MessageList list;
        tabs.setMessageList(&list);
        tabs.openEditor(first);

        list.add(message(first, 1, 0, BuildMessage::Kind::Error, QStringLiteral("first")), 0);
        tabs.showMessage(0);
        list.add(message(second, 2, 0, BuildMessage::Kind::Warning, QStringLiteral("second")), 1);
        tabs.showMessage(1);
        QCOMPARE(tabs.findEditor(first)->messageMarkers()->lineOf(0), 1);
        QCOMPARE(tabs.findEditor(first)->messageMarkers()->count(), 1);

        // Another spelling of the path still finds the file.
        tabs.openEditor(scratch.path() + QStringLiteral("/./second.c"));
        SourceEditor *later = tabs.findEditor(second);
        QVERIFY(later);
        QCOMPARE(later->messageMarkers()->count(), 1);
        QCOMPARE(later->markersAtLine(2), bit(MessageMarkers::warningSymbol) | bit(MessageMarkers::warningLine));

        tabs.setMessageAnnotations(true);
        QCOMPARE(later->annotation(2), QStringLiteral("second"));

        list.clear();
        tabs.clearMessages();
        QCOMPARE(tabs.findEditor(first)->messageMarkers()->count(), 0);
        QCOMPARE(later->markersAtLine(2), 0u);
        // An editor opened after the clear has nothing to show.
        tabs.closeEditor(second, true);
        tabs.openEditor(second);
        QCOMPARE(tabs.findEditor(second)->messageMarkers()->count(), 0);
    }
};

ZMX_TEST(MessageMarkersTest)

#include "tst_messagemarkers.moc"
