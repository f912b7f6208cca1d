#pragma once
// The date and time plug-in's property page: enable, font and size, colour, and either a start
// position or an aligned place with its padding. Every change reaches the filter at once; Apply
// keeps it; closing without Apply sends back the values read at connection or at the last Apply.
#include "QelFilterParams.h"
#include "font_list.h"

#include "qeldshow/module.h"
#include "command_page.h"

class CDateTimePage : public CCommandPage<IQelDateTimeParams> {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);

    explicit CDateTimePage(IUnknown* outer);

protected:
    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnApplyChanges() override;

private:
    struct Values {
        int enable = 0;
        BYTE colour[3] = {255, 255, 255};  // red, green, blue
        LOGFONTA font;
        POINT start = {0, 0};
        int alignment = 9;
        int padding = 0;
    };

    static Values DefaultValues();
    void Send(const Values& values);
    void InitialiseControls(HWND page) override;
    void FillSizes(HWND page);
    void EnableControls(HWND page);
    void OnCommand(HWND page, int id, int code) override;
    void OnColourEdit(HWND page, int id, int component);
    int EditNumber(HWND page, int id);

    Values saved_;
    Values current_;
    int listIndex_ = 8;  // row of the alignment list
    int family_ = -1;    // row of the font list
    CFontList fonts_;
};
