// A stand-in installer for the sample disc: says what it is and exits when closed.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::MessageBoxW(nullptr, L"これはサンプルのインストーラです。\nOKを押すと終了します。",
                  L"Setup", MB_OK | MB_ICONINFORMATION);
    return 0;
}
