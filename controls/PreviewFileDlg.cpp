// CPreviewFileDlg: construction, copies, running the dialog and reading the selection.
#include <objidl.h>
#include <gdiplus.h>

#include "PreviewFileDlg.h"

#include <qelImage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DWORD kDefaultFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                            OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
const size_t kOut = 260; // what a caller's buffer is taken to hold

void CopyOut(char* out, const char* text) {
    if (!out)
        return;
    strncpy(out, text, kOut - 1);
    out[kOut - 1] = '\0';
}

enum Part { kDrive, kFolder, kName, kExtension };

// A part of path as _splitpath cuts it; the folder comes with its drive.
std::string PathPart(const char* path, Part part) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    _splitpath(path, drive, dir, name, ext);
    switch (part) {
    case kDrive:
        return drive;
    case kFolder:
        return std::string(drive) + dir;
    case kName:
        return name;
    default:
        return ext;
    }
}

bool EndsInSeparator(const char* folder) {
    const size_t n = strlen(folder);
    return n > 0 && (folder[n - 1] == '\\' || folder[n - 1] == '/');
}

} // namespace

CPreviewFileDlg::CPreviewFileDlg()
    : m_fileBuffer(), m_ofn(), m_open(TRUE), m_pParent(NULL), m_selectionCount(0), m_fileTitle(), m_thumbWidth(128),
      m_thumbHeight(128), m_previewCtrl(NULL), m_hookDlg(NULL), m_pThumbnail(NULL) {
    // The 76-byte layout of 32-bit programs is refused by 64-bit systems: the size of the same fields here.
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.Flags = kDefaultFlags;
}

CPreviewFileDlg::CPreviewFileDlg(BOOL open, const char* defExt, const char* fileName, DWORD flags,
                                 const char* filter, CWnd* parent, HINSTANCE instance)
    : CPreviewFileDlg() {
    Init(open, defExt, fileName, NULL, flags, filter, parent, instance);
}

CPreviewFileDlg::CPreviewFileDlg(BOOL open, const char* defExt, const char* fileName, const char* initialDir,
                                 DWORD flags, const char* filter, CWnd* parent, HINSTANCE instance)
    : CPreviewFileDlg() {
    Init(open, defExt, fileName, initialDir, flags, filter, parent, instance);
}

void CPreviewFileDlg::Init(BOOL open, const char* defExt, const char* fileName, const char* initialDir, DWORD flags,
                           const char* filter, CWnd* parent, HINSTANCE instance) {
    m_open = open;
    m_ofn.lpstrDefExt = defExt;
    if (fileName) {
        strncpy(m_fileBuffer, fileName, sizeof m_fileBuffer - 1);
        m_fileBuffer[sizeof m_fileBuffer - 1] = '\0';
    }
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = sizeof m_fileBuffer;
    m_ofn.lpstrFileTitle = m_fileTitle;
    m_ofn.nMaxFileTitle = sizeof m_fileTitle;
    m_ofn.lpstrInitialDir = initialDir;
    m_ofn.Flags |= flags;
    m_ofn.lpstrFilter = filter;
    m_ofn.hInstance = instance;
    m_ofn.nFilterIndex = 1;
    if (parent) {
        m_pParent = parent;
        m_ofn.hwndOwner = parent->GetSafeHwnd();
    }
}

CPreviewFileDlg::CPreviewFileDlg(const CPreviewFileDlg& other) : m_pThumbnail(NULL) { CopyFrom(other); }

CPreviewFileDlg& CPreviewFileDlg::operator=(const CPreviewFileDlg& other) {
    if (this != &other) {
        delete m_pThumbnail; // a copy holds no thumbnail of its own
        m_pThumbnail = NULL;
        CopyFrom(other);
    }
    return *this;
}

void CPreviewFileDlg::CopyFrom(const CPreviewFileDlg& other) {
    memcpy(m_fileBuffer, other.m_fileBuffer, sizeof m_fileBuffer);
    memcpy(m_fileTitle, other.m_fileTitle, sizeof m_fileTitle);
    m_ofn = other.m_ofn;
    // The structure names this object's buffers, not the original's (which may go first).
    if (other.m_ofn.lpstrFile == other.m_fileBuffer)
        m_ofn.lpstrFile = m_fileBuffer;
    if (other.m_ofn.lpstrFileTitle == other.m_fileTitle)
        m_ofn.lpstrFileTitle = m_fileTitle;
    if (other.m_ofn.lCustData == reinterpret_cast<LPARAM>(&other))
        m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_open = other.m_open;
    m_pParent = other.m_pParent;
    m_selectionCount = other.m_selectionCount;
    m_thumbWidth = other.m_thumbWidth;
    m_thumbHeight = other.m_thumbHeight;
    m_previewCtrl = NULL;
    m_hookDlg = NULL;
}

void CPreviewFileDlg::SetFilterIndex(int index) { m_ofn.nFilterIndex = static_cast<DWORD>(index); }
OPENFILENAMEA* CPreviewFileDlg::GetOPENFILENAME() { return &m_ofn; }

int CPreviewFileDlg::SetOPENFILENAME(OPENFILENAMEA* ofn) {
    if (!ofn)
        return 0;
    memcpy(&m_ofn, ofn, OPENFILENAME_SIZE_VERSION_400A);
    return 1;
}

void CPreviewFileDlg::GetPathName(char* out) { CopyOut(out, m_fileBuffer); }
void CPreviewFileDlg::GetFileName(char* out) { CopyOut(out, m_fileTitle); }

void CPreviewFileDlg::GetFileTitle(char* out) { CopyOut(out, PathPart(m_fileBuffer, kName).c_str()); }
void CPreviewFileDlg::GetFileExt(char* out) { CopyOut(out, PathPart(m_fileBuffer, kExtension).c_str()); }
void CPreviewFileDlg::GetFileDrive(char* out) { CopyOut(out, PathPart(m_fileBuffer, kDrive).c_str()); }
void CPreviewFileDlg::GetFileDir(char* out) { CopyOut(out, PathPart(m_fileBuffer, kFolder).c_str()); }

UINT CPreviewFileDlg::GetSelectFileNum() { return m_selectionCount; }

POSITION CPreviewFileDlg::GetStartPosition() {
    return m_fileBuffer[0] ? reinterpret_cast<POSITION>(m_fileBuffer) : NULL;
}

void CPreviewFileDlg::GetNextPathName(POSITION& pos, char* out) {
    const bool explorer = (m_ofn.Flags & OFN_EXPLORER) != 0;
    const char* separators = explorer ? "" : " ";
    const size_t folderLength = strcspn(m_fileBuffer, separators);
    const bool single = !(m_ofn.Flags & OFN_ALLOWMULTISELECT) ||
                        (explorer ? m_fileBuffer[folderLength + 1] == '\0' : m_fileBuffer[folderLength] == '\0');
    if (single || !pos) {
        CopyOut(out, m_fileBuffer);
        pos = NULL;
        return;
    }
    const char* current = reinterpret_cast<const char*>(pos);
    if (current == m_fileBuffer)
        current += folderLength + 1;
    const size_t nameLength = strcspn(current, separators);
    char folder[kOut];
    snprintf(folder, sizeof folder, "%.*s", static_cast<int>(folderLength), m_fileBuffer);
    if (out)
        snprintf(out, kOut, EndsInSeparator(folder) ? "%s%.*s" : "%s\\%.*s", folder, static_cast<int>(nameLength),
                 current);
    const char* next = current + nameLength;
    const bool more = explorer ? next[1] != '\0' : (*next == ' ' && next[1] != '\0');
    pos = more ? reinterpret_cast<POSITION>(const_cast<char*>(next + 1)) : NULL;
}

CPreviewFileDlg::~CPreviewFileDlg() { delete m_pThumbnail; }
