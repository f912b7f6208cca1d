// Clip-time and output-format checks, and the mix range handed to the low-light plug-in.
#include "TrimChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(TrimChecks, ClipTimesMustRunForward) {
    EXPECT_TRUE(qeltrim::AreClipTimesValid(0, 1, 0, 1));
    EXPECT_FALSE(qeltrim::AreClipTimesValid(5, 5, 0, 1));
    EXPECT_FALSE(qeltrim::AreClipTimesValid(0, 1, 7, 7));
    EXPECT_FALSE(qeltrim::AreClipTimesValid(0, 1, 2, 1));
    EXPECT_TRUE(qeltrim::AreClipTimesValid(-10, -5, -3, 0));   // signed compare
}

TEST(MixRange, WholeSecondsTruncateEachEnd) {
    // A clip placed at 19,999,999 using 10,000,001 of its file ends at 30,000,000.
    const qeltrim::MixRange range = qeltrim::MixRangeForClip(19999999, 0, 10000001);
    EXPECT_EQ(19999999, range.start);
    EXPECT_EQ(30000000, range.end);
    const std::pair<double, double> seconds = qeltrim::MixRangeSeconds(range);
    EXPECT_EQ(1.0, seconds.first);
    EXPECT_EQ(3.0, seconds.second);
    EXPECT_EQ(-1.0, qeltrim::MixRangeSeconds({-19999999, 0}).first);
}

TEST(OutputFormat, FrameRateOneToThirty) {
    EXPECT_FALSE(qeltrim::IsOutputFrameRateAllowed(0));
    EXPECT_TRUE(qeltrim::IsOutputFrameRateAllowed(1));
    EXPECT_TRUE(qeltrim::IsOutputFrameRateAllowed(30));
    EXPECT_FALSE(qeltrim::IsOutputFrameRateAllowed(31));
}

TEST(OutputFormat, PixelFormatsAndFrameSize) {
    const qeltrim::OutputLayout rgb24 = qeltrim::OutputLayoutFor(2);
    EXPECT_EQ(qeltrim::OutputSubtype::kRgb24, rgb24.subtype);
    EXPECT_EQ(230400, qeltrim::FrameImageBytes(1, 320, 240, rgb24.bitsPerPixel));
    EXPECT_EQ(16, qeltrim::OutputLayoutFor(1).bitsPerPixel);
    EXPECT_EQ(qeltrim::OutputSubtype::kArgb32, qeltrim::OutputLayoutFor(3).subtype);
    EXPECT_EQ(qeltrim::OutputSubtype::kKeep, qeltrim::OutputLayoutFor(4).subtype);
    EXPECT_EQ(qeltrim::OutputSubtype::kKeep, qeltrim::OutputLayoutFor(-1).subtype);
    // Large frames are computed in 64 bits.
    EXPECT_EQ(4LL * 40000 * 40000, qeltrim::FrameImageBytes(1, 40000, 40000, 32));
}

TEST(OutputFormat, NamesOf260CharactersAreRefused) {
    EXPECT_TRUE(qeltrim::IsOutputNameLengthAllowed(259));
    EXPECT_FALSE(qeltrim::IsOutputNameLengthAllowed(260));
}

} // namespace
