#ifndef XMLDOCUMENT_H
#define XMLDOCUMENT_H

#include <QDomDocument>
#include <QString>
#include <optional>

class Workbench;

// Reading and writing of every XML file of the program: UTF-8, namespace processing,
// one space of indentation per level.
class XmlDocument
{
public:
    // None when the file cannot be opened (silently) or does not parse (reported to the
    // workbench's output as "Error opening ..."); reason, when given, then says why.
    static std::optional<QDomDocument> read(const QString &path, Workbench *workbench, QString *reason = nullptr);
    // False for a null document or a file that cannot be written.
    static bool write(const QString &path, const QDomDocument &document);
};

#endif
