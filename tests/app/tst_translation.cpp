#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QKeySequence>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    QStringList translations; // one, or the plural forms
    bool finished = true;
};

QList<Message> readTranslation(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            message = Message{context, QString(), {}, true};
        } else if (name == u"source") {
            message.source = xml.readElementText();
        } else if (name == u"translation") {
            message.finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            QString text;
            // Plural forms come as <numerusform> children, a plain text otherwise.
            while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"translation")) {
                if (xml.isCharacters())
                    text += xml.text();
                else if (xml.isStartElement() && xml.name() == u"numerusform")
                    message.translations << xml.readElementText();
            }
            if (message.translations.isEmpty())
                message.translations << text;
            messages << message;
        }
    }
    return messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%(\\d+|n)")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

bool hasAccelerator(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("&[^ &]")));
}

QString edges(const QString &text)
{
    static const QRegularExpression lead(QStringLiteral("^\\s*"));
    static const QRegularExpression trail(QStringLiteral("\\s*$"));
    return lead.match(text).captured() + QLatin1Char('|') + trail.match(text).captured();
}

const QString germanTranslation = QStringLiteral(ZMX_SOURCE_DIR "/translations/SrcManager_de.ts");

}

// The German translation is complete and true to its sources, and the real program picks
// it up from the working directory or, failing that, from its installation.
class TranslationTest : public QObject
{
    Q_OBJECT

    struct Window
    {
        QStringList menus;
        QHash<QString, QStringList> actions; // menu title -> "text<tab>status tip<tab>shortcut" per entry
        QHash<QString, QString> toolBars;    // object name -> title
        QHash<QString, QString> panes;       // object name -> title
        QString status;
    };

    // Starts the program in workingDirectory under locale and reads back what its window shows.
    static bool describeWindow(const QString &workingDirectory, const QString &locale, Window &window)
    {
        QTemporaryDir home;
        const QString description = home.filePath(QStringLiteral("window.txt"));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("ZMXSTUDIO_TEST_DESCRIBE"), description);
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(workingDirectory);
        program.start(QStringLiteral(ZMX_BUILD_DIR "/bin/zmxstudio"), {});
        if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
            return false;
        QFile file(description);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.at(0) == QLatin1String("menu"))
                window.menus << fields.at(1);
            else if (fields.at(0) == QLatin1String("action"))
                window.actions[fields.at(1)] << fields.mid(2).join(QLatin1Char('\t'));
            else if (fields.at(0) == QLatin1String("toolbar"))
                window.toolBars.insert(fields.at(1), fields.at(2));
            else if (fields.at(0) == QLatin1String("pane"))
                window.panes.insert(fields.at(1), fields.at(2));
            else if (fields.at(0) == QLatin1String("status"))
                window.status = fields.value(1);
        }
        return !window.menus.isEmpty();
    }

private slots:
    void everyTextOfTheSourcesIsTranslated()
    {
        // lupdate over today's sources: a text added since the last translation arrives
        // unfinished, one that went away stays behind as vanished.
        QTemporaryDir work;
        const QString copy = work.filePath(QStringLiteral("SrcManager_de.ts"));
        QVERIFY(QFile::copy(germanTranslation, copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QProcess lupdate;
        lupdate.start(QStringLiteral(ZMX_LUPDATE), {QStringLiteral("-silent"), QStringLiteral("-locations"),
                                                    QStringLiteral("none"), QStringLiteral(ZMX_SOURCE_DIR "/src"),
                                                    QStringLiteral("-ts"), copy});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        const QList<Message> messages = readTranslation(copy);
        QVERIFY(messages.size() > 500);
        QStringList untranslated;
        for (const Message &message : messages) {
            if (!message.finished || message.translations.join(QString()).trimmed().isEmpty())
                untranslated << message.context + QStringLiteral(": ") + message.source;
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        QCOMPARE(readTranslation(germanTranslation).size(), messages.size());
    }

    void translationsKeepWhatTheCodeReliesOn()
    {
        const QList<Message> messages = readTranslation(germanTranslation);
        QVERIFY(!messages.isEmpty());
        static const QRegularExpression shortcut(QStringLiteral("^((Ctrl|Alt|Shift)\\+)*(F\\d+|[A-Z])$"));
        QStringList faults;
        for (const Message &message : messages) {
            for (const QString &translation : message.translations) {
                const QString where = message.context + QStringLiteral(": \"") + message.source
                                      + QStringLiteral("\" -> \"") + translation + QLatin1Char('"');
                if (placeholders(translation) != placeholders(message.source))
                    faults << QStringLiteral("placeholders differ in ") + where;
                if (hasAccelerator(translation) != hasAccelerator(message.source))
                    faults << QStringLiteral("menu accelerator lost or added in ") + where;
                if (edges(translation) != edges(message.source)
                    || translation.count(QLatin1Char('\n')) != message.source.count(QLatin1Char('\n')))
                    faults << QStringLiteral("line breaks or edge blanks differ in ") + where;
                // Shortcut texts are parsed as key sequences: they must stay readable to that.
                if (shortcut.match(message.source).hasMatch()
                    && QKeySequence(translation, QKeySequence::PortableText) != QKeySequence(message.source))
                    faults << QStringLiteral("shortcut changed in ") + where;
            }
            if (message.source.contains(QLatin1String("%n")) && message.translations.size() != 2)
                faults << QStringLiteral("German needs two plural forms: ") + message.source;
        }
        // Project groups store "Source Files" from the compiler configurations; a build
        // finds its sources by these words, so they must not change.
        for (const Message &message : messages) {
            if (message.context == QLatin1String("Project")
                && (message.source == QLatin1String("source") || message.source == QLatin1String("linker"))
                && message.translations != QStringList{message.source})
                faults << QStringLiteral("the build's group word changed: ") + message.source;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void germanWindowFromTheInstalledTranslation()
    {
        // The working directory holds no translation, so the one beside bin/ is used.
        QTemporaryDir elsewhere;
        Window window;
        QVERIFY(describeWindow(elsewhere.path(), QStringLiteral("de_DE.UTF-8"), window));

        QCOMPARE(window.menus, (QStringList{QStringLiteral("&Datei"), QStringLiteral("&Projekt"),
                                            QStringLiteral("&Bearbeiten"), QStringLiteral("&Ansicht"),
                                            QStringLiteral("Debu&ggen"), QStringLiteral("E&instellungen"),
                                            QStringLiteral("&Hilfe")}));
        QVERIFY(window.actions.value(QStringLiteral("&Projekt"))
                    .contains(QStringLiteral("Projekt e&rstellen\tDas aktuelle Projekt erstellen\tF7")));
        QCOMPARE(window.status, QStringLiteral("Bereit"));

        // Object names are what the saved window layout finds its bars and panes by.
        const QHash<QString, QString> toolBars = {{QStringLiteral("File"), QStringLiteral("Datei")},
                                                   {QStringLiteral("Project"), QStringLiteral("Projekt")},
                                                   {QStringLiteral("Edit"), QStringLiteral("Bearbeiten")},
                                                   {QStringLiteral("Debug"), QStringLiteral("Debuggen")}};
        QCOMPARE(window.toolBars, toolBars);
        QCOMPARE(window.panes.value(QStringLiteral("Output Window")), QStringLiteral("Ausgabe"));
        QVERIFY(window.panes.contains(QStringLiteral("Projects")));

        // No English text is left where a German one exists; shortcuts keep their keys.
        QHash<QString, QString> german;
        for (const Message &message : readTranslation(germanTranslation))
            german.insert(message.source, message.translations.first());
        QStringList english;
        for (auto menu = window.actions.cbegin(); menu != window.actions.cend(); ++menu) {
            for (const QString &entry : menu.value()) {
                const QStringList fields = entry.split(QLatin1Char('\t'));
                for (const QString &text : fields.mid(0, 2)) {
                    if (german.contains(text) && german.value(text) != text)
                        english << menu.key() + QStringLiteral(": ") + text;
                }
                if (fields.at(0) == QLatin1String("Datei &öffnen"))
                    QCOMPARE(fields.at(2), QStringLiteral("Ctrl+O"));
            }
        }
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
        QVERIFY(window.actions.value(QStringLiteral("&Datei")).size() >= 12);
    }

    void translationInTheWorkingDirectoryComesFirst()
    {
        // The fixture translates the File menu alone, so every other text stays English.
        Window window;
        QVERIFY(describeWindow(QStringLiteral(ZMX_TRANSLATION_FIXTURES), QStringLiteral("de_AT.UTF-8"), window));
        QCOMPARE(window.menus.value(0), QStringLiteral("&Akten"));
        QCOMPARE(window.menus.value(1), QStringLiteral("&Project"));
        QCOMPARE(window.status, QStringLiteral("Ready"));

        Window english;
        QVERIFY(describeWindow(QStringLiteral(ZMX_TRANSLATION_FIXTURES), QStringLiteral("C.UTF-8"), english));
        QCOMPARE(english.menus.value(0), QStringLiteral("&File"));
        QCOMPARE(english.toolBars.value(QStringLiteral("File")), QStringLiteral("File"));
    }
};

ZMX_TEST(TranslationTest)

#include "tst_translation.moc"
