#ifndef PLATFORM_REGISTRY_H
#define PLATFORM_REGISTRY_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace Platform {

// Read access to a hierarchical system registry. Key paths start with the hive name and
// use "\" (or "/") between levels, e.g. "HKEY_LOCAL_MACHINE\SOFTWARE\Maker". Lookups in a
// key that does not exist find nothing.
class Registry
{
public:
    virtual ~Registry() = default;

    virtual QStringList childGroups(const QString &key) const = 0;
    virtual QStringList childKeys(const QString &key) const = 0;
    virtual QVariant value(const QString &key, const QString &name) const = 0;

    // The registry every lookup of the program uses. Tests replace it.
    static Registry &instance();
    static void setInstance(std::unique_ptr<Registry> registry);
};

// An in-memory tree: what a platform without a registry offers (empty), and what tests fill.
class MemoryRegistry : public Registry
{
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    void addKey(const QString &key);
    void setValue(const QString &key, const QString &name, const QVariant &value);

    QStringList childGroups(const QString &key) const override;
    QStringList childKeys(const QString &key) const override;
    QVariant value(const QString &key, const QString &name) const override;

private:
    struct Node;
    const Node *find(const QString &key) const;
    Node *findOrCreate(const QString &key);

    std::unique_ptr<Node> root;
};

// The registry of the running system.
std::unique_ptr<Registry> createSystemRegistry();

}

#endif
