// The start-up indicator thread and the orderly end: Close, then the dialog's destruction.
#include "MainDlg.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>

#include "ProgramGlobals.h"
#include "SentMessageWait.h"
#include "ThumbMaker.h"

void CMainDlg::StartInitIndicator() {
    WaitForIndicatorThread(); // a previous run of the indicator has ended or ends within 5 s
    InterlockedExchange(&m_indicatorRunning, TRUE);
    m_indicatorThread = AfxBeginThread(IndicatorThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_indicatorThread)
        return;
    m_indicatorThread->m_bAutoDelete = FALSE;
    m_indicatorThread->ResumeThread();
}

void CMainDlg::StopInitIndicator() {
    InterlockedExchange(&m_indicatorRunning, FALSE);
    if (g_indicatorEvent)
        ::SetEvent(g_indicatorEvent);
}

UINT CMainDlg::IndicatorThread(LPVOID param) {
    CMainDlg* dialog = static_cast<CMainDlg*>(param);
    g_indicatorEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (::IsWindow(dialog->m_hWnd)) {
        ::ShowWindow(dialog->m_stInit.m_hWnd, SW_SHOW);
        for (int i = 0; i < 10; ++i) {
            if (!InterlockedCompareExchange(&dialog->m_indicatorRunning, 0, 0))
                break;
            ::WaitForSingleObject(g_indicatorEvent, 500);
        }
        ::ShowWindow(dialog->m_stInit.m_hWnd, SW_HIDE);
    }
    return 0;
}

void CMainDlg::WaitForIndicatorThread() {
    if (!m_indicatorThread)
        return;
    // The indicator hides its label through this thread: served meanwhile, it can end.
    WaitHandlingSentMessages(m_indicatorThread->m_hThread, INFINITE); // its own loop ends it within 5 s
    delete m_indicatorThread;
    m_indicatorThread = nullptr;
}

void CMainDlg::OnCloseCommand() { OnClose(); }

void CMainDlg::OnClose() {
    EndDialog(IDCANCEL); // hides the dialog
    StopThumbScan();
    if (m_recording)
        OnStopRecord();
    SaveEnhanceSettings();
    if (CWnd* main = AfxGetMainWnd())
        main->DestroyWindow();
}

void CMainDlg::OnDestroy() {
    m_capture.GetCaptureInfo(&m_itemInfo);
    m_dialogAlive = FALSE;
    CloseLiveMode();
    if (g_indicatorEvent) {
        ::CloseHandle(g_indicatorEvent);
        g_indicatorEvent = nullptr;
    }
    WaitForIndicatorThread();
    StopThumbScan(); // the frame may go without the Close command
    // Every image goes while GDI+ is up: the strip's thumbnails, the viewer's and the dialog's own.
    m_strip.RemoveAll();
    const bool viewerOutOfGdiplus = m_viewer.DropShownImage();
    m_playWndImage.reset();
    m_background.reset();
    // GDI+ goes last, and only when no thumbnail job nor the viewer's decode can be inside it: one stuck
    // in a decode keeps it up to the end of the process, which is harmless, where shutting it down under
    // the job crashes.
    if (StopThumbnailMaking() && viewerOutOfGdiplus)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    CDialog::OnDestroy();
}
