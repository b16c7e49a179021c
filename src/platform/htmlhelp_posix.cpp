#include "platform/htmlhelp.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace Platform {

void showHtmlHelp(const QString &helpFile, int context, QWidget *activeWindow)
{
    Q_UNUSED(context)
    Q_UNUSED(activeWindow)
    // There are no context-sensitive topics without the native viewer: open the document.
    QString path = helpFile;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(path);
    if (info.isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

}
