#include "headlessrun.h"

#include "avrbackend.h"
#include "designreader.h"
#include "firmwareimage.h"
#include "quantity.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("HeadlessRun", text);
}

char levelChar(AvrBackend::Level level)
{
    switch (level) {
    case AvrBackend::Level::Low: return '0';
    case AvrBackend::Level::High: return '1';
    case AvrBackend::Level::Floating: break;
    }
    return 'Z';
}

struct Probe
{
    QString part;
    QString pin;
};

}

QString HeadlessRun::quotedByte(quint8 byte)
{
    QString text;
    switch (byte) {
    case '\n': text = QStringLiteral("\\n"); break;
    case '\r': text = QStringLiteral("\\r"); break;
    case '\t': text = QStringLiteral("\\t"); break;
    case '"': text = QStringLiteral("\\\""); break;
    case '\\': text = QStringLiteral("\\\\"); break;
    default:
        if (byte >= 0x20 && byte < 0x7f)
            text = QChar(byte);
        else
            text = QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int HeadlessRun::exec(QTextStream &out, QTextStream &err) const
{
    const auto fail = [&err](const QString &message) {
        err << "vask: " << message << Qt::endl;
        return 1;
    };
    if (device.isEmpty() || design.isEmpty() || program.isEmpty() || runFor.isEmpty())
        return fail(tr("--headless needs --design, --program, --device and --run-for."));
    const DeviceInfo info = DeviceCatalog::find(device);
    if (!info.isValid())
        return fail(tr("unknown controller %1.").arg(device));
    if (!info.runnable())
        return fail(tr("the %1 (%2) cannot be simulated yet; runnable families: %3.")
                        .arg(info.name, info.family, DeviceCatalog::runnableFamilies().join(QStringLiteral(", "))));
    const quint64 hertz = Quantity::frequency(clock.isEmpty() ? QStringLiteral("16MHz") : clock);
    if (hertz == 0)
        return fail(tr("%1 is not a clock frequency (try 16MHz or 16000000).").arg(clock));
    const qint64 nanoseconds = Quantity::duration(runFor);
    if (nanoseconds < 0)
        return fail(tr("%1 is not a duration (try 2s or 500ms).").arg(runFor));

    const Design parts = DesignReader(info).read(design);
    if (!parts.problems.isEmpty()) {
        for (const DesignProblem &problem : parts.problems)
            err << design << ':' << problem.line << ": " << problem.text << Qt::endl;
        return fail(tr("the design %1 has errors.").arg(design));
    }

    AvrBackend backend;
    QString error;
    if (!backend.create(info, hertz, &error))
        return fail(error);
    FirmwareImage image;
    if (!image.load(program, backend.flashSize(), info.name, &error))
        return fail(error);
    backend.load(image);

    const bool toStdout = trace.isEmpty() || trace == QLatin1String("-");
    QFile traceFile(toStdout ? QString() : trace);
    if (toStdout ? !traceFile.open(stdout, QIODevice::WriteOnly) : !traceFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(tr("cannot write the trace %1: %2").arg(trace, traceFile.errorString()));
    QTextStream traceOut(&traceFile);
    traceOut << "# vask trace: " << info.name << " at " << hertz << " Hz, design " << design << ", firmware "
             << program << '\n';
    traceOut << "# seconds part pin level | seconds part TX \"byte\"\n";

    std::vector<Probe> probes;
    for (const DesignPart &part : parts.parts) {
        if (part.kind == DesignPart::Button || part.kind == DesignPart::Switch)
            backend.drivePin(part.pins.first(), !part.activeHigh);
        if (part.kind == DesignPart::Terminal) {
            backend.watchUart(part.uart);
            continue;
        }
        for (const QString &pin : part.pins) {
            if (pin.isEmpty())
                continue;
            const int watch = backend.watchPin(pin);
            if (watch != static_cast<int>(probes.size()))
                return fail(tr("pin %1 of %2 cannot be watched.").arg(pin, part.name));
            probes.push_back({part.name, pin});
        }
    }
    QString terminalName;
    for (const DesignPart &part : parts.parts) {
        if (part.kind == DesignPart::Terminal)
            terminalName = part.name;
    }
    for (size_t i = 0; i < probes.size(); ++i)
        traceOut << Quantity::secondsText(0, hertz) << ' ' << probes[i].part << ' ' << probes[i].pin << ' '
                 << levelChar(backend.level(static_cast<int>(i))) << '\n';
    backend.setPinHandler([&](int watch, AvrBackend::Level level, quint64 cycle) {
        const Probe &probe = probes.at(static_cast<size_t>(watch));
        traceOut << Quantity::secondsText(cycle, hertz) << ' ' << probe.part << ' ' << probe.pin << ' ' << levelChar(level)
                 << '\n';
    });
    backend.setUartHandler([&](const QString &uart, quint8 byte, quint64 cycle) {
        QString name = terminalName;
        for (const DesignPart &part : parts.parts) {
            if (part.kind == DesignPart::Terminal && part.uart == uart)
                name = part.name;
        }
        traceOut << Quantity::secondsText(cycle, hertz) << ' ' << name << " TX " << quotedByte(byte) << '\n';
    });

    // Cycles of the whole run, computed without overflow for up to a day at 1 GHz.
    const quint64 total = static_cast<quint64>(nanoseconds / 1000000000) * hertz
                          + static_cast<quint64>(nanoseconds % 1000000000) * hertz / 1000000000ULL;
    QElapsedTimer wall;
    wall.start();
    const quint64 start = backend.cycle();
    const bool completed = backend.run(total);
    const double seconds = std::max<qint64>(wall.nsecsElapsed(), 1) / 1e9;
    const double simulated = static_cast<double>(backend.cycle() - start) / static_cast<double>(hertz);
    traceOut.flush();
    if (!completed) {
        traceOut << "# " << Quantity::secondsText(backend.cycle(), hertz) << ' ' << backend.stopReason() << '\n';
        traceOut.flush();
        return fail(backend.stopReason());
    }
    out << tr("Simulated %1 s of the %2 at %3 in %4 s of wall time (%5x real time).")
               .arg(Quantity::secondsText(backend.cycle() - start, hertz), info.name, Quantity::frequencyText(hertz))
               .arg(seconds, 0, 'f', 3)
               .arg(simulated / seconds, 0, 'f', 2)
           << Qt::endl;
    return 0;
}
