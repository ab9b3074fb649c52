#include "String.h"

#include "Memory.h"

#include <cwchar>

namespace {

int Length(const wchar_t* text) {
    const size_t length = text != nullptr ? std::wcslen(text) : 0;
    if (length > static_cast<size_t>(CString::kMaxLength)) {
        AfxOutOfMemory();
    }
    return static_cast<int>(length);
}

}  // namespace

CString::CString(const wchar_t* text) {
    Assign(text, Length(text));
}

CString::CString(const wchar_t* text, int length) {
    Assign(text, length);
}

CString::CString(const CString& other) {
    Assign(other.m_data, other.m_length);
}

CString::CString(CString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity) {
    other.m_data = nullptr;
    other.m_length = other.m_capacity = 0;
}

CString::~CString() {
    AfxFree(m_data);
}

CString& CString::operator=(const CString& other) {
    if (this != &other) {
        Assign(other.m_data, other.m_length);
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        AfxFree(m_data);
        m_data = other.m_data;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.m_data = nullptr;
        other.m_length = other.m_capacity = 0;
    }
    return *this;
}

CString& CString::operator=(const wchar_t* text) {
    // text may point into this string: keep it until the copy is made.
    CString copy(text);
    return *this = static_cast<CString&&>(copy);
}

void CString::Empty() {
    m_length = 0;
    if (m_data != nullptr) {
        m_data[0] = L'\0';
    }
}

void CString::Reserve(int capacity) {
    if (capacity <= m_capacity && m_data != nullptr) {
        return;
    }
    if (capacity > kMaxLength) {
        AfxOutOfMemory();
    }
    auto* data = static_cast<wchar_t*>(AfxAllocateArray(static_cast<SIZE_T>(capacity) + 1, sizeof(wchar_t)));
    if (m_data != nullptr) {
        std::wmemcpy(data, m_data, static_cast<size_t>(m_length) + 1);
    } else {
        data[0] = L'\0';
    }
    AfxFree(m_data);
    m_data = data;
    m_capacity = capacity;
}

void CString::Assign(const wchar_t* text, int length) {
    if (length <= 0 || text == nullptr) {
        Empty();
        return;
    }
    Reserve(length);
    std::wmemmove(m_data, text, static_cast<size_t>(length));
    m_data[length] = L'\0';
    m_length = length;
}

int CString::Find(wchar_t c, int start) const {
    for (int i = start < 0 ? 0 : start; i < m_length; ++i) {
        if (m_data[i] == c) {
            return i;
        }
    }
    return -1;
}

int CString::Find(const wchar_t* text, int start) const {
    if (start > m_length) {
        return -1;
    }
    const wchar_t* data = *this;
    const wchar_t* found = std::wcsstr(data + (start < 0 ? 0 : start), text);
    return found != nullptr ? static_cast<int>(found - data) : -1;
}

int CString::ReverseFind(wchar_t c) const {
    for (int i = m_length - 1; i >= 0; --i) {
        if (m_data[i] == c) {
            return i;
        }
    }
    return -1;
}

CString CString::Mid(int first, int count) const {
    if (first < 0) {
        first = 0;
    }
    if (first >= m_length || count <= 0) {
        return CString();
    }
    if (count > m_length - first) {
        count = m_length - first;
    }
    return CString(m_data + first, count);
}

CString& CString::operator+=(const wchar_t* text) {
    const int added = Length(text);
    if (added == 0) {
        return *this;
    }
    if (added > kMaxLength - m_length) {
        AfxOutOfMemory();
    }
    // text may point into this string, which Reserve may move.
    CString copy(text, added);
    Reserve(m_length + added);
    std::wmemcpy(m_data + m_length, copy.m_data, static_cast<size_t>(added) + 1);
    m_length += added;
    return *this;
}

CString& CString::operator+=(wchar_t c) {
    const wchar_t text[2] = {c, L'\0'};
    return c == L'\0' ? *this : *this += text;
}

void CString::MakeUpper() {
    if (m_length > 0) {
        ::CharUpperBuffW(m_data, static_cast<DWORD>(m_length));
    }
}

wchar_t* CString::GetBuffer(int length) {
    Reserve(length > m_length ? length : m_length);
    return m_data;
}

void CString::ReleaseBuffer(int length) {
    if (m_data == nullptr) {
        return;
    }
    if (length < 0 || length > m_capacity) {
        m_data[m_capacity] = L'\0';
        length = static_cast<int>(std::wcslen(m_data));
    }
    m_data[length] = L'\0';
    m_length = length;
}

void CString::Format(const wchar_t* format, ...) {
    // wvsprintfW writes at most 1024 characters with the terminator, and answers
    // 1024 for a result it cut at 1023: the length is what it wrote.
    wchar_t text[1025];
    text[0] = L'\0';
    text[1024] = L'\0';
    va_list arguments;
    va_start(arguments, format);
    const int written = ::wvsprintfW(text, format, arguments);
    va_end(arguments);
    Assign(text, written > 0 ? Length(text) : 0);
}

bool operator==(const CString& a, const wchar_t* b) {
    return std::wcscmp(a, b != nullptr ? b : L"") == 0;
}

CString operator+(const CString& a, const wchar_t* b) {
    CString sum(a);
    sum += b;
    return sum;
}
