#include "projects/startersource.h"

#include "build/buildconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString StarterSource::templatePath(const BuildConfig *compiler)
{
    if (!compiler || compiler->filePath().isEmpty())
        return QString();
    const QFileInfo configuration(compiler->filePath());
    const QDir starters(configuration.absoluteDir().filePath(QStringLiteral("starters/") + configuration.completeBaseName()));
    const QFileInfoList found = starters.entryInfoList(QDir::Files, QDir::Name);
    return found.isEmpty() ? QString() : found.first().absoluteFilePath();
}

QString StarterSource::fill(const QString &text, const QHash<QString, QString> &values)
{
    QString filled = text;
    for (auto value = values.constBegin(); value != values.constEnd(); ++value)
        filled.replace(QLatin1Char('%') + value.key() + QLatin1Char('%'), value.value());
    return filled;
}

QString StarterSource::write(const QString &templatePath, const QString &directory,
                             const QHash<QString, QString> &values, bool &existed, QString &error)
{
    existed = false;
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly)) {
        error = tr("Cannot read the starter template %1: %2").arg(QDir::toNativeSeparators(templatePath),
                                                                    source.errorString());
        return QString();
    }
    const QString text = fill(QString::fromUtf8(source.readAll()), values);
    const QString path = QDir(directory).absoluteFilePath(QFileInfo(templatePath).fileName());
    // NewOnly refuses a file that is there already, even one that appeared a moment ago.
    QFile target(path);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path)) {
            existed = true;
            return path;
        }
        error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), target.errorString());
        return QString();
    }
    const QByteArray bytes = text.toUtf8();
    if (target.write(bytes) != bytes.size() || !target.flush()) {
        error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), target.errorString());
        target.close();
        target.remove();
        return QString();
    }
    return path;
}
