#pragma once
// One entry of the audio input category for the object's life: the engine tests register a filter
// there to stand in for a microphone.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace enginetest {

class ScopedAudioInput {
public:
    ScopedAudioInput(REFCLSID clsid, const std::wstring& name) : clsid_(clsid), name_(name) {
        if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                    reinterpret_cast<void**>(&mapper_))))
            return;
        REGFILTER2 filter = {};
        filter.dwVersion = 1;
        filter.dwMerit = MERIT_DO_NOT_USE;
        result_ = mapper_->RegisterFilter(clsid_, name_.c_str(), nullptr, &CLSID_AudioInputDeviceCategory,
                                          name_.c_str(), &filter);
    }
    ~ScopedAudioInput() {
        if (mapper_) {
            if (SUCCEEDED(result_))
                mapper_->UnregisterFilter(&CLSID_AudioInputDeviceCategory, name_.c_str(), clsid_);
            mapper_->Release();
        }
    }
    HRESULT Result() const { return result_; }

private:
    CLSID clsid_;
    std::wstring name_;
    IFilterMapper2* mapper_ = nullptr;
    HRESULT result_ = E_FAIL;
};

} // namespace enginetest
