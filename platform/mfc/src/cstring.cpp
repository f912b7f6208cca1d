#include "afx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Block layout: header, then capacity + 1 characters. The shared empty string has no block.
struct StringHeader {
    int length;
    int capacity;
};

char g_emptyString[1] = {0};

StringHeader* HeaderOf(LPSTR data) {
    return reinterpret_cast<StringHeader*>(data) - 1;
}

bool IsShared(LPCSTR data) {
    return data == g_emptyString;
}

int SafeLength(LPCSTR text) {
    return text ? static_cast<int>(std::strlen(text)) : 0;
}

bool InSet(char ch, LPCSTR set) {
    return ch != 0 && set && std::strchr(set, ch) != nullptr;
}

} // namespace

CString::CString() : m_pszData(g_emptyString) {}

CString::CString(const CString& other) : m_pszData(g_emptyString) {
    Assign(other.m_pszData, other.GetLength());
}

CString::CString(LPCSTR text) : m_pszData(g_emptyString) {
    if (text && IS_INTRESOURCE(text))
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(text)));
    else
        Assign(text, SafeLength(text));
}

CString::CString(LPCSTR text, int length) : m_pszData(g_emptyString) {
    if (!text || length <= 0)
        return;
    int actual = 0;
    while (actual < length && text[actual])
        ++actual;
    Assign(text, actual);
}

CString::CString(LPCWSTR text) : m_pszData(g_emptyString) {
    *this = text;
}

CString::CString(char ch, int repeat) : m_pszData(g_emptyString) {
    if (repeat <= 0 || ch == 0)
        return;
    Reserve(repeat, false);
    std::memset(m_pszData, ch, repeat);
    SetLength(repeat);
}

CString::~CString() {
    if (!IsShared(m_pszData))
        std::free(HeaderOf(m_pszData));
}

CString& CString::operator=(const CString& other) {
    if (this != &other)
        Assign(other.m_pszData, other.GetLength());
    return *this;
}

CString& CString::operator=(LPCSTR text) {
    Assign(text, SafeLength(text));
    return *this;
}

CString& CString::operator=(LPCWSTR text) {
    if (!text || !*text) {
        Empty();
        return *this;
    }
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) {
        Empty();
        return *this;
    }
    Reserve(bytes - 1, false);
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_pszData, bytes, nullptr, nullptr);
    SetLength(bytes - 1);
    return *this;
}

CString& CString::operator=(char ch) {
    Empty();
    if (ch)
        Append(&ch, 1);
    return *this;
}

CString& CString::operator+=(const CString& other) {
    if (this == &other) {
        const CString copy(other);
        Append(copy.m_pszData, copy.GetLength());
    } else {
        Append(other.m_pszData, other.GetLength());
    }
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    // The text may lie inside this string's own buffer, which Append could move.
    const CString copy(text);
    Append(copy.m_pszData, copy.GetLength());
    return *this;
}

CString& CString::operator+=(LPCWSTR text) {
    const CString converted(text);
    Append(converted.m_pszData, converted.GetLength());
    return *this;
}

CString& CString::operator+=(char ch) {
    if (ch)
        Append(&ch, 1);
    return *this;
}

int CString::GetLength() const {
    return IsShared(m_pszData) ? 0 : HeaderOf(m_pszData)->length;
}

BOOL CString::IsEmpty() const {
    return GetLength() == 0;
}

void CString::Empty() {
    if (!IsShared(m_pszData))
        std::free(HeaderOf(m_pszData));
    m_pszData = g_emptyString;
}

char CString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? m_pszData[index] : 0;
}

void CString::SetAt(int index, char ch) {
    if (index >= 0 && index < GetLength())
        m_pszData[index] = ch;
}

char CString::operator[](int index) const {
    return GetAt(index);
}

CString::operator LPCSTR() const {
    return m_pszData;
}

LPCSTR CString::GetString() const {
    return m_pszData;
}

LPSTR CString::GetBuffer(int minLength) {
    const int length = GetLength();
    Reserve(minLength > length ? minLength : length, true);
    return m_pszData;
}

LPSTR CString::GetBuffer() {
    return GetBuffer(0);
}

LPSTR CString::GetBufferSetLength(int length) {
    if (length < 0)
        length = 0;
    GetBuffer(length);
    SetLength(length);
    return m_pszData;
}

void CString::ReleaseBuffer(int newLength) {
    if (IsShared(m_pszData))
        return;
    const int capacity = HeaderOf(m_pszData)->capacity;
    if (newLength < 0) {
        newLength = 0;
        while (newLength < capacity && m_pszData[newLength])
            ++newLength;
    }
    if (newLength > capacity)
        newLength = capacity;
    SetLength(newLength);
}

void CString::Format(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args) {
    if (!format) {
        Empty();
        return;
    }
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed <= 0) {
        Empty();
        return;
    }
    CString result;
    result.Reserve(needed, false);
    std::vsnprintf(result.m_pszData, static_cast<size_t>(needed) + 1, format, args);
    result.SetLength(needed);
    *this = result;
}

void CString::AppendFormat(LPCSTR format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    *this += tail;
}

CString CString::Left(int count) const {
    const int length = GetLength();
    if (count < 0)
        count = 0;
    return CString(m_pszData, count < length ? count : length);
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first >= length)
        return CString();
    if (count > length - first)
        count = length - first;
    return CString(m_pszData + first, count);
}

CString CString::Right(int count) const {
    const int length = GetLength();
    if (count < 0)
        count = 0;
    if (count > length)
        count = length;
    return CString(m_pszData + length - count, count);
}

CString CString::SpanIncluding(LPCSTR charSet) const {
    int n = 0;
    while (n < GetLength() && InSet(m_pszData[n], charSet))
        ++n;
    return Left(n);
}

CString CString::SpanExcluding(LPCSTR charSet) const {
    int n = 0;
    while (n < GetLength() && !InSet(m_pszData[n], charSet))
        ++n;
    return Left(n);
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength() || ch == 0)
        return -1;
    const char* hit = static_cast<const char*>(std::memchr(m_pszData + start, ch, GetLength() - start));
    return hit ? static_cast<int>(hit - m_pszData) : -1;
}

int CString::Find(LPCSTR sub, int start) const {
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const char* hit = std::strstr(m_pszData + start, sub);
    return hit ? static_cast<int>(hit - m_pszData) : -1;
}

int CString::ReverseFind(char ch) const {
    if (ch == 0)
        return -1;
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

int CString::FindOneOf(LPCSTR charSet) const {
    for (int i = 0; i < GetLength(); ++i)
        if (InSet(m_pszData[i], charSet))
            return i;
    return -1;
}

int CString::Compare(LPCSTR other) const {
    return std::strcmp(m_pszData, other ? other : "");
}

int CString::CompareNoCase(LPCSTR other) const {
    return _stricmp(m_pszData, other ? other : "");
}

CString& CString::MakeUpper() {
    if (GetLength())
        CharUpperBuffA(m_pszData, GetLength());
    return *this;
}

CString& CString::MakeLower() {
    if (GetLength())
        CharLowerBuffA(m_pszData, GetLength());
    return *this;
}

CString& CString::MakeReverse() {
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
        const char t = m_pszData[i];
        m_pszData[i] = m_pszData[j];
        m_pszData[j] = t;
    }
    return *this;
}

int CString::Replace(char oldCh, char newCh) {
    if (oldCh == 0 || newCh == 0)
        return 0;
    int count = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pszData[i] == oldCh) {
            m_pszData[i] = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText) {
    const int oldLength = SafeLength(oldText);
    if (oldLength == 0)
        return 0;
    const CString replacement(newText);
    CString result;
    int count = 0;
    int from = 0;
    for (int hit = Find(oldText, 0); hit >= 0; hit = Find(oldText, from)) {
        result.Append(m_pszData + from, hit - from);
        result.Append(replacement.m_pszData, replacement.GetLength());
        from = hit + oldLength;
        ++count;
    }
    if (count) {
        result.Append(m_pszData + from, GetLength() - from);
        *this = result;
    }
    return count;
}

int CString::Remove(char ch) {
    if (ch == 0 || IsShared(m_pszData))
        return 0;
    int kept = 0;
    const int length = GetLength();
    for (int i = 0; i < length; ++i)
        if (m_pszData[i] != ch)
            m_pszData[kept++] = m_pszData[i];
    SetLength(kept);
    return length - kept;
}

int CString::Insert(int index, char ch) {
    const char text[2] = {ch, 0};
    return Insert(index, text);
}

int CString::Insert(int index, LPCSTR text) {
    const CString insert(text);
    const int length = GetLength();
    if (index < 0)
        index = 0;
    if (index > length)
        index = length;
    if (insert.IsEmpty())
        return length;
    Reserve(length + insert.GetLength(), true);
    std::memmove(m_pszData + index + insert.GetLength(), m_pszData + index, length - index);
    std::memcpy(m_pszData + index, insert.m_pszData, insert.GetLength());
    SetLength(length + insert.GetLength());
    return GetLength();
}

int CString::Delete(int index, int count) {
    const int length = GetLength();
    if (index < 0)
        index = 0;
    if (count <= 0 || index >= length)
        return length;
    if (count > length - index)
        count = length - index;
    std::memmove(m_pszData + index, m_pszData + index + count, length - index - count);
    SetLength(length - count);
    return GetLength();
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char ch) {
    return TrimRight(ch).TrimLeft(ch);
}

CString& CString::Trim(LPCSTR targets) {
    return TrimRight(targets).TrimLeft(targets);
}

CString& CString::TrimLeft() {
    return TrimLeft(" \t\r\n\v\f");
}

CString& CString::TrimLeft(char ch) {
    const char set[2] = {ch, 0};
    return TrimLeft(set);
}

CString& CString::TrimLeft(LPCSTR targets) {
    int n = 0;
    while (n < GetLength() && InSet(m_pszData[n], targets))
        ++n;
    Delete(0, n);
    return *this;
}

CString& CString::TrimRight() {
    return TrimRight(" \t\r\n\v\f");
}

CString& CString::TrimRight(char ch) {
    const char set[2] = {ch, 0};
    return TrimRight(set);
}

CString& CString::TrimRight(LPCSTR targets) {
    int length = GetLength();
    while (length > 0 && InSet(m_pszData[length - 1], targets))
        --length;
    if (length != GetLength())
        SetLength(length);
    return *this;
}

void CString::Assign(LPCSTR text, int length) {
    if (!text || length <= 0) {
        Empty();
        return;
    }
    if (!IsShared(m_pszData) && text >= m_pszData && text <= m_pszData + GetLength()) {
        // A part of this very string: move it down in place.
        std::memmove(m_pszData, text, length);
        SetLength(length);
        return;
    }
    Reserve(length, false);
    std::memcpy(m_pszData, text, length);
    SetLength(length);
}

void CString::Append(LPCSTR text, int length) {
    if (!text || length <= 0)
        return;
    const int old = GetLength();
    Reserve(old + length, true);
    std::memcpy(m_pszData + old, text, length);
    SetLength(old + length);
}

void CString::Reserve(int capacity, bool keep) {
    if (capacity < 0)
        capacity = 0;
    if (!IsShared(m_pszData) && HeaderOf(m_pszData)->capacity >= capacity)
        return;
    if (capacity == 0)
        capacity = 1; // GetBuffer must hand out a writable block even for an empty string
    const int old = GetLength();
    // Grow geometrically so that repeated appends stay linear.
    if (!IsShared(m_pszData) && keep) {
        const int doubled = HeaderOf(m_pszData)->capacity * 2;
        if (doubled > capacity)
            capacity = doubled;
    }
    auto* block = static_cast<StringHeader*>(std::malloc(sizeof(StringHeader) + capacity + 1));
    if (!block)
        throw std::bad_alloc();
    block->capacity = capacity;
    block->length = keep ? old : 0;
    char* data = reinterpret_cast<char*>(block + 1);
    if (keep && old)
        std::memcpy(data, m_pszData, old);
    data[block->length] = 0;
    if (!IsShared(m_pszData))
        std::free(HeaderOf(m_pszData));
    m_pszData = data;
}

void CString::SetLength(int length) {
    if (IsShared(m_pszData))
        return;
    HeaderOf(m_pszData)->length = length;
    m_pszData[length] = 0;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(char a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}

BOOL CString::LoadString(UINT id) {
    return LoadString(AfxGetResourceHandle(), id);
}

BOOL CString::LoadString(HINSTANCE instance, UINT id) {
    // LoadStringA truncates to the buffer: grow until the text fits with room to spare. A string that
    // is absent leaves this one unchanged.
    CString loaded;
    for (int size = 256; size <= 65536; size *= 4) {
        const int length = ::LoadStringA(instance, id, loaded.GetBuffer(size), size + 1);
        if (length <= 0)
            return FALSE;
        loaded.ReleaseBuffer(length);
        if (length < size)
            break;
    }
    *this = loaded;
    return TRUE;
}
