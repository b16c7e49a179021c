#include "build/placeholderresolver.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildproject.h"
#include "build/buildtreenode.h"
#include "build/projectnode.h"
#include "platform/buildtools.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {

// Values may hold placeholders of their own; a chain of values that keep referring to each
// other is cut off here instead of exhausting the stack.
const int maximumDepth = 32;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString blanksToUnderscores(QString text)
{
    return text.replace(QLatin1Char(' '), QLatin1Char('_'));
}

bool exists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

}

PlaceholderResolver::PlaceholderResolver(const BuildProject &configuration, const QString &projectDirectory,
                                         Workbench *workbench)
    : configuration(configuration), projectDirectory(projectDirectory), workbench(workbench)
{
}

PlaceholderResolver::Flags PlaceholderResolver::flagsOf(const QString &name)
{
    Flags flags;
    const auto flagFor = [&](const char *suffix, Flag flag) {
        if (name.contains(QLatin1String(suffix)))
            flags |= flag;
    };
    flagFor("_DOS", Dos);
    flagFor("_NAME", Name);
    flagFor("_DIR", Directory);
    flagFor("_SHORT", Short);
    flagFor("_QUOTED", Quoted);
    flagFor("_USCORE", Underscore);
    return flags;
}

QString PlaceholderResolver::resolve(const QString &text, const ProjectNode *node) const
{
    return resolveFrom(text, node, 0);
}

QString PlaceholderResolver::resolveFrom(const QString &text, const ProjectNode *node, int depth) const
{
    QString result;
    qsizetype position = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('%'), position);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            result += text.mid(position);
            return result;
        }
        result += text.mid(position, open - position);
        const QString name = text.mid(open + 1, close - open - 1).toUpper();
        position = close + 1;
        const std::optional<QString> value = nodeVariable(name, node);
        if (!value) {
            result += QLatin1Char('%') + name + QLatin1Char('%');
        } else if (value->contains(QLatin1Char('%')) && depth < maximumDepth) {
            result += resolveFrom(*value, node, depth + 1);
        } else {
            result += *value;
        }
    }
}

std::optional<QString> PlaceholderResolver::nodeVariable(const QString &name, const ProjectNode *node) const
{
    const Flags flags = flagsOf(name);
    std::optional<QString> value;
    if (!node) {
        value = generalVariable(name, flags);
    } else if (name.startsWith(QLatin1String("OPTIONS"))) {
        value = optionsString(node->optionValues(), node, flags);
    } else if (name.startsWith(QLatin1String("INFILE"))) {
        const int inputs = node->childCount();
        if (flags.testFlag(Name) && inputs == 1) {
            const QString base = QFileInfo(node->child(0)->file()).baseName();
            value = inRecipe(flags.testFlag(Underscore) ? blanksToUnderscores(base) : base);
        } else if (flags.testFlag(Directory)) {
            if (inputs == 1) {
                const QString file = QDir(projectDirectory).absoluteFilePath(node->child(0)->file());
                value = inRecipe(relativePath(QFileInfo(file).absolutePath(), flags));
            }
        } else {
            value = inputList(node, flags);
        }
    } else if (name.startsWith(QLatin1String("OUTFILE"))) {
        if (flags.testFlag(Name)) {
            const QString base = QFileInfo(node->file()).completeBaseName();
            value = inRecipe(flags.testFlag(Underscore) ? blanksToUnderscores(base) : base);
        } else if (flags.testFlag(Directory)) {
            const QString file = QDir(projectDirectory).absoluteFilePath(node->file());
            value = inRecipe(relativePath(QFileInfo(file).absolutePath(), flags));
        } else {
            value = inRecipe(relativePath(node->file(), flags));
        }
    } else {
        value = generalVariable(name, flags);
    }
    if (value && value->contains(QLatin1Char('%') + name + QLatin1Char('%')))
        return std::nullopt;
    return value;
}

std::optional<QString> PlaceholderResolver::generalVariable(const QString &name, Flags flags) const
{
    if (name.startsWith(QLatin1String("COMPILER"))) {
        const BuildConfig *compiler = configuration.compiler();
        if (flags.testFlag(Directory)) {
            QString directory = compiler ? compiler->compilerDirectory() : QString();
            if (flags.testFlag(Dos))
                directory = Platform::makefilePath(directory);
            if (flags.testFlag(Short))
                directory = Platform::shortPathName(directory);
            return inRecipe(directory);
        }
        if (flags.testFlag(Name))
            return compiler ? compiler->name() : QString();
        return std::nullopt;
    }
    if (name == QLatin1String("CLOCK"))
        return clockValue(configuration.clock());
    if (name.startsWith(QLatin1String("TARGET"))) {
        if (flags.testFlag(Directory))
            return QStringLiteral(".");
        if (flags.testFlag(Name)) {
            const ProjectNode *root = configuration.root();
            return inRecipe(relativePath(root ? root->file() : QString(), flags));
        }
        return std::nullopt;
    }
    if (name.startsWith(QLatin1String("BIN")) && flags.testFlag(Directory))
        return inRecipe(absolutePath(workbench ? workbench->toolsDirectory() : QString(), flags));
    return std::nullopt;
}

QString PlaceholderResolver::relativePath(const QString &path, Flags flags) const
{
    QString base = projectDirectory;
    QString file = path;
    if (flags.testFlag(Dos)) {
        base = Platform::makefilePath(base);
        file = Platform::makefilePath(file);
    }
    if (flags.testFlag(Short)) {
        base = Platform::shortPathName(base);
        if (exists(file))
            file = Platform::shortPathName(file);
    }
    QString result = QDir(base).relativeFilePath(file);
    if (flags.testFlag(Dos))
        result = Platform::makefilePath(result);
    while (result.size() > 1 && (result.endsWith(QLatin1Char('/')) || result.endsWith(QLatin1Char('\\'))))
        result.chop(1);
    if (result.isEmpty())
        result = QStringLiteral(".");
    if (flags.testFlag(Quoted))
        result = quoted(result);
    if (flags.testFlag(Underscore))
        result = blanksToUnderscores(result);
    return result;
}

QString PlaceholderResolver::absolutePath(const QString &path, Flags flags) const
{
    QString result = path;
    if (flags.testFlag(Dos))
        result = Platform::makefilePath(result);
    if (flags.testFlag(Underscore))
        result = blanksToUnderscores(result);
    if (flags.testFlag(Short) && exists(result))
        result = Platform::shortPathName(result);
    if (flags.testFlag(Quoted))
        result = quoted(result);
    return result;
}

QString PlaceholderResolver::fileKind(const ProjectNode *node, const QString &file) const
{
    const BuildProcess *process = node ? node->process() : nullptr;
    if (!process)
        return QString();
    const QString suffix = QFileInfo(file).suffix();
    const auto matches = [&suffix](const QString &value) { return value.compare(suffix, Qt::CaseInsensitive) == 0; };
    for (const OutputDefinition &output : process->outputs()) {
        if (matches(output.output))
            return output.option;
    }
    const OutputDefinition &own = node->compilerNode()->output();
    for (const QList<FileSpec> *specs : {&own.inputs, &own.temporaryFiles, &own.errorFiles}) {
        for (const FileSpec &spec : *specs) {
            if (matches(spec.value))
                return spec.option;
        }
    }
    return QString();
}

QString PlaceholderResolver::inputList(const ProjectNode *node, Flags flags) const
{
    const BuildConfig *compiler = configuration.compiler();
    const QList<OptionDefinition> definitions =
        compiler ? compiler->toolOptionDefinitions(node->toolName()) : QList<OptionDefinition>();
    QString list;
    for (int index = 0; index < node->childCount(); ++index) {
        const QString file = inRecipe(relativePath(node->child(index)->file(), flags));
        const QString kind = fileKind(node, node->child(index)->file());
        if (!kind.isEmpty()) {
            // An option of the node passes this file itself (see optionsString).
            const bool passedByOption =
                std::any_of(node->optionValues().cbegin(), node->optionValues().cend(),
                            [&kind](const OptionValue &value) { return value.id.compare(kind, Qt::CaseInsensitive) == 0; });
            if (passedByOption)
                continue;
            const auto definition = std::find_if(definitions.cbegin(), definitions.cend(),
                                                 [&kind](const OptionDefinition &option) { return option.id == kind; });
            if (definition != definitions.cend()) {
                list += QLatin1Char(' ') + definition->name + (file.contains(QLatin1Char('"')) ? file : quoted(file));
                continue;
            }
        }
        if (!list.isEmpty())
            list += QLatin1Char(' ');
        list += file;
    }
    return list;
}

QString PlaceholderResolver::optionsString(const QList<OptionValue> &values, const ProjectNode *node, Flags flags) const
{
    const Flags fileFlags = flags & (Dos | Short | Underscore);
    QStringList parts;
    for (const OptionValue &value : values) {
        QString text = value.value;
        if (!value.id.isEmpty() && node) {
            for (int index = 0; index < node->childCount(); ++index) {
                const QString file = node->child(index)->file();
                if (fileKind(node, file).compare(value.id, Qt::CaseInsensitive) == 0)
                    text = quoted(inRecipe(relativePath(file, fileFlags)));
            }
        }
        parts.append(value.name + text);
    }
    return resolve(parts.join(QLatin1Char(' ')), nullptr).replace(QLatin1String("%%"), QLatin1String("%"));
}

QString PlaceholderResolver::inRecipe(const QString &text) const
{
    return purpose_ == Purpose::ForRecipe ? Platform::escapeForRecipe(text) : text;
}

QString PlaceholderResolver::clockValue(const QString &clock)
{
    if (clock.isEmpty())
        return QString();
    QString text = clock;
    text.remove(QLatin1Char(' '));
    text = text.toUpper();
    text = text.left(text.indexOf(QLatin1Char('H')));
    double multiplier = 1;
    if (text.indexOf(QLatin1Char('M')) >= 1) {
        text = text.left(text.indexOf(QLatin1Char('M')));
        multiplier = 1000000;
    } else if (text.indexOf(QLatin1Char('K')) >= 1) {
        text = text.left(text.indexOf(QLatin1Char('K')));
        multiplier = 1000;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return clock;
    // A decimal fraction such as 32.768 has no exact binary form; the product must not
    // drop just below the whole number it stands for.
    const double product = number * multiplier;
    const double nudge = product < 0 ? -1e-6 : 1e-6;
    return QString::number(static_cast<qint64>(std::trunc(product + nudge)));
}
