// BuildProject: the option values of the configuration and of its tree's nodes.
#include "build/buildproject.h"

#include "build/buildconfig.h"
#include "build/buildtreenode.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <vector>

namespace {

QString filledTool(const QString &tool, const QString &nodeTool)
{
    return tool.isEmpty() ? nodeTool : tool;
}

// Name, tool, value and identifier alike; an empty tool stands for the tool it is used with.
bool sameOption(const OptionValue &a, const OptionValue &b, const QString &tool)
{
    return a.name == b.name && a.value == b.value && a.id == b.id
        && filledTool(a.tool, tool).compare(filledTool(b.tool, tool), Qt::CaseInsensitive) == 0;
}

bool containsOption(const QList<OptionValue> &values, const OptionValue &value, const QString &tool)
{
    return std::any_of(values.cbegin(), values.cend(),
                       [&](const OptionValue &other) { return sameOption(other, value, tool); });
}

QString optionKey(const OptionValue &value, const QString &tool)
{
    const QChar separator(0x1f);
    return value.name + separator + tool.toLower() + separator + value.value + separator + value.id;
}

void collectProcessNodes(ProjectNode *node, QList<ProjectNode *> &nodes)
{
    if (!node || !node->isProcess())
        return;
    nodes.append(node);
    for (int index = 0; index < node->childCount(); ++index)
        collectProcessNodes(node->child(index), nodes);
}

}

void BuildProject::replaceDefaults(const QString &oldFamily, const QString &oldController)
{
    const QString targetFor = target_ ? target_->name : targetName_;
    auto replaceIn = [&](QList<OptionValue> &values, const QString &tool) {
        const QList<OptionValue> before = compiler_->defaultOptionValues(targetFor, tool, oldFamily, oldController);
        const QList<OptionValue> after = compiler_->defaultOptionValues(targetFor, tool, family_, controller_);
        values.removeIf([&](const OptionValue &value) {
            return containsOption(before, value, tool) && !containsOption(after, value, tool);
        });
        // Defaults both pairs share stay as the user left them.
        for (const OptionValue &value : after) {
            if (!containsOption(before, value, tool) && !containsOption(values, value, tool))
                values.append(value);
        }
    };

    QStringList tools;
    for (const OptionValue &value : std::as_const(optionValues_)) {
        if (!tools.contains(value.tool, Qt::CaseInsensitive))
            tools.append(value.tool);
    }
    for (const QString &tool : std::as_const(tools))
        replaceIn(optionValues_, tool);

    QList<ProjectNode *> nodes;
    collectProcessNodes(root_.get(), nodes);
    for (ProjectNode *node : std::as_const(nodes))
        replaceIn(node->optionValues(), node->toolName());
}

// Placing hands every configuration-wide value to each node of its tool; normalizing then
// moves every value that all nodes of a tool hold back up. Placed values are therefore
// held by all nodes of their tool by construction, so they are tracked per tool instead of
// being copied into every node: with thousands of files that copy would dominate, and
// only the few nodes that hold values of their own are looked at more than once.
void BuildProject::settleOptionValues(bool applyDefaults, bool place)
{
    struct ToolGroup
    {
        QString tool;
        int size = 0;
        QHash<QString, int> held;
        QList<OptionValue> placed;
        QSet<QString> placedKeys;
        bool placedWritten = false;
    };
    struct NodeEntry
    {
        ProjectNode *node;
        ToolGroup *group;
    };

    std::vector<std::unique_ptr<ToolGroup>> groupStore;
    QHash<QString, ToolGroup *> groups; // by tool name in lower case
    std::vector<NodeEntry> nodes;       // every process node, depth first
    std::vector<size_t> holders;        // the positions in nodes of those with values
    QHash<const BuildProcess *, ToolGroup *> byProcess;
    const BuildProcess *lastProcess = nullptr;
    ToolGroup *lastGroup = nullptr;
    std::vector<ProjectNode *> pending{root_.get()};
    while (!pending.empty()) {
        ProjectNode *node = pending.back();
        pending.pop_back();
        if (!node || !node->isProcess())
            continue;
        if (node->process() != lastProcess) {
            lastProcess = node->process();
            lastGroup = byProcess.value(lastProcess);
            if (!lastGroup) {
                const QString tool = node->toolName();
                lastGroup = groups.value(tool.toLower());
                if (!lastGroup) {
                    groupStore.push_back(std::make_unique<ToolGroup>());
                    lastGroup = groupStore.back().get();
                    lastGroup->tool = tool;
                    groups.insert(tool.toLower(), lastGroup);
                }
                byProcess.insert(lastProcess, lastGroup);
            }
        }
        ++lastGroup->size;
        if (!node->optionValues().isEmpty())
            holders.push_back(nodes.size());
        nodes.push_back({node, lastGroup});
        for (int index = node->childCount() - 1; index >= 0; --index)
            pending.push_back(node->child(index));
    }
    const auto skipped = [applyDefaults](const OptionValue &value) { return !value.id.isEmpty() && !applyDefaults; };

    if (place && !nodes.empty()) {
        QList<OptionValue> unplaced;
        for (const OptionValue &value : std::as_const(optionValues_)) {
            QList<ToolGroup *> matching;
            if (value.tool.isEmpty()) {
                for (const auto &group : groupStore)
                    matching.append(group.get());
            } else if (ToolGroup *group = groups.value(value.tool.toLower())) {
                matching.append(group);
            }
            if (matching.isEmpty()) {
                unplaced.append(value);
            } else if (skipped(value)) {
                // Such values never move back up, so they are really handed to each node.
                for (size_t index = 0; index < nodes.size(); ++index) {
                    ProjectNode *node = nodes[index].node;
                    if (!matching.contains(nodes[index].group)
                        || containsOption(node->optionValues(), value, nodes[index].group->tool))
                        continue;
                    if (node->optionValues().isEmpty())
                        holders.push_back(index);
                    node->optionValues().append(value);
                }
                std::sort(holders.begin(), holders.end());
            } else {
                for (ToolGroup *group : std::as_const(matching))
                    group->placed.append(value);
            }
        }
        optionValues_ = unplaced;
    }

    // Configuration-wide values win over equal node values of their tool.
    QHash<QString, QStringList> wide;
    for (const OptionValue &value : std::as_const(optionValues_))
        wide[value.name + QChar(0x1f) + value.value].append(value.tool.toLower());
    for (size_t index : holders) {
        if (wide.isEmpty())
            break;
        const QString nodeTool = nodes[index].group->tool.toLower();
        nodes[index].node->optionValues().removeIf([&](const OptionValue &value) {
            const auto found = wide.constFind(value.name + QChar(0x1f) + value.value);
            return found != wide.constEnd() && (found->contains(QString()) || found->contains(nodeTool));
        });
    }

    for (size_t index : holders) {
        ToolGroup *own = nodes[index].group;
        QSet<QString> seen;
        for (const OptionValue &value : std::as_const(nodes[index].node->optionValues())) {
            const QString tool = filledTool(value.tool, own->tool);
            if (skipped(value) || tool.compare(own->tool, Qt::CaseInsensitive) != 0)
                continue;
            const QString key = optionKey(value, tool);
            if (!seen.contains(key)) {
                seen.insert(key);
                ++own->held[key];
            }
        }
    }
    for (const auto &group : groupStore) {
        for (const OptionValue &value : std::as_const(group->placed))
            group->placedKeys.insert(optionKey(value, filledTool(value.tool, group->tool)));
    }

    // Walked in tree order: each node's own values, then, at the first node of a tool, the
    // values placed on that tool.
    QSet<QString> moved;
    const auto moveUp = [&](OptionValue value, const QString &tool) {
        value.tool = tool;
        const QString key = optionKey(value, tool);
        if (moved.contains(key))
            return;
        moved.insert(key);
        optionValues_.append(value);
    };
    for (const NodeEntry &entry : nodes) {
        for (const OptionValue &value : std::as_const(entry.node->optionValues())) {
            if (skipped(value))
                continue;
            const QString tool = filledTool(value.tool, entry.group->tool);
            const QString key = optionKey(value, tool);
            const ToolGroup *group = groups.value(tool.toLower());
            if (!group || group->placedKeys.contains(key) || group->held.value(key) == group->size)
                moveUp(value, tool);
        }
        if (!entry.group->placedWritten) {
            entry.group->placedWritten = true;
            for (const OptionValue &value : std::as_const(entry.group->placed))
                moveUp(value, filledTool(value.tool, entry.group->tool));
        }
    }
    for (size_t index : holders) {
        if (moved.isEmpty())
            break;
        const QString &nodeTool = nodes[index].group->tool;
        nodes[index].node->optionValues().removeIf([&](const OptionValue &value) {
            return !skipped(value) && moved.contains(optionKey(value, filledTool(value.tool, nodeTool)));
        });
    }

    // Of equal configuration-wide values the later one stays.
    QSet<QString> kept;
    QList<OptionValue> unique;
    for (auto it = optionValues_.crbegin(); it != optionValues_.crend(); ++it) {
        const QString key = it->name + QChar(0x1f) + it->tool.toLower() + QChar(0x1f) + it->value;
        if (!kept.contains(key)) {
            kept.insert(key);
            unique.prepend(*it);
        }
    }
    optionValues_ = unique;
}

void BuildProject::resetOptionValues()
{
    optionValues_.clear();
    QList<ProjectNode *> nodes;
    collectProcessNodes(root_.get(), nodes);
    for (ProjectNode *node : std::as_const(nodes))
        node->optionValues() = defaultOptionValues(node->toolName());
    settleOptionValues(true, false);
}

void BuildProject::normalizeOptionValues(bool applyDefaults)
{
    settleOptionValues(applyDefaults, false);
}
