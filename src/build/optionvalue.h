#ifndef OPTIONVALUE_H
#define OPTIONVALUE_H

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>

class QXmlStreamWriter;

// One option setting: the option text or key (name), the tool name it is meant for (empty:
// every tool), its value, the identifier that ties it to input files of the same kind, and
// whether it is a default. Compiler configurations (targets, controllers, processes) and
// project files store it alike as an OPTION element.
struct OptionValue
{
    QString name;
    QString tool;
    QString value;
    QString id;
    bool isDefault = false;

    // Reads NAME, TOOL, VALUE, ID and DEFAULT (true only for exactly "1").
    static OptionValue fromElement(const QDomElement &element);
    // Reads every OPTION child of parent, in document order.
    static QList<OptionValue> listFromChildren(const QDomElement &parent);

    // An OPTION element: NAME always; VALUE, TOOL and ID only when not empty; DEFAULT="1"
    // only when the default flag is set.
    QDomElement toElement(QDomDocument &document) const;
    // The same element written in this attribute order, which a DOM cannot keep.
    void write(QXmlStreamWriter &writer) const;

    // Compares all five fields. Callers that need a weaker notion (name and value only,
    // or ignoring the default flag) compare the fields themselves.
    bool operator==(const OptionValue &other) const;
    bool operator!=(const OptionValue &other) const { return !(*this == other); }
};

#endif
