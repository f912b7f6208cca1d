#pragma once
// The special-effect plug-in's property page: enable, the effect from a combo box, and its strength
// within the range the page's effect table gives for it. Every change reaches the filter at once;
// Apply keeps it; closing without Apply puts back the values read at connection or at the last Apply.
#include "QelFilterParams.h"

#include "params_page.h"

class CSpecialEffectPage : public CParamsPage<IQelSpecialEffectParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CSpecialEffectPage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Values {
        int enable = 0;
        int strength = 0;
        int row = 0;  // of the page's effect table
    };

    void InitialiseControls(HWND page);
    // Enables the combo with enable, the strength controls with enable and the row's strength use.
    void EnableControls(HWND page);
    // Range, step and position of the trackbar and the edit's text for the current row and strength.
    void ShowStrength(HWND page);
    void ShowStrengthText(HWND page);
    void OnCommand(HWND page, int id, int code);
    void OnScroll(HWND page, WPARAM wParam, HWND control);

    bool updating_ = false;  // controls being filled by the page: their notifications are not changes
    Values saved_;
    Values current_;
};
