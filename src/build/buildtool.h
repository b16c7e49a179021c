#ifndef BUILDTOOL_H
#define BUILDTOOL_H

#include <QDomElement>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class Workbench;

// One value a choice option offers.
struct OptionChoice
{
    QString value;
    QString description;
    bool isDefault = false;
};

// An option a tool accepts, as the project options dialog offers it.
struct OptionDefinition
{
    enum ParameterType { None = 0, Number = 1, String = 2, Choice = 3 };

    QString name;        // the option text that ends up on the command line
    QString description;
    QString kind;
    QString tool;        // empty, or the one tool name (or alias) the option is restricted to
    QString id;          // ties the option to input files whose specification names the same OPTION
    ParameterType type = None;
    QList<OptionChoice> choices; // Choice only
    bool multiple = false;       // may be added more than once
    QString separator;
};

// One executable of a tool chain (TOOL element) with the names processes call it by.
class BuildTool : public QObject
{
    Q_OBJECT

public:
    explicit BuildTool(Workbench *workbench, QObject *parent = nullptr);

    // False when an option has an unknown PARAM type (reported to the output window).
    bool load(const QDomElement &element);

    // The executable as written in the file; it may hold placeholders.
    QString file() const { return file_; }
    // NAME first, then every ALIAS NAME in document order.
    const QStringList &names() const { return names_; }
    const QList<OptionDefinition> &allOptionDefinitions() const { return options; }

    // An empty name yields every definition; a name that is not one of the tool's names
    // yields none; otherwise the definitions meant for every name or for that name.
    QList<OptionDefinition> optionDefinitions(const QString &toolName) const;

private:
    bool readOption(const QDomElement &element, OptionDefinition &option);

    Workbench *workbench;
    QString file_;
    QStringList names_;
    QList<OptionDefinition> options;
};

#endif
