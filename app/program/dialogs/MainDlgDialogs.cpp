// The capture panel's dialogs: Enhance, Effects and Setup, and the messages the settings pages send.
#include "MainDlg.h"

#include <afxhook.h>

#include "EffectDlg.h"
#include "EnhanceRecord.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"

void CMainDlg::OnEnhance() {
    EnhanceRecord kept;
    kept.FromArray(m_enhance);
    m_enhanceDlg.m_record = kept;
    m_enhanceDlg.m_capture = &m_capture;
    m_enhanceDlg.m_pParentWnd = this;
    if (m_enhanceDlg.DoModal() == IDOK)
        m_enhanceDlg.m_record.ToArray(m_enhance);
    else
        ReapplyChangedEnhance(kept, m_enhanceDlg.m_record, m_capture);
}

void CMainDlg::OnEffects() {
    CEffectDlg dialog(this);
    dialog.m_effectIndex = m_effectIndex;
    dialog.m_propertyIndex = m_propertyIndex;
    lstrcpynW(dialog.m_frameFile, m_propertyName, MAX_PATH);
    dialog.m_capture = &m_capture;
    if (dialog.DoModal() == IDOK) {
        m_effectIndex = dialog.m_effectIndex;
        m_propertyIndex = dialog.m_propertyIndex;
        lstrcpynW(m_propertyName, dialog.m_frameFile, MAX_PATH);
        return;
    }
    if (dialog.m_effectIndex == m_effectIndex)
        return;
    // "No Effect" has switched everything off and asks to keep that.
    if (dialog.m_effectIndex == -1) {
        m_effectIndex = -1;
        return;
    }
    m_capture.ClearEffect();
    m_capture.ApplyEffect(m_effectIndex, m_propertyIndex, m_propertyName);
}

// Setup stops a running scan as Close does, and the album is listed again when the scan was cut short
// or its folder changed. A repair of the video folder that was cut short is taken up again (also
// when OK named another folder), and so is the repair of a new video folder.
void CMainDlg::OnSetup() {
    if (m_capture.RunSetupSheet() != 0)
        AfxShowMessageBox(m_hWnd, m_capture.GetLastErrorText(), "Error", MB_OK);
    const BOOL wasRunning = InterlockedCompareExchange(&m_scanRunning, FALSE, FALSE) != FALSE;
    StopThumbScan();
    const CString leftRepair = m_scanRepairDone ? CString() : m_videoFolder;
    if (wasRunning || m_imageFolder.CompareNoCase(m_capture.GetImageFolder()) != 0) {
        m_strip.RemoveAll();
        StartThumbScan(TRUE, leftRepair);
    } else if (!leftRepair.IsEmpty() || m_videoFolder.CompareNoCase(m_capture.GetVideoFolder()) != 0) {
        StartThumbScan(FALSE, leftRepair);
    }
}

// The camera-button utility's keys. Key 72 steps the digital zoom (in capture mode) and shows the new
// step in an open Enhance dialog.
void CMainDlg::ForwardToEnhanceDialog(WPARAM wParam, LPARAM lParam) {
    if (m_enhanceDlg.GetSafeHwnd() && ::IsWindow(m_enhanceDlg.m_hWnd))
        m_enhanceDlg.SendMessage(WM_ZENTRIK_EXTERNAL_KEY, wParam, lParam);
}

LRESULT CMainDlg::OnVideoSettingsRequest(WPARAM, LPARAM) {
    if (m_capture.ShowVideoSettings() != 0)
        AfxShowMessageBox(m_hWnd, m_capture.GetLastErrorText(), "Error", MB_OK);
    return 0;
}

// wParam points at the sending page's string, alive only during this send.
LRESULT CMainDlg::OnCameraChosen(WPARAM wParam, LPARAM) {
    auto* name = reinterpret_cast<CString*>(wParam);
    if (m_recording || !name)
        return 0;
    if (m_capture.SelectVideoDevice(*name) < 0) {
        AfxShowMessageBox(m_hWnd, "Device Error! Tavorin will close.", "Error", MB_OK);
        m_videoOk = FALSE;
        return 0;
    }
    SetLabelText(&m_stDevice, *name);
    m_videoOk = TRUE;
    if (name->GetLength() > 10) {
        *name = name->Left(5) + "...";
        SetLabelText(&m_stDevice, *name);
    }
    return 0;
}

// wParam points at the sending page's size text, alive only during this send.
LRESULT CMainDlg::OnResolutionText(WPARAM wParam, LPARAM) {
    const char* text = reinterpret_cast<const char*>(wParam);
    if (!text)
        return 0;
    const CaptureSettings& settings = m_capture.Settings();
    if (m_videoMode && (settings.outputWidth > 640 || settings.outputHeight > 480))
        SetLabelText(&m_stResolution, "640x480");
    else
        SetLabelText(&m_stResolution, text);
    return 0;
}
