#include "vaskoptions.h"

#include <QCoreApplication>

bool VaskOptions::parse(const QStringList &arguments, QString *error)
{
    const struct
    {
        const char *name;
        QString *value;
    } valued[] = {
        {"--design", &design}, {"--program", &program}, {"--device", &device},
        {"--clock", &clock},   {"--run-for", &runFor},  {"--trace", &trace},
    };
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("/P:"), Qt::CaseInsensitive)) {
            handOffFile = argument.mid(3);
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
            continue;
        }
        if (argument == QLatin1String("--version")) {
            version = true;
            continue;
        }
        if (argument == QLatin1String("--headless")) {
            headless = true;
            continue;
        }
        bool known = false;
        for (const auto &option : valued) {
            const QLatin1String name(option.name);
            if (argument == name) {
                if (i + 1 >= arguments.size()) {
                    *error = QCoreApplication::translate("VaskOptions", "%1 needs a value.").arg(name);
                    return false;
                }
                *option.value = arguments.at(++i);
                known = true;
            } else if (argument.startsWith(name + QLatin1Char('='))) {
                *option.value = argument.mid(name.size() + 1);
                known = true;
            }
        }
        if (!known) {
            *error = QCoreApplication::translate("VaskOptions", "Unknown argument %1.").arg(argument);
            return false;
        }
    }
    return true;
}

QString VaskOptions::usage()
{
    return QCoreApplication::translate("VaskOptions",
        "Usage: vask [/P:HANDOFF.ini]\n"
        "       vask --headless --design FILE.dsn --program FIRMWARE.hex --device NAME\n"
        "            [--clock 16MHz] --run-for 2s [--trace FILE]\n"
        "\n"
        "Simulates microcontroller firmware on the parts of a design file.\n"
        "/P:FILE      reads design, firmware, controller and clock from the hand-off file\n"
        "--headless   runs without a window for --run-for of simulated time and writes every\n"
        "             level change of the design's parts and every byte sent on a serial\n"
        "             port to --trace (standard output when omitted or \"-\")\n");
}
