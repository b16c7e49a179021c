#include "core/displaysettings.h"
#include "fakeworkbench.h"
#include "testregistry.h"

#include <QTest>

class TestDisplaySettings : public QObject
{
    Q_OBJECT

private slots:
    void groupsListTheirItemsInOrder();
    void emptyStoreGivesDefaults();
    void storedOverrideIsReadBack();
    void defaultChoicesAreStoredOnlyWhereOffered();
    void missingKeysFallBackAndBadColoursStayInvalid();
    void unknownItems();
};

void TestDisplaySettings::groupsListTheirItemsInOrder()
{
    QCOMPARE(DisplaySettings::groupNames(),
             QStringList({QStringLiteral("Text Editor"), QStringLiteral("Projects Tree"), QStringLiteral("Output Window")}));
    const auto names = [](const QString &group) {
        QStringList result;
        for (const DisplayItem &item : DisplaySettings::defaults(group).items)
            result.append(item.name);
        return result.join(QLatin1Char(','));
    };
    QCOMPARE(names(QStringLiteral("Text Editor")),
             QStringLiteral("Text,Comments,Strings,Constants,Operators,Keywords,Extensions,Macros,Caret,"
                            "Indentation Guides,Margins,Selection,Call Tips,Call Tips Highlight,Matched Brace,"
                            "Unmatched Brace"));
    QCOMPARE(names(QStringLiteral("Projects Tree")), QStringLiteral("Projects,Groups,Files"));
    QCOMPARE(names(QStringLiteral("Output Window")), QStringLiteral("Messages,Errors,Links,Success"));
}

void TestDisplaySettings::emptyStoreGivesDefaults()
{
    FakeWorkbench bench;
    QSettings *store = bench.settings();

    const QTextCharFormat links = DisplaySettings::formatForItem(store, QStringLiteral("Output Window"), QStringLiteral("Links"));
    QCOMPARE(links.foreground().color(), QColor(Qt::blue));
    QVERIFY(links.fontUnderline());
    QCOMPARE(links.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(links.fontPointSize(), 10.0);
    QCOMPARE(links.fontWeight(), int(QFont::Normal));
    QVERIFY(!links.fontItalic());

    const QTextCharFormat comments = DisplaySettings::formatForItem(store, QStringLiteral("Text Editor"), QStringLiteral("Comments"));
    QCOMPARE(comments.foreground().color(), QColor(0, 128, 0));
    QVERIFY(comments.fontItalic());
    QCOMPARE(comments.background().color(), QColor(Qt::white));

    const DisplaySettings editor = DisplaySettings::load(store, QStringLiteral("Text Editor"));
    QCOMPARE(editor.fontFamily, QStringLiteral("Courier New"));
    QCOMPARE(editor.fontSize, 10);
    QVERIFY(editor.font.fixedPitch());
    QCOMPARE(editor.item(QStringLiteral("Strings"))->foreground, QColor(160, 160, 164));
    QCOMPARE(editor.item(QStringLiteral("Operators"))->foreground, QColor(128, 0, 0));
    QCOMPARE(editor.item(QStringLiteral("Extensions"))->foreground, QColor(255, 0, 255));
    QCOMPARE(editor.item(QStringLiteral("Margins"))->background, QColor(224, 224, 224));
    QCOMPARE(editor.item(QStringLiteral("Caret"))->background, QColor(Qt::yellow));
    QCOMPARE(editor.item(QStringLiteral("Call Tips"))->foreground, QColor(128, 128, 128));
    QCOMPARE(editor.item(QStringLiteral("Call Tips Highlight"))->foreground, QColor(0, 0, 128));
    QVERIFY(editor.item(QStringLiteral("Call Tips Highlight"))->noBackground);
    QVERIFY(editor.item(QStringLiteral("Matched Brace"))->fontFixed);
    QVERIFY(!editor.item(QStringLiteral("Margins"))->fontFixed);

    const DisplayItem *selection = editor.item(QStringLiteral("Selection"));
    QCOMPARE(selection->background, QColor(192, 192, 192));
    QVERIFY(selection->useDefaultForeground);
    QVERIFY(!selection->useDefaultBackground);
    QVERIFY(!selection->fixedForeground && !selection->fixedBackground);
    QVERIFY(DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Selection"),
                                               DisplaySettings::Foreground));
    QVERIFY(!DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Selection"),
                                                DisplaySettings::Background));
    // Nothing is written by reading.
    QVERIFY(store->childGroups().isEmpty());
}

void TestDisplaySettings::storedOverrideIsReadBack()
{
    FakeWorkbench bench;
    QSettings *store = bench.settings();
    DisplaySettings output = DisplaySettings::load(store, QStringLiteral("Output Window"));
    output.setFont(QStringLiteral("DejaVu Sans Mono"), 13);
    DisplayItem *errors = output.item(QStringLiteral("Errors"));
    errors->foreground = QColor(10, 20, 30);
    errors->background = QColor(40, 50, 60);
    errors->bold = true;
    errors->italic = true;
    errors->underline = true;
    DisplaySettings::saveDisplaySettings(store, output);

    QCOMPARE(store->value(QStringLiteral("Output Window Display Settings/font")).toString(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(store->value(QStringLiteral("Output Window Display Settings/items/size")).toInt(), 4);
    QCOMPARE(store->value(QStringLiteral("Output Window Display Settings/items/2/name")).toString(), QStringLiteral("Errors"));
    QCOMPARE(store->value(QStringLiteral("Output Window Display Settings/items/2/foreground")).toString(), QStringLiteral("#0a141e"));

    const QTextCharFormat format = DisplaySettings::formatForItem(store, QStringLiteral("Output Window"), QStringLiteral("Errors"));
    QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(format.fontPointSize(), 13.0);
    QCOMPARE(format.foreground().color(), QColor(10, 20, 30));
    QCOMPARE(format.background().color(), QColor(40, 50, 60));
    QCOMPARE(format.fontWeight(), int(QFont::Bold));
    QVERIFY(format.fontItalic());
    QVERIFY(format.fontUnderline());

    // The other items keep their defaults but take the group font.
    const QTextCharFormat links = DisplaySettings::formatForItem(store, QStringLiteral("Output Window"), QStringLiteral("Links"));
    QCOMPARE(links.foreground().color(), QColor(Qt::blue));
    QCOMPARE(links.fontPointSize(), 13.0);
    // Other groups are untouched.
    QCOMPARE(DisplaySettings::load(store, QStringLiteral("Text Editor")).fontSize, 10);
}

void TestDisplaySettings::defaultChoicesAreStoredOnlyWhereOffered()
{
    FakeWorkbench bench;
    QSettings *store = bench.settings();
    const QString prefix = QStringLiteral("Text Editor Display Settings/items/");
    // A stray key from an older layout must not survive a save.
    store->setValue(prefix + QStringLiteral("9/default_foreground"), false);

    DisplaySettings editor = DisplaySettings::load(store, QStringLiteral("Text Editor"));
    editor.item(QStringLiteral("Selection"))->useDefaultForeground = false;
    editor.item(QStringLiteral("Selection"))->foreground = QColor(1, 2, 3);
    editor.item(QStringLiteral("Selection"))->useDefaultBackground = true;
    DisplaySettings::saveDisplaySettings(store, editor);

    QCOMPARE(store->value(prefix + QStringLiteral("9/name")).toString(), QStringLiteral("Caret"));
    QVERIFY(!store->contains(prefix + QStringLiteral("9/default_foreground")));
    QVERIFY(!store->contains(prefix + QStringLiteral("9/default_background")));
    QCOMPARE(store->value(prefix + QStringLiteral("12/name")).toString(), QStringLiteral("Selection"));
    QCOMPARE(store->value(prefix + QStringLiteral("12/default_foreground")).toBool(), false);
    QCOMPARE(store->value(prefix + QStringLiteral("12/default_background")).toBool(), true);

    QVERIFY(!DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Selection"),
                                                DisplaySettings::Foreground));
    QVERIFY(DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Selection"),
                                               DisplaySettings::Background));
    // A stored flag for an item without the choice is ignored.
    store->setValue(prefix + QStringLiteral("9/default_foreground"), false);
    QVERIFY(DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Caret"),
                                               DisplaySettings::Foreground));
}

void TestDisplaySettings::missingKeysFallBackAndBadColoursStayInvalid()
{
    FakeWorkbench bench;
    QSettings *store = bench.settings();
    store->beginGroup(QStringLiteral("Text Editor Display Settings"));
    store->beginWriteArray(QStringLiteral("items"), 2);
    store->setArrayIndex(0);
    store->setValue(QStringLiteral("name"), QStringLiteral("Keywords"));
    store->setValue(QStringLiteral("bold"), true);
    store->setValue(QStringLiteral("background"), QStringLiteral("not a colour"));
    store->setArrayIndex(1);
    store->setValue(QStringLiteral("name"), QStringLiteral("Selection"));
    store->setValue(QStringLiteral("foreground"), QStringLiteral("#112233"));
    store->endArray();
    store->endGroup();

    const DisplaySettings keywords = DisplaySettings::loadDisplayItem(store, QStringLiteral("Text Editor"), QStringLiteral("Keywords"));
    QCOMPARE(keywords.items.size(), 1);
    QCOMPARE(keywords.items.first().foreground, QColor(Qt::blue));
    QVERIFY(keywords.items.first().bold);
    QVERIFY(!keywords.items.first().background.isValid());
    QCOMPARE(keywords.fontFamily, QStringLiteral("Courier New"));

    // An entry that omits a use-default key reads it as true.
    const DisplaySettings selection = DisplaySettings::loadDisplayItem(store, QStringLiteral("Text Editor"), QStringLiteral("Selection"));
    QCOMPARE(selection.items.first().foreground, QColor(0x11, 0x22, 0x33));
    QCOMPARE(selection.items.first().background, QColor(192, 192, 192));
    QVERIFY(selection.items.first().useDefaultBackground);
}

void TestDisplaySettings::unknownItems()
{
    FakeWorkbench bench;
    QSettings *store = bench.settings();
    QVERIFY(DisplaySettings::loadDisplayItem(store, QStringLiteral("Text Editor"), QStringLiteral("Nothing")).items.isEmpty());
    QVERIFY(DisplaySettings::usesDefaultColour(store, QStringLiteral("Text Editor"), QStringLiteral("Nothing"),
                                               DisplaySettings::Background));
    const QTextCharFormat format = DisplaySettings::formatForItem(nullptr, QStringLiteral("No Group"), QStringLiteral("Nothing"));
    QCOMPARE(format.foreground().color(), QColor(Qt::black));
    QCOMPARE(format.background().color(), QColor(Qt::white));
}

ZMX_TEST(TestDisplaySettings)
#include "tst_displaysettings.moc"
