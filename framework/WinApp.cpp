#include "WinApp.h"

#include "Wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return g_app;
}

std::wstring AppNameFromPath(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot != 0) {
        name.erase(dot);
    }
    return name;
}

void CWinApp::InitApplication(HINSTANCE instance) {
    m_hInstance = instance;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
    m_strAppName = AppNameFromPath(length > 0 && length < MAX_PATH ? path : L"");
}

int CWinApp::DoMessageBox(LPCWSTR text, UINT type) {
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxW(owner, text, m_strAppName.c_str(), type);
}

int AfxMessageBox(LPCWSTR text, UINT type) {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->DoMessageBox(text, type) : ::MessageBoxW(nullptr, text, nullptr, type);
}
