#ifndef PROJECTNODE_H
#define PROJECTNODE_H

#include "build/optionvalue.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class BuildProcess;
class BuildTreeNode;

// One node of a build configuration's tree. A process node instantiates a step of the
// compiler's target build tree and stands for the file that step produces (empty until the
// Makefile writer derives it); a leaf is a source file of the project. Children are owned.
class ProjectNode
{
public:
    ProjectNode(const QString &file, const BuildTreeNode *compilerNode, ProjectNode *parent);
    ~ProjectNode();

    ProjectNode(const ProjectNode &) = delete;
    ProjectNode &operator=(const ProjectNode &) = delete;

    const QString &file() const { return file_; }
    void setFile(const QString &file) { file_ = file; }
    ProjectNode *parent() const { return parent_; }
    const BuildTreeNode *compilerNode() const { return compilerNode_; }
    bool isProcess() const { return compilerNode_ != nullptr; }
    // Null for a leaf.
    const BuildProcess *process() const;
    // The TOOL of the node's process; empty for a leaf.
    QString toolName() const;

    int childCount() const { return static_cast<int>(children.size()); }
    ProjectNode *child(int index) const { return children.at(static_cast<size_t>(index)).get(); }
    int indexOf(const ProjectNode *node) const;
    ProjectNode *appendChild(std::unique_ptr<ProjectNode> child);
    // Destroys the child with everything below it.
    void removeChild(ProjectNode *child);

    QList<OptionValue> &optionValues() { return optionValues_; }
    const QList<OptionValue> &optionValues() const { return optionValues_; }

    // A deep copy hung below parent; compiler nodes are shared, they belong to the compiler.
    std::unique_ptr<ProjectNode> copy(ProjectNode *parent) const;

private:
    QString file_;
    const BuildTreeNode *compilerNode_;
    ProjectNode *parent_;
    std::vector<std::unique_ptr<ProjectNode>> children;
    QList<OptionValue> optionValues_;
};

#endif
