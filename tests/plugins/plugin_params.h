#pragma once
// The common parameter slots (3 to 8) of a plug-in, whichever interface carries them: the rotate
// plug-in's IQelRotateParams or everyone else's IQelFilterParams.
#include "QelFilterParams.h"
#include "QelPluginIds.h"

#include <wrl/client.h>

namespace plugintest {

class CommonParams {
public:
    CommonParams(IUnknown* filter, const QelPluginIdentity& plugin) {
        if (plugin.rotateParams)
            filter->QueryInterface(IID_IQelRotateParams, reinterpret_cast<void**>(rotate_.GetAddressOf()));
        else
            filter->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(common_.GetAddressOf()));
    }
    bool Valid() const { return rotate_ || common_; }

    HRESULT SetEnable(BOOL on) { return rotate_ ? rotate_->SetEnable(on) : common_->SetEnable(on); }
    HRESULT Enable(BOOL on) { return rotate_ ? rotate_->Enable(on) : common_->Enable(on); }
    HRESULT GetEnable(int* on) { return rotate_ ? rotate_->GetEnable(on) : common_->GetEnable(on); }
    HRESULT AddRange(double start, double end) {
        return rotate_ ? rotate_->AddRange(start, end) : common_->AddRange(start, end);
    }
    HRESULT AddRanges(const double* starts, const double* ends, int count) {
        return rotate_ ? rotate_->AddRanges(starts, ends, count) : common_->AddRanges(starts, ends, count);
    }
    HRESULT ClearRanges() { return rotate_ ? rotate_->ClearRanges() : common_->ClearRanges(); }

private:
    Microsoft::WRL::ComPtr<IQelRotateParams> rotate_;
    Microsoft::WRL::ComPtr<IQelFilterParams> common_;
};

} // namespace plugintest
