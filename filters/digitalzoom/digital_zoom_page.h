#pragma once
// The digital zoom plug-in's property page: enable and a five-step zoom trackbar. Every change
// reaches the filter at once; Apply keeps it; closing without Apply puts back the values read at
// connection or at the last Apply.
#include "QelFilterParams.h"

#include "qeldshow/property_page.h"

class CDigitalZoomPage : public CBasePropertyPage {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CDigitalZoomPage(IUnknown* outer);
    ~CDigitalZoomPage() override;

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnDeactivate() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Values {
        int enable = 0;
        int step = 0;  // index into the zoom steps
    };

    void InitialiseControls(HWND page);
    void ShowFactor(HWND page);
    void OnTrackbar(HWND page);

    IQelDigitalZoomParams* params_ = nullptr;  // owned reference while connected
    bool active_ = false;
    Values saved_;
    Values current_;
};
