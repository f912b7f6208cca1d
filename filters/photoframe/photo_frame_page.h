#pragma once
// The photo frame plug-in's property page: enable and the path of the frame picture. The enable
// reaches the filter at once; the path on Apply.
#include "QelFilterParams.h"

#include "params_page.h"

class CPhotoFramePage : public CParamsPage<IQelPhotoFrameParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CPhotoFramePage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kPathBytes = 260;

    void InitialiseControls(HWND page);
    void EnableControls(HWND page);
    void Browse(HWND page);

    bool initialising_ = false;  // controls being filled: their notifications are not changes
    int savedEnable_ = 0;
    int currentEnable_ = 0;
    char path_[kPathBytes] = {};  // ANSI code page, as the edit shows it
};
