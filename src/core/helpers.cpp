#include "core/helpers.h"

#include <QByteArray>

QString environmentVariable(const QString &name)
{
    return QString::fromLocal8Bit(qgetenv(name.toLocal8Bit().constData()));
}

void initResources()
{
    Q_INIT_RESOURCE(resources);
}
