#pragma once
// The digital zoom plug-in's property page: enable and a five-step zoom trackbar. Every change
// reaches the filter at once; Apply keeps it; closing without Apply puts back the values read at
// connection or at the last Apply.
#include "QelFilterParams.h"

#include "params_page.h"

class CDigitalZoomPage : public CParamsPage<IQelDigitalZoomParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CDigitalZoomPage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
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

    Values saved_;
    Values current_;
};
