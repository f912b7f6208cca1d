#include "font_list.h"

#include <windows.h>

#include <string>

namespace {

int CALLBACK OnFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM context) {
    auto* catalogue = reinterpret_cast<FontCatalogue*>(context);
    catalogue->AddFamily(font->lfFaceName, font->lfCharSet, (fontType & TRUETYPE_FONTTYPE) != 0);
    return 1;
}

struct SizeContext {
    FontCatalogue* catalogue;
    int family;
};

int CALLBACK OnSize(const LOGFONTA*, const TEXTMETRICA* metric, DWORD fontType, LPARAM context) {
    const auto* sizes = reinterpret_cast<const SizeContext*>(context);
    const bool trueType = (fontType & TRUETYPE_FONTTYPE) != 0;
    sizes->catalogue->AddSizes(sizes->family, trueType, metric->tmHeight - metric->tmInternalLeading);
    // A TrueType family scales to every size: its first answer gives them all.
    return trueType ? 0 : 1;
}

}  // namespace

bool CFontList::Build() {
    catalogue_ = FontCatalogue{};
    HDC context = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!context)
        return false;
    EnumFontFamiliesA(context, nullptr, reinterpret_cast<FONTENUMPROCA>(OnFamily),
                      reinterpret_cast<LPARAM>(&catalogue_));
    const int families = static_cast<int>(catalogue_.Families().size());
    for (int i = 0; i < families; ++i) {
        SizeContext sizes{&catalogue_, i};
        const std::string name = catalogue_.Families()[static_cast<size_t>(i)].name;
        EnumFontFamiliesA(context, name.c_str(), reinterpret_cast<FONTENUMPROCA>(OnSize),
                          reinterpret_cast<LPARAM>(&sizes));
    }
    DeleteDC(context);
    catalogue_.Finish();
    return true;
}
