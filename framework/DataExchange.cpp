#include "DataExchange.h"

#include "Dialog.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == nullptr) {
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
    }
}
