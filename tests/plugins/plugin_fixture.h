#pragma once
// The fixture of the plug-in tests: the plug-in module loaded and registered, one filter created
// through COM and the parameter interface it answers.
#include "plugin_testkit.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <memory>

namespace plugintest {

template <class Params>
class PluginParamsTest : public qeltest::ComTest {
protected:
    PluginParamsTest(const wchar_t* module, const CLSID& filter, const IID& params)
        : moduleName_(module), filterClsid_(filter), paramsIid_(params) {}

    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<PluginModule>(moduleName_);
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(filterClsid_, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(paramsIid_, reinterpret_cast<void**>(params_.GetAddressOf())));
    }
    void TearDown() override {
        params_.Reset();
        filter_.Reset();
        module_.reset();
        ComTest::TearDown();
    }

    std::unique_ptr<PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<Params> params_;

private:
    const wchar_t* moduleName_;
    const CLSID& filterClsid_;
    const IID& paramsIid_;
};

} // namespace plugintest
