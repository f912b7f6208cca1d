#include <gtest/gtest.h>

#include "core/font_catalogue.h"

namespace {

TEST(FontCatalogue, KeepsTrueTypeFamiliesSortedByteWise) {
    FontCatalogue catalogue;
    EXPECT_EQ(catalogue.AddFamily("Tahoma", 0, true), 0);
    EXPECT_EQ(catalogue.AddFamily("System", 0, false), -1);
    EXPECT_EQ(catalogue.AddFamily("arial", 0, true), 1);
    EXPECT_EQ(catalogue.AddFamily("Courier New", 0, true), 2);
    catalogue.Finish();
    // Byte-wise: upper case before lower case.
    EXPECT_EQ(catalogue.JoinedNames(), "Courier New,Tahoma,arial");
}

TEST(FontCatalogue, TrueTypeFamiliesGetTheNineteenStandardSizes) {
    FontCatalogue catalogue;
    const int family = catalogue.AddFamily("Tahoma", 0, true);
    catalogue.AddSizes(family, true, 0);
    catalogue.AddSizes(family, true, 0);
    catalogue.Finish();
    const std::vector<int> expected(std::begin(kTrueTypeFontSizes), std::end(kTrueTypeFontSizes));
    EXPECT_EQ(catalogue.Families()[0].sizes, expected);
    EXPECT_EQ(catalogue.SizeIndex(0, 12), 4);
    EXPECT_EQ(catalogue.SizeIndex(0, 13), -1);
}

TEST(FontCatalogue, OtherSizesAreSortedWithoutRepeats) {
    FontCatalogue catalogue;
    const int family = catalogue.AddFamily("Bitmap Face", 0, true);
    for (int size : {13, 9, 13, 0, 11})
        catalogue.AddSizes(family, false, size);
    catalogue.Finish();
    EXPECT_EQ(catalogue.Families()[0].sizes, (std::vector<int>{9, 11, 13}));
}

TEST(FontCatalogue, AFamilyEnumeratedPerCharacterSetIsListedOnce) {
    FontCatalogue catalogue;
    catalogue.AddFamily("Tahoma", 0, true);
    catalogue.AddFamily("Arial", 0, true);
    catalogue.AddFamily("Tahoma", 204, true);
    catalogue.AddFamily("Tahoma", 161, true);
    catalogue.Finish();
    EXPECT_EQ(catalogue.JoinedNames(), "Arial,Tahoma");
    EXPECT_EQ(catalogue.Families()[1].charSet, 0);
}

TEST(FontCatalogue, FaceNamesAreCutToThirtyOneCharacters) {
    FontCatalogue catalogue;
    catalogue.AddFamily(std::string(40, 'F'), 0, true);
    EXPECT_EQ(catalogue.Families()[0].name.size(), 31u);
}

TEST(FontCatalogue, TheFaceIsFoundByItsLowerCasedBeginning) {
    FontCatalogue catalogue;
    EXPECT_EQ(catalogue.FamilyForFace("Tahoma"), -1);
    catalogue.AddFamily("Arial", 0, true);
    catalogue.AddFamily("Tahoma Bold", 0, true);
    catalogue.AddFamily("Tahoma", 0, true);
    catalogue.Finish();
    EXPECT_EQ(catalogue.FamilyForFace("tahoma"), 1);  // "Tahoma" sorts before "Tahoma Bold"
    EXPECT_EQ(catalogue.FamilyForFace("TAHOMA B"), 2);
    EXPECT_EQ(catalogue.FamilyForFace("Verdana"), 0);
}

}  // namespace
