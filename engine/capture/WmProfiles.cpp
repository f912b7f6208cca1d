#include "WmProfiles.h"

#include "AsfWriterConfig.h"

const IID IID_IConfigAsfWriter = {0x45086030, 0xf7e4, 0x486a, {0xb5, 0x04, 0x82, 0x6b, 0xb5, 0x79, 0x2a, 0x3b}};
const CLSID CLSID_QelWMAsfWriter = {0x7c23220e, 0x55bb, 0x11d3, {0x8b, 0x16, 0x00, 0xc0, 0x4f, 0xb6, 0xbd, 0x3d}};
const GUID MEDIASUBTYPE_QelAsf = {0x3db80f90, 0x9412, 0x11d1, {0xad, 0xed, 0x00, 0x00, 0xf8, 0x75, 0x4b, 0x99}};

const GUID kAsfSystemProfiles[3] = {
    {0x3510a862, 0x5850, 0x4886, {0x83, 0x5f, 0xd7, 0x8e, 0xc6, 0xa6, 0x40, 0x42}},
    {0x0f10d9d3, 0x3b04, 0x4fb0, {0xa3, 0xd3, 0x88, 0xd4, 0xac, 0x85, 0x4a, 0xcc}},
    {0x048439ba, 0x309c, 0x440e, {0x9c, 0xb4, 0x3d, 0xcc, 0xa3, 0x75, 0x64, 0x23}},
};

namespace {

typedef HRESULT(STDMETHODCALLTYPE* CreateProfileManagerFunc)(IWMProfileManager**);

// The runtime stays loaded for the life of the process: objects it made may outlive any one user.
HMODULE WmRuntime() {
    static HMODULE runtime = LoadLibraryA("wmvcore.dll");
    return runtime;
}

} // namespace

HRESULT WmCreateProfileManager(IWMProfileManager** manager) {
    if (!manager)
        return E_POINTER;
    *manager = nullptr;
    HMODULE runtime = WmRuntime();
    if (!runtime)
        return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    const auto create =
        reinterpret_cast<CreateProfileManagerFunc>(reinterpret_cast<void*>(GetProcAddress(runtime, "WMCreateProfileManager")));
    if (!create)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    return create(manager);
}
