#include "toolbackend.h"

#include "firmwareimage.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ToolBackend", text);
}

}

ToolBackend::ToolBackend(const char *variable, const char *program, const QByteArray &quitCommand)
    : variable(variable), program(QString::fromLatin1(program)), quitCommand(quitCommand)
{
}

ToolBackend::~ToolBackend()
{
    finishTool();
}

void ToolBackend::finishTool()
{
    if (tool) {
        tool->finish(quitCommand);
        tool.reset();
    }
}

bool ToolBackend::create(const DeviceInfo &info, quint64 clock, QString *error)
{
    if (!info.runnable()) {
        *error = tr("The %1 cannot be simulated.").arg(info.name);
        return false;
    }
    // Looked up once: the program found now is the one every later start runs.
    programPath = ToolProcess::locate(variable, program);
    if (!programPath.contains(QLatin1Char('/'))) {
        *error = text(Text::NotInstalled).arg(info.name);
        return false;
    }
    folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        *error = text(Text::NoFolder).arg(folder->errorString());
        return false;
    }
    device = info;
    hertz = clock;
    return true;
}

void ToolBackend::load(const FirmwareImage &image)
{
    hexText = image.toHex();
    reset();
}

bool ToolBackend::fail(const QString &message)
{
    broken = true;
    reason = message;
    if (tool)
        tool->finish(QByteArray());
    return false;
}

bool ToolBackend::ensureStarted()
{
    if (broken)
        return false;
    if (tool && tool->isRunning())
        return true;
    if (tool)
        return fail(text(Text::Ended));
    QFile hex(folder->filePath(QStringLiteral("firmware.hex")));
    if (!hex.open(QIODevice::WriteOnly | QIODevice::Truncate) || hex.write(hexText) != hexText.size())
        return fail(text(Text::NoFirmware).arg(hex.errorString()));
    hex.close();
    QStringList arguments;
    if (!prepareStart(&arguments))
        return false;
    tool = std::make_unique<ToolProcess>();
    QString error;
    if (!tool->start(programPath, arguments, folder->path(), &error))
        return fail(error);
    return afterStart() && !broken;
}
