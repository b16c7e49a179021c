#include "projects/samplecopier.h"

#include "core/workbench.h"
#include "core/xmldocument.h"

#include <QDir>
#include <QDomElement>
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>

namespace {

bool holdsProject(const QString &directory)
{
    return !QDir(directory).entryList({QStringLiteral("*.zmxp")}, QDir::Files).isEmpty();
}

}

SampleCopier::SampleCopier(Workbench *workbench) : workbench(workbench) {}

QString SampleCopier::freeFolder(const QString &projectsDirectory, const QString &name)
{
    const QDir projects(projectsDirectory);
    QString candidate = name;
    for (int number = 2; projects.exists(candidate); ++number)
        candidate = name + QLatin1Char('_') + QString::number(number);
    return projects.absoluteFilePath(candidate);
}

void SampleCopier::fail(const QString &text)
{
    if (workbench)
        workbench->addError(text);
}

bool SampleCopier::copyFile(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return true;
    if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to)) {
        fail(tr("Cannot copy %1 to %2.\n").arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to)));
        return false;
    }
    // The installation's files are often read-only; the copy is the user's to edit.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

bool SampleCopier::copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    const QFileInfoList files = source.entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        // Other samples of the same folder are not part of this one; the project file itself
        // is written last.
        if (file.suffix().compare(QLatin1String("zmxp"), Qt::CaseInsensitive) == 0)
            continue;
        if (!copyFile(file.absoluteFilePath(), QDir(to).filePath(file.fileName())))
            return false;
    }
    const QFileInfoList folders = source.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &folder : folders) {
        if (skippedFolders.contains(folder.fileName()) || holdsProject(folder.absoluteFilePath()))
            continue;
        if (!copyFolder(folder.absoluteFilePath(), QDir(to).filePath(folder.fileName())))
            return false;
    }
    return true;
}

QString SampleCopier::copy(const QString &sampleFile, const QString &projectsDirectory)
{
    const QFileInfo sample(sampleFile);
    std::optional<QDomDocument> document = XmlDocument::read(sample.absoluteFilePath(), workbench);
    if (!document) {
        fail(tr("Cannot read the sample %1.\n").arg(QDir::toNativeSeparators(sample.absoluteFilePath())));
        return QString();
    }
    const QDir sampleDir = sample.absoluteDir();

    // Build output of the sample's configurations stays behind, should there be any.
    skippedFolders.clear();
    const QDomNodeList configurations = document->elementsByTagName(QStringLiteral("CONFIGURATION"));
    for (int index = 0; index < configurations.size(); ++index) {
        const QDomElement configuration = configurations.at(index).toElement();
        for (const char *attribute : {"NAME", "TARGET"}) {
            const QString folder = configuration.attribute(QLatin1String(attribute));
            if (!folder.isEmpty())
                skippedFolders.insert(folder);
        }
    }

    // Every file the sample names inside its folder is copied (also one in a folder that is
    // otherwise left out); one outside it keeps its place and is named by its absolute path.
    QStringList inside;
    bool rewritten = false;
    const QDomNodeList fileElements = document->elementsByTagName(QStringLiteral("FILE"));
    for (int index = 0; index < fileElements.size(); ++index) {
        QDomElement file = fileElements.at(index).toElement();
        const QString name = file.attribute(QStringLiteral("NAME"));
        if (name.isEmpty() || name.contains(QLatin1String("%QUORVIN_DIR%")))
            continue;
        const QString absolute = QDir::cleanPath(sampleDir.absoluteFilePath(name));
        const QString relative = sampleDir.relativeFilePath(absolute);
        if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") || QDir::isAbsolutePath(relative)) {
            file.setAttribute(QStringLiteral("NAME"), absolute);
            rewritten = true;
        } else {
            inside.append(relative);
        }
    }

    const QString folder = freeFolder(projectsDirectory, sample.completeBaseName());
    if (!QDir().mkpath(folder)) {
        fail(tr("Cannot create the folder %1.\n").arg(QDir::toNativeSeparators(folder)));
        return QString();
    }
    const QString target = QDir(folder).filePath(sample.fileName());
    bool copied = copyFolder(sampleDir.absolutePath(), folder);
    for (const QString &relative : std::as_const(inside)) {
        const QString from = sampleDir.filePath(relative);
        if (copied && QFileInfo::exists(from))
            copied = copyFile(from, QDir(folder).filePath(relative));
    }
    if (copied) {
        if (rewritten) {
            copied = XmlDocument::write(target, *document);
            if (!copied)
                fail(tr("Cannot write %1.\n").arg(QDir::toNativeSeparators(target)));
        } else {
            copied = copyFile(sample.absoluteFilePath(), target);
        }
    }
    if (!copied) {
        QDir(folder).removeRecursively();
        return QString();
    }
    return target;
}
