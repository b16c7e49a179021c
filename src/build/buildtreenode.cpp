#include "build/buildtreenode.h"

BuildTreeNode::BuildTreeNode(const BuildProcess *process, const OutputDefinition &output, const QString &file,
                             BuildTreeNode *parent)
    : process_(process), output_(output), file_(file), parent_(parent)
{
}

BuildTreeNode *BuildTreeNode::addChild(std::unique_ptr<BuildTreeNode> child)
{
    children.push_back(std::move(child));
    return children.back().get();
}

bool BuildTreeNode::onPathTo(const QString &file) const
{
    for (const BuildTreeNode *node = this; node; node = node->parent_) {
        if (node->file_ == file)
            return true;
    }
    return false;
}
