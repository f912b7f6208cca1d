// Self-registration: the COM keys, the filter mapper's entry, creation by CLSID and clean removal.
// These tests change the prefix's registry and share the test server's CLSIDs (a CTest resource lock
// keeps them apart).
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "qeldshow/server_registration.h"
#include "qeltest/com_test.h"
#include "qeltest/registry_probe.h"
#include "test_server_loader.h"

using Microsoft::WRL::ComPtr;

namespace {

// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A20}: a capture device that exists only as registration data.
const CLSID CLSID_QelRegistrationProbe = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x20}};

std::wstring ClsidKey(REFCLSID clsid) { return L"CLSID\\" + GuidToString(clsid); }

// The friendly name of clsid's entry in the category, read through the entry's own device moniker,
// and its CLSID value; "<missing>" when there is no entry. The entry is looked up by its name rather than
// found by enumerating the category: other tests register and unregister plug-ins in the same category
// meanwhile, and an enumeration, which walks the entries by index, then steps past entries that exist.
std::wstring CategoryEntryName(REFCLSID category, REFCLSID clsid, CLSID* clsidOut = nullptr) {
    const std::wstring display = L"@device:sw:" + GuidToString(category) + L"\\" + GuidToString(clsid);
    ComPtr<IBindCtx> context;
    EXPECT_EQ(S_OK, CreateBindCtx(0, &context));
    ComPtr<IMoniker> moniker;
    ULONG eaten = 0;
    ComPtr<IPropertyBag> bag;
    if (!context || FAILED(MkParseDisplayName(context.Get(), display.c_str(), &eaten, &moniker)) ||
        FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag)))
        return L"<missing>";
    std::wstring found = L"<missing>";
    VARIANT name;
    VariantInit(&name);
    if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
        found = name.bstrVal;
    VariantClear(&name);
    if (clsidOut) {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(bag->Read(L"CLSID", &value, nullptr)) && value.vt == VT_BSTR)
            CLSIDFromString(value.bstrVal, clsidOut);
        VariantClear(&value);
    }
    return found;
}

class ServerRegistrationTest : public qeltest::ComTest {
protected:
    void TearDown() override {
        // Whatever a failed test left registered.
        if (server_.Loaded())
            server_.Unregister();
        qeltest::ComTest::TearDown();
    }

    TestServer server_;
};

TEST_F(ServerRegistrationTest, RegisterWritesEveryClassAsInprocServerOfTheModule) {
    ASSERT_TRUE(server_.Loaded());
    ASSERT_EQ(S_OK, server_.Register());
    for (const CLSID* clsid : {&CLSID_QelTestObject, &CLSID_QelTestPage, &CLSID_QelTestFailing}) {
        const std::wstring server = ClsidKey(*clsid) + L"\\InprocServer32";
        EXPECT_EQ(server_.Path(), qeltest::ClassesRootString(server, nullptr));
        EXPECT_EQ(L"Both", qeltest::ClassesRootString(server, L"ThreadingModel"));
    }
    EXPECT_EQ(QEL_TEST_OBJECT_NAME, qeltest::ClassesRootString(ClsidKey(CLSID_QelTestObject), nullptr));
    EXPECT_EQ(QEL_TEST_PAGE_NAME, qeltest::ClassesRootString(ClsidKey(CLSID_QelTestPage), nullptr));

    ComPtr<IQelTestValue> value;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelTestObject, nullptr, CLSCTX_INPROC_SERVER, IID_IQelTestValue, &value));
    EXPECT_EQ(S_OK, value->SetValue(3));
    ComPtr<IPropertyPage> page;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_QelTestPage, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, &page));
    ComPtr<IUnknown> failing;
    EXPECT_EQ(E_ACCESSDENIED,
              CoCreateInstance(CLSID_QelTestFailing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &failing));
}

TEST_F(ServerRegistrationTest, FilterSetupIsFoundThroughTheMapperUnlikeThePage) {
    ASSERT_EQ(S_OK, server_.Register());
    CLSID listed = CLSID_NULL;
    EXPECT_EQ(QEL_TEST_OBJECT_NAME, CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelTestObject, &listed));
    EXPECT_EQ(CLSID_QelTestObject, listed);
    EXPECT_EQ(L"<missing>", CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelTestPage));

    ComPtr<IFilterMapper2> mapper;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2, &mapper));
    const GUID rgb24[] = {MEDIATYPE_Video, MEDIASUBTYPE_RGB24};
    ComPtr<IEnumMoniker> matches;
    ASSERT_EQ(S_OK, mapper->EnumMatchingFilters(&matches, 0, FALSE, MERIT_DO_NOT_USE, TRUE, 1, rgb24, nullptr,
                                                nullptr, FALSE, TRUE, 1, rgb24, nullptr, nullptr));
    bool found = false;
    ComPtr<IMoniker> moniker;
    while (!found && matches->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        VARIANT clsid;
        VariantInit(&clsid);
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag)) &&
            SUCCEEDED(bag->Read(L"CLSID", &clsid, nullptr)) && clsid.vt == VT_BSTR) {
            CLSID value = CLSID_NULL;
            CLSIDFromString(clsid.bstrVal, &value);
            found = value == CLSID_QelTestObject;
        }
        VariantClear(&clsid);
        moniker.Reset();
    }
    EXPECT_TRUE(found) << "RGB24 in and out, as the setup data's pins say";
}

TEST_F(ServerRegistrationTest, UnregisterRemovesEverythingAndMayBeRepeated) {
    ASSERT_EQ(S_OK, server_.Register());
    ASSERT_EQ(S_OK, server_.Unregister());
    for (const CLSID* clsid : {&CLSID_QelTestObject, &CLSID_QelTestPage, &CLSID_QelTestNoMemory})
        EXPECT_FALSE(qeltest::ClassesRootKeyExists(ClsidKey(*clsid)));
    EXPECT_EQ(L"<missing>", CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelTestObject));
    ComPtr<IUnknown> object;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(CLSID_QelTestObject, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object));
    EXPECT_EQ(S_OK, server_.Unregister()) << "unregistering what is not registered leaves it so";
}

TEST_F(ServerRegistrationTest, Regsvr32RegistersAndUnregistersTheModule) {
    const std::wstring quoted = L"\"" + server_.Path() + L"\"";
    ASSERT_EQ(0u, qeltest::RunRegsvr32(L"/s " + quoted));
    EXPECT_EQ(server_.Path(), qeltest::ClassesRootString(ClsidKey(CLSID_QelTestObject) + L"\\InprocServer32", nullptr));
    EXPECT_EQ(QEL_TEST_OBJECT_NAME, CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelTestObject));
    ASSERT_EQ(0u, qeltest::RunRegsvr32(L"/u /s " + quoted));
    EXPECT_FALSE(qeltest::ClassesRootKeyExists(ClsidKey(CLSID_QelTestObject)));
    EXPECT_EQ(L"<missing>", CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelTestObject));
}

TEST_F(ServerRegistrationTest, FilterInAnotherCategoryIsListedUnderTheGivenFriendlyName) {
    const AMOVIESETUP_FILTER setup = {&CLSID_QelRegistrationProbe, L"Probe", MERIT_DO_NOT_USE, 0, nullptr,
                                      &CLSID_VideoInputDeviceCategory};
    const wchar_t* name = L"Qel Registration Probe Camera";
    ASSERT_EQ(S_OK, RegisterFilterSetup(setup, name));
    CLSID listed = CLSID_NULL;
    EXPECT_EQ(name, CategoryEntryName(CLSID_VideoInputDeviceCategory, CLSID_QelRegistrationProbe, &listed));
    EXPECT_EQ(CLSID_QelRegistrationProbe, listed);
    EXPECT_EQ(L"<missing>", CategoryEntryName(CLSID_LegacyAmFilterCategory, CLSID_QelRegistrationProbe));
    EXPECT_EQ(S_OK, UnregisterFilterSetup(CLSID_QelRegistrationProbe, &CLSID_VideoInputDeviceCategory));
    EXPECT_EQ(L"<missing>", CategoryEntryName(CLSID_VideoInputDeviceCategory, CLSID_QelRegistrationProbe));
    EXPECT_EQ(S_OK, UnregisterFilterSetup(CLSID_QelRegistrationProbe, &CLSID_VideoInputDeviceCategory));
}

TEST_F(ServerRegistrationTest, EachRegistryStepAnswersExactlyItsOwnResult) {
    ASSERT_EQ(S_OK, RegisterInprocServer(CLSID_QelRegistrationProbe, L"Probe", server_.Path()));
    EXPECT_EQ(L"Probe", qeltest::ClassesRootString(ClsidKey(CLSID_QelRegistrationProbe), nullptr));
    // Removing what exists is S_OK itself, not a success code left by a second attempt.
    EXPECT_EQ(S_OK, UnregisterInprocServer(CLSID_QelRegistrationProbe));
    EXPECT_FALSE(qeltest::ClassesRootKeyExists(ClsidKey(CLSID_QelRegistrationProbe)));
    EXPECT_EQ(S_OK, UnregisterInprocServer(CLSID_QelRegistrationProbe));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), RegistryResult(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(S_OK, RegistryResult(ERROR_SUCCESS));
}

TEST_F(ServerRegistrationTest, IncompleteRegistrationDataIsRefused) {
    const AMOVIESETUP_FILTER noClsid = {nullptr, L"Nameless", MERIT_DO_NOT_USE, 0, nullptr};
    EXPECT_EQ(E_INVALIDARG, RegisterFilterSetup(noClsid));
    const AMOVIESETUP_FILTER missingPins = {&CLSID_QelRegistrationProbe, L"Probe", MERIT_DO_NOT_USE, 2, nullptr};
    EXPECT_EQ(E_INVALIDARG, RegisterFilterSetup(missingPins));
    EXPECT_EQ(E_INVALIDARG, RegisterInprocServer(CLSID_QelRegistrationProbe, L"Probe", L""));
    EXPECT_FALSE(qeltest::ClassesRootKeyExists(ClsidKey(CLSID_QelRegistrationProbe)));
}

} // namespace
