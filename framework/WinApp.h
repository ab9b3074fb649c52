#pragma once
// CWinApp: the application object. A program defines exactly one global instance
// of a class derived from it; the framework's entry calls its InitInstance.
#include "String.h"

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once by the entry. Returning FALSE ends the process.
    virtual BOOL InitInstance() = 0;

    // Shows text in a modal box owned by the main window and captioned with the
    // application name; without an icon of its own it gets the exclamation icon.
    int DoMessageBox(LPCWSTR text, UINT type);

    // Called by the entry before InitInstance: takes the application name from
    // the executable's.
    void InitApplication();

    CString m_strAppName;       // the executable's base name
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// The application message box: AfxGetApp()->DoMessageBox.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK);

// Every message box of the framework: modal, owned by owner, captioned with
// caption or, without one, the application name.
int AfxShowMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// "C:\dir\Autorun.exe" -> "Autorun": the file name without folder and extension.
CString AppNameFromPath(const wchar_t* path);
