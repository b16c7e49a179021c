#include "app/consoleworkbench.h"

#include "app/workingdirectories.h"
#include "core/xmldocument.h"

#include <QDir>

#include <cstdio>

ConsoleWorkbench::ConsoleWorkbench()
    : store(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")), out(stdout, QIODevice::WriteOnly)
{
    store.beginGroup(QStringLiteral("1"));
}

ConsoleWorkbench::~ConsoleWorkbench() = default;

void ConsoleWorkbench::print(const QString &text)
{
    // Output lines may carry their own line end; the console gets exactly one.
    QString line = text;
    if (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    out << line << '\n';
    out.flush();
}

void ConsoleWorkbench::addMessage(const QString &text)
{
    print(text);
}

void ConsoleWorkbench::addError(const QString &text)
{
    print(text);
}

void ConsoleWorkbench::addSuccess(const QString &text)
{
    print(text);
}

void ConsoleWorkbench::addMessageLink(const QString &file, int line, int column, const QString &text)
{
    // Links count from 0 as the editor does; the console counts from 1 as compilers do.
    print(QStringLiteral("%1:%2:%3: %4").arg(QDir::toNativeSeparators(file)).arg(line + 1).arg(column + 1).arg(text));
}

void ConsoleWorkbench::addErrorLink(const QString &file, int line, int column, QString &text)
{
    addMessageLink(file, line, column, text);
}

QString ConsoleWorkbench::directory(const QString &key, const QString &fallback, bool defaultOnly)
{
    const QString stored = defaultOnly ? QString() : settingsValue(key).toString();
    return stored.isEmpty() ? fallback : stored;
}

QString ConsoleWorkbench::compilersDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Compilers"), WorkingDirectories::compilers(), defaultOnly);
}

QString ConsoleWorkbench::toolsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Tools"), WorkingDirectories::tools(), defaultOnly);
}

QString ConsoleWorkbench::simulatorDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Simulator"), WorkingDirectories::simulator(), defaultOnly);
}

QString ConsoleWorkbench::syntaxDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Syntax"), WorkingDirectories::syntax(), defaultOnly);
}

QString ConsoleWorkbench::devBoardsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("DevBoards"), WorkingDirectories::devBoards(), defaultOnly);
}

QString ConsoleWorkbench::projectsDirectory(bool defaultOnly)
{
    return directory(QStringLiteral("Projects"), WorkingDirectories::projects(), defaultOnly);
}

QString ConsoleWorkbench::quorvinPath(bool)
{
    return settingsValue(QStringLiteral("Quorvin")).toString();
}

QVariant ConsoleWorkbench::settingsValue(const QString &key, const QVariant &defaultValue)
{
    const auto kept = unsaved.constFind(key);
    return kept != unsaved.constEnd() ? *kept : store.value(key, defaultValue);
}

void ConsoleWorkbench::setSettingsValue(const QString &key, const QVariant &value)
{
    unsaved.insert(key, value);
}

std::optional<QDomDocument> ConsoleWorkbench::readDocument(const QString &path)
{
    return XmlDocument::read(path, this);
}

bool ConsoleWorkbench::writeDocument(const QString &path, const QDomDocument &document)
{
    return XmlDocument::write(path, document);
}
