// The floor the launcher's start-up is measured against: the least a Win32
// program can do to show a 640x400 window painting the same picture.
#include <windows.h>

namespace {
HBITMAP g_picture;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, g_picture);
        ::BitBlt(dc, 0, 0, 640, 400, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_picture = ::LoadBitmapW(instance, MAKEINTRESOURCEW(129));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"AutorunBench.Floor";
    ::RegisterClassW(&wc);
    RECT rect = {0, 0, 640, 400};
    ::AdjustWindowRectEx(&rect, WS_POPUP | WS_BORDER, FALSE, 0);
    ::CreateWindowW(wc.lpszClassName, L"", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 100, rect.right - rect.left,
                    rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
