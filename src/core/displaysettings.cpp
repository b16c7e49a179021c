#include "core/displaysettings.h"

#include <QSettings>

const QString DisplaySettings::textEditor = QStringLiteral("Text Editor");
const QString DisplaySettings::projectsTree = QStringLiteral("Projects Tree");
const QString DisplaySettings::outputWindow = QStringLiteral("Output Window");

namespace {

const char *const defaultFontFamily = "Courier New";
const int defaultFontSize = 10;

DisplayItem plain(const char *name)
{
    DisplayItem item;
    item.name = QLatin1String(name);
    return item;
}

DisplayItem coloured(const char *name, const QColor &foreground)
{
    DisplayItem item = plain(name);
    item.foreground = foreground;
    return item;
}

DisplayItem coloursOnly(const char *name)
{
    DisplayItem item = plain(name);
    item.fontFixed = true;
    return item;
}

QList<DisplayItem> textEditorItems()
{
    DisplayItem comments = coloured("Comments", Qt::darkGreen);
    comments.italic = true;

    DisplayItem caret = coloursOnly("Caret");
    caret.background = Qt::yellow;

    DisplayItem margins = plain("Margins");
    margins.background = QColor(224, 224, 224);

    DisplayItem selection = coloursOnly("Selection");
    selection.background = Qt::lightGray;
    selection.useDefaultBackground = false;
    selection.fixedForeground = false;
    selection.fixedBackground = false;

    DisplayItem callTips = coloursOnly("Call Tips");
    callTips.background = QColor(255, 255, 255);
    callTips.foreground = QColor(128, 128, 128);

    DisplayItem callTipsHighlight = coloursOnly("Call Tips Highlight");
    callTipsHighlight.noBackground = true;
    callTipsHighlight.foreground = QColor(0, 0, 128);

    DisplayItem matchedBrace = coloursOnly("Matched Brace");
    matchedBrace.foreground = Qt::blue;

    DisplayItem unmatchedBrace = coloursOnly("Unmatched Brace");
    unmatchedBrace.foreground = Qt::red;

    return {plain("Text"),
            comments,
            coloured("Strings", Qt::gray),
            coloured("Constants", Qt::red),
            coloured("Operators", Qt::darkRed),
            coloured("Keywords", Qt::blue),
            coloured("Extensions", Qt::magenta),
            coloured("Macros", Qt::red),
            caret,
            coloursOnly("Indentation Guides"),
            margins,
            selection,
            callTips,
            callTipsHighlight,
            matchedBrace,
            unmatchedBrace};
}

QList<DisplayItem> outputWindowItems()
{
    DisplayItem links = coloured("Links", Qt::blue);
    links.underline = true;
    return {plain("Messages"), coloured("Errors", Qt::red), links, coloured("Success", Qt::darkGreen)};
}

}

QStringList DisplaySettings::groupNames()
{
    return {textEditor, projectsTree, outputWindow};
}

DisplaySettings DisplaySettings::defaults(const QString &group)
{
    DisplaySettings settings;
    settings.groupName = group;
    settings.setFont(QLatin1String(defaultFontFamily), defaultFontSize);
    if (group == textEditor)
        settings.items = textEditorItems();
    else if (group == projectsTree)
        settings.items = {plain("Projects"), plain("Groups"), plain("Files")};
    else if (group == outputWindow)
        settings.items = outputWindowItems();
    return settings;
}

void DisplaySettings::setFont(const QString &family, int size)
{
    fontFamily = family;
    fontSize = size;
    font = QFont(family, size);
    font.setFixedPitch(true);
    // Lets a system without the named family fall back to another fixed-width font.
    font.setStyleHint(QFont::TypeWriter);
}

QString DisplaySettings::storeGroup(const QString &group)
{
    return QStringLiteral("%1 Display Settings").arg(group);
}

void DisplaySettings::readFont(QSettings *store, DisplaySettings &settings)
{
    settings.setFont(store->value(QStringLiteral("font"), settings.fontFamily).toString(),
                     store->value(QStringLiteral("fontSize"), settings.fontSize).toInt());
}

DisplayItem DisplaySettings::readItem(QSettings *store, const DisplayItem &fallback)
{
    DisplayItem item = fallback;
    const auto colour = [store](const char *key, const QColor &defaultColour) {
        return QColor(store->value(QLatin1String(key), defaultColour.name()).toString());
    };
    const auto flag = [store](const char *key, bool defaultFlag) {
        return store->value(QLatin1String(key), defaultFlag).toBool();
    };
    item.foreground = colour("foreground", fallback.foreground);
    item.background = colour("background", fallback.background);
    item.bold = flag("bold", fallback.bold);
    item.italic = flag("italic", fallback.italic);
    item.underline = flag("underline", fallback.underline);
    if (!item.fixedForeground)
        item.useDefaultForeground = flag("default_foreground", true);
    if (!item.fixedBackground)
        item.useDefaultBackground = flag("default_background", true);
    return item;
}

DisplaySettings DisplaySettings::load(QSettings *store, const QString &group)
{
    DisplaySettings settings = defaults(group);
    if (!store)
        return settings;
    store->beginGroup(storeGroup(group));
    readFont(store, settings);
    const int count = store->beginReadArray(QStringLiteral("items"));
    for (int index = 0; index < count; ++index) {
        store->setArrayIndex(index);
        if (DisplayItem *known = settings.item(store->value(QStringLiteral("name")).toString()))
            *known = readItem(store, *known);
    }
    store->endArray();
    store->endGroup();
    return settings;
}

DisplaySettings DisplaySettings::loadDisplayItem(QSettings *store, const QString &group, const QString &item)
{
    DisplaySettings settings = load(store, group);
    const DisplayItem *stored = settings.item(item);
    settings.items = stored ? QList<DisplayItem>{*stored} : QList<DisplayItem>();
    return settings;
}

QTextCharFormat DisplaySettings::formatForItem(QSettings *store, const QString &group, const QString &item)
{
    const DisplaySettings settings = loadDisplayItem(store, group, item);
    const DisplayItem shown = settings.items.isEmpty() ? DisplayItem() : settings.items.first();
    QTextCharFormat format;
    format.setFontFamilies({settings.fontFamily});
    format.setFontStyleHint(QFont::TypeWriter);
    format.setFontFixedPitch(true);
    format.setFontPointSize(settings.fontSize);
    format.setForeground(shown.foreground);
    format.setBackground(shown.background);
    format.setFontWeight(shown.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(shown.italic);
    format.setFontUnderline(shown.underline);
    return format;
}

bool DisplaySettings::usesDefaultColour(QSettings *store, const QString &group, const QString &item, Colour which)
{
    const DisplaySettings settings = loadDisplayItem(store, group, item);
    if (settings.items.isEmpty())
        return true;
    const DisplayItem &shown = settings.items.first();
    return which == Foreground ? shown.useDefaultForeground : shown.useDefaultBackground;
}

void DisplaySettings::saveDisplaySettings(QSettings *store, const DisplaySettings &settings)
{
    if (!store)
        return;
    store->beginGroup(storeGroup(settings.groupName));
    store->setValue(QStringLiteral("font"), settings.fontFamily);
    store->setValue(QStringLiteral("fontSize"), settings.fontSize);
    // Entries of an earlier layout must not leave keys behind that the items no longer offer.
    store->remove(QStringLiteral("items"));
    store->beginWriteArray(QStringLiteral("items"), int(settings.items.size()));
    for (int index = 0; index < settings.items.size(); ++index) {
        const DisplayItem &item = settings.items.at(index);
        store->setArrayIndex(index);
        store->setValue(QStringLiteral("name"), item.name);
        store->setValue(QStringLiteral("foreground"), item.foreground.name());
        store->setValue(QStringLiteral("background"), item.background.name());
        store->setValue(QStringLiteral("bold"), item.bold);
        store->setValue(QStringLiteral("italic"), item.italic);
        store->setValue(QStringLiteral("underline"), item.underline);
        if (!item.fixedForeground)
            store->setValue(QStringLiteral("default_foreground"), item.useDefaultForeground);
        if (!item.fixedBackground)
            store->setValue(QStringLiteral("default_background"), item.useDefaultBackground);
    }
    store->endArray();
    store->endGroup();
}

const DisplayItem *DisplaySettings::item(const QString &name) const
{
    for (const DisplayItem &candidate : items) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}

DisplayItem *DisplaySettings::item(const QString &name)
{
    for (DisplayItem &candidate : items) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}
