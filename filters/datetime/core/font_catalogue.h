// The font families and sizes the date/time page offers, in the order it shows them.
#pragma once

#include <string>
#include <vector>

struct FontFamilyEntry {
    std::string name;
    int charSet = 0;
    bool trueType = false;
    std::vector<int> sizes;  // ascending, no duplicates, after Finish
};

// Sizes every TrueType family is offered in.
inline constexpr int kTrueTypeFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 36, 40, 48, 72};

class FontCatalogue {
public:
    // Face names hold at most 31 characters, as in a LOGFONT.
    static constexpr size_t kMaxFaceName = 31;

    // Only TrueType families are kept; answers the family's index, or -1 when it was not kept.
    int AddFamily(const std::string& name, int charSet, bool trueType);
    // A TrueType family gets the standard sizes; another family each size it is enumerated in.
    void AddSizes(int family, bool trueType, int enumeratedSize);
    // Sorts the families by name (byte-wise), keeping the first of repeated names, and each
    // family's sizes, dropping repeated sizes.
    void Finish();

    const std::vector<FontFamilyEntry>& Families() const { return families_; }
    // The names joined with ",".
    std::string JoinedNames() const;
    // First family whose lower-cased name begins with the lower-cased face; 0 when none does (or
    // the catalogue is empty: -1).
    int FamilyForFace(const std::string& face) const;
    // Index of size in a family's list, or -1.
    int SizeIndex(int family, int size) const;

private:
    std::vector<FontFamilyEntry> families_;
};
