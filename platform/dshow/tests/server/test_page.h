#pragma once
// The test server's property page: one check box that edits the test object's value.
#include "qeldshow/property_page.h"
#include "test_server_ids.h"

class CTestPage : public CBasePropertyPage {
public:
    static CUnknown* CALLBACK Create(IUnknown* outer, HRESULT* hr);
    static CUnknown* CALLBACK CreateClassic(IUnknown* outer, HRESULT* hr);

private:
    CTestPage(IUnknown* outer, int dialogId);
    ~CTestPage() override;

    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    IQelTestValue* value_ = nullptr;
};
