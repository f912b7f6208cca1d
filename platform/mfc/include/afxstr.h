#pragma once
// CString: the multi-byte string class of our MFC-compatible layer.
// Every byte it holds is allocated and freed inside QelMfc.dll (no member is inline), so a CString can be
// passed by value, returned and destroyed across any of our DLLs.
#include <windows.h>

#include <cstdarg>

#include "afxdllapi.h"

class QEL_MFC_API CString {
public:
    CString();
    CString(const CString& other);
    CString(LPCSTR text);             // null gives an empty string; MAKEINTRESOURCE(id) loads string id
    CString(LPCSTR text, int length); // the first length bytes (fewer when text ends earlier)
    CString(LPCWSTR text);            // converted from wide characters with the ANSI code page
    CString(char ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(LPCSTR text);
    CString& operator=(LPCWSTR text);
    CString& operator=(char ch);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR text);
    CString& operator+=(LPCWSTR text);
    CString& operator+=(char ch);

    int GetLength() const;
    BOOL IsEmpty() const;
    void Empty();
    char GetAt(int index) const; // index must lie in 0..GetLength()-1
    void SetAt(int index, char ch);
    char operator[](int index) const;
    operator LPCSTR() const;
    LPCSTR GetString() const;

    // Direct access: the buffer holds at least minLength characters plus a terminator; the string's
    // length is unknown until ReleaseBuffer (-1: up to the first zero byte, clamped to the buffer).
    LPSTR GetBuffer(int minLength);
    LPSTR GetBuffer();
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // Loads string id from the resource handle (AfxGetResourceHandle); FALSE (string unchanged) when absent.
    BOOL LoadString(UINT id);
    BOOL LoadString(HINSTANCE instance, UINT id);

    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...);

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR charSet) const;
    CString SpanExcluding(LPCSTR charSet) const;

    int Find(char ch, int start = 0) const; // -1 when absent
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR charSet) const;

    int Compare(LPCSTR other) const; // <0, 0, >0 like strcmp
    int CompareNoCase(LPCSTR other) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(char oldCh, char newCh); // number replaced
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    int Insert(int index, char ch); // new length
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1); // new length
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(LPCSTR targets);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(LPCSTR targets);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(LPCSTR targets);

private:
    void Assign(LPCSTR text, int length);
    void Append(LPCSTR text, int length);
    void Reserve(int capacity, bool keep); // room for capacity characters and a terminator
    void SetLength(int length);

    LPSTR m_pszData; // points behind a length/capacity header, or at the shared empty string
};

QEL_MFC_API CString operator+(const CString& a, const CString& b);
QEL_MFC_API CString operator+(const CString& a, LPCSTR b);
QEL_MFC_API CString operator+(LPCSTR a, const CString& b);
QEL_MFC_API CString operator+(const CString& a, char b);
QEL_MFC_API CString operator+(char a, const CString& b);

QEL_MFC_API bool operator==(const CString& a, const CString& b);
QEL_MFC_API bool operator==(const CString& a, LPCSTR b);
QEL_MFC_API bool operator==(LPCSTR a, const CString& b);
QEL_MFC_API bool operator!=(const CString& a, const CString& b);
QEL_MFC_API bool operator!=(const CString& a, LPCSTR b);
QEL_MFC_API bool operator!=(LPCSTR a, const CString& b);
QEL_MFC_API bool operator<(const CString& a, const CString& b);
QEL_MFC_API bool operator>(const CString& a, const CString& b);
QEL_MFC_API bool operator<=(const CString& a, const CString& b);
QEL_MFC_API bool operator>=(const CString& a, const CString& b);
