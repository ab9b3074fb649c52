#pragma once
// Resource and control IDs, shared by the resource script and the code.

#define IDD_AUTORUN 102
#define IDR_MAINFRAME 128
#define IDB_BACKGROUND 129

#define IDC_INSTALL 1000
#define IDC_OPEN_DISC 1002
#define IDC_EXIT 1003
#define IDC_MANUAL 1004
