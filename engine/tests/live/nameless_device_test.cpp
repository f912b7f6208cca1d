// A camera listed without a friendly name, read under the platform calls of an older Windows whose
// VariantInit sets only the type and leaves the rest as the stack held it: the name read fails
// cleanly, the device list goes on past it, and nothing that was never read is freed.
#include "camera_fixture.h"
#include "import_patch.h"

#include <cstring>

namespace enginetest {
namespace {

const ULONG_PTR kStackGarbage = static_cast<ULONG_PTR>(0xA5A5A5A5A5A5A5A5ull);

void WINAPI VariantInitOfWindows7(VARIANTARG* variant) {
    std::memset(variant, 0xA5, sizeof *variant);
    variant->vt = VT_EMPTY;
}

HRESULT(WINAPI* g_variantClear)(VARIANTARG*) = nullptr;
int g_garbageFreed = 0;

// Counts a clear of a string that was never read instead of freeing it (which would corrupt the heap).
HRESULT WINAPI VariantClearSpy(VARIANTARG* variant) {
    if (variant && variant->vt == VT_BSTR && reinterpret_cast<ULONG_PTR>(variant->bstrVal) == kStackGarbage) {
        ++g_garbageFreed;
        variant->vt = VT_EMPTY;
        return S_OK;
    }
    return g_variantClear(variant);
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

class NamelessDeviceTest : public CameraTest {};

TEST_F(NamelessDeviceTest, ADeviceWithoutFriendlyNameIsListedAndReadWithoutFreeingGarbage) {
    AddCamera(L"Qel Named Camera", qelcam::kWithPreviewPin);
    const CLSID nameless = AddCamera(L"Qel Nameless Camera", qelcam::kWithPreviewPin);
    const std::wstring entry =
        L"CLSID\\" + GuidText(CLSID_VideoInputDeviceCategory) + L"\\Instance\\" + GuidText(nameless);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueW(HKEY_CLASSES_ROOT, entry.c_str(), L"FriendlyName"));

    HMODULE engineModule = GetModuleHandleW(L"Vostrel.dll");
    ScopedImportPatch init(engineModule, "oleaut32.dll", "VariantInit", reinterpret_cast<void*>(&VariantInitOfWindows7));
    ScopedImportPatch clear(engineModule, "oleaut32.dll", "VariantClear", reinterpret_cast<void*>(&VariantClearSpy));
    ASSERT_TRUE(init.Patched());
    ASSERT_TRUE(clear.Patched());
    g_variantClear = reinterpret_cast<HRESULT(WINAPI*)(VARIANTARG*)>(clear.Original());
    g_garbageFreed = 0;

    ASSERT_EQ(0, StartEngine());
    ASSERT_EQ(2, engine->GetDeviceNum(DEVICE_VIDEO));
    int named = 0, failed = 0;
    for (int index = 0; index < 2; ++index) {
        WCHAR name[64] = L"untouched";
        const HRESULT hr = engine->GetDeviceName(DEVICE_VIDEO, index, name, 64);
        if (SUCCEEDED(hr)) {
            EXPECT_STREQ(L"Qel Named Camera", name);
            ++named;
        } else {
            EXPECT_STREQ(L"", name);   // emptied before the read, nothing read into it
            ++failed;
        }
    }
    EXPECT_EQ(1, named);
    EXPECT_EQ(1, failed);
    // Choosing by name walks past the nameless slot.
    UINT index = 99;
    EXPECT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Named Camera", &index));
    EXPECT_EQ(static_cast<HRESULT>(1200), engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Nameless Camera", &index));
    EXPECT_EQ(0, g_garbageFreed);
}

} // namespace
} // namespace enginetest
