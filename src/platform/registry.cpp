#include "platform/registry.h"

#include <QRegularExpression>

namespace Platform {

namespace {

std::unique_ptr<Registry> &registryInstance()
{
    static std::unique_ptr<Registry> registry;
    return registry;
}

QStringList splitKey(const QString &key)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return key.split(separators, Qt::SkipEmptyParts);
}

}

Registry &Registry::instance()
{
    if (!registryInstance())
        registryInstance() = createSystemRegistry();
    return *registryInstance();
}

void Registry::setInstance(std::unique_ptr<Registry> registry)
{
    registryInstance() = std::move(registry);
}

// Names keep the letter case they were created with but are matched without regard to it,
// as registry keys are.
struct MemoryRegistry::Node
{
    QString name;
    QList<std::shared_ptr<Node>> children;
    QList<QPair<QString, QVariant>> values;

    Node *child(const QString &childName) const
    {
        for (const auto &node : children) {
            if (node->name.compare(childName, Qt::CaseInsensitive) == 0)
                return node.get();
        }
        return nullptr;
    }
};

MemoryRegistry::MemoryRegistry() : root(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

const MemoryRegistry::Node *MemoryRegistry::find(const QString &key) const
{
    const Node *node = root.get();
    for (const QString &part : splitKey(key)) {
        node = node->child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

MemoryRegistry::Node *MemoryRegistry::findOrCreate(const QString &key)
{
    Node *node = root.get();
    for (const QString &part : splitKey(key)) {
        Node *next = node->child(part);
        if (!next) {
            auto created = std::make_shared<Node>();
            created->name = part;
            node->children.append(created);
            next = created.get();
        }
        node = next;
    }
    return node;
}

void MemoryRegistry::addKey(const QString &key)
{
    findOrCreate(key);
}

void MemoryRegistry::setValue(const QString &key, const QString &name, const QVariant &value)
{
    Node *node = findOrCreate(key);
    for (auto &entry : node->values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    node->values.append({name, value});
}

QStringList MemoryRegistry::childGroups(const QString &key) const
{
    QStringList names;
    if (const Node *node = find(key)) {
        for (const auto &child : node->children)
            names.append(child->name);
    }
    return names;
}

QStringList MemoryRegistry::childKeys(const QString &key) const
{
    QStringList names;
    if (const Node *node = find(key)) {
        for (const auto &entry : node->values)
            names.append(entry.first);
    }
    return names;
}

QVariant MemoryRegistry::value(const QString &key, const QString &name) const
{
    if (const Node *node = find(key)) {
        for (const auto &entry : node->values) {
            if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
                return entry.second;
        }
    }
    return QVariant();
}

}
