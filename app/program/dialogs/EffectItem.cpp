#include "EffectItem.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>

#include "EffectList.h"
#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "WideText.h"

namespace {

constexpr int kCaptionBand = 20; // the bottom of an effect tile that holds the caption

} // namespace

BEGIN_MESSAGE_MAP(CTile, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTile::CTile(CTileList* list, COLORREF panelColor) : m_list(list), m_panelColor(panelColor) {}

CTile::~CTile() = default;

BOOL CTile::CreateTile(const RECT& rect, UINT id, const char* pictureFile) {
    m_image = std::make_unique<CImage>();
    // A missing file, or one larger than the screen (refused before it is decoded), leaves the tile empty.
    LoadSkinPicture(m_image.get(), pictureFile, SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    const LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return Create(cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, m_list, id);
}

void CTile::SetSelected(BOOL selected) {
    m_selected = selected;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CTile::OnLButtonDown(UINT flags, CPoint point) {
    CWnd::OnLButtonDown(flags, point);
    if (::GetFileAttributesA(PickedFile()) == INVALID_FILE_ATTRIBUTES)
        return;
    SetFocus();
    m_list->SendMessage(WM_ZENTRIK_EFFECT_PICKED, PickKind(), PickValue());
    SetSelected(!m_selected);
}

void CTile::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    Paint(dc, client);
    ::EndPaint(m_hWnd, &paint);
}

void CTile::OnDestroy() {
    m_selected = FALSE;
    m_image.reset();
    CWnd::OnDestroy();
}

void CTile::DrawPicture(HDC dc, int x, int y, int width, int height) {
    if (!m_image || !m_image->Width())
        return;
    Gdiplus::Graphics graphics(dc);
    m_image->DrawImage(graphics, x, y, width, height, 0, 0, static_cast<int>(m_image->Width()),
                       static_cast<int>(m_image->Height()));
}

void CTile::FrameWith(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FrameRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

CEffectItem::CEffectItem(CTileList* list, COLORREF panelColor, int index, CFont* font, const char* pictureFile,
                         const char* label)
    : CTile(list, panelColor), m_index(index), m_font(font), m_pictureFile(pictureFile) {
    m_caption.Format(" %-16s ", label);
}

CEffectItem::~CEffectItem() = default;

void CEffectItem::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    const RECT pictureArea = {client.left, client.top, client.right, client.bottom - kCaptionBand};
    FrameWith(dc, pictureArea, m_selected ? RGB(255, 0, 0) : m_panelColor);
    DrawPicture(dc, 1, 1, client.right - 2, client.bottom - kCaptionBand - 2);
    RECT caption = {client.left, client.bottom - 18, client.right, client.bottom};
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = m_font ? ::SelectObject(dc, m_font->GetSafeHandle()) : nullptr;
    ::DrawTextA(dc, m_caption, m_caption.GetLength(), &caption,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (oldFont)
        ::SelectObject(dc, oldFont);
    ::SetBkMode(dc, oldMode);
}

CPropertyItem::CPropertyItem(CTileList* list, COLORREF panelColor, CFont* font, const char* thumbFile,
                             const char* frameFile)
    : CTile(list, panelColor), m_font(font), m_thumbFile(thumbFile), m_frameFile(frameFile),
      m_frameFileWide(qelapp::Widen(frameFile)) {}

CPropertyItem::~CPropertyItem() = default;

void CPropertyItem::Paint(HDC dc, const RECT& client) {
    HBRUSH panel = ::CreateSolidBrush(m_panelColor);
    ::FillRect(dc, &client, panel);
    ::DeleteObject(panel);
    FrameWith(dc, client, m_selected ? RGB(255, 0, 0) : m_panelColor);
    DrawPicture(dc, 1, 1, client.right - 2, client.bottom - 2);
}
