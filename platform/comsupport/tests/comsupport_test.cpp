// The support routines behind _bstr_t and _com_error.
#include <comdef.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BstrConversion, NarrowAndWideRoundTrip) {
    const _bstr_t text("Zentrik \xE9t\xE9"); // ANSI code page 1252 letters
    EXPECT_EQ(11u, text.length());
    EXPECT_EQ(std::wstring(L"Zentrik \u00E9t\u00E9"), static_cast<const wchar_t*>(text));
    EXPECT_STREQ("Zentrik \xE9t\xE9", static_cast<const char*>(text));

    const _bstr_t empty("");
    EXPECT_EQ(0u, empty.length());
    EXPECT_STREQ("", static_cast<const char*>(empty));
    const _bstr_t none(static_cast<const char*>(nullptr));
    EXPECT_EQ(nullptr, static_cast<const wchar_t*>(none));

    const _bstr_t wide(L"wide");
    EXPECT_STREQ("wide", static_cast<const char*>(wide));
}

// An object that supplies error information for one interface only.
class ErrorSource : public ISupportErrorInfo {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == IID_IDispatch ? S_OK : S_FALSE;
    }
    ULONG References() const { return references_; }

private:
    ULONG references_ = 1;
};

// Sets the thread's error information to a description.
void SetThreadError(const wchar_t* description) {
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, CreateErrorInfo(&create));
    create->SetDescription(const_cast<LPOLESTR>(description));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    SetErrorInfo(0, info);
    info->Release();
    create->Release();
}

TEST(ComIssueError, CarriesTheErrorInformationOnlyForTheInterfaceTheObjectNames) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ErrorSource source;
    SetThreadError(L"described failure");
    try {
        _com_issue_errorex(E_ACCESSDENIED, &source, IID_IDispatch);
        ADD_FAILURE() << "nothing was thrown";
    } catch (const _com_error& error) {
        EXPECT_EQ(E_ACCESSDENIED, error.Error());
        ASSERT_NE(nullptr, error.ErrorInfo());
        EXPECT_STREQ(L"described failure", static_cast<const wchar_t*>(error.Description()));
    }
    SetThreadError(L"not for this interface");
    try {
        _com_issue_errorex(E_FAIL, &source, IID_IUnknown);
        ADD_FAILURE() << "nothing was thrown";
    } catch (const _com_error& error) {
        EXPECT_EQ(E_FAIL, error.Error());
        EXPECT_EQ(nullptr, error.ErrorInfo());
    }
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(1u, source.References());
    EXPECT_THROW(_com_issue_error(E_OUTOFMEMORY), _com_error);
    CoUninitialize();
}

} // namespace
