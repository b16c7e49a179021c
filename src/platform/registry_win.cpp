#include "platform/registry.h"

#include <QSettings>

namespace Platform {

namespace {

class NativeRegistry : public Registry
{
public:
    QStringList childGroups(const QString &key) const override
    {
        return QSettings(key, QSettings::NativeFormat).childGroups();
    }

    QStringList childKeys(const QString &key) const override
    {
        return QSettings(key, QSettings::NativeFormat).childKeys();
    }

    QVariant value(const QString &key, const QString &name) const override
    {
        return QSettings(key, QSettings::NativeFormat).value(name);
    }
};

}

std::unique_ptr<Registry> createSystemRegistry()
{
    return std::make_unique<NativeRegistry>();
}

}
