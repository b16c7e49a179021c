#include "build/compilersettings.h"

#include "core/workbench.h"

#include <QSettings>

namespace {

const QString arrayName = QStringLiteral("compilers");

}

CompilerSettings::CompilerSettings(Workbench *workbench) : workbench(workbench) {}

QSettings *CompilerSettings::settings() const
{
    return workbench ? workbench->settings() : nullptr;
}

int CompilerSettings::indexOf(const QString &name, int &size) const
{
    QSettings *store = settings();
    size = store->beginReadArray(arrayName);
    int found = -1;
    for (int index = 0; index < size && found < 0; ++index) {
        store->setArrayIndex(index);
        if (store->value(QStringLiteral("name")).toString() == name)
            found = index;
    }
    store->endArray();
    return found;
}

QVariant CompilerSettings::read(const QString &name, const QString &key) const
{
    QSettings *store = settings();
    if (!store || name.isEmpty())
        return QVariant();
    int size = 0;
    const int index = indexOf(name, size);
    if (index < 0)
        return QVariant();
    store->beginReadArray(arrayName);
    store->setArrayIndex(index);
    const QVariant value = store->value(key);
    store->endArray();
    return value;
}

bool CompilerSettings::isConfigured(const QString &name) const
{
    return read(name, QStringLiteral("configured")).toBool();
}

QString CompilerSettings::compilerDirectory(const QString &name) const
{
    return isConfigured(name) ? read(name, QStringLiteral("dir")).toString() : QString();
}

void CompilerSettings::store(const QString &name, bool configured, const QString &directory) const
{
    QSettings *store = settings();
    if (!store || name.isEmpty())
        return;
    int size = 0;
    int index = indexOf(name, size);
    if (index < 0)
        index = size++;
    store->beginWriteArray(arrayName, size);
    store->setArrayIndex(index);
    store->setValue(QStringLiteral("name"), name);
    store->setValue(QStringLiteral("configured"), configured);
    store->setValue(QStringLiteral("dir"), directory);
    store->endArray();
}
