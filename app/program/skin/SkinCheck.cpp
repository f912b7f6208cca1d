#include "SkinCheck.h"

#include <PngDib.h>
#include <SkinSettings.h>
#include <qelImage.h>

#include <algorithm>
#include <cstdint>

#include "ProgramGlobals.h"
#include "SkinLoader.h"

namespace {

struct SizeMode {
    const char* backgroundKey;
    const char* name;
    const char* closeSection; // where the Close button sits in this mode (the main dialog's layout)
    SIZE picture;             // the live picture at its size in this mode
};

const SizeMode kModes[] = {
    {"mode480x360", "large", "UiClose", {480, 360}},
    {"mode320x240", "small", "s_UiClose", {320, 240}},
};

bool Inside(const RECT& part, LONG width, LONG height) {
    return part.left >= 0 && part.top >= 0 && part.right <= width && part.bottom <= height &&
           part.right > part.left && part.bottom > part.top;
}

CString CheckPlace(const char* section, int index, const char* what, SIZE window, SIZE least) {
    CString fault;
    RECT place = {};
    if (!ReadSkinRectAsWritten(section, index, &place)) {
        fault.Format("section [%s] gives no place for %s (key rect%d)", section, what, index);
        return fault;
    }
    RECT needed = place;
    needed.right = std::max(place.right, place.left + least.cx);
    needed.bottom = std::max(place.bottom, place.top + least.cy);
    if (!Inside(needed, window.cx, window.cy))
        fault.Format("%s (section [%s], rect%d = %ld,%ld,%ld,%ld) does not lie inside the window of %ld x %ld",
                     what, section, index, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, window.cx, window.cy);
    return fault;
}

bool LargerThan(SIZE screen, std::uint32_t width, std::uint32_t height) {
    return width > static_cast<std::uint32_t>(screen.cx) || height > static_cast<std::uint32_t>(screen.cy);
}

CString TooLargeText(const CString& path, std::uint32_t width, std::uint32_t height, SIZE screen) {
    CString text;
    text.Format("the background picture \"%s\" is %u x %u pixels, larger than the screen (%ld x %ld)",
                static_cast<const char*>(path), width, height, screen.cx, screen.cy);
    return text;
}

// The background of one size mode: readable, at most the screen's size; its size in *window.
CString CheckBackground(const SizeMode& mode, SIZE screen, SIZE* window) {
    CString fault;
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", mode.backgroundKey, "", file, sizeof file, g_skinSettingsPath);
    if (!file[0]) {
        fault.Format("it names no background picture for the %s window (key %s of section [Zentrik])", mode.name,
                     mode.backgroundKey);
        return fault;
    }
    const CString path = g_skinFolder + file;
    // A PNG's size comes from its header, so a huge picture is refused before it is decoded.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (ReadPngSize(path, &width, &height) && LargerThan(screen, width, height))
        return TooLargeText(path, width, height, screen);
    CImage picture;
    if (picture.LoadFile(path) != Gdiplus::Ok || picture.Width() == 0 || picture.Height() == 0) {
        fault.Format("the background picture \"%s\" cannot be read", static_cast<const char*>(path));
        return fault;
    }
    if (LargerThan(screen, picture.Width(), picture.Height()))
        return TooLargeText(path, picture.Width(), picture.Height(), screen);
    window->cx = static_cast<LONG>(picture.Width());
    window->cy = static_cast<LONG>(picture.Height());
    return fault;
}

} // namespace

CString FindSkinFault(SIZE screen) {
    const DWORD attributes = ::GetFileAttributesA(g_skinSettingsPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "the file is missing";
    char sections[4] = {};
    if (::GetPrivateProfileSectionNamesA(sections, sizeof sections, g_skinSettingsPath) == 0)
        return "the file holds no settings";
    for (int index = 0; index < 2; ++index) {
        const SizeMode& mode = kModes[index];
        SIZE window = {};
        CString fault = CheckBackground(mode, screen, &window);
        if (fault.IsEmpty())
            fault = CheckPlace("UiClose", index, "the Close button", window, SIZE{1, 1});
        if (fault.IsEmpty() && index == 1) // the small layout moves Close to its own section
            fault = CheckPlace(mode.closeSection, index, "the Close button", window, SIZE{1, 1});
        if (fault.IsEmpty())
            fault = CheckPlace("PreviewArea", index, "the picture area", window, mode.picture);
        if (!fault.IsEmpty())
            return fault;
    }
    return CString();
}

CString SkinRefusalText(const char* settingsPath, const CString& fault) {
    CString text;
    text.Format("The skin \"%s\" cannot be used: %s.\n\nThe program ends. Install the program again to "
                "restore its skin.",
                settingsPath, static_cast<const char*>(fault));
    return text;
}
