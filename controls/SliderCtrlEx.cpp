// CSliderCtrlEx: strips, range and position, and the thumb's place on the track.
#include "SliderCtrlEx.h"

#include "SliderTrack.h"
#include "StripFile.h"

#include <qelImage.h>

IMPLEMENT_DYNAMIC(CSliderCtrlEx, CSliderCtrl)

BEGIN_MESSAGE_MAP(CSliderCtrlEx, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {

qel_controls::SliderTrack TrackOf(const CRect& range, int min, int span, float unit, int halfThumb) {
    qel_controls::SliderTrack track;
    track.left = range.left;
    track.right = range.right;
    track.min = min;
    track.span = span;
    track.unit = unit;
    track.halfThumb = halfThumb;
    return track;
}

} // namespace

CSliderCtrlEx::CSliderCtrlEx()
    : m_bgColor(GetSysColor(COLOR_WINDOW)), m_channel(NULL), m_thumb(NULL), m_thumbSize(0, 0), m_thumbRect(0, 0, 0, 0),
      m_thumbRange(0, 0, 0, 0), m_thumbState(0), m_lastPoint(0, 0), m_span(0), m_unit(0.0f), m_halfThumb(0),
      m_dragging(FALSE), m_ownStrips(TRUE) {}

CSliderCtrlEx::~CSliderCtrlEx() { ReleaseStrips(); }

void CSliderCtrlEx::ReleaseStrips() {
    if (m_ownStrips) {
        delete m_thumb; // through the image's virtual destructor
        delete m_channel;
    }
    m_thumb = NULL;
    m_channel = NULL;
}

void CSliderCtrlEx::SetBgColor(COLORREF color) { m_bgColor = color; }

void CSliderCtrlEx::SetBorder(CBorder& border) {
    if (m_channel)
        m_channel->SetBorder(border);
}

void CSliderCtrlEx::SetThumbRange(CRect range) {
    m_thumbRange = range;
    m_thumbRect.top = range.top;
    m_thumbRect.bottom = range.bottom;
}

void CSliderCtrlEx::SetRange(int min, int max) {
    const qel_controls::SliderRange range = qel_controls::NormalRange(min, max);
    CSliderCtrl::SetRange(range.min, range.max, FALSE);
    m_span = range.Span();
    m_unit = qel_controls::UnitOf(static_cast<long long>(m_thumbRange.right) - m_thumbRange.left, m_span);
}

void CSliderCtrlEx::SetPos(int pos) {
    if (pos < GetRangeMin() || pos > GetRangeMax())
        return;
    SendMessage(TBM_SETPOS, TRUE, pos);
    xPosToBtnPosition();
    if (IsWindowVisible())
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int CSliderCtrlEx::GetHeight() { return m_channel ? static_cast<int>(m_channel->Height()) : 0; }

int CSliderCtrlEx::LoadBitmapA(CImageArray* channel, CImageArray* thumb, BOOL own) {
    if (!channel || !thumb)
        return 0;
    // A strip the slider already holds is kept: deleting it would leave the slider drawing freed memory.
    if (m_ownStrips && thumb != m_thumb)
        delete m_thumb;
    m_thumb = thumb;
    const int frameWidth = static_cast<int>(thumb->Width()) / 4;
    const int height = static_cast<int>(thumb->Height());
    m_thumbSize = CSize(frameWidth, height);
    m_thumbRect = CRect(5, 0, 5 + frameWidth, height);
    m_halfThumb = frameWidth / 2;
    if (m_ownStrips && channel != m_channel)
        delete m_channel;
    m_channel = channel;
    m_ownStrips = own;
    if (GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        client.DeflateRect(12, 0);
        client.bottom = client.top + height;
        SetThumbRange(client);
    }
    return 1;
}

int CSliderCtrlEx::LoadBitmapA(const char* channelFile, const char* thumbFile) {
    if (!channelFile || !thumbFile)
        return 0;
    CImageArray* thumb = qel_controls::LoadReadableStrip(thumbFile, 4);
    CImageArray* channel = qel_controls::LoadReadableStrip(channelFile, 1);
    if (!thumb || !channel) {
        delete thumb;
        delete channel;
        return 0;
    }
    return LoadBitmapA(channel, thumb, TRUE);
}

void CSliderCtrlEx::xPosToBtnPosition() {
    const auto track = TrackOf(m_thumbRange, GetRangeMin(), m_span, m_unit, m_halfThumb);
    int centre = 0;
    if (!qel_controls::CentreForPos(track, GetPos(), &centre))
        return; // no range yet: the thumb stays
    const int width = m_thumbRect.Width();
    m_thumbRect.left = centre - width / 2;
    m_thumbRect.right = m_thumbRect.left + width;
    m_lastPoint = CPoint(ThumbCentreX(), (m_thumbRect.top + m_thumbRect.bottom) / 2);
}

void CSliderCtrlEx::xBtnPositionToPos() {
    const auto track = TrackOf(m_thumbRange, GetRangeMin(), m_span, m_unit, m_halfThumb);
    SendMessage(TBM_SETPOS, TRUE, qel_controls::PosForCentre(track, ThumbCentreX()));
}

void CSliderCtrlEx::UnitOffset(CPoint point, CRect& rect) {
    const auto track = TrackOf(m_thumbRange, GetRangeMin(), m_span, m_unit, m_halfThumb);
    rect.left = qel_controls::SnappedThumbLeft(track, point.x);
    rect.right = rect.left + m_thumbSize.cx;
}

BOOL CSliderCtrlEx::xAdjustBtn(CPoint point) {
    const auto track = TrackOf(m_thumbRange, GetRangeMin(), m_span, m_unit, m_halfThumb);
    int left = 0;
    if (!qel_controls::AdjustThumb(track, m_thumbRect.left, m_thumbRect.Width(), m_lastPoint.x, point.x, &left))
        return FALSE;
    m_thumbRect.left = left;
    m_thumbRect.right = left + m_thumbSize.cx;
    m_lastPoint = point;
    xBtnPositionToPos();
    return TRUE;
}

int CSliderCtrlEx::ThumbCentreX() const { return m_thumbRect.left + m_thumbRect.Width() / 2; }

BOOL CSliderCtrlEx::InWidenedTrack(CPoint point) const {
    CRect widened = m_thumbRange;
    widened.InflateRect((m_thumbSize.cx + 1) / 2, 0);
    return widened.PtInRect(point);
}

BOOL CSliderCtrlEx::xHitThum(CPoint point) {
    if (!m_thumb || !m_thumbRect.PtInRect(point))
        return FALSE;
    if (!Gdiplus::IsAlphaPixelFormat(m_thumb->GetPixelFormat()))
        return TRUE;
    Gdiplus::Color pixel;
    if (m_thumb->GetPixel(point.x - m_thumbRect.left, point.y - m_thumbRect.top, &pixel) != Gdiplus::Ok)
        return TRUE; // an unreadable pixel counts as opaque
    return pixel.GetA() != 0;
}
