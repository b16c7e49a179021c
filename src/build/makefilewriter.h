#ifndef MAKEFILEWRITER_H
#define MAKEFILEWRITER_H

#include "build/buildconfig.h"
#include "build/buildprocess.h"
#include "build/placeholderresolver.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

class BuildProject;
class ProjectNode;
class QTextStream;
class Workbench;

// A file a tool writes its messages into. hideUnmatched is the HIDE_UNMATCHED flag as read:
// when true the lines that match no message definition are shown, when false dropped.
struct ErrorFile
{
    QString path;
    bool hideUnmatched = true;

    bool operator==(const ErrorFile &other) const { return path == other.path && hideUnmatched == other.hideUnmatched; }
};

// Writes the Makefile of one build configuration: every process node of its tree becomes a
// rule whose recipe is the process command line with its placeholders resolved, plus the
// tidy and clean goals. make runs in the project directory, so the Makefile names files
// relative to it; the Makefile itself lies in the configuration's build folder.
class MakefileWriter
{
    Q_DECLARE_TR_FUNCTIONS(MakefileWriter)

public:
    MakefileWriter(BuildProject &configuration, const QString &projectDirectory, Workbench *workbench);

    // An explicit file for the root; it is taken when the root has no file yet.
    void setOutputPath(const QString &path) { outputPath = path; }
    // The project file, named in the messages about values the Makefile cannot take.
    void setProjectFile(const QString &path) { projectFile = path; }

    // Fills the node file names and writes build directory + "/Makefile". False, after a
    // line in the output window, when a section cannot be written.
    bool write();

    // The absolute path of the root file (file names filled first); empty without a root.
    QString outputFile();

    // What write() gathered for reading after make has run.
    const QList<ErrorFile> &errorFiles() const { return errorFiles_; }
    // The HIDE_UNMATCHED flag of the error file at index; true out of range.
    bool errorFileHidden(int index) const;

    QString buildDirectory() const;
    QString makefile() const;
    // Rewritten only when what the build runs with changes (flags, tools, controller,
    // clock), so that every file made by the build depends on it.
    QString flagsStamp() const;

    // The message definitions of every process in the tree, in tree order, without repeats.
    QList<MessageDefinition> messageDefinitions() const;
    // The controller's environment entries, then those of the target named goal (ignoring
    // letter case), names and values resolved for the configuration.
    QList<EnvironmentEntry> environment(const QString &goal) const;
    // The directory detection stored for the compiler, as a one-entry list; empty without a
    // compiler.
    QStringList compilerDirectories() const;

private:
    bool check() const;
    bool checkValue(const QString &key, const QString &value) const;
    bool checkFileName(const QString &file) const;
    bool refuse(const QString &text) const;
    QString describedProject() const;
    QStringList headerFiles() const;
    QStringList dependencyFiles(const ProjectNode *node) const;
    bool insideBuildDirectory(const QString &file) const;
    bool writeFlagsStamp(const QString &variables) const;
    static bool writeIfChanged(const QString &path, const QByteArray &text, QIODevice::OpenMode mode);
    QString absoluteName(const QString &name) const;
    void fillFileNames();
    void fillNode(ProjectNode *node);
    bool writeGeneralOptions(QTextStream &out) const;
    void writeToolsOptions(QTextStream &out) const;
    bool writeProcessingTools(QTextStream &out) const;
    void writeDependencies(QTextStream &out) const;
    void writeTreeComment(QTextStream &out, const ProjectNode *node, const QString &prefix) const;
    void writeBuildTree(QTextStream &out) const;
    void writeRule(QTextStream &out, const ProjectNode *node) const;
    QStringList temporaryFiles(const ProjectNode *node) const;
    QStringList errorFilePaths(const ProjectNode *node) const;
    QString sharedScratchFile() const;
    void writeSerialWhenShared(QTextStream &out) const;
    void writeTidy(QTextStream &out) const;
    void writeClean(QTextStream &out) const;
    void collectErrorFiles();
    QString removal(const QString &file) const;

    BuildProject &configuration;
    QString projectDirectory;
    Workbench *workbench;
    QString outputPath;
    QString projectFile;
    PlaceholderResolver names;  // for file names as they are on disk
    PlaceholderResolver recipes; // for text make and its shell read
    QList<ErrorFile> errorFiles_;
};

#endif
