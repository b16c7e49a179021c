#ifndef BUILDTREENODE_H
#define BUILDTREENODE_H

#include "build/buildprocess.h"

#include <QString>
#include <memory>
#include <vector>

// One step of a target's build tree: the process that produces file (a suffix such as
// "hex" or "o", as the configuration names it) and the output definition it uses. Its
// children are the steps that produce the process's inputs. The tree belongs to the target
// of a BuildConfig; its process pointers live as long as that configuration.
class BuildTreeNode
{
public:
    BuildTreeNode(const BuildProcess *process, const OutputDefinition &output, const QString &file,
                  BuildTreeNode *parent);

    BuildTreeNode(const BuildTreeNode &) = delete;
    BuildTreeNode &operator=(const BuildTreeNode &) = delete;

    const BuildProcess *process() const { return process_; }
    const OutputDefinition &output() const { return output_; }
    QString file() const { return file_; }
    const BuildTreeNode *parent() const { return parent_; }
    int childCount() const { return static_cast<int>(children.size()); }
    const BuildTreeNode *child(int index) const { return children.at(static_cast<size_t>(index)).get(); }

    BuildTreeNode *addChild(std::unique_ptr<BuildTreeNode> child);
    // True when this node or one of its ancestors stands for exactly this file text.
    bool onPathTo(const QString &file) const;

private:
    const BuildProcess *process_;
    OutputDefinition output_;
    QString file_;
    BuildTreeNode *parent_;
    std::vector<std::unique_ptr<BuildTreeNode>> children;
};

#endif
