#pragma once
// Owners and scopes for GDI handles. Each frees or restores what it holds in its
// destructor; copying is deleted, moving hands the handle over.
#include <windows.h>

#include <utility>

// Owns one GDI object (font, bitmap, brush...) and deletes it.
template <class Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) {
            DeleteObject();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    Handle GetSafeHandle() const { return m_handle; }

    // Takes ownership of handle, deleting what was held before.
    void Attach(Handle handle) {
        DeleteObject();
        m_handle = handle;
    }
    void DeleteObject() {
        if (m_handle != nullptr) {
            ::DeleteObject(m_handle);
            m_handle = nullptr;
        }
    }

private:
    Handle m_handle = nullptr;
};

class CFont : public CGdiObject<HFONT> {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                    LPCWSTR faceName) {
        Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                             strikeOut, charSet, outPrecision, clipPrecision, quality,
                             pitchAndFamily, faceName));
        return GetSafeHandle() != nullptr;
    }
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    BOOL LoadBitmap(UINT id) {
        Attach(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
        return GetSafeHandle() != nullptr;
    }
};

// A window's device context from GetDC, released to that window; a null window
// gives the screen's.
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(::GetDC(hwnd)) {}
    ~CClientDC() {
        if (m_hDC != nullptr) {
            ::ReleaseDC(m_hWnd, m_hDC);
        }
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(::BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hDC;
};

// A memory device context compatible with another, deleted with the object.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatibleWith) : m_hDC(::CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC() {
        if (m_hDC != nullptr) {
            ::DeleteDC(m_hDC);
        }
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Selects an object into a device context and puts back what it replaced.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ object)
        : m_hDC(hdc), m_hOld(hdc != nullptr && object != nullptr ? ::SelectObject(hdc, object) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld != nullptr) {
            ::SelectObject(m_hDC, m_hOld);
        }
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
