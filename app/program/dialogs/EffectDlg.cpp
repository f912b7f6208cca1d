#include "EffectDlg.h"

#include <SkinSettings.h>

#include <cstdio>

#include "GroupLayout.h"
#include "ProgramGlobals.h"
#include "resource.h"

namespace {

constexpr int kPhotoFrame = 0;
constexpr int kDateTime = 10;
constexpr int kRowPixels = 133;

// Tile n of a skin area: its "Image%d" and "Level%d" values (each at least MAX_PATH bytes).
void ReadTileValues(const char* area, int n, char* image, char* level) {
    char key[32];
    std::snprintf(key, sizeof key, "Image%d", n);
    ql_GetSettingString(area, key, g_skinSettingsPath, image);
    std::snprintf(key, sizeof key, "Level%d", n);
    ql_GetSettingString(area, key, g_skinSettingsPath, level);
}

} // namespace

BEGIN_MESSAGE_MAP(CEffectDlg, CDialog)
    ON_MESSAGE(WM_ZENTRIK_EFFECT_PICKED, OnTilePicked)
    ON_BN_CLICKED(IDC_EF_NO_EFFECT, OnNoEffect)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CEffectDlg::CEffectDlg(CWnd* parent) : CDialog(IDD_EFFECTS, parent) {}

CEffectDlg::~CEffectDlg() = default;

void CEffectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EF_SCROLL, m_scroll);
    DDX_Control(pDX, IDC_EF_NO_EFFECT, m_btnNoEffect);
    DDX_Control(pDX, IDOK, m_btnOk);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

BOOL CEffectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateTileFont();
    FillStampFont();
    FillEffects();
    if (m_effectIndex == 4 || m_effectIndex == 5)
        m_firstRow = 1;
    else if (m_effectIndex == 6 || m_effectIndex == 7)
        m_firstRow = 2;
    m_effects.ScrollRows(m_firstRow);
    m_scroll.SetScrollPos(m_firstRow);
    FillFrames();
    ShowFrameChoice(m_effectIndex == kPhotoFrame);
    return TRUE;
}

// "font_size" is a face and a height; the face is cut to the font record's room.
void CEffectDlg::CreateTileFont() {
    char value[MAX_PATH] = {};
    char face[LF_FACESIZE] = "Tahoma";
    int height = 12;
    if (ql_GetSettingString("Zentrik", "font_size", g_skinSettingsPath, value)) {
        char word[LF_FACESIZE] = {};
        int number = 0;
        if (std::sscanf(value, "%31s %d", word, &number) == 2) {
            lstrcpynA(face, word, LF_FACESIZE);
            height = number;
        }
    }
    m_tileFont.CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, face);
}

void CEffectDlg::FillStampFont() {
    m_stampFont = {};
    m_stampFont.lfHeight = 24;
    m_stampFont.lfWidth = 12;
    m_stampFont.lfWeight = FW_NORMAL;
    m_stampFont.lfPitchAndFamily = FF_SWISS;
    lstrcpynA(m_stampFont.lfFaceName, "System", LF_FACESIZE);
}

RECT CEffectDlg::ChildRect(int id) const {
    RECT rect = {};
    if (CWnd* child = GetDlgItem(id)) {
        child->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

// The group box's title is drawn in the box's own font.
int CEffectDlg::TitleHeight(int groupId) {
    CWnd* box = GetDlgItem(groupId);
    if (!box)
        return 0;
    CClientDC dc(box);
    CFont* old = dc.SelectObject(box->GetFont());
    TEXTMETRICA metrics = {};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(old);
    return metrics.tmHeight;
}

RECT CEffectDlg::GroupRoom(int groupId, int rightEdge) {
    return GroupInside(ChildRect(groupId), TitleHeight(groupId), rightEdge);
}

// The effect list's room ends at its scroll bar.
RECT CEffectDlg::EffectRoom() { return GroupRoom(IDC_EF_EFFECT_GROUP, ChildRect(IDC_EF_SCROLL).left); }

// The skin area's size (its position is ignored); without it, the room in the group box.
SIZE CEffectDlg::AreaSize(const char* area, const RECT& room) const {
    RECT skin = {};
    if (ql_GetSettingRect(area, "rect", g_skinSettingsPath, &skin))
        return {skin.right - skin.left, skin.bottom - skin.top};
    return {room.right - room.left, room.bottom - room.top};
}

// The template is laid out in dialog units, the skin's list in pixels: where the font makes the
// effect group too small for the list, the group, its scroll bar and the dialog grow by the difference,
// and what lies to the right of the group or along its bottom edge moves with it.
void CEffectDlg::GrowEffectGroup(SIZE growth) {
    if (growth.cx <= 0 && growth.cy <= 0)
        return;
    const RECT group = ChildRect(IDC_EF_EFFECT_GROUP);
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        RECT place = {};
        child->GetWindowRect(&place);
        ScreenToClient(&place);
        const int id = child->GetDlgCtrlID();
        if (id == IDC_EF_EFFECT_GROUP) {
            place.right += growth.cx;
            place.bottom += growth.cy;
        } else if (id == IDC_EF_SCROLL) {
            ::OffsetRect(&place, growth.cx, 0);
            place.bottom += growth.cy;
        } else {
            const bool right = place.left >= group.right;
            const bool bottom = id == IDOK || id == IDCANCEL || id == IDC_EF_NO_EFFECT;
            ::OffsetRect(&place, right ? growth.cx : 0, bottom ? growth.cy : 0);
        }
        child->MoveWindow(&place, FALSE);
    }
    RECT window = {};
    GetWindowRect(&window);
    MoveWindow(window.left, window.top, window.right - window.left + growth.cx,
               window.bottom - window.top + growth.cy, FALSE);
    CenterWindow();
}

void CEffectDlg::FillEffects() {
    const SIZE size = AreaSize("EffectArea", EffectRoom());
    GrowEffectGroup(GrowthToHold(EffectRoom(), size));
    m_effects.CreateList(this, PlaceListIn(EffectRoom(), size), &m_tileFont);
    int count = 0;
    ql_GetSettingInt("EffectArea", "count", g_skinSettingsPath, &count);
    for (int n = 0; n < count; ++n) {
        char image[MAX_PATH] = {}, label[MAX_PATH] = {};
        ReadTileValues("EffectArea", n, image, label);
        m_effects.AddEffect(n, g_skinFolder + image, label, n == m_effectIndex);
    }
    // Fewer than four tiles leave nothing to scroll.
    m_scroll.SetScrollRange(0, count / 2 - 2 > 0 ? count / 2 - 2 : 0);
}

void CEffectDlg::FillFrames() {
    const RECT room = GroupRoom(IDC_EF_PROPERTY_GROUP, 0);
    m_frames.CreateList(this, PlaceListIn(room, AreaSize("PropertyArea", room)), &m_tileFont);
    int count = 0;
    ql_GetSettingInt("PropertyArea", "count", g_skinSettingsPath, &count);
    for (int n = 0; n < count; ++n) {
        char thumb[MAX_PATH] = {}, frame[MAX_PATH] = {};
        ReadTileValues("PropertyArea", n, thumb, frame);
        m_frames.AddFrame(g_skinFolder + thumb, g_skinFolder + frame, n == m_propertyIndex);
    }
}

void CEffectDlg::ShowFrameChoice(BOOL show) {
    m_frames.ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (CWnd* note = GetDlgItem(IDC_EF_PROPERTY_NOTE))
        note->ShowWindow(show ? SW_HIDE : SW_SHOW);
}

LRESULT CEffectDlg::OnTilePicked(WPARAM wParam, LPARAM lParam) {
    if (!m_capture)
        return 0;
    if (wParam == 0) {
        m_effectIndex = static_cast<int>(lParam);
        if (m_effectIndex == kPhotoFrame) {
            ShowFrameChoice(TRUE);
            m_capture->ClearEffect();
            m_capture->SetDateTime(0, 0);
            return 0;
        }
        ShowFrameChoice(FALSE);
        m_capture->SetPhotoFrame(0, m_frameFile);
        if (m_effectIndex == kDateTime) {
            m_capture->ClearEffect();
            m_capture->SetStampFont(m_stampFont);
            m_capture->SetDateTime(1, 0);
        } else {
            m_capture->ClearEffect();
            m_capture->SetDateTime(0, 0);
            m_capture->ApplySpecialEffect(m_effectIndex);
        }
    } else if (m_effectIndex == kPhotoFrame) {
        lstrcpynW(m_frameFile, reinterpret_cast<const WCHAR*>(lParam), MAX_PATH);
        m_capture->SetPhotoFrame(1, m_frameFile);
    }
    return 0;
}

void CEffectDlg::OnNoEffect() {
    m_effectIndex = -1;
    m_propertyIndex = -1;
    if (m_capture) {
        m_capture->SetPhotoFrame(0, L"");
        m_capture->SetDateTime(0, 0);
        m_capture->ClearEffect();
    }
    EndDialog(IDCANCEL);
}

void CEffectDlg::OnVScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    if (!scrollBar || scrollBar->m_hWnd != m_scroll.m_hWnd)
        return;
    int pos = m_scroll.GetScrollPos();
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP: --pos; break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: ++pos; break;
    case SB_THUMBPOSITION: pos = static_cast<int>(position); break;
    default: return; // thumb tracking moves nothing until the drag ends
    }
    m_scroll.SetScrollPos(pos);
    const int now = m_scroll.GetScrollPos(); // clamped to the range
    m_effects.ScrollRows(now - m_firstRow);
    m_firstRow = now;
}

void CEffectDlg::OnOK() {
    m_effectIndex = m_effects.SelectedIndex();
    m_propertyIndex = m_frames.SelectedIndex();
    if (m_effectIndex != kPhotoFrame)
        m_frameFile[0] = 0;
    EndDialog(IDOK);
}

void CEffectDlg::OnCancel() { CDialog::OnCancel(); }
