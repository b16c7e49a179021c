#include "testregistry.h"

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
    QString translation; // each plural form is a message of its own
    bool finished;
};

QList<Message> readTranslation(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    Message message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            message.context = xml.readElementText();
        } else if (xml.name() == u"source") {
            message.source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            message.finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            if (!message.source.contains(QLatin1String("%n")))
                messages << Message{message.context, message.source, xml.readElementText(), message.finished};
        } else if (xml.name() == u"numerusform") {
            messages << Message{message.context, message.source, xml.readElementText(), message.finished};
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

// What a message's use relies on besides its words: menu accelerator, line breaks, edge blanks.
QString shape(const QString &text)
{
    static const QRegularExpression edges(QStringLiteral("^\\s*|\\s*$"));
    QStringList parts{text.contains(QRegularExpression(QStringLiteral("&[^ &]"))) ? QStringLiteral("&") : QString(),
                      QString::number(text.count(QLatin1Char('\n')))};
    QRegularExpressionMatchIterator it = edges.globalMatch(text);
    while (it.hasNext())
        parts << it.next().captured();
    return parts.join(QLatin1Char('|'));
}

}

// The German translation is complete and true to its sources, and the real program picks
// it up from the working directory or, failing that, from its installation.
class TranslationTest : public QObject
{
    Q_OBJECT

    // Starts the program in workingDirectory under locale; what its window shows, one
    // tab-separated item a line (see TestHooks).
    static QStringList describeWindow(const QString &workingDirectory, const QString &locale)
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
        QFile file(description);
        if (!program.waitForFinished(60000) || program.exitCode() != 0 || !file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static QStringList menus(const QStringList &window)
    {
        return window.filter(QRegularExpression(QStringLiteral("^menu\t"))).replaceInStrings(QStringLiteral("menu\t"), QString());
    }

private slots:
    void everyTextOfTheSourcesIsTranslatedFaithfully()
    {
        // lupdate over today's sources: a text added since the last translation arrives
        // unfinished, one that went away stays behind as vanished.
        QTemporaryDir work;
        const QString copy = work.filePath(QStringLiteral("SrcManager_de.ts"));
        QVERIFY(QFile::copy(QStringLiteral(ZMX_SOURCE_DIR "/translations/SrcManager_de.ts"), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QProcess lupdate;
        lupdate.start(QStringLiteral(ZMX_LUPDATE), {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                                                    QStringLiteral(ZMX_SOURCE_DIR "/src"), QStringLiteral("-ts"), copy});
        QVERIFY(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0);

        const QList<Message> messages = readTranslation(copy);
        QVERIFY(messages.size() > 500);
        static const QRegularExpression shortcut(QStringLiteral("^((Ctrl|Alt|Shift)\\+)*(F\\d+|[A-Z])$"));
        QStringList untranslated;
        QStringList faults;
        for (const Message &message : messages) {
            const QString where = message.context + QStringLiteral(": \"") + message.source + QStringLiteral("\" -> \"")
                                  + message.translation + QLatin1Char('"');
            if (!message.finished || message.translation.trimmed().isEmpty())
                untranslated << message.context + QStringLiteral(": ") + message.source;
            else if (placeholders(message.translation) != placeholders(message.source))
                faults << QStringLiteral("placeholders differ: ") + where;
            else if (shape(message.translation) != shape(message.source))
                faults << QStringLiteral("accelerator, line breaks or edge blanks differ: ") + where;
            // Shortcut texts are parsed as key sequences; the keys must stay.
            else if (shortcut.match(message.source).hasMatch()
                     && QKeySequence(message.translation, QKeySequence::PortableText) != QKeySequence(message.source))
                faults << QStringLiteral("shortcut changed: ") + where;
            // Projects keep group names such as "Source Files" from the compiler
            // configurations; a build finds its sources by these words in every language.
            else if (message.context == QLatin1String("Project")
                     && (message.source == QLatin1String("source") || message.source == QLatin1String("linker"))
                     && message.translation != message.source)
                faults << QStringLiteral("the build's group word changed: ") + where;
        }
        QVERIFY2(untranslated.isEmpty(),
                 qPrintable(QStringLiteral("`cmake --build build --target update_translations`, then translate in "
                                           "translations/SrcManager_de.ts:\n")
                            + untranslated.join(QLatin1Char('\n'))));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void germanWindowFromTheInstalledTranslation()
    {
        // The working directory holds no translation, so the one beside bin/ is used.
        QTemporaryDir elsewhere;
        const QStringList window = describeWindow(elsewhere.path(), QStringLiteral("de_DE.UTF-8"));
        QCOMPARE(menus(window), (QStringList{QStringLiteral("&Datei"), QStringLiteral("&Projekt"), QStringLiteral("&Bearbeiten"),
                                             QStringLiteral("&Ansicht"), QStringLiteral("Debu&ggen"),
                                             QStringLiteral("E&instellungen"), QStringLiteral("&Hilfe")}));
        for (const char *line : {"action\t&Projekt\tProjekt e&rstellen\tDas aktuelle Projekt erstellen\tF7",
                                 "action\t&Datei\tDatei &öffnen\tEine Datei öffnen\tCtrl+O", "status\tBereit",
                                 // The saved window layout finds bars and panes by their object names.
                                 "toolbar\tFile\tDatei", "toolbar\tProject\tProjekt", "toolbar\tEdit\tBearbeiten",
                                 "toolbar\tDebug\tDebuggen", "pane\tOutput Window\tAusgabe", "pane\tProjects\tProjekt"})
            QVERIFY2(window.contains(QString::fromUtf8(line)), line);

        // No English text is left in the menus where a German one exists.
        QHash<QString, QString> german;
        for (const Message &message : readTranslation(QStringLiteral(ZMX_SOURCE_DIR "/translations/SrcManager_de.ts")))
            german.insert(message.source, message.translation);
        QStringList english;
        for (const QString &line : window.filter(QRegularExpression(QStringLiteral("^action\t")))) {
            for (const QString &text : line.split(QLatin1Char('\t')).mid(2, 2)) {
                if (german.value(text, text) != text)
                    english << line;
            }
        }
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
    }

    void translationInTheWorkingDirectoryComesFirst()
    {
        // The fixture translates the File menu alone, so every other text stays English.
        const QStringList austrian = describeWindow(QStringLiteral(ZMX_TRANSLATION_FIXTURES), QStringLiteral("de_AT.UTF-8"));
        QCOMPARE(menus(austrian).mid(0, 2), (QStringList{QStringLiteral("&Akten"), QStringLiteral("&Project")}));
        QVERIFY(austrian.contains(QStringLiteral("status\tReady")));

        const QStringList english = describeWindow(QStringLiteral(ZMX_TRANSLATION_FIXTURES), QStringLiteral("C.UTF-8"));
        QCOMPARE(menus(english).value(0), QStringLiteral("&File"));
        QVERIFY(english.contains(QStringLiteral("toolbar\tFile\tFile")));
    }
};

ZMX_TEST(TranslationTest)

#include "tst_translation.moc"
