// CFileFind: a walk over the files matching a pattern, one match ahead of the caller.
#include "afx.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind()
    : m_hContext(INVALID_HANDLE_VALUE), m_pFoundInfo(nullptr), m_pNextInfo(nullptr), m_bHasNext(FALSE) {}

CFileFind::~CFileFind() {
    Close();
}

void CFileFind::Close() {
    if (m_hContext != INVALID_HANDLE_VALUE)
        ::FindClose(m_hContext);
    m_hContext = INVALID_HANDLE_VALUE;
    delete m_pFoundInfo;
    delete m_pNextInfo;
    m_pFoundInfo = m_pNextInfo = nullptr;
    m_strRoot.Empty();
    m_bHasNext = FALSE;
}

BOOL CFileFind::FindFile(LPCSTR name, DWORD /*unused*/) {
    Close();
    if (!name || !*name)
        name = "*.*";
    m_pNextInfo = new WIN32_FIND_DATAA();
    m_hContext = ::FindFirstFileA(name, m_pNextInfo);
    if (m_hContext == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        Close();
        ::SetLastError(error);
        return FALSE;
    }
    m_pFoundInfo = new WIN32_FIND_DATAA();
    m_bHasNext = TRUE;

    // The root: the full path of the pattern's folder, with a trailing backslash.
    char full[MAX_PATH];
    LPSTR filePart = nullptr;
    if (::GetFullPathNameA(name, MAX_PATH, full, &filePart) && filePart) {
        *filePart = 0;
        m_strRoot = full;
    } else {
        m_strRoot = name;
        const int slash = m_strRoot.ReverseFind('\\') > m_strRoot.ReverseFind('/')
                              ? m_strRoot.ReverseFind('\\')
                              : m_strRoot.ReverseFind('/');
        m_strRoot = slash >= 0 ? m_strRoot.Left(slash + 1) : CString();
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (m_hContext == INVALID_HANDLE_VALUE || !m_bHasNext)
        return FALSE;
    *m_pFoundInfo = *m_pNextInfo;
    m_bHasNext = ::FindNextFileA(m_hContext, m_pNextInfo);
    return m_bHasNext;
}

ULONGLONG CFileFind::GetLength() const {
    if (!m_pFoundInfo)
        return 0;
    return (static_cast<ULONGLONG>(m_pFoundInfo->nFileSizeHigh) << 32) | m_pFoundInfo->nFileSizeLow;
}

CString CFileFind::GetFileName() const {
    return m_pFoundInfo ? CString(m_pFoundInfo->cFileName) : CString();
}

CString CFileFind::GetFilePath() const {
    return m_pFoundInfo ? m_strRoot + m_pFoundInfo->cFileName : CString();
}

CString CFileFind::GetFileTitle() const {
    CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileFind::GetFileURL() const {
    return m_pFoundInfo ? "file://" + GetFilePath() : CString();
}

CString CFileFind::GetRoot() const {
    return m_strRoot;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const {
    if (!m_pFoundInfo || !time)
        return FALSE;
    *time = m_pFoundInfo->ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* time) const {
    if (!m_pFoundInfo || !time)
        return FALSE;
    *time = m_pFoundInfo->ftLastAccessTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* time) const {
    if (!m_pFoundInfo || !time)
        return FALSE;
    *time = m_pFoundInfo->ftCreationTime;
    return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD mask) const {
    return m_pFoundInfo && (m_pFoundInfo->dwFileAttributes & mask) != 0;
}

BOOL CFileFind::IsDots() const {
    if (!m_pFoundInfo || !IsDirectory())
        return FALSE;
    const char* name = m_pFoundInfo->cFileName;
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}
