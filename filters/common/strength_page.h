#pragma once
// The one-slider property page of the whiteboard, low-light, auto tone and auto enhance plug-ins: an
// enable check box and a strength 0..100 as a trackbar and an edit. Every change reaches the filter at
// once (a live preview); Apply keeps it; closing the page without Apply puts back the enable and the
// strength read at connection or at the last Apply. Each plug-in's resources hold the dialog (101,
// from strength_page.rc) and its own title (string 1015).
#include "QelFilterParams.h"

#include "params_page.h"

class CStrengthPage : public CParamsPage<IQelStrengthParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CStrengthPage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnDeactivate() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void InitialiseControls(HWND page);
    void EnableStrengthControls(HWND page, bool on);
    void OnEnableClicked(HWND page);
    void OnStrengthEdited(HWND page);
    void OnTrackbarMoved(HWND page, HWND trackbar);

    bool initialising_ = false; // controls being filled: their notifications are not edits
    int savedEnable_ = 0;
    int currentEnable_ = 0;
    int savedStrength_ = 50;
    int currentStrength_ = 50;
    HWND trackbar_ = nullptr;
};
