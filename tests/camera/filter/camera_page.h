#pragma once
// The synthetic camera's property page: shows what it edits (the filter's name, or the current format
// of a pin's stream configuration), so that a test can see which object a property frame holds.
#include <windows.h>
#include <ocidl.h>

#include "qeldshow/com_ptr.h"
#include "qeldshow/property_page.h"

class CCameraPage : public CBasePropertyPage {
public:
    static CUnknown* CALLBACK Create(IUnknown* outer, HRESULT* hr);

private:
    explicit CCameraPage(IUnknown* outer);

    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;

    qel::ComPtr<IUnknown> object_;
};

// ISpecifyPropertyPages::GetPages of the filter and its pins: the one camera page.
HRESULT CameraPageList(CAUUID* pages);
