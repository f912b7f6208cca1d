// The main dialog's controls: binding, start-up skinning and the re-layout of a size-mode change.
#include "MainDlg.h"

#include <initializer_list>
#include <utility>

#include "CameraButton.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "ViewerRules.h"
#include "SkinLoader.h"
#include "resource.h"

namespace {

// Moves a window to its section's rectangle of the size mode; one without the key stays where it is.
void MoveToSkinRect(CWnd& window, const char* section, int mode) {
    RECT place = {};
    if (window.GetSafeHwnd() && ReadSkinRect(section, mode, &place))
        window.MoveWindow(&place, TRUE);
}

} // namespace

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INIT, m_stInit);
    DDX_Control(pDX, IDC_SETUP, m_btnSetup);
    DDX_Control(pDX, IDC_ENHANCE, m_btnEnhance);
    DDX_Control(pDX, IDC_EFFECT, m_btnEffect);
    DDX_Control(pDX, IDC_VOICE, m_btnVoice);
    DDX_Control(pDX, IDC_MUTE, m_btnMute);
    DDX_Control(pDX, IDC_VIDEO, m_chkVideo);
    DDX_Control(pDX, IDC_RECORD, m_btnRecord);
    DDX_Control(pDX, IDC_STOP_RECORD, m_btnStopRecord);
    DDX_Control(pDX, IDC_SNAPSHOT, m_chkSnapshot);
    DDX_Control(pDX, IDC_CONTINUE, m_chkContinue);
    DDX_Control(pDX, IDC_AUTO, m_chkAuto);
    DDX_Control(pDX, IDC_INTERVAL, m_chkInterval);
    DDX_Control(pDX, IDC_SWITCH, m_btnSwitch);
    DDX_Control(pDX, IDC_SAVE_AS, m_btnSaveAs);
    DDX_Control(pDX, IDC_DATE, m_stDate);
    DDX_Control(pDX, IDC_PAUSE, m_btnPause);
    DDX_Control(pDX, IDC_PLAY, m_btnPlay);
    DDX_Control(pDX, IDC_STOP, m_btnStop);
    DDX_Control(pDX, IDC_DISPLAY_SLIDER, m_sldDisplay);
    DDX_Control(pDX, IDC_PLAY_SLIDER, m_sldPlay);
    DDX_Control(pDX, IDC_EMAIL, m_btnEMail);
    DDX_Control(pDX, IDC_TRASH, m_btnTrash);
    DDX_Control(pDX, IDC_UI_MIN, m_btnMin);
    DDX_Control(pDX, IDC_UI_MAX, m_btnMax);
    DDX_Control(pDX, IDC_UI_SMAX, m_btnSMax);
    DDX_Control(pDX, IDC_UI_CLOSE, m_btnClose);
    DDX_Control(pDX, IDC_UI_INFO, m_btnInfo);
    DDX_Control(pDX, IDC_RESOLUTION, m_stResolution);
    DDX_Control(pDX, IDC_VIDEO_FORMAT_CAPTION, m_stVideoFormatCaption);
    DDX_Control(pDX, IDC_VIDEO_FORMAT, m_cboVideoFormat);
    DDX_Control(pDX, IDC_CAPTURE_TIME_CAPTION, m_stCaptureTimeCaption);
    DDX_Control(pDX, IDC_CAPTURE_TIME, m_stCaptureTime);
    DDX_Control(pDX, IDC_FILE_SIZE, m_stFileSize);
    DDX_Control(pDX, IDC_HD_SPACE_CAPTION, m_stHDSpaceCaption);
    DDX_Control(pDX, IDC_HD_SPACE, m_stHDSpace);
    DDX_Control(pDX, IDC_DEVICE_CAPTION, m_stDeviceCaption);
    DDX_Control(pDX, IDC_DEVICE, m_stDevice);
    DDX_Control(pDX, IDC_THUMB_UP, m_btnThumbUp);
    DDX_Control(pDX, IDC_THUMB_DOWN, m_btnThumbDown);
}

void CMainDlg::ShowVoiceButtons() {
    m_btnVoice.ShowWindow(m_voiceOn ? SW_SHOW : SW_HIDE);
    m_btnMute.ShowWindow(m_voiceOn ? SW_HIDE : SW_SHOW);
}

void CMainDlg::SkinControls() {
    const int mode = m_sizeMode;
    SkinLabel(&m_stInit, "Init", IDS_INITIALIZING, mode);
    m_stInit.ShowWindow(SW_HIDE);

    SkinTextButton(&m_btnSetup, "Setup", IDS_SETUP_TIP, IDS_SETUP, mode);
    SkinTextButton(&m_btnEnhance, "Enhance", IDS_ENHANCE_TIP, IDS_ENHANCE, mode);
    SkinTextButton(&m_btnEffect, "Effect", IDS_EFFECTS_TIP, IDS_EFFECTS, mode);
    SkinTextButton(&m_btnStopRecord, "StopRecord", IDS_STOP_RECORDING, 0, mode);
    SkinTextButton(&m_btnRecord, "Record", IDS_START_RECORDING, 0, mode);
    SkinCheckButton(&m_chkSnapshot, "SnapShot", IDS_SNAPSHOT, mode);
    SkinCheckButton(&m_chkContinue, "Continue", IDS_SINGLE, mode);
    SkinCheckButton(&m_chkAuto, "Auto", IDS_AUTO, mode);
    SkinCheckButton(&m_chkInterval, "Interval", IDS_INTERVAL, mode);
    m_chkContinue.SetCheck(TRUE);
    m_chkAuto.SetCheck(FALSE);
    m_chkInterval.SetCheck(FALSE);

    SkinTextButton(&m_btnVoice, "DREMVoice", IDS_VOICE, 0, mode);
    SkinTextButton(&m_btnMute, "DREMMute", IDS_MUTE, 0, mode);
    SkinCheckButton(&m_chkVideo, "DREMVideo", IDS_VIDEO, mode);
    m_chkSnapshot.SetCheck(TRUE);
    m_chkSnapshot.EnableWindow(FALSE);
    m_chkVideo.SetCheck(FALSE);
    m_chkVideo.EnableWindow(TRUE);

    ShowVoiceButtons();
    const BOOL utilityMutes = CameraButtonUtilityMutes();
    m_btnVoice.EnableWindow(!utilityMutes);
    m_btnMute.EnableWindow(!utilityMutes);

    SkinTextButton(&m_btnSwitch, "Switch", IDS_TO_PLAYBACK, 0, mode);
    SkinTextButton(&m_btnSaveAs, "SaveAs", IDS_SAVE_AS, 0, mode);
    m_btnSaveAs.EnableWindow(FALSE);
    SkinTextButton(&m_btnEMail, "EMail", IDS_EMAIL, 0, mode);
    m_btnEMail.EnableWindow(FALSE);
    SkinTextButton(&m_btnTrash, "Trash", IDS_TRASH, 0, mode);
    m_btnTrash.EnableWindow(FALSE);
    SkinTextButton(&m_btnClose, "UiClose", IDS_CLOSE, 0, mode);
    SkinTextButton(&m_btnMax, "UiMax", IDS_ZOOM_OUT, 0, mode);
    SkinTextButton(&m_btnMin, "UiMin", IDS_MINIMIZE, 0, mode);
    SkinTextButton(&m_btnInfo, "UiInfo", IDS_HELP, 0, mode);
    SkinTextButton(&m_btnSMax, "s_UiMax", IDS_ZOOM_IN, 0, mode);
    m_btnSMax.ShowWindow(mode == 0 ? SW_HIDE : SW_SHOW);
    m_btnMax.ShowWindow(mode == 0 ? SW_SHOW : SW_HIDE);

    SkinLabel(&m_stDate, "Date", IDS_CURRENT_DATE, mode);
    SetLabelText(&m_stDate, CurrentDateText().c_str());
    CString text;
    SkinLabel(&m_stResolution, "Resolution", IDS_RESOLUTION, mode);
    text.Format("%dX%d", m_capture.Settings().outputWidth, m_capture.Settings().outputHeight);
    SetLabelText(&m_stResolution, text);
    SkinLabel(&m_stCaptureTime, "CaptureTime", 0, mode);
    text.Format("%02d:%02d:%02d / %04d MB", 0, 0, 0, 0);
    SetLabelText(&m_stCaptureTime, text);
    SkinLabel(&m_stHDSpace, "HDSpaceDisplay", 0, mode);
    SetLabelText(&m_stHDSpace, FreeSpaceText());
    m_stCaptureTime.ShowWindow(SW_HIDE);
    m_stHDSpace.ShowWindow(SW_SHOW);
    for (CStaticEx* label : {&m_stResolution, &m_stDate, &m_stCaptureTime})
        SkinLabelBackground(label, "Zentrik\\static1.png", mode);

    SkinTextButton(&m_btnThumbUp, "Thumbanail_Up", IDS_UP, 0, mode);
    SkinTextButton(&m_btnThumbDown, "Thumbanail_Down", IDS_DOWN, 0, mode);
    m_btnThumbUp.ShowWindow(SW_HIDE);
    m_btnThumbDown.ShowWindow(SW_HIDE);

    SkinScrollSlider(&m_sldDisplay, "DispSlider", mode, FALSE);
    m_sldDisplay.SendMessage(TBM_SETPAGESIZE, 0, 1);
    MoveToSkinRect(m_sldDisplay, "DispSlider", mode);
    m_sldDisplay.ShowWindow(SW_HIDE);

    SkinTextButton(&m_btnPause, "PrePause", IDS_PAUSE, 0, mode);
    SkinTextButton(&m_btnPlay, "PrePlay", IDS_PLAY, 0, mode);
    SkinTextButton(&m_btnStop, "PreStop", IDS_STOP_TIP, 0, mode);
    SkinSlider(&m_sldPlay, "PreSlider");
    MoveToSkinRect(m_sldPlay, "PreSlider", mode);
}

void CMainDlg::RelayoutControls() {
    const int mode = m_sizeMode;
    PlacePreview();
    m_capture.SetPreviewArea(m_previewShowRect.left, m_previewShowRect.top, m_previewShowRect.right,
                             m_previewShowRect.bottom);
    if (CWnd* frame = GetParent()) {
        RECT client;
        frame->GetClientRect(&client);
        ::AdjustWindowRect(&client, GetStyle(), FALSE);
        SetWindowPos(&wndTop, 0, 0, client.right - client.left, client.bottom - client.top, SWP_NOMOVE);
    }
    for (auto& [window, section] : std::initializer_list<std::pair<CWnd*, const char*>>{
             {&m_strip, "DisplayArea"}, {&m_btnSetup, "Setup"}, {&m_btnEnhance, "Enhance"}, {&m_btnEffect, "Effect"},
             {&m_btnSwitch, "Switch"}, {&m_btnSaveAs, "SaveAs"}, {&m_btnEMail, "EMail"}, {&m_btnTrash, "Trash"}})
        MoveToSkinRect(*window, section, mode);
    if (mode == 0) {
        MoveToSkinRect(m_btnClose, "UiClose", mode);
        MoveToSkinRect(m_btnMax, "UiMax", mode);
        MoveToSkinRect(m_btnMin, "UiMin", mode);
        MoveToSkinRect(m_btnInfo, "UiInfo", mode);
    } else {
        MoveToSkinRect(m_btnClose, "s_UiClose", mode);
        MoveToSkinRect(m_btnSMax, "s_UiMax", mode);
        MoveToSkinRect(m_btnMin, "s_UiMin", mode);
        MoveToSkinRect(m_btnInfo, "s_UiInfo", mode);
    }
    for (auto& [window, section] : std::initializer_list<std::pair<CWnd*, const char*>>{
             {&m_stDate, "Date"}, {&m_stResolution, "Resolution"}, {&m_stCaptureTime, "CaptureTime"},
             {&m_stHDSpace, "HDSpaceDisplay"}, {&m_btnThumbUp, "Thumbanail_Up"},
             {&m_btnThumbDown, "Thumbanail_Down"}, {&m_btnVoice, "DREMVoice"}, {&m_btnMute, "DREMMute"},
             {&m_chkVideo, "DREMVideo"}, {&m_btnStopRecord, "StopRecord"}, {&m_btnRecord, "Record"},
             {&m_chkSnapshot, "SnapShot"}, {&m_chkContinue, "Continue"}, {&m_chkAuto, "Auto"},
             {&m_chkInterval, "Interval"}, {&m_btnPause, "PrePause"}, {&m_btnPlay, "PrePlay"},
             {&m_btnStop, "PreStop"}, {&m_sldPlay, "PreSlider"}, {&m_sldDisplay, "DispSlider"}})
        MoveToSkinRect(*window, section, mode);
    PlacePreview();
    if (m_viewer.GetSafeHwnd())
        m_viewer.Place(mode);
}
