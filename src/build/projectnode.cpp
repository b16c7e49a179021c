#include "build/projectnode.h"

#include "build/buildprocess.h"
#include "build/buildtreenode.h"

ProjectNode::ProjectNode(const QString &file, const BuildTreeNode *compilerNode, ProjectNode *parent)
    : file_(file), compilerNode_(compilerNode), parent_(parent)
{
}

ProjectNode::~ProjectNode() = default;

const BuildProcess *ProjectNode::process() const
{
    return compilerNode_ ? compilerNode_->process() : nullptr;
}

QString ProjectNode::toolName() const
{
    const BuildProcess *nodeProcess = process();
    return nodeProcess ? nodeProcess->tool() : QString();
}

int ProjectNode::indexOf(const ProjectNode *node) const
{
    for (size_t index = 0; index < children.size(); ++index) {
        if (children[index].get() == node)
            return static_cast<int>(index);
    }
    return -1;
}

ProjectNode *ProjectNode::appendChild(std::unique_ptr<ProjectNode> child)
{
    children.push_back(std::move(child));
    return children.back().get();
}

void ProjectNode::removeChild(ProjectNode *child)
{
    const int index = indexOf(child);
    if (index >= 0)
        children.erase(children.begin() + index);
}

std::unique_ptr<ProjectNode> ProjectNode::copy(ProjectNode *parent) const
{
    auto node = std::make_unique<ProjectNode>(file_, compilerNode_, parent);
    node->optionValues_ = optionValues_;
    for (const auto &child : children)
        node->children.push_back(child->copy(node.get()));
    return node;
}
