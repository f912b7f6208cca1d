#pragma once
// The program's top-level window: no chrome of its own, shaped and sized by the skin's background for
// the size mode, hosting the main dialog that covers it.
#include <afxwin.h>

#include <memory>

#include "MainDlg.h"

class CImage;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CMainDlg& MainDialog() { return m_dialog; }
    // Background, outline, place and preview for size mode (0 large, nonzero small).
    void ApplySizeMode(int mode);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMoving(UINT side, LPRECT rect);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg LRESULT OnZentrikMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnForwardToDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeMode(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseRequest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CMainDlg m_dialog;
    std::unique_ptr<CImage> m_background;
};
