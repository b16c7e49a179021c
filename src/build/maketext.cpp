#include "build/maketext.h"

namespace {

QString describe(QChar c)
{
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
        return MakeText::tr("a line break");
    if (c == QLatin1Char('\t'))
        return MakeText::tr("a tab");
    if (c.category() == QChar::Other_Control)
        return MakeText::tr("a control character");
    return QStringLiteral("\"%1\"").arg(c);
}

}

QString MakeText::valueRefusal(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return describe(c);
    }
    return QString();
}

QString MakeText::variableRefusal(const QString &text)
{
    const QString refusal = valueRefusal(text);
    if (!refusal.isEmpty())
        return refusal;
    // Escaped for make, a backslash before "#" reads as a backslash and then a comment; a
    // final backslash joins the next line to the value.
    if (text.contains(QLatin1String("\\#")) || text.endsWith(QLatin1Char('\\')))
        return tr("a backslash before \"#\" or at the end");
    return QString();
}

QString MakeText::fileNameRefusal(const QString &name)
{
    const QString refusal = valueRefusal(name);
    if (!refusal.isEmpty())
        return refusal;
    // A drive prefix is the one colon make accepts.
    const qsizetype start =
        name.size() > 2 && name.at(0).isLetter() && name.at(1) == QLatin1Char(':') && name.at(2) == QLatin1Char('/') ? 3 : 0;
    // "%" makes a rule a pattern, ";" starts a recipe, "|" order-only prerequisites, "="
    // a variable, ":" another rule head; the dependency files of the tools leave ":"
    // unescaped. A backslash escapes whatever follows it.
    const QString refused = QStringLiteral("%;|=:\\") + Platform::shellRefusedCharacters();
    for (qsizetype index = start; index < name.size(); ++index) {
        if (refused.contains(name.at(index)))
            return describe(name.at(index));
    }
    return QString();
}

QString MakeText::ruleName(const QString &name)
{
    QString result;
    for (const QChar c : name) {
        if (c == QLatin1Char('$'))
            result += QLatin1String("$$");
        else if (QStringView(u" #*?[]").contains(c))
            result += QLatin1Char('\\') + c;
        else
            result += c;
    }
    // A leading "~" would be read as a home directory.
    return result.startsWith(QLatin1Char('~')) ? QStringLiteral("./") + result : result;
}

QString MakeText::recipeText(const QString &text, Platform::ShellQuoting where)
{
    return Platform::shellQuoted(text, where).replace(QLatin1Char('$'), QLatin1String("$$"));
}

QString MakeText::variableValue(const QString &text)
{
    return recipeText(text).replace(QLatin1Char('#'), QLatin1String("\\#"));
}

Platform::ShellQuoting MakeText::quotingAfter(const QString &text, Platform::ShellQuoting start)
{
    using Platform::ShellQuoting;
    ShellQuoting state = start;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text.at(index);
        switch (state) {
        case ShellQuoting::Bare:
            if (c == QLatin1Char('\\'))
                ++index;
            else if (c == QLatin1Char('"'))
                state = ShellQuoting::InDoubleQuotes;
            else if (c == QLatin1Char('\''))
                state = ShellQuoting::InSingleQuotes;
            break;
        case ShellQuoting::InDoubleQuotes:
            if (c == QLatin1Char('\\'))
                ++index;
            else if (c == QLatin1Char('"'))
                state = ShellQuoting::Bare;
            break;
        case ShellQuoting::InSingleQuotes:
            if (c == QLatin1Char('\''))
                state = ShellQuoting::Bare;
            break;
        }
    }
    return state;
}
