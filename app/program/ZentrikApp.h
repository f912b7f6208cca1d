#pragma once
// The application: one instance, start-up checks, the main frame, the Ctrl+arrow keys that turn and
// flip the live picture, and the end of the process.
#include <afxwin.h>

class CZentrikApp : public CWinApp {
public:
    CZentrikApp();
    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int ExitInstance() override;
};
