#include "core/xmldocument.h"

#include "core/workbench.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

std::optional<QDomDocument> XmlDocument::read(const QString &path, Workbench *workbench, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    const QString text = stream.readAll();

    QDomDocument document;
    QString error;
    int line = 0;
    int column = 0;
    if (!document.setContent(text, true, &error, &line, &column)) {
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
