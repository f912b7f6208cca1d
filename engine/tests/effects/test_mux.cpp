#include "test_mux.h"

#include <new>

#include "qeldshow/base_filter.h"
#include "qeldshow/critical_section.h"
#include "qeldshow/input_pin.h"
#include "qeldshow/media_type.h"

namespace enginetest {
namespace {

const CLSID kClsidTestMux = {0x6a0e3d51, 0x2f4b, 0x4c8e, {0x9d, 0x17, 0x44, 0x0b, 0x8e, 0x61, 0x3c, 0x22}};

class TestMux;

class TestMuxInput : public CBaseInputPin {
public:
    TestMuxInput(CBaseFilter* filter, CCritSec* lock, HRESULT* hr, LPCWSTR name)
        : CBaseInputPin("Test mux input", filter, lock, hr, name) {}
    HRESULT CheckMediaType(const CMediaType* type) override {
        return (*type->Type() == MEDIATYPE_Video) ? S_OK : S_FALSE;
    }
    STDMETHODIMP Receive(IMediaSample* sample) override { return CBaseInputPin::Receive(sample); }
};

class TestMux : public CBaseFilter {
public:
    explicit TestMux(HRESULT* hr)
        : CBaseFilter("Test mux", nullptr, &lock_, kClsidTestMux), first_(this, &lock_, hr, L"Input 01"),
          second_(this, &lock_, hr, L"Input 02") {}
    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int index) override {
        if (index == 0)
            return &first_;
        return index == 1 ? &second_ : nullptr;
    }

private:
    CCritSec lock_;
    TestMuxInput first_;
    TestMuxInput second_;
};

} // namespace

IBaseFilter* CreateTestMux() {
    HRESULT hr = S_OK;
    auto* mux = new (std::nothrow) TestMux(&hr);
    if (!mux)
        return nullptr;
    IBaseFilter* filter = nullptr;
    mux->NonDelegatingAddRef();
    if (FAILED(hr) || FAILED(mux->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter))))
        filter = nullptr;
    mux->NonDelegatingRelease();
    return filter;
}

} // namespace enginetest
