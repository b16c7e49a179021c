#include "build/compilerdetector.h"

#include "core/workbench.h"
#include "core/xmldocument.h"
#include "build/buildconfig.h"
#include "build/executableprobe.h"
#include "platform/registry.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

using Attributes = QList<QPair<QString, QString>>;

struct DetectElement
{
    Attributes attributes;
    QList<Attributes> checks;
};

Attributes readAttributes(const QXmlStreamReader &reader)
{
    Attributes attributes;
    for (const QXmlStreamAttribute &attribute : reader.attributes())
        attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
    return attributes;
}

// The DETECT elements with their attributes in the order they are written: the first
// registry or simulator parameter in that order decides where the search starts.
QList<DetectElement> readDetectElements(const QString &path)
{
    QList<DetectElement> elements;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return elements;
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.qualifiedName() != QLatin1String("COMPILER"))
        return elements;
    while (reader.readNextStartElement()) {
        if (reader.qualifiedName() != QLatin1String("DETECT")) {
            reader.skipCurrentElement();
            continue;
        }
        DetectElement element;
        element.attributes = readAttributes(reader);
        while (reader.readNextStartElement()) {
            if (reader.qualifiedName() == QLatin1String("CHECK"))
                element.checks.append(readAttributes(reader));
            reader.skipCurrentElement();
        }
        elements.append(element);
    }
    return elements;
}

void setAll(DetectionParameters &parameters, const Attributes &attributes)
{
    for (const auto &attribute : attributes)
        parameters.set(attribute.first, attribute.second);
}

}

CompilerDetector::CompilerDetector(Workbench *workbench) : workbench(workbench) {}

DetectionResult CompilerDetector::detect(const BuildConfig &config)
{
    DetectionResult result;
    const QString path = config.filePath();
    if (path.isEmpty())
        return result;

    const std::optional<QDomDocument> document = workbench ? workbench->readDocument(path) : XmlDocument::read(path, nullptr);
    const QDomElement compiler = document ? document->documentElement() : QDomElement();
    if (compiler.tagName() == QLatin1String("COMPILER")) {
        if (workbench)
            workbench->addMessage(tr("Detecting compiler %1").arg(compiler.attribute(QStringLiteral("NAME"))));
        for (const DetectElement &element : readDetectElements(path)) {
            DetectionParameters parameters(workbench);
            setAll(parameters, element.attributes);
            bool succeeded = true;
            if (element.checks.isEmpty()) {
                result = evaluate(parameters);
                succeeded = result.detected();
            }
            for (const Attributes &check : element.checks) {
                DetectionParameters combined = parameters;
                setAll(combined, check);
                result = evaluate(combined);
                if (!result.detected()) {
                    succeeded = false;
                    break;
                }
            }
            if (succeeded)
                break;
        }
    }
    result.version = config.version();
    return result;
}

DetectionResult CompilerDetector::evaluate(DetectionParameters parameters)
{
    if (!parameters.resolveAll())
        return DetectionResult();

    const Platform::Registry &registry = Platform::Registry::instance();
    const QList<QPair<QString, QString>> pairs = parameters.pairs();
    for (const auto &[name, value] : pairs) {
        if (name == QLatin1String("KEYLOC")) {
            const QString type = parameters.value(QStringLiteral("TYPE"));
            if (type == QLatin1String("NAMED")) {
                const QString read = registry.value(value, parameters.value(QStringLiteral("KEY"))).toString();
                // An empty registry value says nothing; the next location may.
                if (read.isEmpty())
                    continue;
                if (parameters.value(QStringLiteral("PATH")).isEmpty())
                    parameters.set(QStringLiteral("PATH"), read + parameters.value(QStringLiteral("SUF")));
            } else if (type == QLatin1String("ANONYMOUS")) {
                const int levels = parameters.number(QStringLiteral("LEVELS"));
                const int depth = levels > 0 ? levels : parameters.number(QStringLiteral("LEVEL"));
                const QString contains = parameters.value(QStringLiteral("CONTAINS"));
                if (contains.isEmpty())
                    return searchRegistry(parameters, value, parameters.value(QStringLiteral("KEY")), depth, levels > 0, false);
                return searchRegistry(parameters, value, contains, depth, levels > 0, true);
            }
            break;
        }
        if (name == QLatin1String("QUORVIN_TOOL")) {
            const QString simulator = workbench ? workbench->quorvinPath() : QString();
            parameters.set(QStringLiteral("PATH"), simulator + QStringLiteral("/tools/") + value);
            break;
        }
    }
    return check(parameters, QString());
}

DetectionResult CompilerDetector::searchRegistry(const DetectionParameters &parameters, const QString &key,
                                                 const QString &searchText, int depth, bool everyLevel, bool contentsMode)
{
    const Platform::Registry &registry = Platform::Registry::instance();
    const QString suffix = parameters.value(QStringLiteral("SUF"));
    if (depth == 0 || everyLevel) {
        if (contentsMode) {
            for (const QString &valueName : registry.childKeys(key)) {
                const QString text = registry.value(key, valueName).toString();
                if (!text.contains(searchText, Qt::CaseInsensitive))
                    continue;
                const DetectionResult result = check(parameters, text + suffix);
                if (result.detected())
                    return result;
            }
        } else {
            QStringList parts = searchText.split(QLatin1Char('\\'));
            const QString valueName = parts.takeLast();
            QString valueKey = key;
            for (const QString &part : parts)
                valueKey += QLatin1Char('\\') + part;
            const DetectionResult result = check(parameters, registry.value(valueKey, valueName).toString() + suffix);
            if (result.detected())
                return result;
        }
    }
    DetectionResult last;
    if (depth > 0) {
        for (const QString &subkey : registry.childGroups(key)) {
            last = searchRegistry(parameters, key + QLatin1Char('\\') + subkey, searchText, depth - 1, everyLevel, contentsMode);
            if (last.detected())
                return last;
        }
    }
    return last;
}

DetectionResult CompilerDetector::check(const DetectionParameters &parameters, const QString &candidate)
{
    DetectionResult result;
    const QString path = candidate.isEmpty() ? parameters.value(QStringLiteral("PATH")) : candidate;
    if (path.isEmpty())
        return result;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable())
        return result;

    const QDate oldest = QDate::fromString(parameters.value(QStringLiteral("DATE")), Qt::ISODate);
    if (oldest.isValid() && file.lastModified().date() < oldest.addDays(-1)) {
        result.found = true;
        result.directory = file.absolutePath();
        result.status = DetectionResult::TooOld;
        return result;
    }
    if (parameters.value(QStringLiteral("NOEXECUTE")) != QLatin1String("true")) {
        const std::optional<QString> output = ExecutableProbe::run(path, parameters.value(QStringLiteral("ARG")));
        if (!output)
            return result;
        const QString expected = parameters.value(QStringLiteral("STR"));
        if (!expected.isEmpty() && !output->contains(expected))
            return result;
    }
    result.found = true;
    result.directory = file.absolutePath();
    return result;
}
