#include "build/detectionparameters.h"

#include "core/helpers.h"
#include "core/workbench.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Expansions of one value before it counts as circular: chains of parameters that refer
// to each other in a ring would otherwise never end.
constexpr int maximumExpansions = 1000;

const QDir::SortFlags listingOrder = QDir::Name | QDir::IgnoreCase;

}

DetectionParameters::DetectionParameters(Workbench *workbench) : workbench(workbench) {}

void DetectionParameters::set(const QString &name, const QString &value)
{
    if (name.isEmpty() || value.isEmpty())
        return;
    for (auto &pair : list) {
        if (pair.first == name) {
            pair.second = value;
            return;
        }
    }
    list.append({name, value});
}

QString DetectionParameters::value(const QString &name) const
{
    for (const auto &pair : list) {
        if (pair.first == name)
            return pair.second;
    }
    return QString();
}

int DetectionParameters::number(const QString &name) const
{
    return value(name).toInt();
}

bool DetectionParameters::resolveAll()
{
    for (auto &pair : list) {
        QString resolved = pair.second;
        if (!resolve(pair.first, resolved, false))
            return false;
        pair.second = resolved;
    }
    return true;
}

void DetectionParameters::reportCircular(const QString &name) const
{
    if (workbench)
        workbench->addMessage(QCoreApplication::translate("DetectionParameters", "Cirular dependency of parameter %1\n").arg(name));
}

bool DetectionParameters::resolve(const QString &name, QString &value, bool report) const
{
    int expansions = 0;
    for (;;) {
        const int first = value.indexOf(QLatin1Char('%'));
        if (first < 0)
            return true;
        int second = value.indexOf(QLatin1Char('%'), first + 1);
        if (second < 0)
            second = first;
        const QString key = second > first ? value.mid(first + 1, second - first - 1) : QString();
        const QString left = value.left(first);
        const QString right = value.mid(second + 1);

        if (key.isEmpty()) {
            value = left + right;
            continue;
        }
        if (key == name || ++expansions > maximumExpansions) {
            reportCircular(key == name ? key : name);
            return false;
        }
        if (key == QLatin1String("SUB"))
            return searchBelow(name, left, right, value);
        if (key == QLatin1String("*")) {
            const QString match = wildcardMatch(name, left, right);
            if (!match.isEmpty()) {
                value = match;
                return true;
            }
        }
        QString replacement = this->value(key);
        if (replacement.isEmpty())
            replacement = environmentVariable(key);
        if (replacement.isEmpty() && report) {
            if (workbench)
                workbench->addMessage(QCoreApplication::translate("DetectionParameters", "Cannot resolve parameter %1\n").arg(key));
            return false;
        }
        value = left + replacement + right;
    }
}

bool DetectionParameters::searchBelow(const QString &name, const QString &left, const QString &right, QString &value) const
{
    QString directory = left;
    QString relativePath = right;
    if (!resolve(name, directory, false) || !resolve(name, relativePath, false))
        return false;
    const QString found = findFile(directory, relativePath, number(QStringLiteral("LEVELS")));
    if (found.isEmpty())
        return false;
    value = found;
    return true;
}

QString DetectionParameters::findFile(const QString &directory, QString relativePath, int depth)
{
    while (relativePath.startsWith(QLatin1Char('/')) || relativePath.startsWith(QLatin1Char('\\')))
        relativePath.remove(0, 1);
    const QFileInfo candidate(QDir(directory).filePath(relativePath));
    if (candidate.exists())
        return candidate.absoluteFilePath();
    if (depth <= 0)
        return QString();
    // Deep folder trees take a while; the window keeps answering meanwhile.
    QCoreApplication::processEvents();
    const QDir dir(directory);
    for (const QString &sub : dir.entryList(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden, listingOrder)) {
        const QString found = findFile(dir.filePath(sub), relativePath, depth - 1);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QString DetectionParameters::wildcardMatch(const QString &name, const QString &left, const QString &right) const
{
    QDir dir;
    QString prefix;
    const bool endsWithSeparator = left.endsWith(QLatin1Char('/')) || left.endsWith(QLatin1Char('\\'));
    if (endsWithSeparator && QFileInfo(left).isDir()) {
        dir.setPath(left);
    } else {
        const QFileInfo info(left);
        dir.setPath(info.path());
        prefix = info.fileName();
    }
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, listingOrder);
    for (const QFileInfo &entry : entries) {
        if (!entry.fileName().startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString candidate = entry.absoluteFilePath() + right;
        if (!right.contains(QLatin1Char('%')))
            return candidate;
        QString resolved = candidate;
        if (resolve(name, resolved, false) && QFileInfo(resolved).isDir())
            return resolved;
    }
    return QString();
}
