// The synthetic camera as a device: listed by name, bound to its filter, with the pins, categories,
// picture controls and driver interfaces of its variant, and never a kernel-streaming object.
#include <gtest/gtest.h>

#include <ocidl.h>

#include <string>
#include <vector>

#include "camera_test_support.h"
#include "CameraDriver.h"

namespace cameratest {
namespace {

// {423C13A2-2070-11D0-9EF7-00AA00A216A1}
const IID kIidKsObject = {0x423c13a2, 0x2070, 0x11d0, {0x9e, 0xf7, 0x00, 0xaa, 0x00, 0xa2, 0x16, 0xa1}};

class CameraDeviceTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_EQ(S_OK, qelcam::UnregisterAllTestCameras());
    }
};

std::vector<std::wstring> ListedNames() {
    std::vector<std::wstring> names;
    ComPtr<ICreateDevEnum> devices;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                     &devices));
    ComPtr<IEnumMoniker> monikers;
    if (!devices || devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
        return names;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        VARIANT name;
        VariantInit(&name);
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag)) &&
            SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
            names.push_back(name.bstrVal);
        VariantClear(&name);
        moniker.Reset();
    }
    return names;
}

TEST_F(CameraDeviceTest, FiveCamerasAreListedByTheirNamesAndBindToTheirOwnFilters) {
    {
        std::vector<std::unique_ptr<qelcam::ScopedTestCamera>> cameras;
        for (int i = 1; i <= 5; ++i) {
            cameras.push_back(std::make_unique<qelcam::ScopedTestCamera>(
                L"Qel Camera " + std::to_wstring(i), i % 2 ? qelcam::kWithPreviewPin : qelcam::kCaptureOnly));
            ASSERT_EQ(S_OK, cameras.back()->Result());
        }
        const std::vector<std::wstring> names = ListedNames();
        EXPECT_EQ(5u, names.size());
        for (const auto& camera : cameras) {
            EXPECT_EQ(1, std::count(names.begin(), names.end(), camera->Name())) << "listed once";
            ComPtr<IBaseFilter> filter;
            ASSERT_EQ(S_OK, camera->Bind(&filter));
            CLSID clsid = CLSID_NULL;
            EXPECT_EQ(S_OK, filter->GetClassID(&clsid));
            EXPECT_EQ(camera->Clsid(), clsid);
            EXPECT_EQ(1, camera->LiveInstances());
        }
    }
    EXPECT_TRUE(ListedNames().empty()) << "every camera is unregistered with its guard";
}

TEST_F(CameraDeviceTest, AnUnlistedCameraIsMadeByItsClsidButListedNowhere) {
    CLSID unlistedClsid = CLSID_NULL;
    {
        qelcam::ScopedTestCamera listed(L"Qel Listed Camera", qelcam::kCaptureOnly);
        qelcam::ScopedTestCamera unlisted(L"Qel Unlisted Camera", qelcam::kCaptureOnly | qelcam::kUnlisted);
        ASSERT_EQ(S_OK, listed.Result());
        ASSERT_EQ(S_OK, unlisted.Result());
        unlistedClsid = unlisted.Clsid();
        EXPECT_EQ(std::vector<std::wstring>{L"Qel Listed Camera"}, ListedNames());
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), unlisted.Bind(&filter));
        ASSERT_EQ(S_OK, CoCreateInstance(unlisted.Clsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &filter));
        EXPECT_EQ(1, unlisted.LiveInstances());
        EXPECT_EQ(0, listed.LiveInstances());
    }
    EXPECT_TRUE(ListedNames().empty());
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(unlistedClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &filter))
        << "unregistered with its guard";
}

TEST_F(CameraDeviceTest, PreviewVariantHasACapturePinAndAPreviewPin) {
    qelcam::ScopedTestCamera camera(L"Qel Preview Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(S_OK, camera.Result());
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, camera.Bind(&filter));

    ComPtr<IPin> capture = PinAt(filter.Get(), 0), preview = PinAt(filter.Get(), 1);
    ASSERT_TRUE(capture && preview);
    EXPECT_FALSE(PinAt(filter.Get(), 2));
    EXPECT_EQ(PIN_CATEGORY_CAPTURE, PinCategory(capture.Get()));
    EXPECT_EQ(PIN_CATEGORY_PREVIEW, PinCategory(preview.Get()));
    PIN_INFO info = {};
    ASSERT_EQ(S_OK, preview->QueryPinInfo(&info));
    EXPECT_EQ(PINDIR_OUTPUT, info.dir);
    EXPECT_EQ(std::wstring(L"Preview"), info.achName);
    info.pFilter->Release();

    ComPtr<IAMDroppedFrames> dropped;
    EXPECT_EQ(S_OK, capture.As(&dropped));
    EXPECT_EQ(E_NOINTERFACE, preview.As(&dropped)) << "statistics belong to the capture pin";

    ComPtr<ICaptureGraphBuilder2> builder;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_ICaptureGraphBuilder2, &builder));
    ComPtr<IAMStreamConfig> config;
    EXPECT_EQ(S_OK, builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, filter.Get(), IID_IAMStreamConfig,
                                           &config));
    EXPECT_EQ(S_OK, builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, filter.Get(),
                                           IID_IAMDroppedFrames, &dropped));
}

TEST_F(CameraDeviceTest, PinCategoryIsReadOnlyAndTheOnlyProperty) {
    qelcam::ScopedTestCamera camera(L"Qel Capture Camera", qelcam::kCaptureOnly);
    ASSERT_EQ(S_OK, camera.Result());
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, camera.Bind(&filter));
    ASSERT_TRUE(PinAt(filter.Get(), 0));
    EXPECT_FALSE(PinAt(filter.Get(), 1)) << "no preview pin in this variant";

    ComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, PinAt(filter.Get(), 0).As(&properties));
    DWORD support = 0;
    EXPECT_EQ(S_OK, properties->QuerySupported(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, &support));
    EXPECT_EQ(static_cast<DWORD>(KSPROPERTY_SUPPORT_GET), support);
    GUID category = PIN_CATEGORY_PREVIEW;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED,
              properties->Set(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof category));
    DWORD returned = 0;
    EXPECT_EQ(E_UNEXPECTED,
              properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, 8, &returned));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, properties->Get(AMPROPSETID_Pin, 1, nullptr, 0, &category, 16, &returned));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, properties->Get(PIN_CATEGORY_CAPTURE, 0, nullptr, 0, &category, 16, &returned));
    EXPECT_EQ(PIN_CATEGORY_CAPTURE, PinCategory(PinAt(filter.Get(), 0).Get()));
}

TEST_F(CameraDeviceTest, NeverAnswersTheKernelStreamingObjectInterface) {
    qelcam::ScopedTestCamera camera(L"Qel Camera Without Driver", qelcam::kWithPreviewPin | qelcam::kWithFlipStatus |
                                                                      qelcam::kWithButtonState);
    ASSERT_EQ(S_OK, camera.Result());
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(S_OK, qelcam::FindVideoInputDevice(camera.Name(), &moniker));
    ComPtr<IUnknown> device;
    ASSERT_EQ(S_OK, moniker->BindToObject(nullptr, nullptr, IID_IUnknown, &device));
    ComPtr<IUnknown> ks;
    EXPECT_EQ(E_NOINTERFACE, device->QueryInterface(kIidKsObject, &ks));
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, device.As(&filter));
    EXPECT_EQ(E_NOINTERFACE, filter->QueryInterface(kIidKsObject, &ks));
    for (int index = 0; index < 2; ++index) {
        ComPtr<IPin> pin = PinAt(filter.Get(), index);
        ASSERT_TRUE(pin);
        EXPECT_EQ(E_NOINTERFACE, pin->QueryInterface(kIidKsObject, &ks)) << "pin " << index;
    }
}

TEST_F(CameraDeviceTest, PictureControlsKeepValuesWithinTheirRanges) {
    qelcam::ScopedTestCamera camera(L"Qel Camera Controls");
    ASSERT_EQ(S_OK, camera.Result());
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, camera.Bind(&filter));
    ComPtr<IAMVideoProcAmp> controls;
    ASSERT_EQ(S_OK, filter.As(&controls));

    long minimum = 0, maximum = 0, step = 0, byDefault = 0, caps = 0, value = 0, flags = 0;
    ASSERT_EQ(S_OK, controls->GetRange(VideoProcAmp_Brightness, &minimum, &maximum, &step, &byDefault, &caps));
    EXPECT_LT(minimum, maximum);
    EXPECT_EQ(static_cast<long>(VideoProcAmp_Flags_Manual), caps);
    ASSERT_EQ(S_OK, controls->Get(VideoProcAmp_Brightness, &value, &flags));
    EXPECT_EQ(byDefault, value);

    EXPECT_EQ(S_OK, controls->Set(VideoProcAmp_Brightness, maximum, VideoProcAmp_Flags_Manual));
    EXPECT_EQ(E_INVALIDARG, controls->Set(VideoProcAmp_Brightness, maximum + 1, VideoProcAmp_Flags_Manual));
    EXPECT_EQ(E_INVALIDARG, controls->Set(VideoProcAmp_Brightness, minimum, VideoProcAmp_Flags_Auto));
    controls->Get(VideoProcAmp_Brightness, &value, &flags);
    EXPECT_EQ(maximum, value) << "a refused value changes nothing";

    ASSERT_EQ(S_OK, controls->GetRange(VideoProcAmp_WhiteBalance, &minimum, &maximum, &step, &byDefault, &caps));
    EXPECT_TRUE(caps & VideoProcAmp_Flags_Auto);
    EXPECT_EQ(S_OK, controls->Set(VideoProcAmp_WhiteBalance, 0, VideoProcAmp_Flags_Auto));
    controls->Get(VideoProcAmp_WhiteBalance, &value, &flags);
    EXPECT_EQ(static_cast<long>(VideoProcAmp_Flags_Auto), flags);
    EXPECT_EQ(byDefault, value);
    EXPECT_EQ(E_INVALIDARG, controls->Set(VideoProcAmp_WhiteBalance, minimum + 5, VideoProcAmp_Flags_Manual))
        << "off the step";

    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, controls->Get(VideoProcAmp_Gain, &value, &flags));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, controls->Set(VideoProcAmp_Gain, 1, VideoProcAmp_Flags_Manual));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, controls->GetRange(42, &minimum, &maximum, &step, &byDefault, &caps));
}

TEST_F(CameraDeviceTest, DriverInterfacesReportWhatTheTestSets) {
    qelcam::ScopedTestCamera plain(L"Qel Plain Camera");
    qelcam::ScopedTestCamera notebook(L"Qel Notebook Camera",
                                      qelcam::kWithPreviewPin | qelcam::kWithFlipStatus | qelcam::kWithButtonState);
    ASSERT_EQ(S_OK, plain.Result());
    ASSERT_EQ(S_OK, notebook.Result());
    ComPtr<IBaseFilter> plainFilter, notebookFilter;
    ASSERT_EQ(S_OK, plain.Bind(&plainFilter));
    ASSERT_EQ(S_OK, notebook.Bind(&notebookFilter));
    ComPtr<IUnknown> none;
    EXPECT_EQ(E_NOINTERFACE, plainFilter->QueryInterface(IID_ICameraFlipStatus, &none));
    EXPECT_EQ(E_NOINTERFACE, plainFilter->QueryInterface(IID_ICameraButtonState, &none));

    ComPtr<ICameraFlipStatus> flip;
    ComPtr<ICameraButtonState> button;
    ASSERT_EQ(S_OK, notebookFilter->QueryInterface(IID_ICameraFlipStatus, &flip));
    ASSERT_EQ(S_OK, notebookFilter->QueryInterface(IID_ICameraButtonState, &button));

    ULONG block[5] = {0, kCameraFlipStatusRequest, 7, 7, 7};
    ASSERT_EQ(S_OK, flip->GetFlipStatus(kCameraFlipStatusBlockSize, block));
    EXPECT_EQ(0u, block[2]);
    EXPECT_EQ(S_OK, notebook.SetMirrored(true));
    ASSERT_EQ(S_OK, flip->GetFlipStatus(kCameraFlipStatusBlockSize, block));
    EXPECT_EQ(1u, block[2]);
    ULONG wrong[5] = {0, 27, 0, 0, 0};
    EXPECT_EQ(E_INVALIDARG, flip->GetFlipStatus(kCameraFlipStatusBlockSize, wrong));
    EXPECT_EQ(E_INVALIDARG, flip->GetFlipStatus(16, block));

    ULONG state = 99, extra1 = 99, extra2 = 99;
    ASSERT_EQ(S_OK, button->GetButtonState(kCameraButtonSnapshot, &state, &extra1, &extra2));
    EXPECT_EQ(0u, state);
    EXPECT_EQ(S_OK, notebook.SetButtonState(1));
    ASSERT_EQ(S_OK, button->GetButtonState(kCameraButtonSnapshot, &state, &extra1, &extra2));
    EXPECT_EQ(1u, state);
    EXPECT_EQ(E_INVALIDARG, button->GetButtonState(8, &state, &extra1, &extra2));
    EXPECT_EQ(E_POINTER, button->GetButtonState(kCameraButtonSnapshot, nullptr, &extra1, &extra2));
}

TEST_F(CameraDeviceTest, OnlyThePagesVariantOffersItsPageOnTheFilterAndTheCapturePin) {
    qelcam::ScopedTestCamera plain(L"Qel Plain Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(S_OK, plain.Result());
    ComPtr<IBaseFilter> plainFilter;
    ASSERT_EQ(S_OK, plain.Bind(&plainFilter));
    ComPtr<ISpecifyPropertyPages> specify;
    EXPECT_EQ(E_NOINTERFACE, plainFilter.As(&specify));
    EXPECT_EQ(E_NOINTERFACE, PinAt(plainFilter.Get(), 0).As(&specify));

    qelcam::ScopedTestCamera paged(L"Qel Paged Camera", qelcam::kWithPreviewPin | qelcam::kWithPropertyPages);
    ASSERT_EQ(S_OK, paged.Result());
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, paged.Bind(&filter));
    ComPtr<ISpecifyPropertyPages> onFilter, onCapture, onPreview;
    ASSERT_EQ(S_OK, filter.As(&onFilter));
    ASSERT_EQ(S_OK, PinAt(filter.Get(), 0).As(&onCapture));
    EXPECT_EQ(E_NOINTERFACE, PinAt(filter.Get(), 1).As(&onPreview)) << "the format page is the capture pin's";
    for (ISpecifyPropertyPages* object : {onFilter.Get(), onCapture.Get()}) {
        CAUUID pages = {0, nullptr};
        ASSERT_EQ(S_OK, object->GetPages(&pages));
        ASSERT_EQ(1u, pages.cElems);
        EXPECT_EQ(qelcam::CLSID_QelTestCameraPage, pages.pElems[0]);
        CoTaskMemFree(pages.pElems);
    }
    EXPECT_EQ(E_POINTER, onFilter->GetPages(nullptr));

    // The frame creates the page by its class: registered with the camera, gone with every camera.
    ComPtr<IPropertyPage> page;
    ASSERT_EQ(S_OK, CoCreateInstance(qelcam::CLSID_QelTestCameraPage, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IPropertyPage, &page));
    PROPPAGEINFO info = {};
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(std::wstring(L"Test Camera"), info.pszTitle);
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    page.Reset();
    ASSERT_EQ(S_OK, qelcam::UnregisterAllTestCameras());
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(qelcam::CLSID_QelTestCameraPage, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_IPropertyPage, &page));
}

TEST_F(CameraDeviceTest, RegistrationRefusesBadInputAndLeftoversCanBeCleared) {
    CLSID clsid = CLSID_NULL;
    ASSERT_EQ(S_OK, CoCreateGuid(&clsid));
    EXPECT_EQ(E_INVALIDARG, qelcam::RegisterTestCamera(L"", clsid));
    EXPECT_EQ(E_INVALIDARG, qelcam::RegisterTestCamera(L"Qel No Class", CLSID_NULL));

    ASSERT_EQ(S_OK, qelcam::RegisterTestCamera(L"Qel Left Behind", clsid, qelcam::kCaptureOnly));
    EXPECT_EQ(1u, ListedNames().size());
    ASSERT_EQ(S_OK, qelcam::UnregisterAllTestCameras());
    EXPECT_TRUE(ListedNames().empty());
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &filter));
    EXPECT_EQ(S_OK, qelcam::UnregisterTestCamera(clsid)) << "already gone";
}

TEST_F(CameraDeviceTest, ModuleSelfRegistrationListsTheDefaultCamera) {
    HMODULE module = qelcam::CameraModule();
    ASSERT_NE(nullptr, module);
    typedef HRESULT(STDAPICALLTYPE * EntryPoint)();
    auto registerServer = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    auto unregisterServer =
        reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_EQ(S_OK, registerServer());
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(S_OK, qelcam::BindVideoInputDevice(qelcam::kDefaultTestCameraName, &filter));
    CLSID clsid = CLSID_NULL;
    if (filter)
        filter->GetClassID(&clsid);
    EXPECT_EQ(qelcam::CLSID_QelDefaultTestCamera, clsid);
    EXPECT_TRUE(PinAt(filter.Get(), 1)) << "with a preview pin";
    filter.Reset();
    ASSERT_EQ(S_OK, unregisterServer());
    EXPECT_TRUE(ListedNames().empty());
}

}  // namespace
}  // namespace cameratest
