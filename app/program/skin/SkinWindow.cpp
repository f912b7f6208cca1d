#include "SkinWindow.h"

#include <algorithm>
#include <cstdint>

#include "ProgramGlobals.h"
#include "SkinPicture.h"

const char* BackgroundKey(int index) { return index ? "mode320x240" : "mode480x360"; }

SIZE SkinWindowSize(int index) {
    if (index < 0) {
        const SIZE large = SkinWindowSize(0);
        const SIZE small = SkinWindowSize(1);
        return SIZE{std::max(large.cx, small.cx), std::max(large.cy, small.cy)};
    }
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", BackgroundKey(index), "", file, sizeof file, g_skinSettingsPath);
    SIZE size = {};
    if (file[0] && ReadSkinPictureSize(g_skinFolder + file, &size))
        return size;
    return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

BOOL PlaceInsideWindow(RECT* place, SIZE window) {
    // In 64 bits: a skin's numbers may be near the ends of the 32-bit range.
    const std::int64_t width = static_cast<std::int64_t>(place->right) - place->left;
    const std::int64_t height = static_cast<std::int64_t>(place->bottom) - place->top;
    if (width < 0 || height < 0 || width > window.cx || height > window.cy)
        return FALSE;
    const LONG left = std::clamp(place->left, 0L, static_cast<LONG>(window.cx - width));
    const LONG top = std::clamp(place->top, 0L, static_cast<LONG>(window.cy - height));
    *place = RECT{left, top, left + static_cast<LONG>(width), top + static_cast<LONG>(height)};
    return TRUE;
}
