#ifndef TOOLBACKEND_H
#define TOOLBACKEND_H

#include "backend.h"
#include "toolprocess.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A controller on a simulator program run as a child process: the program's own folder,
// the firmware handed to it there as a HEX file, the program started on the first run()
// (on the thread that runs the simulation), and one way of failing for good, which ends the
// program and keeps the reason.
class ToolBackend : public Backend
{
public:
    ~ToolBackend() override;

    bool create(const DeviceInfo &device, quint64 hertz, QString *error) override;
    quint32 flashSize() const override { return device.flashBytes; }
    void load(const FirmwareImage &image) override;

protected:
    // The messages each program words its own way.
    enum class Text
    {
        NotInstalled, // %1: the controller
        NoFolder,     // %1: why
        Ended,
        NoFirmware, // %1: why
    };

    // variable names the environment variable that may point at the program.
    ToolBackend(const char *variable, const char *program, const QByteArray &quitCommand);

    virtual QString text(Text which) const = 0;
    // The program's arguments, with firmware.hex in its folder; false once fail() was called.
    virtual bool prepareStart(QStringList *arguments) = 0;
    // What the started program needs before the first run; false once fail() was called.
    virtual bool afterStart() = 0;

    // Starts the program unless it runs; false when it cannot run (see stopReason()).
    bool ensureStarted();
    bool fail(const QString &message);
    bool running() const { return tool && tool->isRunning() && !broken; }
    QString filePath(const QString &name) const { return folder->filePath(name); }
    // Ends the program now, for subclasses that must outlive it by a step.
    void finishTool();

    DeviceInfo device;
    quint64 hertz = 0;
    std::unique_ptr<ToolProcess> tool;

private:
    const char *variable;
    const QString program;
    QString programPath;
    const QByteArray quitCommand;
    QByteArray hexText;
    bool broken = false;
    std::unique_ptr<QTemporaryDir> folder;
};

#endif
