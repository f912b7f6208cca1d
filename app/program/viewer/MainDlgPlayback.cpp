// Playing a clip in the viewer: Play, Pause, Stop, the playback library's position reports and the
// seek slider.
#include "MainDlg.h"

#include "SkinLoader.h"
#include "ViewerRules.h"

void CMainDlg::OnPlay() { m_viewer.Play(); }

void CMainDlg::OnPause() {
    const LONGLONG position = static_cast<LONGLONG>(m_playPosition);
    m_viewer.StopAt(position);
    // The reader's frame replaces the media detector's still, which some systems cannot grab.
    m_viewer.ShowFrameAt(position);
}

void CMainDlg::OnStopPlayback() {
    m_viewer.Stop();
    ResetPlayDisplay();
}

void CMainDlg::StopRunningPlayback() {
    if (m_viewer.IsPlaying())
        m_viewer.Stop();
}

void CMainDlg::ResetPlayDisplay() {
    m_playPosition = 0;
    ShowPlayPosition();
    m_sldPlay.SetPos(0);
}

void CMainDlg::ShowPlayPosition() { SetLabelText(&m_stCaptureTime, PlayTimeText(m_playPosition, m_duration).c_str()); }

LRESULT CMainDlg::OnPlayProgress(WPARAM wParam, LPARAM) {
    // A report that waited past its sender's limit can still arrive once the playback has stopped.
    if (!m_viewer.IsPlaying())
        return 0;
    // The whole 64-bit position: a clip longer than 2^32 x 100 ns (about 429 s) does not wrap.
    const double position = static_cast<double>(static_cast<ULONGLONG>(wParam));
    if (position == m_duration) {
        OnStopPlayback();
        return 0;
    }
    m_playPosition = position;
    ShowPlayPosition();
    int pos = 0;
    if (SeekSliderPos(position, m_duration, &pos))
        m_sldPlay.SetPos(pos);
    m_viewer.OnPlaybackPosition(static_cast<LONGLONG>(position));
    return 0;
}

void CMainDlg::OnHScroll(UINT, UINT, CScrollBar*) {
    m_playPosition = SeekPosition(m_sldPlay.GetPos(), m_duration);
    ShowPlayPosition();
    m_viewer.ShowFrameAt(static_cast<LONGLONG>(m_playPosition));
}
