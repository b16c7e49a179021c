#include "headlessrun.h"
#include "simulatorwindow.h"
#include "vaskoptions.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    VaskOptions options;
    QString error;
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool parsed = options.parse(arguments, &error);
    if (!parsed || options.help) {
        (parsed ? out : err) << (parsed ? QString() : QStringLiteral("vask: ") + error + QLatin1Char('\n'))
                             << VaskOptions::usage();
        return parsed ? 0 : 2;
    }
    if (options.version) {
        out << "vask 1.0.0" << Qt::endl;
        return 0;
    }
    if (options.headless) {
        QCoreApplication application(argc, argv);
        HeadlessRun run;
        run.design = options.design;
        run.program = options.program;
        run.device = options.device;
        run.clock = options.clock;
        run.runFor = options.runFor;
        run.trace = options.trace;
        return run.exec(out, err);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VASK"));
    SimulatorWindow window;
    window.show();
    if (!options.handOffFile.isEmpty())
        window.openHandOff(options.handOffFile);
    return QApplication::exec();
}
