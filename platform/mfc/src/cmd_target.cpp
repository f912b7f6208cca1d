// CCmdTarget: the root of every class that receives commands.
#include "afxwin.h"

#include "app_state.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

void CCmdTarget::BeginWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
    else
        qelmfc::DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
    else
        qelmfc::DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
    else
        qelmfc::DoWaitCursor(0);
}
