#pragma once
// IPropertyPage over a dialog resource of this module: the page is a modeless child dialog that the
// property frame places and shows. A derived page overrides the hooks at the bottom.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "qeldshow/unknown.h"

class CBasePropertyPage : public CUnknown, public IPropertyPage {
public:
    // dialogId: the DIALOG resource; titleId: the STRINGTABLE entry shown on the frame's tab.
    CBasePropertyPage(const char* name, IUnknown* outer, int dialogId, int titleId);
    ~CBasePropertyPage() override;

    DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT showCommand) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR helpDir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

protected:
    // Marks the page changed and tells the frame (which enables its Apply button).
    void SetDirty();
    bool IsDirty() const { return dirty_; }
    HWND PageWindow() const { return hwnd_; }
    bool ObjectSet() const { return objectSet_; }

    // Hooks. OnConnect gets the object the page edits; OnApplyChanges keeps the page's values.
    virtual HRESULT OnConnect(IUnknown* object);
    virtual HRESULT OnDisconnect();
    virtual HRESULT OnActivate();
    virtual HRESULT OnDeactivate();
    virtual HRESULT OnApplyChanges();
    // Every message of the page's dialog, WM_INITDIALOG included; the result is the dialog
    // procedure's (nonzero for a message handled).
    virtual INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreatePageDialog(HWND parent);
    HRESULT MeasureDialog(SIZE* size);

    int dialogId_;
    int titleId_;
    HWND hwnd_ = nullptr;
    IPropertyPageSite* site_ = nullptr;
    bool dirty_ = false;
    bool objectSet_ = false;
};
