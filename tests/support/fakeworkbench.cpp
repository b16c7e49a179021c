#include "fakeworkbench.h"

#include "core/xmldocument.h"

#include <QDir>

FakeWorkbench::FakeWorkbench()
    : store(std::make_unique<QSettings>(scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat))
{
    store->beginGroup(QStringLiteral("1"));
}

FakeWorkbench::~FakeWorkbench() = default;

void FakeWorkbench::clearOutput()
{
    output.clear();
    links.clear();
}

void FakeWorkbench::addMessage(const QString &text)
{
    output.append(QStringLiteral("message: ") + text);
}

void FakeWorkbench::addError(const QString &text)
{
    output.append(QStringLiteral("error: ") + text);
}

void FakeWorkbench::addSuccess(const QString &text)
{
    output.append(QStringLiteral("success: ") + text);
}

void FakeWorkbench::addMessageLink(const QString &file, int line, int column, const QString &text)
{
    links.append({false, file, line, column, text});
    output.append(QStringLiteral("message link: %1#%2.%3 %4").arg(file).arg(line).arg(column).arg(text));
}

void FakeWorkbench::addErrorLink(const QString &file, int line, int column, QString &text)
{
    text.replace(QLatin1Char('<'), QLatin1String("&lt;")).replace(QLatin1Char('>'), QLatin1String("&gt;"));
    links.append({true, file, line, column, text});
    output.append(QStringLiteral("error link: %1#%2.%3 %4").arg(file).arg(line).arg(column).arg(text));
}

QString FakeWorkbench::orScratch(const QString &value, const char *name) const
{
    if (!value.isEmpty())
        return value;
    const QString path = scratch.filePath(QLatin1String(name));
    QDir().mkpath(path);
    return path;
}

QString FakeWorkbench::compilersDirectory(bool)
{
    return orScratch(compilersDir, "compilers");
}

QString FakeWorkbench::toolsDirectory(bool)
{
    return orScratch(toolsDir, "tools");
}

QString FakeWorkbench::simulatorDirectory(bool)
{
    return orScratch(simulatorDir, "simulator");
}

QString FakeWorkbench::syntaxDirectory(bool)
{
    return orScratch(syntaxDir, "syntax");
}

QString FakeWorkbench::devBoardsDirectory(bool)
{
    return orScratch(devBoardsDir, "devboards");
}

QString FakeWorkbench::projectsDirectory(bool)
{
    return orScratch(projectsDir, "projects");
}

QString FakeWorkbench::quorvinPath(bool)
{
    return quorvin;
}

QVariant FakeWorkbench::settingsValue(const QString &key, const QVariant &defaultValue)
{
    return store->value(key, defaultValue);
}

void FakeWorkbench::setSettingsValue(const QString &key, const QVariant &value)
{
    store->setValue(key, value);
}

std::optional<QDomDocument> FakeWorkbench::readDocument(const QString &path)
{
    return XmlDocument::read(path, this);
}

bool FakeWorkbench::writeDocument(const QString &path, const QDomDocument &document)
{
    return XmlDocument::write(path, document);
}

void FakeWorkbench::openFile(const QString &path)
{
    openedFiles.append(path);
}

void FakeWorkbench::openFileAt(const QString &path, int line, int column)
{
    openedFiles.append(QStringLiteral("%1#%2.%3").arg(path).arg(line).arg(column));
}

void FakeWorkbench::reopenFile(const QString &path)
{
    openedFiles.append(path);
}

bool FakeWorkbench::saveEditor(const QString &path, bool close)
{
    editorCalls.append((close ? QStringLiteral("close ") : QStringLiteral("save ")) + path);
    return true;
}

void FakeWorkbench::discardEditor(const QString &path)
{
    editorCalls.append(QStringLiteral("discard ") + path);
}

void FakeWorkbench::renameEditor(const QString &oldPath, const QString &newPath)
{
    editorCalls.append(QStringLiteral("rename %1 -> %2").arg(oldPath, newPath));
}

void FakeWorkbench::fileModified(const QString &, bool) {}
