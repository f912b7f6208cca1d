#pragma once
// The application: one instance, start-up checks, the main frame, and the Ctrl+arrow keys that turn
// and flip the live picture.
#include <afxwin.h>

class CZentrikApp : public CWinApp {
public:
    CZentrikApp();
    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
};
