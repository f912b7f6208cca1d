// CButtonEx's tooltip: created on first use, fed the mouse messages, text from a string or a resource.
#include "ButtonEx.h"

#include "ButtonLook.h"

#include <string>

void CButtonEx::InitToolTip() {
    if (m_tooltip.GetSafeHwnd())
        return;
    m_tooltip.Create(this, TTS_ALWAYSTIP);
    m_tooltip.Activate(FALSE);
}

void CButtonEx::ActivateTooltip(BOOL activate) {
    if (m_tooltip.GetSafeHwnd() && m_tooltip.GetToolCount() > 0)
        m_tooltip.Activate(activate);
}

void CButtonEx::SetToolTipText(const char* text, BOOL activate) {
    if (!text)
        return;
    InitToolTip();
    if (!m_tooltip.GetSafeHwnd())
        return;
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_tooltip.AddTool(this, text, &client, 1);
    }
    m_tooltip.UpdateTipText(text, this, 1);
    m_tooltip.Activate(activate);
}

void CButtonEx::SetToolTipText(int stringId, BOOL activate) {
    char buffer[1024] = {};
    LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(stringId), buffer, sizeof buffer);
    const auto parts = qel_controls::SplitTooltipResource(buffer);
    m_statusText = parts.status.c_str();
    if (!parts.tooltip.empty())
        SetToolTipText(parts.tooltip.c_str(), activate);
}

BOOL CButtonEx::PreTranslateMessage(MSG* msg) {
    InitToolTip();
    if (m_tooltip.GetSafeHwnd() &&
        (msg->message == WM_LBUTTONDOWN || msg->message == WM_LBUTTONUP || msg->message == WM_MOUSEMOVE))
        m_tooltip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}
