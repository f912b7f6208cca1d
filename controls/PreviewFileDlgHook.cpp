// CPreviewFileDlg's run and its hook: the preview box placed beside the file list, a thumbnail of each
// selected picture, painted inside the box's frame. One previewing dialog at a time.
#include <objidl.h>
#include <gdiplus.h>

#include "PreviewFileDlg.h"

#include "ThumbnailFit.h"

#include <afxdlgs.h>
#include <qelImage.h>

namespace {

CPreviewFileDlg* g_current = NULL; // the object whose dialog the hook serves
const int kFileList = 1120;        // the explorer dialog's (hidden) file list

bool IsCountedAs98OrLater() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return false;
    return !(version.dwMajorVersion <= 4 && version.dwMinorVersion != 90);
}

// rect of child in parent's client coordinates.
bool ChildRect(HWND child, HWND parent, RECT& rect) {
    if (!child || !GetWindowRect(child, &rect))
        return false;
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

} // namespace

INT_PTR CPreviewFileDlg::DoModal() {
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    if (!IsCountedAs98OrLater() && (m_ofn.Flags & OFN_EXPLORER)) {
        m_ofn.Flags |= OFN_ENABLEHOOK;
        m_ofn.lpfnHook = &CPreviewFileDlg::HookProc;
        m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    }
    const BOOL chosen = AfxGetFileName(&m_ofn, !m_open);
    if (g_current == this)
        g_current = NULL;
    m_previewCtrl = NULL;
    m_hookDlg = NULL;
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CPreviewFileDlg::HookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        g_current = reinterpret_cast<CPreviewFileDlg*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
        break;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header)
            return 1;
        if (!g_current)
            break;
        g_current->m_hookDlg = dialog;
        if (header->code == static_cast<UINT>(CDN_INITDONE))
            g_current->PlacePreview();
        else if (header->code == static_cast<UINT>(CDN_SELCHANGE))
            g_current->OnSelectionChange();
        break;
    }
    case WM_SIZE:
        if (g_current)
            g_current->SizePreview();
        break;
    case WM_PAINT:
        if (g_current && g_current->m_hookDlg == dialog)
            g_current->PaintPreview();
        break;
    default:
        break;
    }
    return 0;
}

void CPreviewFileDlg::PlacePreview() {
    m_previewCtrl = GetDlgItem(m_hookDlg, IDC_QEL_PREVIEW_FRAME);
    if (!m_previewCtrl)
        return;
    RECT list, hook;
    if (!ChildRect(GetDlgItem(GetParent(m_hookDlg), kFileList), m_hookDlg, list) || !GetClientRect(m_hookDlg, &hook))
        return;
    const int left = list.right + (hook.right - list.right - m_thumbWidth) / 2;
    SetWindowPos(m_previewCtrl, NULL, left, list.top, m_thumbWidth, m_thumbHeight, SWP_SHOWWINDOW | SWP_NOZORDER);
}

void CPreviewFileDlg::SizePreview() {
    RECT list;
    if (!m_previewCtrl || !ChildRect(GetDlgItem(GetParent(m_hookDlg), kFileList), m_hookDlg, list))
        return;
    SetWindowPos(m_previewCtrl, NULL, 0, 0, m_thumbWidth, list.bottom - list.top, SWP_NOMOVE | SWP_NOZORDER);
}

void CPreviewFileDlg::OnSelectionChange() {
    char path[MAX_PATH] = {};
    if (SendMessageA(GetParent(m_hookDlg), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path)) > 0) {
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            ShowThumbnail(path); // a folder leaves the preview as it was
    }
    ++m_selectionCount;
}

void CPreviewFileDlg::ShowThumbnail(const char* path) {
    CImage* image = new CImage(path);
    if (!image)
        return;
    delete m_pThumbnail;
    m_pThumbnail = NULL;
    // A file that is no picture has no size: the preview is cleared rather than scaled by zero.
    qel_controls::FitSize size;
    if (qel_controls::ThumbnailFit(static_cast<int>(image->Width()), static_cast<int>(image->Height()), m_thumbWidth,
                                   m_thumbHeight, size))
        m_pThumbnail = image->GetThumbnail(size.width, size.height, Gdiplus::InterpolationModeHighQualityBicubic,
                                           PixelFormat24bppRGB);
    delete image;
    RECT rect;
    if (PreviewRect(rect))
        InvalidateRect(m_hookDlg, &rect, TRUE);
}

bool CPreviewFileDlg::PreviewRect(RECT& rect) { return m_hookDlg && ChildRect(m_previewCtrl, m_hookDlg, rect); }

void CPreviewFileDlg::PaintPreview() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hookDlg, &paint);
    RECT rect;
    if (m_pThumbnail && PreviewRect(rect)) {
        // Inside the group box's frame: its caption line at the top.
        rect.left += 2;
        rect.right -= 2;
        rect.bottom -= 2;
        rect.top += 8;
        m_pThumbnail->Display(dc, &rect, 4);
    }
    EndPaint(m_hookDlg, &paint);
}
