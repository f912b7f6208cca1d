#pragma once
// CPreviewFileDlg: the system's open or save dialog with a large multi-selection buffer and, where its
// hook is installed (systems not counted as 98 or later), a thumbnail of the selected picture beside
// the file list, in the library's child template 145 (control 1063 frames the preview).
#include "qelControlApi.h"

#include <afxwin.h>

#include <commdlg.h>

class CImage;

#define IDD_QEL_PREVIEW_TEMPLATE 145
#define IDC_QEL_PREVIEW_FRAME 1063

class QEL_CONTROL_API CPreviewFileDlg {
public:
    CPreviewFileDlg();
    CPreviewFileDlg(BOOL open, const char* defExt, const char* fileName, DWORD flags, const char* filter,
                    CWnd* parent, HINSTANCE instance);
    CPreviewFileDlg(BOOL open, const char* defExt, const char* fileName, const char* initialDir, DWORD flags,
                    const char* filter, CWnd* parent, HINSTANCE instance);
    CPreviewFileDlg(const CPreviewFileDlg& other);
    CPreviewFileDlg& operator=(const CPreviewFileDlg& other);
    virtual ~CPreviewFileDlg();

    INT_PTR DoModal(); // IDOK, else IDCANCEL
    void SetFilterIndex(int index);
    OPENFILENAMEA* GetOPENFILENAME();
    int SetOPENFILENAME(OPENFILENAMEA* ofn); // 0 for NULL

    // Each writes at most 260 bytes, terminator included, into the caller's buffer.
    void GetPathName(char* out);
    void GetFileName(char* out);
    void GetFileTitle(char* out);
    void GetFileExt(char* out);
    void GetFileDrive(char* out);
    void GetFileDir(char* out);
    UINT GetSelectFileNum();
    POSITION GetStartPosition();
    void GetNextPathName(POSITION& pos, char* out);

    // Shows the picture at path as the preview (a file that is no picture clears it); the hook calls
    // it as the selection changes.
    void ShowThumbnail(const char* path);

    char m_fileBuffer[0x41000];
    OPENFILENAMEA m_ofn;
    BOOL m_open;
    CWnd* m_pParent;
    UINT m_selectionCount;
    char m_fileTitle[260];
    int m_thumbWidth;
    int m_thumbHeight;
    HWND m_previewCtrl;
    HWND m_hookDlg;
    CImage* m_pThumbnail;

protected:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Init(BOOL open, const char* defExt, const char* fileName, const char* initialDir, DWORD flags,
              const char* filter, CWnd* parent, HINSTANCE instance);
    void CopyFrom(const CPreviewFileDlg& other);
    void PlacePreview();
    void OnSelectionChange();
    void SizePreview();
    void PaintPreview();
    // The preview control's rectangle in the hook dialog's client coordinates.
    bool PreviewRect(RECT& rect);
};
