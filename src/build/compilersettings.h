#ifndef COMPILERSETTINGS_H
#define COMPILERSETTINGS_H

#include <QString>
#include <QVariant>

class QSettings;
class Workbench;

// The detection results in the settings array "compilers": one element per configuration
// name (matched exactly) with the keys "name", "configured" and "dir". Without a workbench,
// a settings store or a name nothing is configured and nothing is stored.
class CompilerSettings
{
public:
    explicit CompilerSettings(Workbench *workbench);

    bool isConfigured(const QString &name) const;
    // The "dir" of the element when it is configured, else empty.
    QString compilerDirectory(const QString &name) const;
    // Rewrites the element of name, or appends one; other elements stay as they are.
    void store(const QString &name, bool configured, const QString &directory) const;

private:
    QSettings *settings() const;
    // The element's index, or -1; size receives the array size.
    int indexOf(const QString &name, int &size) const;
    QVariant read(const QString &name, const QString &key) const;

    Workbench *workbench;
};

#endif
