#pragma once
// The rotate plug-in's property page: enable, angle, method and background colour. Every change
// reaches the filter at once; Apply keeps it; closing without Apply puts back the enable and the
// angle read at connection or at the last Apply.
#include "QelFilterParams.h"

#include "command_page.h"

class CRotatePage : public CCommandPage<IQelRotateParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CRotatePage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnApplyChanges() override;

private:
    struct Values {
        int enable = 0;
        int angle = 0;
        int method = 0;
        COLORREF color = 0;
    };

    void InitialiseControls(HWND page) override;
    void EnableControls(HWND page, bool on);
    void OnCommand(HWND page, int id, int code) override;

    Values saved_;
    Values current_;
};
