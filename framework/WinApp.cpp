#include "WinApp.h"

#include "ModuleFile.h"
#include "Wnd.h"

#include <algorithm>

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

CString AppNameFromPath(const wchar_t* path) {
    const CString whole(path);
    const int slash = std::max(whole.ReverseFind(L'\\'), whole.ReverseFind(L'/'));
    const CString name = whole.Mid(slash + 1);
    const int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
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
        caption = g_app->m_strAppName;
    }
    return ::MessageBoxW(owner, text, caption, type);
}
