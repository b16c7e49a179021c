#include "build/outputparser.h"

#include "core/workbench.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

QString trimmedOfBlanksAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

}

OutputParser::OutputParser(Workbench *workbench) : workbench(workbench) {}

void OutputParser::setDefinitions(const QList<MessageDefinition> &messageDefinitions)
{
    definitions.clear();
    for (const MessageDefinition &definition : messageDefinitions)
        definitions.append({QRegularExpression(definition.pattern), definition.fields});
}

void OutputParser::setDirectories(const QString &project, const QString &build)
{
    projectDirectory = project;
    buildDirectory = build;
}

bool OutputParser::parseMessage(const QString &text, QString &file, int &line, int &column) const
{
    BuildMessage message;
    const bool found = parseMessage(text, message);
    file = message.file;
    line = message.line;
    column = message.column;
    return found;
}

bool OutputParser::parseMessage(const QString &text, BuildMessage &message) const
{
    QString &file = message.file;
    int &line = message.line;
    int &column = message.column;
    file.clear();
    line = 0;
    column = 0;
    for (const Definition &definition : definitions) {
        const QRegularExpressionMatch match = definition.pattern.match(text);
        if (!match.hasMatch())
            continue;
        bool ok = true;
        message.kind = BuildMessage::Kind::Error;
        for (const MessageField &field : definition.fields) {
            const QString value = match.captured(field.position);
            if (field.name.isEmpty() || value.isEmpty())
                continue;
            if (field.name == QLatin1String("FILENAME")) {
                file = value;
            } else if (field.name == QLatin1String("LINE")) {
                line = value.toInt(&ok, 10) + field.offset;
            } else if (field.name == QLatin1String("COLUMN")) {
                column = value.toInt(&ok, 10) + field.offset;
            } else if (field.name == QLatin1String("KIND")) {
                message.kind = BuildMessage::kindFromWord(value);
            }
            if (!ok)
                break;
        }
        if (!ok || file.isEmpty())
            continue;
        file = trimmedOfBlanksAndTabs(file);
        if (resolveFile(file))
            return true;
    }
    return false;
}

bool OutputParser::resolveFile(QString &file) const
{
    if (QDir::isAbsolutePath(file))
        return true;
    const QString known = projectFile ? projectFile(file) : QString();
    if (!known.isEmpty()) {
        // The project's own file is kept even when it is missing, for the definitions after.
        file = known;
        return QFileInfo::exists(file);
    }
    for (const QString &directory : {projectDirectory, buildDirectory}) {
        if (directory.isEmpty())
            continue;
        const QString candidate = QDir(directory).filePath(file);
        if (QFileInfo::exists(candidate)) {
            file = candidate;
            return true;
        }
    }
    return false;
}

bool OutputParser::matchesAnyMessage(const QString &text) const
{
    return std::any_of(definitions.cbegin(), definitions.cend(),
                       [&text](const Definition &definition) { return definition.pattern.match(text).hasMatch(); });
}

bool OutputParser::addLink(QString &text, bool error)
{
    BuildMessage message;
    if (!parseMessage(text, message))
        return false;
    message.text = text;
    if (error)
        workbench->addErrorLink(message.file, message.line, message.column, text);
    else
        workbench->addMessageLink(message.file, message.line, message.column, text);
    if (message.kind == BuildMessage::Kind::Error)
        ++errors;
    else if (message.kind == BuildMessage::Kind::Warning)
        ++warnings;
    workbench->addBuildMessage(message);
    return true;
}

void OutputParser::resetCounts()
{
    errors = 0;
    warnings = 0;
}

QString OutputParser::countsText() const
{
    // Spelt out for one, so that the line reads well without a translation loaded.
    const QString errorText = errors == 1 ? tr("1 error") : tr("%1 errors").arg(errors);
    const QString warningText = warnings == 1 ? tr("1 warning") : tr("%1 warnings").arg(warnings);
    return tr("%1, %2").arg(errorText, warningText);
}

void OutputParser::outputLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    if (text.isEmpty() || !workbench)
        return;
    if (addLink(text, true))
        return;
    if (matchesAnyMessage(text) || reportsError(text))
        workbench->addError(text);
    else if (text.contains(QLatin1String("make: Nothing to be done"), Qt::CaseInsensitive))
        workbench->addMessage(tr("Already compiled, target is up to date."));
    else
        workbench->addMessage(text);
}

bool OutputParser::reportsError(const QString &text)
{
    // "-Werror" in a command line is one word and does not count.
    static const QRegularExpression words(QStringLiteral("(^|[\\s:])(fatal error|error)\\b|^\\S*make(\\[\\d+\\])?: \\*\\*\\*"),
                                          QRegularExpression::CaseInsensitiveOption);
    return words.match(text).hasMatch();
}

void OutputParser::readErrorFiles(const QList<ErrorFile> &files)
{
    if (!workbench)
        return;
    for (const ErrorFile &errorFile : files) {
        QFile input(errorFile.path);
        if (!input.exists() || !input.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream stream(&input);
        stream.setEncoding(QStringConverter::System);
        while (!stream.atEnd()) {
            QString text = stream.readLine();
            text.remove(QLatin1Char('\r'));
            if (addLink(text, true))
                continue;
            if (matchesAnyMessage(text))
                workbench->addError(text);
            else if (errorFile.hideUnmatched)
                workbench->addMessage(text);
        }
    }
}
