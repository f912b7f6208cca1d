#include "core/font_catalogue.h"

#include <algorithm>
#include <cstring>

namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

int FontCatalogue::AddFamily(const std::string& name, int charSet, bool trueType) {
    if (!trueType || name.empty())
        return -1;
    FontFamilyEntry entry;
    entry.name = name.substr(0, kMaxFaceName);
    entry.charSet = charSet;
    entry.trueType = trueType;
    families_.push_back(std::move(entry));
    return static_cast<int>(families_.size()) - 1;
}

void FontCatalogue::AddSizes(int family, bool trueType, int enumeratedSize) {
    if (family < 0 || family >= static_cast<int>(families_.size()))
        return;
    std::vector<int>& sizes = families_[static_cast<size_t>(family)].sizes;
    if (trueType)
        sizes.insert(sizes.end(), std::begin(kTrueTypeFontSizes), std::end(kTrueTypeFontSizes));
    else if (enumeratedSize > 0)
        sizes.push_back(enumeratedSize);
}

void FontCatalogue::Finish() {
    std::stable_sort(families_.begin(), families_.end(), [](const FontFamilyEntry& a, const FontFamilyEntry& b) {
        return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
    });
    // Some systems enumerate a family once per character set: the list shows it once.
    families_.erase(std::unique(families_.begin(), families_.end(),
                                [](const FontFamilyEntry& a, const FontFamilyEntry& b) { return a.name == b.name; }),
                    families_.end());
    for (FontFamilyEntry& family : families_) {
        std::sort(family.sizes.begin(), family.sizes.end());
        family.sizes.erase(std::unique(family.sizes.begin(), family.sizes.end()), family.sizes.end());
    }
}

std::string FontCatalogue::JoinedNames() const {
    std::string joined;
    for (const FontFamilyEntry& family : families_) {
        if (!joined.empty())
            joined += ',';
        joined += family.name;
    }
    return joined;
}

int FontCatalogue::FamilyForFace(const std::string& face) const {
    if (families_.empty())
        return -1;
    const std::string wanted = LowerAscii(face);
    for (size_t i = 0; i < families_.size(); ++i)
        if (LowerAscii(families_[i].name).compare(0, wanted.size(), wanted) == 0)
            return static_cast<int>(i);
    return 0;
}

int FontCatalogue::SizeIndex(int family, int size) const {
    if (family < 0 || family >= static_cast<int>(families_.size()))
        return -1;
    const std::vector<int>& sizes = families_[static_cast<size_t>(family)].sizes;
    const auto found = std::find(sizes.begin(), sizes.end(), size);
    return found == sizes.end() ? -1 : static_cast<int>(found - sizes.begin());
}
