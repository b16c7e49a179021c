#include "platform/htmlhelp.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <windows.h>
#include <htmlhelp.h>

namespace Platform {

namespace {

using HtmlHelpFunction = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);

HtmlHelpFunction htmlHelp()
{
    static bool loaded = false;
    static HtmlHelpFunction function = nullptr;
    if (loaded)
        return function;
    loaded = true;
    QString library = QSettings(QStringLiteral("HKEY_CLASSES_ROOT\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32"),
                                QSettings::NativeFormat).value(QStringLiteral("Default")).toString();
    if (library.isEmpty())
        library = QStringLiteral("hhctrl.ocx");
    HMODULE module = LoadLibraryW(reinterpret_cast<LPCWSTR>(library.utf16()));
    if (!module && library != QLatin1String("hhctrl.ocx"))
        module = LoadLibraryW(L"hhctrl.ocx");
    if (module)
        function = reinterpret_cast<HtmlHelpFunction>(GetProcAddress(module, "HtmlHelpW"));
    return function;
}

}

void showHtmlHelp(const QString &helpFile, int context, QWidget *activeWindow)
{
    HtmlHelpFunction help = htmlHelp();
    if (!help)
        return;
    QString file = helpFile;
    file.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QString windowType = context == 0 ? QStringLiteral("Main") : QStringLiteral("Popup");
    const QString address = file + QLatin1Char('>') + windowType;
    const std::wstring addressW = address.toStdWString();
    const std::wstring fileW = file.toStdWString();
    const std::wstring typeW = windowType.toStdWString();
    HWND owner = activeWindow ? reinterpret_cast<HWND>(activeWindow->winId()) : nullptr;

    HH_WINTYPEW *defined = nullptr;
    if (help(owner, addressW.c_str(), HH_GET_WIN_TYPE, reinterpret_cast<DWORD_PTR>(&defined)) && defined) {
        HH_WINTYPEW type = *defined;
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double scale = screen ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
        int width = int((defined->rcWindowPos.right - defined->rcWindowPos.left) * scale);
        int height = int((defined->rcWindowPos.bottom - defined->rcWindowPos.top) * scale);
        const int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
        const int fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);
        width = qMin(width, int(fullWidth * 0.8));
        height = qMin(height, int(fullHeight * 0.8));
        int x = (fullWidth - width) / 2;
        int y = (fullHeight - height) / 2;
        RECT rect;
        if (owner && GetWindowRect(owner, &rect)) {
            x = (rect.left + rect.right - width) / 2;
            y = (rect.top + rect.bottom - height) / 2;
        }
        type.rcWindowPos.left = x;
        type.rcWindowPos.top = y;
        type.rcWindowPos.right = x + width;
        type.rcWindowPos.bottom = y + height;
        type.fsValidMembers = HHWIN_PARAM_PROPERTIES | HHWIN_PARAM_RECT;
        type.fsWinProperties &= ~HHWIN_PROP_USER_POS;
        type.pszType = typeW.c_str();
        help(owner, fileW.c_str(), HH_SET_WIN_TYPE, reinterpret_cast<DWORD_PTR>(&type));
    }
    if (context == 0)
        help(owner, addressW.c_str(), HH_DISPLAY_TOPIC, 0);
    else
        help(owner, addressW.c_str(), HH_HELP_CONTEXT, DWORD_PTR(context));
}

}
