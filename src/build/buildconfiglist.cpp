#include "build/buildconfiglist.h"

#include "core/workbench.h"
#include "build/buildconfig.h"

#include <QDir>

BuildConfigList::BuildConfigList(Workbench *workbench, QObject *parent) : QObject(parent), workbench(workbench) {}

BuildConfigList::~BuildConfigList()
{
    clear();
}

void BuildConfigList::clear()
{
    qDeleteAll(configs);
    configs.clear();
}

bool BuildConfigList::loadAll()
{
    if (!workbench) {
        clear();
        return false;
    }
    return loadAll(workbench->compilersDirectory());
}

bool BuildConfigList::loadAll(const QString &directory)
{
    clear();
    // Sorted by name ignoring case, as the file systems the program was made for list
    // them, so that which of two clashing files wins does not depend on the file system.
    const QFileInfoList files = QDir(directory).entryInfoList({QStringLiteral("*.xml")}, QDir::Files,
                                                              QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        auto *config = new BuildConfig(workbench, this);
        if (!config->load(file.absoluteFilePath())) {
            // Projects that use this tool chain will not find it; say which file it was.
            if (workbench)
                workbench->addError(tr("Error loading %1\n").arg(file.absoluteFilePath()));
            delete config;
            continue;
        }
        if (BuildConfig *existing = find(config->name())) {
            if (workbench) {
                workbench->addError(tr("Duplicated compiler configuration \"%1\":\n%2,\n%3.\n")
                                        .arg(config->name(), existing->filePath(), config->filePath()));
            }
            delete config;
            continue;
        }
        configs.append(config);
    }
    return !files.isEmpty();
}

BuildConfig *BuildConfigList::find(const QString &name) const
{
    for (BuildConfig *config : configs) {
        if (config->name().compare(name, Qt::CaseInsensitive) == 0)
            return config;
    }
    return nullptr;
}

QStringList BuildConfigList::names(bool onlyConfigured) const
{
    QStringList result;
    for (const BuildConfig *config : configs) {
        if (!onlyConfigured || config->isConfigured())
            result.append(config->name());
    }
    return result;
}

QString BuildConfigList::defaultCompiler(const QString &family, const QString &controller, const QStringList &files) const
{
    int bestCount = 0;
    const BuildConfig *best = nullptr;
    for (const BuildConfig *config : configs) {
        if (config->controllerSupported(family, controller) < 0)
            continue;
        const int count = static_cast<int>(config->sourceFiles(files).size());
        const QString upper = config->name().toUpper();
        const bool preferred = upper.contains(QLatin1String("DRAVENHOL")) || upper.contains(QLatin1String("QUORVIN"));
        if (count > bestCount || (count == bestCount && preferred)) {
            bestCount = count;
            best = config;
        }
    }
    return best ? best->name() : QString();
}

QStringList BuildConfigList::allSourceSuffixes() const
{
    QStringList suffixes;
    for (const BuildConfig *config : configs) {
        for (const QString &suffix : config->sourceSuffixes()) {
            if (!suffixes.contains(suffix))
                suffixes.append(suffix);
        }
    }
    return suffixes;
}
