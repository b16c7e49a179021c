#ifndef PLATFORM_HTMLHELP_H
#define PLATFORM_HTMLHELP_H

#include <QString>

class QWidget;

namespace Platform {

// Shows a topic of the compiled help file. context 0 opens the main topic in the "Main"
// window type, any other context that topic in the "Popup" window type, sized for the
// screen and centred on activeWindow. Does nothing when no help viewer is available.
void showHtmlHelp(const QString &helpFile, int context, QWidget *activeWindow);

}

#endif
