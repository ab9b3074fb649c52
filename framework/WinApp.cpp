#include "WinApp.h"

#include "ModuleFile.h"
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

void CWinApp::InitApplication() {
    PathBuffer path;
    GetModuleFilePath(path);  // empty when unreadable: no name
    m_strAppName = AppNameFromPath(path);
}

int CWinApp::DoMessageBox(LPCWSTR text, UINT type) {
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    return AfxShowMessageBox(owner, text, nullptr, type);
}

int AfxMessageBox(LPCWSTR text, UINT type) {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->DoMessageBox(text, type) : AfxShowMessageBox(nullptr, text, nullptr, type);
}

int AfxShowMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (caption == nullptr && g_app != nullptr) {
        caption = g_app->m_strAppName.c_str();
    }
    return ::MessageBoxW(owner, text, caption, type);
}
