// Playback mode: the switch between the two modes and their layouts, showing an album item in the
// viewer with its information labels, Save as and the help menu.
#include "MainDlg.h"

#include <afxdlgs.h>
#include <afxhook.h>
#include <qelImage.h>
#include <SkinSettings.h>

#include <initializer_list>

#include "AlbumFileNames.h"
#include "AlbumRules.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "ViewerRules.h"
#include "resource.h"

void CMainDlg::OnSwitch() {
    if (m_captureModeOn && m_recording) {
        AfxMessageBox(IDS_STOP_RECORDING_FIRST);
        return;
    }
    m_captureModeOn = !m_captureModeOn;
    ShowCapturePreview();
    ApplyModeLayout();
    if (m_captureModeOn)
        EnterLiveMode();
    else
        EnterPlaybackMode();
}

void CMainDlg::EnterPlaybackMode() {
    CStringList selected;
    m_strip.GetSelectedPaths(selected, 2);
    CString path;
    if (!selected.IsEmpty())
        path = selected.GetHead();
    else
        m_strip.GetFirstSelected(path, 2);
    if (path.IsEmpty()) {
        m_viewer.ShowFile(nullptr);
        return;
    }
    m_selectedFile = path;
    ShowInViewer(path);
    m_btnEMail.EnableWindow(TRUE);
    m_btnTrash.EnableWindow(TRUE);
    CThumbItem* anchor = m_strip.GetItem(m_strip.GetAnchor());
    if (!anchor)
        return;
    const _AlbumItemInfo& item = anchor->Info();
    if (!item.isPicture)
        StopRunningPlayback();
    m_duration = static_cast<double>(item.duration);
    if (!item.isPicture)
        ResetPlayDisplay();
    FillInfoLabels(item);
}

void CMainDlg::EnterLiveMode() {
    StopRunningPlayback();
    ResetPlayDisplay();
    CString text;
    text.Format("%02d:%02d:%02d / %04d MB", 0, 0, 0, 0);
    SetLabelText(&m_stCaptureTime, text);
    m_stCaptureTime.ShowWindow(m_videoMode ? SW_SHOW : SW_HIDE);
    SetLabelText(&m_stDate, CurrentDateText().c_str());
    const CaptureSettings& settings = m_capture.Settings();
    SetLabelText(&m_stResolution, CaptureSizeText(settings.outputWidth, settings.outputHeight, m_videoMode).c_str());
    SetLabelText(&m_stHDSpace, FreeSpaceText());
    m_stHDSpace.ShowWindow(SW_SHOW);
}

CString CMainDlg::FreeSpaceText() const {
    ULONGLONG freeBytes = 0;
    qelapp::QueryFreeBytes(m_capture.GetVideoFolder(), &freeBytes);
    CString text;
    text.Format("%.2f GB", static_cast<double>(freeBytes / (1024 * 1024)) * (1.0 / 1024));
    return text;
}

void CMainDlg::ApplyModeLayout() {
    const BOOL live = m_captureModeOn;
    for (CButtonEx* button : {&m_btnSetup, &m_btnEffect, &m_btnEnhance})
        button->EnableWindow(live);
    ShowPlaybackControls(!live);
    m_viewer.ShowWindow(live ? SW_HIDE : SW_SHOW);
    if (live) {
        ShowVoiceButtons();
    } else {
        m_btnVoice.ShowWindow(SW_HIDE);
        m_btnMute.ShowWindow(SW_HIDE);
    }
    for (CWnd* control : std::initializer_list<CWnd*>{&m_chkVideo, &m_btnRecord, &m_chkSnapshot, &m_chkAuto,
                                                      &m_chkContinue, &m_chkInterval})
        control->ShowWindow(live ? SW_SHOW : SW_HIDE);
    m_btnStopRecord.ShowWindow(SW_HIDE);
    m_btnSwitch.SetToolTipText(live ? IDS_TO_PLAYBACK : IDS_TO_CAPTURE, TRUE);
    if (live) {
        m_playWndImage.reset();
    } else {
        char key[16];
        wsprintfA(key, "Image%d", m_sizeMode);
        char file[MAX_PATH] = {};
        ql_GetSettingString("Playwnd", key, g_skinSettingsPath, file);
        m_playWndImage = std::make_unique<CImage>();
        LoadSkinPicture(m_playWndImage.get(), g_skinFolder + file, SkinWindowSize(m_sizeMode));
    }
    for (CStaticEx* label : {&m_stResolution, &m_stDate, &m_stCaptureTime, &m_stHDSpace})
        SkinLabelBackground(label, live ? "Zentrik\\static1.png" : "Zentrik\\static2.png", m_sizeMode);
    Invalidate();
    m_strip.UpdateWindow();
}

void CMainDlg::ShowPlaybackControls(BOOL show) {
    for (CWnd* control : std::initializer_list<CWnd*>{&m_btnPause, &m_btnPlay, &m_btnStop, &m_sldPlay})
        control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMainDlg::ShowInViewer(const char* path) {
    // A name with '?' stand-ins is a pattern: the viewer would show another file's picture, or none.
    switch (m_viewer.ShowFile(NamesOneFile(path) ? path : nullptr)) {
    case CPreviewWnd::kShownPicture:
        ShowPlaybackControls(FALSE);
        break;
    case CPreviewWnd::kShownClip:
        ShowPlaybackControls(TRUE);
        break;
    default:
        break;
    }
}

void CMainDlg::FillInfoLabels(const _AlbumItemInfo& item) {
    // Every item shows its size, whatever the capture mode left hidden (Snapshot mode hides the label).
    m_stHDSpace.ShowWindow(SW_SHOW);
    WIN32_FIND_DATAA found;
    HANDLE search = NamesOneFile(item.path) ? ::FindFirstFileA(item.path, &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) {
        // Nothing here may keep describing the item shown before.
        SetLabelText(&m_stHDSpace, "0 KB");
        SetLabelText(&m_stDate, "");
        ShowViewerImageSize();
        return;
    }
    ::FindClose(search);
    const ULONGLONG bytes = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    SetLabelText(&m_stHDSpace, FileSizeKbText(bytes).c_str());
    FILETIME local;
    SYSTEMTIME when;
    if (!::FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &when))
        return;
    SetLabelText(&m_stDate, FileDateText(when).c_str());
    if (item.isPicture) {
        m_duration = 0;
        m_stCaptureTime.ShowWindow(SW_HIDE);
    } else {
        SetLabelText(&m_stCaptureTime, PlayTimeText(0, m_duration).c_str());
        m_stCaptureTime.ShowWindow(SW_SHOW);
    }
    ShowViewerImageSize();
}

void CMainDlg::ShowViewerImageSize() {
    int width = 0, height = 0;
    m_viewer.GetImageSize(&width, &height);
    CString text;
    text.Format("%dX%d", width, height);
    SetLabelText(&m_stResolution, text);
}

// A clip's still arrives after its labels were filled: the pixel size is the still's.
LRESULT CMainDlg::OnViewerStill(WPARAM, LPARAM) {
    if (!m_captureModeOn && NamesOneFile(m_selectedFile) && ::GetFileAttributesA(m_selectedFile) != INVALID_FILE_ATTRIBUTES)
        ShowViewerImageSize();
    return 0;
}

void CMainDlg::UpdateSelectionButtons() {
    CStringList selected;
    m_strip.GetSelectedPaths(selected, 2);
    m_btnSaveAs.EnableWindow(selected.GetCount() == 1);
    m_btnTrash.EnableWindow(!selected.IsEmpty());
    m_btnEMail.EnableWindow(!selected.IsEmpty());
    UpdateUpDownButtons();
}

void CMainDlg::UpdateUpDownButtons() {
    const int anchor = m_strip.GetAnchor();
    m_btnThumbUp.EnableWindow(anchor > 0);
    m_btnThumbDown.EnableWindow(anchor < m_strip.GetCount() - 1);
}

void CMainDlg::ShowAlbumItem(const _AlbumItemInfo& item, BOOL withLabels) {
    StopRunningPlayback();
    m_selectedFile = item.path;
    ShowInViewer(item.path);
    m_duration = static_cast<double>(item.duration);
    if (withLabels)
        FillInfoLabels(item);
}

LRESULT CMainDlg::OnItemClick(WPARAM wParam, LPARAM) {
    const auto* item = reinterpret_cast<const _AlbumItemInfo*>(wParam);
    UpdateSelectionButtons();
    if (item)
        ShowAlbumItem(*item, !m_captureModeOn);
    return 0;
}

LRESULT CMainDlg::OnItemOpen(WPARAM wParam, LPARAM) {
    if (m_recording) {
        AfxMessageBox(IDS_STOP_RECORDING_FIRST);
        return 0;
    }
    const auto* item = reinterpret_cast<const _AlbumItemInfo*>(wParam);
    if (!item)
        return 0;
    // Copied first: the switch below may show another item, whose handlers reuse nothing of this one.
    const _AlbumItemInfo opened = *item;
    if (m_captureModeOn)
        OnSwitch();
    ShowInViewer(opened.path);
    UpdateUpDownButtons();
    if (opened.isPicture)
        return 0;
    StopRunningPlayback();
    m_duration = static_cast<double>(opened.duration);
    FillInfoLabels(opened);
    OnPlay();
    return 0;
}

void CMainDlg::ShowAlbumItemAt(int index) {
    if (m_captureModeOn)
        return;
    if (CThumbItem* item = m_strip.GetItem(index))
        ShowAlbumItem(item->Info(), TRUE);
}

void CMainDlg::OnSaveAs() {
    CString path;
    if (CThumbItem* anchor = m_strip.GetItem(m_strip.GetAnchor()))
        path = anchor->GetPath();
    if (!path.IsEmpty() && !NamesOneFile(path)) {
        CString text;
        text.Format("Cannot copy %s: the program cannot reach the file by its name.",
                    static_cast<const char*>(FileNameAsShown(path)));
        AfxShowMessageBox(m_hWnd, text, "Error", MB_OK);
        return;
    }
    const CString extension = path.GetLength() >= 3 ? path.Right(3) : path;
    CString filter;
    filter.Format("*.%s|*.%s||", static_cast<const char*>(extension), static_cast<const char*>(extension));
    CFileDialog dialog(FALSE, extension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, this);
    if (dialog.DoModal() != IDOK || path.IsEmpty())
        return;
    const CString target = dialog.GetPathName();
    CWaitCursor wait;
    // A target typed with letters the code page lacks comes back with '?' stand-ins: never a name to
    // write to.
    if (!NamesOneFile(target) || !::CopyFileA(path, target, FALSE)) {
        CString text;
        text.Format("Cannot copy the file to %s.", static_cast<const char*>(target));
        AfxShowMessageBox(m_hWnd, text, "Error", MB_OK);
    }
}

void CMainDlg::OnInfo() {
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_HELP_MENU));
    if (!menu)
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (HMENU help = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(help, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}
