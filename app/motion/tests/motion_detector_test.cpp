// The motion detector against a plain reading of its rules: the reference frame and its renewal, the
// noise filter's taps and edges, the count of marked bytes per channel, and the checks of its input.
#include "MotionDetector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 33;
constexpr int kHeight = 19;
constexpr int kRowLength = kWidth * 3 + 1; // a padded row: the padding must never count

using Frame = std::vector<std::uint8_t>;

Frame MakeFrame(std::uint8_t value = 100) { return Frame(static_cast<size_t>(kRowLength) * kHeight, value); }

std::uint8_t& Byte(Frame& frame, int x, int y, int channel) {
    return frame[static_cast<size_t>(y) * kRowLength + static_cast<size_t>(x) * 3 + channel];
}

// The bytes the rules mark, by place (y, x, channel): a whole-frame difference image, zero outside the
// rectangle, and five taps clamped to the frame.
std::vector<bool> ReferenceMarkMap(const Frame& frame, const Frame& reference, MD_Rect r, int sensitivity) {
    std::vector<int> difference(frame.size(), 0);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            for (int k = 0; k < 3; ++k) {
                const size_t at = static_cast<size_t>(y) * kRowLength + static_cast<size_t>(x) * 3 + k;
                difference[at] = std::abs(frame[at] - reference[at]);
            }
    auto tap = [&](int x, int y, int k) {
        x = std::clamp(x, 0, kWidth - 1);
        y = std::clamp(y, 0, kHeight - 1);
        return difference[static_cast<size_t>(y) * kRowLength + static_cast<size_t>(x) * 3 + k];
    };
    const int threshold = ((100 - sensitivity) * 255) / 100;
    std::vector<bool> marked(frame.size(), false);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            for (int k = 0; k < 3; ++k)
                marked[static_cast<size_t>(y) * kRowLength + static_cast<size_t>(x) * 3 + k] =
                    tap(x - 1, y - 1, k) + tap(x - 1, y, k) + tap(x, y, k) + tap(x + 1, y, k) +
                        tap(x - 1, y + 1, k) >
                    5 * threshold;
    return marked;
}

std::vector<int> ReferenceMarks(const Frame& frame, const Frame& reference, MD_Rect r, int sensitivity) {
    const std::vector<bool> marked = ReferenceMarkMap(frame, reference, r, sensitivity);
    std::vector<int> marks(3, 0);
    for (size_t i = 0; i < marked.size(); ++i)
        if (marked[i])
            ++marks[(i % kRowLength) % 3];
    return marks;
}

constexpr MD_Rect kWhole = {0, 0, kWidth, kHeight};

int Compare(const Frame& frame, const Frame& reference, MD_Rect rect, int sensitivity) {
    return MD_CompareRegion(frame.data(), reference.data(), kWidth, kHeight, kRowLength, 3, rect, sensitivity);
}

// Interior pixels far enough apart that their marks do not meet (five marks each), changed in the
// given channels.
Frame WithIsolatedChanges(int count, std::initializer_list<int> channels) {
    Frame frame = MakeFrame();
    int placed = 0;
    for (int y = 2; y < kHeight - 2 && placed < count; y += 3)
        for (int x = 2; x < kWidth - 2 && placed < count; x += 3, ++placed)
            for (int channel : channels)
                Byte(frame, x, y, channel) = 101;
    EXPECT_EQ(count, placed);
    return frame;
}

class MotionDetectorTest : public ::testing::Test {
protected:
    void SetUp() override { MD_Reset(); }
    void TearDown() override { MD_Reset(); }

    static int InitWholeFrame(int sensitivity, int rowLength = kRowLength) {
        const std::uint32_t mask[1] = {1};
        return MD_Init(1, mask, kWidth, kHeight, rowLength, sensitivity);
    }
    static int Detect(const Frame& frame) {
        int moved = -1;
        EXPECT_EQ(kMdOk, MD_Detect(frame.data(), kWidth, kHeight, kRowLength, &moved));
        return moved;
    }
};

TEST_F(MotionDetectorTest, VersionText) {
    char text[16] = {};
    EXPECT_EQ(0, MD_GetVersion(text));
    EXPECT_STREQ("1, 0, 0, 0", text);
}

TEST_F(MotionDetectorTest, FirstFrameIsTheReferenceAndIsRenewedAfter899Comparisons) {
    ASSERT_EQ(kMdOk, InitWholeFrame(50));
    const Frame still = MakeFrame(0), other = MakeFrame(255);
    EXPECT_EQ(0, Detect(other)); // the reference, however different from what comes
    EXPECT_EQ(1, Detect(still));
    for (int i = 2; i < 899; ++i)
        ASSERT_EQ(0, Detect(other)) << "comparison " << i;
    EXPECT_EQ(1, Detect(still)); // the 899th comparison still compares
    EXPECT_EQ(0, Detect(still)); // then a new reference is taken
    EXPECT_EQ(0, Detect(still));
    EXPECT_EQ(1, Detect(other));
}

TEST_F(MotionDetectorTest, SensitivityHundredCountsAnyDifferenceZeroNeverReports) {
    const Frame reference = MakeFrame(100);
    Frame slightly = reference;
    for (int x = 0; x < kWidth; ++x) {
        Byte(slightly, x, 5, 0) = 101; // a difference of 1 in two whole rows
        Byte(slightly, x, 10, 0) = 99;
    }
    EXPECT_EQ(1, Compare(slightly, reference, kWhole, 100));
    EXPECT_EQ(0, Compare(slightly, reference, kWhole, 99)); // threshold 2: five taps of 1 stay below 10

    Frame opposite(reference.size(), 0);
    Frame white(reference.size(), 255);
    EXPECT_EQ(0, Compare(opposite, white, kWhole, 0)); // no sum of five bytes exceeds 1275
    EXPECT_EQ(1, Compare(opposite, white, kWhole, 1));
}

TEST_F(MotionDetectorTest, OneChangedPixelMarksItselfAndTheNeighboursWhoseTapsHoldIt) {
    const Frame reference = MakeFrame();
    Frame frame = reference;
    Byte(frame, 10, 10, 1) = 120;
    const std::vector<int> marks = ReferenceMarks(frame, reference, kWhole, 100);
    EXPECT_EQ((std::vector<int>{0, 5, 0}), marks);
    const std::vector<bool> marked = ReferenceMarkMap(frame, reference, kWhole, 100);
    for (auto [x, y] : {std::pair{10, 10}, {11, 11}, {11, 10}, {9, 10}, {11, 9}})
        EXPECT_TRUE(marked[static_cast<size_t>(y) * kRowLength + static_cast<size_t>(x) * 3 + 1]) << x << "," << y;
    // Twenty such pixels are 100 marks: no motion; the twenty-first makes 105.
    EXPECT_EQ(0, Compare(WithIsolatedChanges(20, {1}), reference, kWhole, 100));
    EXPECT_EQ(1, Compare(WithIsolatedChanges(21, {1}), reference, kWhole, 100));
}

TEST_F(MotionDetectorTest, HundredMarkedBytesOfOneChannelAreNoMotionHundredAndOneAre) {
    const Frame reference = MakeFrame();
    Frame hundred = WithIsolatedChanges(20, {0});
    ASSERT_EQ(100, ReferenceMarks(hundred, reference, kWhole, 100)[0]);
    EXPECT_EQ(0, Compare(hundred, reference, kWhole, 100));

    // Nineteen inside (95), one in the top left corner (its clamped taps mark 4) and one on the
    // right edge (2): 101.
    Frame hundredAndOne = WithIsolatedChanges(19, {0});
    Byte(hundredAndOne, 0, 0, 0) = 0;
    Byte(hundredAndOne, kWidth - 1, kHeight - 1, 0) = 0;
    ASSERT_EQ(101, ReferenceMarks(hundredAndOne, reference, kWhole, 100)[0]);
    EXPECT_EQ(1, Compare(hundredAndOne, reference, kWhole, 100));

    // Counted per channel: 100 in each of two channels is still no motion.
    const Frame twoChannels = WithIsolatedChanges(20, {0, 2});
    EXPECT_EQ(0, Compare(twoChannels, reference, kWhole, 100));
}

TEST_F(MotionDetectorTest, RegionAgreesWithThePlainRulesOnNoisyFrames) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), sensitivity(0, 100), amplitude(0, 3);
    std::uniform_int_distribution<int> x(-3, kWidth + 3), y(-3, kHeight + 3);
    int moved = 0, still = 0;
    for (int round = 0; round < 300; ++round) {
        Frame reference(static_cast<size_t>(kRowLength) * kHeight), frame(reference.size());
        const int spread = 5 << (2 * amplitude(random)); // 5, 20, 80 or 320
        std::uniform_int_distribution<int> noise(-spread, spread);
        for (size_t i = 0; i < reference.size(); ++i) {
            reference[i] = static_cast<std::uint8_t>(byte(random));
            frame[i] = static_cast<std::uint8_t>(std::clamp(reference[i] + noise(random), 0, 255));
        }
        const MD_Rect given = {x(random), y(random), x(random), y(random)};
        // The rules' rectangle: ordered, then clamped to the frame.
        const MD_Rect rules = {std::clamp(std::min(given.left, given.right), 0, kWidth),
                               std::clamp(std::min(given.top, given.bottom), 0, kHeight),
                               std::clamp(std::max(given.left, given.right), 0, kWidth),
                               std::clamp(std::max(given.top, given.bottom), 0, kHeight)};
        const int s = sensitivity(random);
        const std::vector<int> marks = ReferenceMarks(frame, reference, rules, s);
        const int expected = *std::max_element(marks.begin(), marks.end()) > 100 ? 1 : 0;
        ASSERT_EQ(expected, Compare(frame, reference, given, s)) << "round " << round << " sensitivity " << s;
        (expected ? moved : still)++;
    }
    // Both outcomes were exercised.
    EXPECT_GT(moved, 10);
    EXPECT_GT(still, 10);
}

TEST_F(MotionDetectorTest, OnlyWatchedCellsReport) {
    // 2 x 2 grid, only the bottom right cell watched.
    const std::uint32_t mask[4] = {0, 0, 0, 7};
    ASSERT_EQ(kMdOk, MD_Init(2, mask, kWidth, kHeight, kRowLength, 100));
    const Frame reference = MakeFrame();
    ASSERT_EQ(0, Detect(reference));
    Frame topLeft = reference;
    for (int y = 0; y < kHeight / 2; ++y)
        for (int x = 0; x < kWidth / 2; ++x)
            Byte(topLeft, x, y, 0) = 0;
    EXPECT_EQ(0, Detect(topLeft));
    Frame bottomRight = reference;
    for (int y = kHeight / 2; y < kHeight; ++y)
        for (int x = kWidth / 2; x < kWidth; ++x)
            Byte(bottomRight, x, y, 0) = 0;
    EXPECT_EQ(1, Detect(bottomRight));
}

TEST_F(MotionDetectorTest, FramesOfAnotherSizeAndBadArgumentsLeaveMovedZero) {
    int moved = 1;
    const Frame frame = MakeFrame();
    EXPECT_EQ(kMdOtherSize, MD_Detect(frame.data(), kWidth, kHeight, kRowLength, &moved)); // nothing set up
    EXPECT_EQ(0, moved);

    const std::uint32_t mask[1] = {1};
    moved = 1;
    EXPECT_EQ(kMdBadArguments, MD_Init(1, mask, 0, kHeight, kRowLength, 50));
    EXPECT_EQ(kMdOtherSize, MD_Detect(frame.data(), kWidth, kHeight, kRowLength, &moved));
    EXPECT_EQ(0, moved);

    ASSERT_EQ(kMdOk, InitWholeFrame(50));
    moved = 1;
    EXPECT_EQ(kMdOtherSize, MD_Detect(frame.data(), kWidth - 1, kHeight, kRowLength, &moved));
    EXPECT_EQ(0, moved);
    moved = 1;
    EXPECT_EQ(kMdBadArguments, MD_Detect(nullptr, kWidth, kHeight, kRowLength, &moved));
    EXPECT_EQ(0, moved);
}

TEST_F(MotionDetectorTest, RowShorterThanThreeBytesAPixelIsRefused) {
    const std::uint32_t mask[1] = {1};
    // Two bytes a pixel (a 16-bit setting) would make every comparison read past the frame.
    EXPECT_EQ(kMdBadArguments, MD_Init(1, mask, kWidth, kHeight, kWidth * 2, 50));
    EXPECT_EQ(kMdBadArguments, MD_Init(1, mask, kWidth, kHeight, kWidth * 3 - 1, 50));
    EXPECT_EQ(kMdOk, MD_Init(1, mask, kWidth, kHeight, kWidth * 3, 50));
    EXPECT_EQ(0, MD_CompareRegion(MakeFrame().data(), MakeFrame().data(), kWidth, kHeight, kWidth * 2, 3, kWhole, 100));
    EXPECT_EQ(1924, MD_FrameRowLength(641));
    EXPECT_EQ(1920, MD_FrameRowLength(640));
}

TEST_F(MotionDetectorTest, MaskIsRequiredAndTheSameSizeKeepsTheReference) {
    EXPECT_EQ(kMdBadArguments, MD_Init(2, nullptr, kWidth, kHeight, kRowLength, 50));
    const std::uint32_t mask[4] = {1, 1, 1, 1};
    EXPECT_EQ(kMdBadArguments, MD_Init(0, mask, kWidth, kHeight, kRowLength, 50));
    ASSERT_EQ(kMdOk, MD_Init(2, mask, kWidth, kHeight, kRowLength, 50));
    const Frame first = MakeFrame(100), second = MakeFrame(180);
    ASSERT_EQ(0, Detect(first));
    // A new grid and sensitivity of the same size keep the reference and the counter.
    const std::uint32_t one[1] = {1};
    ASSERT_EQ(kMdOk, MD_Init(1, one, kWidth, kHeight, kRowLength, 100));
    EXPECT_EQ(1, Detect(second));
    // After a reset nothing is set up and the sensitivity is back at 100.
    MD_Reset();
    int moved = 1;
    EXPECT_EQ(kMdOtherSize, MD_Detect(first.data(), kWidth, kHeight, kRowLength, &moved));
}

} // namespace
