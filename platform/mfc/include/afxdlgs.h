#pragma once
// The common dialogs of the MFC-compatible layer: the open/save file dialog and property sheets.
#include "afxwin.h"

#include <commdlg.h>
#include <prsht.h>

// Runs the system's open (save FALSE) or save dialog for ofn through the modal hook of afxhook.h: with a
// hook installed, the hook sees the initialised dialog (AFX_MODAL_FILE), may type into it, and its
// answer presses OK (IDOK) or Cancel (anything else) unless its messages ended the dialog. A structure
// size the platform refuses (the 76-byte layout of 32-bit programs) is given the size of the same
// layout here. Returns what GetOpenFileNameA / GetSaveFileNameA return.
QEL_MFC_API BOOL AFXAPI AfxGetFileName(OPENFILENAMEA* ofn, BOOL save);

// The open or save file dialog. The filter is written "text|pattern|...||".
class QEL_MFC_API CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                         CWnd* parent = nullptr, DWORD size = 0);
    ~CFileDialog() override;

    OPENFILENAMEA m_ofn;

    INT_PTR DoModal() override; // IDOK or IDCANCEL
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const;
    POSITION GetStartPosition() const; // multi-selection: the chosen files one by one
    CString GetNextPathName(POSITION& pos) const;

protected:
    BOOL m_bOpenFileDialog;
    char m_szFileName[MAX_PATH * 64]; // room for a multi-selection
    char m_szFileTitle[MAX_PATH];
    CString m_strFilter;
    CString m_strDefExt;
};

// A page of a property sheet, from a dialog template found through the resource handle.
class QEL_MFC_API CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);
    ~CPropertyPage() override;

    PROPSHEETPAGEA m_psp;

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply(); // runs OnOK
    virtual void OnReset(); // runs OnCancel
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;
    void SetModified(BOOL changed = TRUE);
    void CancelToClose();

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    CString m_strCaption;
    friend class CPropertySheet;
    friend INT_PTR CALLBACK QelPageProc(HWND, UINT, WPARAM, LPARAM);
};

// A property sheet of CPropertyPage objects; DoModal passes the modal hook (AFX_MODAL_SHEET).
class QEL_MFC_API CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCSTR caption = nullptr, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    PROPSHEETHEADERA m_psh;

    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    int GetPageCount() const;
    CPropertyPage* GetPage(int index) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    void SetTitle(LPCSTR title, UINT style = 0);
    virtual INT_PTR DoModal(); // IDOK or IDCANCEL
    virtual BOOL OnInitDialog();

protected:
    CPtrArray m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    UINT m_nStartPage;
    int m_nModalResult;
};
