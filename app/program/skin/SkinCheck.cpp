#include "SkinCheck.h"

#include <PictureHeader.h>
#include <SkinSettings.h>
#include <qelImage.h>

#include <algorithm>

#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "SkinPicture.h"
#include "SkinWindow.h"

namespace {

struct SizeMode {
    const char* name;
    const char* closeSection; // where the Close button sits in this mode (the main dialog's layout)
    SIZE picture;             // the live picture at its size in this mode
};

const SizeMode kModes[] = {
    {"large", "UiClose", {480, 360}},
    {"small", "s_UiClose", {320, 240}},
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

// The background of one size mode: readable and within the image library's limits; its size in *window.
CString CheckBackground(int index, SIZE* window) {
    const SizeMode& mode = kModes[index];
    CString fault;
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", BackgroundKey(index), "", file, sizeof file, g_skinSettingsPath);
    if (!file[0]) {
        fault.Format("it names no background picture for the %s window (key %s of section [Zentrik])", mode.name,
                     BackgroundKey(index));
        return fault;
    }
    const CString path = g_skinFolder + file;
    // The size comes from the header, so a huge picture is refused before it is decoded.
    PictureHeader header;
    if (ReadPictureHeader(path, &header) && !WithinDecodeLimits(header.width, header.height)) {
        fault.Format("the background picture \"%s\" is %u x %u pixels, more than the program can show",
                     static_cast<const char*>(path), header.width, header.height);
        return fault;
    }
    CImage picture;
    if (LoadSkinPicture(&picture, path) != Gdiplus::Ok || picture.Width() == 0 || picture.Height() == 0) {
        fault.Format("the background picture \"%s\" cannot be read", static_cast<const char*>(path));
        return fault;
    }
    window->cx = static_cast<LONG>(picture.Width());
    window->cy = static_cast<LONG>(picture.Height());
    return fault;
}

} // namespace

CString FindSkinFault() {
    const DWORD attributes = ::GetFileAttributesA(g_skinSettingsPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "the file is missing";
    char sections[4] = {};
    if (::GetPrivateProfileSectionNamesA(sections, sizeof sections, g_skinSettingsPath) == 0)
        return "the file holds no settings";
    for (int index = 0; index < 2; ++index) {
        const SizeMode& mode = kModes[index];
        SIZE window = {};
        CString fault = CheckBackground(index, &window);
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
