#include "tolvaneoptions.h"

namespace {

QString valuePart(const QString &argument)
{
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    return equals < 0 ? argument : argument.mid(equals + 1);
}

bool beginsWith(const QString &argument, QLatin1String prefix)
{
    return argument.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

TolvaneOptions TolvaneOptions::parse(const QStringList &arguments)
{
    TolvaneOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (beginsWith(argument, QLatin1String("--good-exits"))) {
            options.m_goodExits = valuePart(argument);
        } else if (beginsWith(argument, QLatin1String("--executable"))) {
            options.m_executable = valuePart(argument);
            options.m_executableGiven = true;
            // Everything behind the program belongs to it, however option-like it looks.
            options.m_childArguments = arguments.mid(i + 1);
            break;
        } else if (i == 0 && (beginsWith(argument, QLatin1String("--help"))
                              || beginsWith(argument, QLatin1String("-h")))) {
            options.m_helpRequested = true;
            break;
        }
    }
    return options;
}

QString TolvaneOptions::usageText()
{
    return QStringLiteral("Example usage:\n"
                          "Tolvane --good-exits=0,1 --executable=path_to_executable arg1 ... argn");
}
