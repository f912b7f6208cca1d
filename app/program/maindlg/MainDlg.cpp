// The main dialog's life: construction, start-up, painting and its window procedure.
#include "MainDlg.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <SkinSettings.h>
#include <afxhook.h>

#include <initializer_list>

#include "CameraButton.h"
#include "Mixer.h"
#include "ProfileFile.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "SkinPicture.h"
#include "StartSizeMode.h"
#include "WideText.h"
#include "resource.h"

HANDLE g_indicatorEvent = nullptr;

namespace {

// The picture size of each size mode.
const SIZE kPictureSize[2] = {{480, 360}, {320, 240}};

// The [Enhance] keys in the order of the dialog's enhancement settings.
const char* const kEnhanceKeys[14] = {"Auto",         "Manual",       "Zoom",          "AutoEnhance", "AutoTone",
                                      "AutoLowLight", "AutoClearText", "ZoomValue",    "EnhanceValue", "ToneValue",
                                      "LowLightValue", "ClearTextValue", "Brightness", "Contrast"};

} // namespace

int ReadSizeMode() {
    // A hand-edited value other than 0 or 1 has no layout of its own: every nonzero one is the small mode.
    return CProfileFile(qelapp::SettingsFilePath()).ReadInt("Basic", "dialogsize", 0) != 0 ? 1 : 0;
}

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_UI_CLOSE, OnCloseCommand)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(MM_MIXM_CONTROL_CHANGE, OnMixerChange)
    ON_BN_CLICKED(IDC_THUMB_UP, OnThumbUp)
    ON_BN_CLICKED(IDC_THUMB_DOWN, OnThumbDown)
    ON_WM_VSCROLL()
    ON_BN_CLICKED(IDC_EMAIL, OnEmail)
    ON_BN_CLICKED(IDC_WALLPAPER, OnWallpaper)
    ON_BN_CLICKED(IDC_SCREEN_SAVER, OnScreenSaver)
    ON_BN_CLICKED(IDC_TRASH, OnTrash)
    ON_BN_CLICKED(IDC_UI_MIN, OnMinimize)
    ON_BN_CLICKED(IDC_UI_MAX, OnSizeToggle)
    ON_BN_CLICKED(IDC_UI_SMAX, OnSizeToggle)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
    ON_COMMAND(ID_HELP_FILE, OnHelp)
    ON_BN_CLICKED(IDC_SWITCH, OnSwitch)
    ON_BN_CLICKED(IDC_SAVE_AS, OnSaveAs)
    ON_BN_CLICKED(IDC_UI_INFO, OnInfo)
    ON_BN_CLICKED(IDC_PLAY, OnPlay)
    ON_BN_CLICKED(IDC_PAUSE, OnPause)
    ON_BN_CLICKED(IDC_STOP, OnStopPlayback)
    ON_MESSAGE(WM_ZENTRIK_ITEM_OPEN, OnItemOpen)
    ON_MESSAGE(WM_ZENTRIK_SCAN_ENDED, OnScanEnded)
    ON_MESSAGE(WM_ZENTRIK_ITEM_CLICK, OnItemClick)
    ON_MESSAGE(WM_ZENTRIK_VIEWER_STILL, OnViewerStill)
    ON_MESSAGE(WM_ZENTRIK_PLAY_PROGRESS, OnPlayProgress)
    ON_WM_HSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_CBN_SELCHANGE(IDC_RESOLUTION_COMBO, OnResolutionChange)
    ON_CBN_SELCHANGE(IDC_VIDEO_FORMAT, OnVideoFormatChange)
    ON_BN_CLICKED(IDC_ENHANCE, OnEnhance)
    ON_BN_CLICKED(IDC_EFFECT, OnEffects)
    ON_BN_CLICKED(IDC_SETUP, OnSetup)
    ON_MESSAGE(WM_ZENTRIK_VIDEO_SETTINGS, OnVideoSettingsRequest)
    ON_MESSAGE(WM_ZENTRIK_CAMERA_CHOSEN, OnCameraChosen)
    ON_MESSAGE(WM_ZENTRIK_RESOLUTION_TEXT, OnResolutionText)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_VIDEO, OnVideoMode)
    ON_BN_CLICKED(IDC_VOICE, OnVoice)
    ON_BN_CLICKED(IDC_MUTE, OnMute)
    ON_BN_CLICKED(IDC_RECORD, OnRecordClicked)
    ON_BN_CLICKED(IDC_STOP_RECORD, OnStopRecordClicked)
    ON_BN_CLICKED(IDC_SNAPSHOT, OnSnapshotMode)
    ON_BN_CLICKED(IDC_CONTINUE, OnContinue)
    ON_BN_CLICKED(IDC_AUTO, OnAuto)
    ON_BN_CLICKED(IDC_INTERVAL, OnInterval)
    ON_MESSAGE(WM_ZENTRIK_EXTERNAL_KEY, OnExternalKey)
END_MESSAGE_MAP()

CMainDlg::CMainDlg() : CDialog(IDD_MAIN) {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
    m_icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ZENTRIK));
    g_indicatorEvent = nullptr;
    CProfileFile settings(qelapp::SettingsFilePath());
    m_savedSizeMode = ReadSizeMode();
    m_sizeMode = StartSizeMode();
    m_effectIndex = settings.ReadInt("Effect", "EffectIndex", -1);
    m_propertyIndex = settings.ReadInt("Effect", "PropertyIndex", -1);
    const std::wstring name = qelapp::Widen(settings.ReadText("Effect", "PropertyName", ""));
    lstrcpynW(m_propertyName, name.c_str(), MAX_PATH);
}

CMainDlg::~CMainDlg() {
    CProfileFile settings(qelapp::SettingsFilePath());
    settings.WriteInt("Basic", "dialogsize", m_savedSizeMode); // a mode taken for a small screen is not saved
    settings.WriteInt("Effect", "EffectIndex", m_effectIndex);
    settings.WriteInt("Effect", "PropertyIndex", m_propertyIndex);
    char name[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, m_propertyName, -1, name, sizeof name, nullptr, nullptr);
    settings.WriteText("Effect", "PropertyName", name);
    delete[] m_motionBuffer;
    m_motionBuffer = nullptr;
    if (m_timerId && m_hWnd)
        KillTimer(m_timerId);
    g_cameraNames.RemoveAll();
    g_audioDeviceNames.RemoveAll();
    g_captureSizes.RemoveAll();
    if (m_mixer)
        ::mixerClose(m_mixer);
}

void CMainDlg::SetBackgroundImage(const char* path) {
    m_background = std::make_unique<CImage>();
    LoadSkinPicture(m_background.get(), path);
}

void CMainDlg::ShowCapturePreview() { m_capture.ShowLivePreview(m_captureModeOn ? TRUE : FALSE); }

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    OpenMixer();
    CreateButtonFont();
    PlacePreview();
    PlaceDialog();
    SkinControls();
    CreateStrip();
    m_viewer.Create(this, m_sizeMode);
    LoadSounds();
    if (!OpenLiveMode()) {
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_ZENTRIK_CLOSE);
        return FALSE;
    }
    ApplyEngineSettings();
    LoadEnhanceSettings();
    const int* e = m_enhance;
    m_capture.SetEnhance(e[3], e[8]);
    m_capture.SetTone(e[4], e[9]);
    m_capture.SetLowLight(e[5], e[10]);
    m_capture.SetWhiteBoard(e[6], e[11]);
    m_capture.SetContrastBrightness(e[1], e[12], e[13]);
    m_capture.SetDigitalZoom(e[2], e[7]);
    ApplySavedEffect();
    SayDocumentsStandIn();
    // The album is still empty here (its scan fills it later): nothing to save or switch to yet.
    m_btnSaveAs.EnableWindow(FALSE);
    m_btnSwitch.EnableWindow(FALSE);
    StartThumbScan();
    return TRUE;
}

void CMainDlg::OpenMixer() {
    OpenMicrophoneMixer(m_hWnd, &m_mixer, &m_muteControlId, &m_volumeControlId);
    m_voiceOn = !IsMicrophoneMuted(m_mixer, m_muteControlId);
}

void CMainDlg::CreateButtonFont() {
    int size = 10;
    char face[MAX_PATH] = "Tahoma";
    ql_GetSettingInt("button font", "font_size", g_skinSettingsPath, &size);
    ql_GetSettingString("button font", "font_name", g_skinSettingsPath, face);
    m_buttonFont.CreateFont(size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, face);
}

void CMainDlg::PlacePreview() {
    ReadSkinRect("PreviewArea", m_sizeMode, &m_previewArea);
    m_previewShowRect.left = m_previewArea.left;
    m_previewShowRect.top = m_previewArea.top;
    m_previewShowRect.right = m_previewArea.left + kPictureSize[m_sizeMode].cx;
    m_previewShowRect.bottom = m_previewArea.top + kPictureSize[m_sizeMode].cy;
}

void CMainDlg::PlaceDialog() {
    CWnd* frame = GetParent();
    if (!frame)
        return;
    RECT client;
    frame->GetClientRect(&client);
    ::AdjustWindowRect(&client, GetStyle(), FALSE);
    MoveWindow(&client, TRUE);
}

void CMainDlg::LoadSounds() {
    char value[MAX_PATH] = {};
    ::GetPrivateProfileStringA("sound", "Record", "", value, sizeof value, g_skinSettingsPath);
    m_recordSound = g_skinFolder + value;
    value[0] = '\0';
    ::GetPrivateProfileStringA("sound", "Snapshot", "", value, sizeof value, g_skinSettingsPath);
    m_snapshotSound = g_skinFolder + value;
}

void CMainDlg::ApplyEngineSettings() {
    CaptureSettings& settings = m_capture.Settings();
    m_capture.SetAudioOn(m_voiceOn);
    m_capture.SetRecordFormat(settings.videoFileType);
    const DWORD size = MAKELONG(settings.outputWidth, settings.outputHeight);
    for (INT_PTR i = 0; i < g_captureSizes.GetSize(); ++i)
        if (g_captureSizes.GetAt(i) == size) {
            m_capture.SetCaptureSize(settings.outputWidth, settings.outputHeight);
            break;
        }
    if (settings.mirror)
        m_capture.SetFlip(1, 1);
    m_itemInfo.width = settings.outputWidth;
    m_itemInfo.height = settings.outputHeight;
}

void CMainDlg::ApplySavedEffect() {
    if (m_effectIndex == -1)
        return;
    m_capture.ClearEffect();
    if (m_effectIndex >= 0 && m_effectIndex <= 10)
        m_capture.ApplyEffect(m_effectIndex, m_propertyIndex, m_propertyName);
}

void CMainDlg::LoadEnhanceSettings() {
    // The capture folders as the controller read them (a default in place of an empty key), made
    // again when they went since; a name with a wildcard names no folder to make.
    for (const CString& folder : {m_capture.GetImageFolder(), m_capture.GetVideoFolder()})
        if (qelapp::NamesOneFile(folder) && ::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
            ::CreateDirectoryA(folder, nullptr);
    CProfileFile settings(qelapp::SettingsFilePath());
    for (int i = 0; i < 14; ++i) {
        const bool half = i >= 8 && i <= 11;
        const char* fallback = half ? "50" : i == 1 ? "1" : "0";
        m_enhance[i] = atoi(settings.ReadText("Enhance", kEnhanceKeys[i], fallback));
    }
}

// Said once, at the start that first puts captures there: the folder is kept in the settings from then on.
void CMainDlg::SayDocumentsStandIn() {
    const CString& folder = m_capture.GetDocumentsStandIn();
    if (folder.IsEmpty())
        return;
    CString format, text, caption;
    format.LoadString(IDS_DOCUMENTS_STAND_IN);
    text.Format(format, static_cast<const char*>(folder));
    caption.LoadString(IDS_CAPTION);
    AfxShowMessageBox(m_hWnd, text, caption, MB_OK | MB_ICONINFORMATION);
}

void CMainDlg::SaveEnhanceSettings() {
    CProfileFile settings(qelapp::SettingsFilePath());
    for (int i = 0; i < 14; ++i)
        settings.WriteInt("Enhance", kEnhanceKeys[i], m_enhance[i]);
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWERBROADCAST && wParam == PBT_APMRESUMEAUTOMATIC) {
        // Back from sleep: the frame re-applies the size mode, background and preview.
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_ZENTRIK_SIZE_MODE, m_sizeMode, m_captureModeOn);
    } else if (message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)) {
        return 0; // the screen stays awake while the program runs
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CMainDlg::OnEraseBkgnd(CDC* dc) {
    const int previous = dc->SetBkMode(TRANSPARENT);
    dc->SetBkMode(previous);
    return FALSE; // OnPaint draws everything
}

void CMainDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    const int previous = ::SetBkMode(dc, TRANSPARENT);
    {
        Gdiplus::Graphics graphics(dc);
        if (m_background && m_background->Width())
            graphics.DrawImage(m_background.get(), 0, 0, static_cast<INT>(m_background->Width()),
                               static_cast<INT>(m_background->Height()));
        RECT play = {};
        if (m_playWndImage && ReadSkinRect("Playwnd", m_sizeMode, &play))
            graphics.DrawImage(m_playWndImage.get(), static_cast<INT>(play.left), static_cast<INT>(play.top),
                               static_cast<INT>(play.right - play.left), static_cast<INT>(play.bottom - play.top));
    }
    ::SetBkMode(dc, previous);
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CMainDlg::OnMixerChange(WPARAM, LPARAM lParam) {
    // The camera-button utility, when running, decides the microphone buttons itself.
    if (FindCameraButtonUtility() || static_cast<DWORD>(lParam) != m_muteControlId)
        return 0;
    m_voiceOn = !IsMicrophoneMuted(m_mixer, m_muteControlId);
    ShowVoiceButtons();
    return 0;
}

