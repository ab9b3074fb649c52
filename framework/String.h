#pragma once
// CString: the framework's wide string, in the shape of MFC's. Its characters
// live on the process heap (HeapAlloc), formatting goes through the system's
// wvsprintfW, and nothing of the C++ runtime is used, so the launcher links
// without it. Running out of memory for a string ends the process, and so does
// a string that would be longer than kMaxLength.
#include "Memory.h"

#include <windows.h>

class CString {
public:
    // The longest text a CString holds: with its terminator, one heap block.
    static constexpr int kMaxLength = static_cast<int>(kMaxAllocation / sizeof(wchar_t)) - 1;

    CString() = default;
    CString(const wchar_t* text);  // NOLINT: converts, as MFC's does
    CString(const wchar_t* text, int length);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();
    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const wchar_t* text);

    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    void Empty();
    // The characters, always terminated; valid until the string next changes.
    operator LPCWSTR() const { return m_data != nullptr ? m_data : L""; }  // NOLINT
    LPCWSTR GetString() const { return *this; }
    wchar_t GetAt(int index) const { return m_data[index]; }

    // Where what is sought first occurs at or after start, or -1.
    int Find(wchar_t c, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    // Where c last occurs, or -1.
    int ReverseFind(wchar_t c) const;
    // count characters from first (clamped to the string); Mid(first) to its end.
    CString Mid(int first, int count) const;
    CString Mid(int first) const { return Mid(first, m_length); }
    CString Left(int count) const { return Mid(0, count); }

    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t c);
    // Upper case as the file system folds names (CharUpperBuffW).
    void MakeUpper();

    // Room for length characters and a terminator, to be written by the caller;
    // ReleaseBuffer then takes the length written (-1: up to the terminator).
    wchar_t* GetBuffer(int length);
    void ReleaseBuffer(int length = -1);

    // wvsprintfW's format (%s, %u, %lx...); the system's formatter cuts the
    // result at 1023 characters.
    void Format(const wchar_t* format, ...);

private:
    void Assign(const wchar_t* text, int length);
    void Reserve(int capacity);

    wchar_t* m_data = nullptr;  // null while nothing was ever stored
    int m_length = 0;
    int m_capacity = 0;         // characters m_data holds, without the terminator
};

bool operator==(const CString& a, const wchar_t* b);
inline bool operator==(const wchar_t* a, const CString& b) {
    return b == a;
}
inline bool operator==(const CString& a, const CString& b) {
    return a == static_cast<LPCWSTR>(b);
}
CString operator+(const CString& a, const wchar_t* b);
