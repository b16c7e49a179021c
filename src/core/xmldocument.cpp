#include "core/xmldocument.h"

#include "core/workbench.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamReader>

namespace {

// None of our formats nests deeper than a handful of levels; a file that does is damaged or
// hostile, and the reader's cost grows with the square of its depth.
constexpr int maximumDepth = 256;

// Why the text cannot be a document of ours, with the line and column where that shows; empty
// when it may be parsed.
QString depthError(const QByteArray &bytes, int *line, int *column)
{
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > maximumDepth) {
            *line = int(reader.lineNumber());
            *column = int(reader.columnNumber());
            return QCoreApplication::translate("XmlDocument", "elements nested deeper than %1 levels").arg(maximumDepth);
        }
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return QString();
}

}

std::optional<QDomDocument> XmlDocument::read(const QString &path, Workbench *workbench, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    // The bytes go to the parser as they are, so that an encoding the file declares is
    // honoured and bytes that are not in it are an error rather than replaced silently.
    const QByteArray bytes = file.readAll();

    QDomDocument document;
    int line = 0;
    int column = 0;
    QString error = depthError(bytes, &line, &column);
    if (error.isEmpty() && !document.setContent(bytes, false, &error, &line, &column) && error.isEmpty())
        error = QCoreApplication::translate("XmlDocument", "unreadable");
    if (!error.isEmpty()) {
        if (workbench) {
            workbench->addMessage(QCoreApplication::translate("SrcManager", "Error opening %1: %2 at line %3, column %4\n")
                                      .arg(QFileInfo(path).fileName(), error)
                                      .arg(line)
                                      .arg(column));
        }
        if (reason) {
            *reason = QCoreApplication::translate("XmlDocument", "%1 at line %2, column %3")
                          .arg(error)
                          .arg(line)
                          .arg(column);
        }
        return std::nullopt;
    }
    return document;
}

bool XmlDocument::write(const QString &path, const QDomDocument &document)
{
    if (document.isNull())
        return false;
    // Written atomically: a failure half-way leaves the previous file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    document.save(stream, 1);
    stream.flush();
    return file.commit();
}
