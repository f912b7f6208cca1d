#pragma once
// The contrast/brightness plug-in's property page: enable, and contrast and brightness -100..100 each
// as a trackbar and an edit. Every change reaches the filter at once; Apply keeps it; closing
// without Apply puts back the values read at connection or at the last Apply.
#include "QelFilterParams.h"

#include "params_page.h"

class CContrastBrightnessPage : public CParamsPage<IQelContrastBrightnessParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CContrastBrightnessPage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Values {
        int enable = 0;
        int contrast = 0;
        int brightness = 0;
    };
    // One of the two values with its controls.
    struct Control {
        int trackbar;
        int edit;
        int Values::*value;
        HRESULT (STDMETHODCALLTYPE IQelContrastBrightnessParams::*send)(int);
    };
    static const Control kControls[2];

    void InitialiseControls(HWND page);
    void EnableControls(HWND page);
    void ShowValue(HWND page, const Control& control);
    void OnCommand(HWND page, int id, int code);
    void OnEdited(HWND page, const Control& control);
    void OnScroll(HWND page, WPARAM wParam, HWND trackbar);
    void Send(const Values& values, bool withEnable);

    bool updating_ = false;  // controls being filled by the page: their notifications are not edits
    Values saved_;
    Values current_;
};
