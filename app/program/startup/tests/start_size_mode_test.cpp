// Which size mode the program starts in on a given work area, and where its window goes there.
#include <gtest/gtest.h>

#include "StartSizeMode.h"

namespace {

const SIZE kWindows[2] = {{850, 616}, {576, 460}};

TEST(StartSizeMode, TheSavedModeIsKeptWhereItFitsAndTheOtherTakenWhereItDoesNot) {
    EXPECT_EQ(0, ChooseStartSizeMode(0, kWindows, SIZE{1280, 1024}));
    EXPECT_EQ(1, ChooseStartSizeMode(1, kWindows, SIZE{1280, 1024}));
    EXPECT_EQ(0, ChooseStartSizeMode(0, kWindows, SIZE{850, 616})) << "a window of the work area's size fits";
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{1024, 600})) << "616 rows do not fit 600";
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{800, 600}));
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{849, 1024})) << "one column short is too narrow";
    EXPECT_EQ(1, ChooseStartSizeMode(1, kWindows, SIZE{800, 600}));
    // A hand-edited value other than 0 is the small mode.
    EXPECT_EQ(1, ChooseStartSizeMode(7, kWindows, SIZE{1280, 1024}));
}

TEST(StartSizeMode, WhereNeitherFitsTheSmallerWindowIsTaken) {
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{575, 1024}));
    EXPECT_EQ(1, ChooseStartSizeMode(1, kWindows, SIZE{575, 1024}));
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{1280, 459}));
    EXPECT_EQ(1, ChooseStartSizeMode(0, kWindows, SIZE{640, 400}));
    // A skin whose small window is the larger: the rule follows the sizes, not the names.
    const SIZE swapped[2] = {{576, 460}, {850, 616}};
    EXPECT_EQ(0, ChooseStartSizeMode(1, swapped, SIZE{800, 600}));
    EXPECT_EQ(0, ChooseStartSizeMode(1, swapped, SIZE{500, 400}));
    // Windows of one size: the saved mode stays.
    const SIZE same[2] = {{900, 700}, {900, 700}};
    EXPECT_EQ(0, ChooseStartSizeMode(0, same, SIZE{800, 600}));
    EXPECT_EQ(1, ChooseStartSizeMode(1, same, SIZE{800, 600}));
}

TEST(StartSizeMode, TheWindowIsCentredWhereItFitsAndAtTheWorkAreasTopLeftWhereItDoesNot) {
    const RECT screen = {0, 0, 1024, 600};
    POINT place = WindowPlace(SIZE{576, 460}, screen);
    EXPECT_EQ(224, place.x);
    EXPECT_EQ(70, place.y);
    place = WindowPlace(SIZE{850, 616}, screen);
    EXPECT_EQ(0, place.x);
    EXPECT_EQ(0, place.y) << "the title band stays on the screen";
    place = WindowPlace(SIZE{1024, 600}, screen);
    EXPECT_EQ(0, place.x) << "a window of the work area's size fills it";
    EXPECT_EQ(0, place.y);
    // A task bar along the top and the left: the work area starts past it.
    const RECT work = {60, 30, 800, 600};
    place = WindowPlace(SIZE{850, 616}, work);
    EXPECT_EQ(60, place.x);
    EXPECT_EQ(30, place.y);
    place = WindowPlace(SIZE{576, 460}, work);
    EXPECT_EQ(142, place.x);
    EXPECT_EQ(85, place.y);
}

} // namespace
