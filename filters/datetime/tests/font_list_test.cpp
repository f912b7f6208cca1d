#include <windows.h>

#include <gtest/gtest.h>

#include "font_list.h"

namespace {

TEST(FontList, ListsEachTrueTypeFamilyOnceInOrderWithTheStandardSizes) {
    CFontList list;
    ASSERT_TRUE(list.Build());
    const FontCatalogue& catalogue = list.Catalogue();
    ASSERT_FALSE(catalogue.Families().empty());
    for (size_t i = 1; i < catalogue.Families().size(); ++i)
        EXPECT_LT(catalogue.Families()[i - 1].name, catalogue.Families()[i].name);
    for (const FontFamilyEntry& family : catalogue.Families()) {
        EXPECT_TRUE(family.trueType) << family.name;
        EXPECT_EQ(family.sizes.size(), 19u) << family.name;
    }
}

TEST(FontList, OffersTahoma) {
    CFontList list;
    ASSERT_TRUE(list.Build());
    const FontCatalogue& catalogue = list.Catalogue();
    const int tahoma = catalogue.FamilyForFace("Tahoma");
    ASSERT_GE(tahoma, 0);
    if (catalogue.Families()[static_cast<size_t>(tahoma)].name.rfind("Tahoma", 0) != 0)
        GTEST_SKIP() << "this Wine lists no Tahoma among its fonts (only " << catalogue.JoinedNames() << ")";
    EXPECT_EQ(catalogue.SizeIndex(tahoma, 12), 4);
}

}  // namespace
