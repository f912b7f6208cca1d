// What the player hands to FrameSnatch.exe, read back from a fake program that records its command line.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "GraphBuilder.h"
#include "bmp_file.h"
#include "player_fixture.h"

namespace {

using playertest::ClipSpec;
using playertest::Wide;

std::string Recorded(const std::string& path) {
    const std::vector<uint8_t> bytes = qelmedia::ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

class CommandLineTest : public playertest::PlayerTest {
protected:
    playertest::OwnerWindow owner_;
};

TEST_F(CommandLineTest, SourceTargetPositionAndSizeAreFormattedAsTheProgramExpects) {
    const std::string source = folder_.File("with space.avi");
    const std::string target = folder_.File("still.bmp");
    ASSERT_TRUE(RunFrameSnatch(Wide(source).c_str(), Wide(target).c_str(), 0.000025, 64, 48));
    EXPECT_EQ("FrameSnatch.exe \"" + source + "\" \"" + target + "\" 0.000025 64 48", Recorded(target));
}

TEST_F(CommandLineTest, FrameTwoHundredFiftyIsHandedOnAsItsNumberTimesTenToTheMinusSeven) {
    const std::string clip = MakeClip("long.avi", ClipSpec(300));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), Wide(clip).c_str(), 1));
    const std::string target = folder_.File("frame250.bmp");
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(target).c_str(), 250u));
    EXPECT_EQ("FrameSnatch.exe \"" + clip + "\" \"" + target + "\" 0.000025 64 48", Recorded(target));
}

TEST_F(CommandLineTest, TheCurrentPositionAfterInitIsConvertedToFrames) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(30));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), Wide(clip).c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(20000000, &TIME_FORMAT_MEDIA_TIME, 0));
    const std::string target = folder_.File("current.bmp");
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(target).c_str()));
    EXPECT_EQ("FrameSnatch.exe \"" + clip + "\" \"" + target + "\" 0.000002 64 48", Recorded(target));
}

} // namespace
