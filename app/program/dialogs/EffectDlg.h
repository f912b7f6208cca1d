#pragma once
// CEffectDlg: the modal Effects dialog. The skin's effect pictures show as a scrolling grid of tiles and,
// for the photo-frame effect, the frame pictures as a second grid; a pick switches the effect on in the
// live picture at once through the capture controller. OK keeps the selected tiles' indexes; "No
// Effect" switches every effect off and ends as cancelled with both indexes -1.
#include <afxwin.h>

#include "CaptureController.h"
#include "EffectList.h"

class CEffectDlg : public CDialog {
public:
    explicit CEffectDlg(CWnd* parent = nullptr);
    ~CEffectDlg() override;

    int m_effectIndex = -1;            // -1: none
    int m_propertyIndex = -1;          // the frame tile, -1: none
    WCHAR m_frameFile[MAX_PATH] = {};  // the photo frame's picture
    CCaptureController* m_capture = nullptr; // not owned

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg LRESULT OnTilePicked(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNoEffect();
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void CreateTileFont();
    void FillStampFont();
    RECT ChildRect(int id) const; // in client coordinates
    int TitleHeight(int groupId);
    // The room for a list in the group box, ended on the right at rightEdge when that lies inside it.
    RECT GroupRoom(int groupId, int rightEdge);
    RECT EffectRoom();
    SIZE AreaSize(const char* area, const RECT& room) const;
    void GrowEffectGroup(SIZE growth);
    void FillEffects();
    void FillFrames();
    void ShowFrameChoice(BOOL show);

    CScrollBar m_scroll;
    CButton m_btnNoEffect, m_btnOk, m_btnCancel;
    CEffectList m_effects;
    CPropertyList m_frames;
    int m_firstRow = 0;
    CFont m_tileFont;
    LOGFONTA m_stampFont = {};
};
