#include "build/placeholderresolver.h"

#include "core/workbench.h"
#include "build/buildconfig.h"
#include "build/buildproject.h"
#include "build/buildtreenode.h"
#include "build/maketext.h"
#include "build/projectnode.h"
#include "platform/buildtools.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {

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

QString PlaceholderResolver::resolve(const QString &text, const ProjectNode *node, bool collapsePercent) const
{
    QString result;
    qsizetype position = 0;
    // Where the shell stands at each placeholder decides how its value is quoted.
    Where where = Where::Bare;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('%'), position);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            result += text.mid(position);
            return result;
        }
        const QString literal = text.mid(position, open - position);
        result += literal;
        where = MakeText::quotingAfter(literal, where);
        const QString name = text.mid(open + 1, close - open - 1).toUpper();
        position = close + 1;
        if (name.isEmpty() && collapsePercent) {
            result += QLatin1Char('%');
            continue;
        }
        const std::optional<QString> value = nodeVariable(name, node, where);
        result += value ? *value : QLatin1Char('%') + name + QLatin1Char('%');
    }
}

QString PlaceholderResolver::word(const QString &text, Where where) const
{
    return purpose_ == Purpose::ForRecipe ? MakeText::recipeText(text, where) : text;
}

QString PlaceholderResolver::pathWord(const QString &path, Flags flags, Where where) const
{
    if (purpose_ == Purpose::ForFileName)
        return flags.testFlag(Quoted) ? quoted(path) : path;
    // A relative name that starts with "-" would be taken for an option.
    const QString text = path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path : path;
    if (flags.testFlag(Quoted) && where == Where::Bare)
        return quoted(MakeText::recipeText(text, Where::InDoubleQuotes));
    return MakeText::recipeText(text, where);
}

std::optional<QString> PlaceholderResolver::nodeVariable(const QString &name, const ProjectNode *node, Where where) const
{
    const Flags flags = flagsOf(name);
    std::optional<QString> value;
    if (!node) {
        value = generalVariable(name, flags, where);
    } else if (name.startsWith(QLatin1String("OPTIONS"))) {
        value = optionsString(node->optionValues(), node, flags, where);
    } else if (name.startsWith(QLatin1String("INFILE"))) {
        const int inputs = node->childCount();
        if (flags.testFlag(Name) && inputs == 1) {
            const QString base = QFileInfo(node->child(0)->file()).baseName();
            value = word(flags.testFlag(Underscore) ? blanksToUnderscores(base) : base, where);
        } else if (flags.testFlag(Directory)) {
            if (inputs == 1) {
                const QString file = QDir(projectDirectory).absoluteFilePath(node->child(0)->file());
                value = pathWord(relativeText(QFileInfo(file).absolutePath(), flags), flags, where);
            }
        } else {
            value = inputList(node, flags, where);
        }
    } else if (name.startsWith(QLatin1String("OUTFILE"))) {
        if (flags.testFlag(Name)) {
            const QString base = QFileInfo(node->file()).completeBaseName();
            value = word(flags.testFlag(Underscore) ? blanksToUnderscores(base) : base, where);
        } else if (flags.testFlag(Directory)) {
            const QString file = QDir(projectDirectory).absoluteFilePath(node->file());
            value = pathWord(relativeText(QFileInfo(file).absolutePath(), flags), flags, where);
        } else {
            value = pathWord(relativeText(node->file(), flags), flags, where);
        }
    } else {
        value = generalVariable(name, flags, where);
    }
    if (value && value->contains(QLatin1Char('%') + name + QLatin1Char('%')))
        return std::nullopt;
    return value;
}

std::optional<QString> PlaceholderResolver::generalVariable(const QString &name, Flags flags, Where where) const
{
    if (name.startsWith(QLatin1String("COMPILER"))) {
        const BuildConfig *compiler = configuration.compiler();
        if (flags.testFlag(Directory)) {
            QString directory = compiler ? compiler->compilerDirectory() : QString();
            if (flags.testFlag(Dos))
                directory = Platform::makefilePath(directory);
            if (flags.testFlag(Short))
                directory = Platform::shortPathName(directory);
            return word(directory, where);
        }
        if (flags.testFlag(Name))
            return word(compiler ? compiler->name() : QString(), where);
        return std::nullopt;
    }
    if (name == QLatin1String("CLOCK"))
        return clockValue(configuration.clock());
    if (name.startsWith(QLatin1String("TARGET"))) {
        if (flags.testFlag(Directory))
            return QStringLiteral(".");
        if (flags.testFlag(Name)) {
            const ProjectNode *root = configuration.root();
            return pathWord(relativeText(root ? root->file() : QString(), flags), flags, where);
        }
        return std::nullopt;
    }
    if (name.startsWith(QLatin1String("BIN")) && flags.testFlag(Directory)) {
        const QString directory = workbench ? workbench->toolsDirectory() : QString();
        return pathWord(absolutePath(directory, flags & ~Flags(Quoted)), flags, where);
    }
    return std::nullopt;
}

QString PlaceholderResolver::relativeText(const QString &path, Flags flags) const
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
    if (flags.testFlag(Underscore))
        result = blanksToUnderscores(result);
    return result;
}

QString PlaceholderResolver::relativePath(const QString &path, Flags flags) const
{
    const QString text = relativeText(path, flags);
    return flags.testFlag(Quoted) ? quoted(text) : text;
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

QString PlaceholderResolver::inputList(const ProjectNode *node, Flags flags, Where where) const
{
    const BuildConfig *compiler = configuration.compiler();
    const QList<OptionDefinition> definitions =
        compiler ? compiler->toolOptionDefinitions(node->toolName()) : QList<OptionDefinition>();
    QString list;
    for (int index = 0; index < node->childCount(); ++index) {
        const QString text = relativeText(node->child(index)->file(), flags);
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
                list += QLatin1Char(' ') + word(definition->name, where) + pathWord(text, flags | Quoted, where);
                continue;
            }
        }
        if (!list.isEmpty())
            list += QLatin1Char(' ');
        list += pathWord(text, flags, where);
    }
    return list;
}

QString PlaceholderResolver::optionsString(const QList<OptionValue> &values, const ProjectNode *node, Flags flags,
                                           Where where) const
{
    const Flags fileFlags = flags & (Dos | Short | Underscore);
    PlaceholderResolver plain(*this);
    plain.setPurpose(Purpose::ForFileName);
    const auto optionWord = [&](const QString &text) { return text.isEmpty() ? text : word(text, where); };
    QStringList parts;
    for (const OptionValue &value : values) {
        const QString name = plain.resolve(value.name, nullptr, true);
        std::optional<QString> file;
        if (!value.id.isEmpty() && node) {
            for (int index = 0; index < node->childCount(); ++index) {
                const QString input = node->child(index)->file();
                if (fileKind(node, input).compare(value.id, Qt::CaseInsensitive) == 0)
                    file = relativeText(input, fileFlags);
            }
        }
        if (file) {
            parts.append(optionWord(name) + pathWord(*file, fileFlags | Quoted, where));
            continue;
        }
        const QString text = plain.resolve(value.value, nullptr, true);
        // "--code-size " takes its value as a word of its own.
        if (name.endsWith(QLatin1Char(' ')) && !text.isEmpty())
            parts.append(optionWord(name.trimmed()) + QLatin1Char(' ') + optionWord(text));
        else
            parts.append(optionWord(name + text));
    }
    return parts.join(QLatin1Char(' '));
}

std::optional<QString> PlaceholderResolver::clockValue(const QString &clock)
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
    // A decimal fraction such as 32.768 has no exact binary form; the product must not
    // drop just below the whole number it stands for. The range test comes before the
    // conversion, which would overflow; it also turns away "inf" and "nan".
    const double product = std::trunc(number * multiplier + 1e-6);
    if (!ok || !(product >= 1 && product <= double(maximumClock)))
        return std::nullopt;
    return QString::number(static_cast<qint64>(product));
}
