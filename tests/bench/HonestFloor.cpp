// The honest floor: the least a program doing the launcher's job costs, written
// plainly for the benchmark. It has what the launcher must have: the same
// manifest and resources, the common controls 6.0, the template dialog with its
// four push buttons placed at the launcher's size, the shield on the install
// button, the icons, the picture loaded and painted as the launcher paints it,
// and the version label. Nothing of the launcher's framework is used.
#include "ui/resource.h"

#include <windows.h>

#include <commctrl.h>

namespace {

int g_dpi = 96;
HFONT g_labelFont;

int Scale(int n) {
    return ::MulDiv(n, g_dpi, 96);
}

void Place(HWND dialog, int id, int y) {
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, Scale(386), Scale(y), Scale(240), Scale(35), SWP_NOZORDER);
}

void Initialise(HWND dialog) {
    HDC screen = ::GetDC(nullptr);
    g_dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);

    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    RECT window;
    RECT client;
    ::GetWindowRect(dialog, &window);
    ::GetClientRect(dialog, &client);
    const int width = window.right - window.left - client.right + Scale(640);
    const int height = window.bottom - window.top - client.bottom + Scale(400);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    ::SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    Place(dialog, IDC_MANUAL, 60);
    Place(dialog, IDC_INSTALL, 105);
    Place(dialog, IDC_OPEN_DISC, 195);
    Place(dialog, IDC_EXIT, 250);
    ::SendMessageW(::GetDlgItem(dialog, IDC_INSTALL), BCM_SETSHIELD, 0, TRUE);
    g_labelFont = ::CreateFontW(Scale(-12), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック");
}

void Paint(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(dialog, &ps);
    HBITMAP picture = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACKGROUND));
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, picture);
    if (Scale(640) == 640) {
        ::BitBlt(dc, 0, 0, 640, 400, memory, 0, 0, SRCCOPY);
    } else {
        ::SetStretchBltMode(dc, HALFTONE);
        ::StretchBlt(dc, 0, 0, Scale(640), Scale(400), memory, 0, 0, 640, 400, SRCCOPY);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);

    RECT client;
    ::GetClientRect(dialog, &client);
    ::InflateRect(&client, -Scale(10), -Scale(8));
    HGDIOBJ oldFont = ::SelectObject(dc, g_labelFont);
    ::SetBkMode(dc, TRANSPARENT);
    RECT shadow = client;
    ::OffsetRect(&shadow, Scale(1), Scale(1));
    const UINT format = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX;
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextW(dc, L"Ver.5", -1, &shadow, format);
    ::SetTextColor(dc, RGB(20, 20, 20));
    ::DrawTextW(dc, L"Ver.5", -1, &client, format);
    ::SelectObject(dc, oldFont);
    ::EndPaint(dialog, &ps);
}

INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(dialog);
        return TRUE;
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    case WM_NCHITTEST:
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, HTCAPTION);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EXIT) ::EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_AUTORUN), nullptr, Proc, 0);
    return 0;
}
