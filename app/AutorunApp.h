#pragma once
// The application object: runs the launcher dialog, then lets the process end.
#include "framework/WinApp.h"

class CAutorunApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
