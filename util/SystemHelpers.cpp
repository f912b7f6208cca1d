// Screen, version and error queries.
#include "SystemHelpers.h"

#include <afxwin.h>

#include <cstdio>
#include <memory>

#include "BoundedText.h"

namespace {

// A library loaded only to learn that it can be, and freed at once.
bool CanLoad(const char* library) {
    HMODULE module = LoadLibraryA(library);
    if (!module)
        return false;
    FreeLibrary(module);
    return true;
}

struct LocalFreeDeleter {
    void operator()(char* text) const { LocalFree(text); }
};

} // namespace

int ql_GetScreenResolution(CDC* dc, int* resolution) {
    if (!resolution)
        return 0;
    if (dc) {
        if (!dc->GetSafeHdc())
            return 0;
        resolution[0] = dc->GetDeviceCaps(LOGPIXELSX);
        resolution[1] = dc->GetDeviceCaps(LOGPIXELSY);
        return 1;
    }
    CDC display;
    if (!display.CreateIC("DISPLAY", nullptr, nullptr, nullptr))
        return 0;
    resolution[0] = display.GetDeviceCaps(LOGPIXELSX);
    resolution[1] = display.GetDeviceCaps(LOGPIXELSY);
    return 1;
}

int ql_GetScreenColors() {
    CClientDC screen(nullptr);
    if (!screen.GetSafeHdc())
        return 0;
    const int colors = screen.GetDeviceCaps(NUMCOLORS);
    return colors == -1 ? 64000 : colors;
}

int ql_GetFileVersion(const char* path, WORD* major, WORD* minor, WORD* build, WORD* revision) {
    if (!path)
        return 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return 0;
    std::unique_ptr<BYTE[]> block(new BYTE[size]);
    if (!GetFileVersionInfoA(path, 0, size, block.get()))
        return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (VerQueryValueA(block.get(), "\\", reinterpret_cast<void**>(&info), &infoSize) && info &&
        infoSize >= sizeof(VS_FIXEDFILEINFO)) {
        if (major)
            *major = HIWORD(info->dwProductVersionMS);
        if (minor)
            *minor = LOWORD(info->dwProductVersionMS);
        if (build)
            *build = HIWORD(info->dwProductVersionLS);
        if (revision)
            *revision = LOWORD(info->dwProductVersionLS);
    }
    return 1;
}

int ql_GetLastErrorStr(char* out) {
    const DWORD error = GetLastError();
    if (error == 0 || !out)
        return 0;
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text),
                       0, nullptr);
    std::unique_ptr<char, LocalFreeDeleter> owned(text);
    if (length == 0 || !text) {
        std::snprintf(out, qel::text::kPathBytes, "Error message 0x%lx not found", error);
        return 1;
    }
    // A longer system text is cut to the 260 bytes the caller has.
    lstrcpynA(out, text, qel::text::kPathBytes);
    return 1;
}

int ql_ShowLastError() {
    char text[qel::text::kPathBytes];
    if (!ql_GetLastErrorStr(text))
        return 0;
    return AfxShowMessageBox(nullptr, text, "Error", MB_OK | MB_ICONINFORMATION);
}

int ql_GetDXVersion() {
    if (!CanLoad("D3D8.DLL"))
        return 0;
    return CanLoad("D3D9.DLL") ? 0x900 : 0x800;
}
