#pragma once
// The start-up splash (centred, gone after 750 ms or at the first key or click) and the fixed-place
// picture shown over the preview while a recording starts (3000 ms). At most one exists at a time.
#include <afxwin.h>

#include <memory>

class CImage;

class CSplashWindow : public CWnd {
public:
    ~CSplashWindow() override;

    static void EnableSplashScreen(BOOL enable);
    // kind 0: the 480 picture, 1: the 320 picture, both over place; any other kind: the start-up splash.
    static void ShowSplashScreen(CWnd* parent, int kind, RECT place);
    // Swallows a key or click while a start-up splash is up, hiding it.
    static BOOL PreTranslateAppMessage(MSG* msg);
    static void HideSplashScreen();
    static CSplashWindow* Current();

protected:
    CSplashWindow();
    BOOL Create(CWnd* parent);
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<CImage> m_picture;
    BOOL m_fixedPlace = FALSE;
    RECT m_place = {};
};
