// The renderer check on simulated playbacks: reports about 15 a second over clips of various speeds,
// with renderers that draw, draw late, draw never, and windows that are covered.
#include <gtest/gtest.h>

#include <functional>

#include "RendererCheck.h"

namespace {

using viewer::FrameSamples;
using viewer::RendererCheck;
using viewer::RendererReport;
using viewer::RendererVerdict;

constexpr int kReportsPerSecond = 15;
constexpr int kPoints = 25;

std::vector<uint32_t> Uniform(uint32_t colour) { return std::vector<uint32_t>(kPoints, colour); }

// The clip pattern's colour of a frame: a red that moves on with every frame.
uint32_t FrameColour(int frame) { return static_cast<uint32_t>((frame * 8 + 16) % 256); }

// What one simulated playback gives at report r (0-based).
struct Playback {
    std::function<std::vector<uint32_t>(int)> frame;  // the reader's frame samples
    std::function<std::vector<uint32_t>(int)> screen; // what the screen shows
    std::function<bool(int)> inView = [](int) { return true; };
};

// A clip of fps frames a second, as the reader gives it at each report.
std::function<std::vector<uint32_t>(int)> ClipAt(double fps, int stillReports = 0) {
    return [fps, stillReports](int r) {
        const int moving = r < stillReports ? 0 : r - stillReports;
        return Uniform(FrameColour(static_cast<int>(moving * fps / kReportsPerSecond)));
    };
}

// A renderer that shows the clip's frame from report `from` on (in its own colours), and the stale
// picture left under its window before that.
std::function<std::vector<uint32_t>(int)> DrawsFrom(std::function<std::vector<uint32_t>(int)> frame, int from) {
    return [frame, from](int r) {
        if (r < from)
            return Uniform(0x00C0C0C0);
        std::vector<uint32_t> shown = frame(r);
        for (uint32_t& colour : shown)
            colour ^= 0x00010101; // a renderer's colour conversion: never equal to the reader's
        return shown;
    };
}

std::function<std::vector<uint32_t>(int)> NeverDraws() {
    return [](int) { return Uniform(0x00C0C0C0); };
}

// Feeds reports until a verdict or the check's own bound; the verdict and the report that gave it.
RendererVerdict Watch(const Playback& playback, int* decidedAt = nullptr) {
    RendererCheck check;
    for (int r = 0; r < RendererCheck::kReportsWatched + 10; ++r) {
        RendererReport report;
        report.frame = playback.frame(r);
        report.screen = playback.screen(r);
        report.rendererInView = playback.inView(r);
        const RendererVerdict verdict = check.Report(report);
        if (verdict != RendererVerdict::kWatching) {
            if (decidedAt)
                *decidedAt = r;
            return verdict;
        }
    }
    return RendererVerdict::kWatching;
}

TEST(RendererCheck, ARendererThatDrawsIsLeftAloneWhateverTheClip) {
    for (double fps : {30.0, 10.0, 4.0, 2.0, 1.0}) {
        Playback playback;
        playback.frame = ClipAt(fps);
        playback.screen = DrawsFrom(playback.frame, 0);
        EXPECT_EQ(RendererVerdict::kDraws, Watch(playback)) << fps << " frames a second";
    }
}

TEST(RendererCheck, AStillStartDecidesNothingUntilTheClipMoves) {
    Playback drawn;
    drawn.frame = ClipAt(10, 30); // 2 s of lens cap, then moving
    drawn.screen = DrawsFrom(drawn.frame, 0);
    int at = 0;
    EXPECT_EQ(RendererVerdict::kDraws, Watch(drawn, &at));
    EXPECT_GT(at, 30) << "decided during the still start";

    Playback blank;
    blank.frame = ClipAt(10, 30);
    blank.screen = NeverDraws();
    EXPECT_EQ(RendererVerdict::kShowsNothing, Watch(blank, &at));
    EXPECT_GT(at, 30) << "decided during the still start";
}

TEST(RendererCheck, ABlackClipIsNeverTakenForABlankRenderer) {
    Playback playback;
    playback.frame = [](int) { return Uniform(0); };
    playback.screen = [](int) { return Uniform(0); };
    int at = 0;
    EXPECT_EQ(RendererVerdict::kGaveUp, Watch(playback, &at));
    EXPECT_EQ(RendererCheck::kReportsWatched - 1, at) << "gave up before its bound";
}

TEST(RendererCheck, ASlowClipIsJudgedByItsFrameChangesNotByTheReports) {
    // Four frames a second: a drawing renderer's screen stands still for four reports at a time.
    Playback drawn;
    drawn.frame = ClipAt(4);
    drawn.screen = DrawsFrom(drawn.frame, 0);
    EXPECT_EQ(RendererVerdict::kDraws, Watch(drawn));
    // One frame a second that the renderer does not show: found within the reports watched.
    Playback blank;
    blank.frame = ClipAt(1);
    blank.screen = NeverDraws();
    int at = 0;
    EXPECT_EQ(RendererVerdict::kShowsNothing, Watch(blank, &at));
    EXPECT_GE(at, 3 * kReportsPerSecond) << "three frame changes of a one-frame-a-second clip take 3 s";
}

TEST(RendererCheck, ACoveredOrMinimisedViewerGivesNoEvidence) {
    // Covered all along: the cover's pixels stand still while the clip moves.
    Playback covered;
    covered.frame = ClipAt(10);
    covered.screen = NeverDraws();
    covered.inView = [](int) { return false; };
    EXPECT_EQ(RendererVerdict::kGaveUp, Watch(covered));

    // Covered for the first second of a renderer that draws, then uncovered.
    Playback uncovered;
    uncovered.frame = ClipAt(10);
    uncovered.screen = [](int r) { return r < 15 ? Uniform(0x00C0C0C0) : DrawsFrom(ClipAt(10), 0)(r); };
    uncovered.inView = [](int r) { return r >= 15; };
    int at = 0;
    EXPECT_EQ(RendererVerdict::kDraws, Watch(uncovered, &at));
    EXPECT_GE(at, 15);

    // Covered at every other report: no two reports in view in a row, so no step is ever seen.
    Playback flickering;
    flickering.frame = ClipAt(10);
    flickering.screen = NeverDraws();
    flickering.inView = [](int r) { return r % 2 == 0; };
    EXPECT_EQ(RendererVerdict::kGaveUp, Watch(flickering));
}

TEST(RendererCheck, ARendererThatDrawsLateIsStillFoundDrawing) {
    for (int from : {1, 3, 6}) {
        Playback playback;
        playback.frame = ClipAt(15);
        playback.screen = DrawsFrom(playback.frame, from);
        EXPECT_EQ(RendererVerdict::kDraws, Watch(playback)) << "drawing from report " << from;
    }
}

TEST(RendererCheck, ARendererThatNeverDrawsIsReplacedOnceTheClipHasMoved) {
    Playback playback;
    playback.frame = ClipAt(10);
    playback.screen = NeverDraws();
    int at = 0;
    EXPECT_EQ(RendererVerdict::kShowsNothing, Watch(playback, &at));
    EXPECT_GE(at, RendererCheck::kReportsBeforeStill - 1);
    EXPECT_LT(at, 15) << "a blank renderer on a 10 frames a second clip is found within a second";

    // Its window cleared once while the clip played (an erase, not a picture): still found blank.
    Playback erased;
    erased.frame = ClipAt(10);
    erased.screen = [](int r) { return Uniform(r < 3 ? 0x00C0C0C0 : 0); };
    EXPECT_EQ(RendererVerdict::kShowsNothing, Watch(erased));
}

TEST(RendererCheck, MissingFramesAndSamplesGiveNoEvidenceAndAVerdictStays) {
    RendererCheck check;
    RendererReport noFrame;
    noFrame.screen = Uniform(1);
    noFrame.rendererInView = true;
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(RendererVerdict::kWatching, check.Report(noFrame));

    RendererReport report;
    report.rendererInView = true;
    for (int r = 0; r < 3; ++r) {
        report.frame = Uniform(FrameColour(r));
        report.screen = report.frame;
        check.Report(report);
    }
    ASSERT_EQ(RendererVerdict::kDraws, check.Verdict());
    report.screen = Uniform(7);
    for (int r = 3; r < 20; ++r) {
        report.frame = Uniform(FrameColour(r));
        EXPECT_EQ(RendererVerdict::kDraws, check.Report(report)) << "changed its mind at " << r;
    }
}

// A 3x2 frame of 24 bits, rows padded to 12 bytes; pixel (x, y) from the top has blue x, green y, red 9,
// so it reads 0x00xxyy09.
std::vector<uint8_t> SmallFrame(bool topDown) {
    std::vector<uint8_t> bits(12 * 2, 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* pixel = &bits[static_cast<size_t>((topDown ? y : 1 - y) * 12 + x * 3)];
            pixel[0] = static_cast<uint8_t>(x);
            pixel[1] = static_cast<uint8_t>(y);
            pixel[2] = 9;
        }
    return bits;
}

TEST(FrameSamples, ReadsTheGridFromTheTopWhicheverWayTheRowsAreStored) {
    // A grid of 1 samples the middle: x = 3 / 2 = 1, y = 2 / 2 = 1.
    for (bool topDown : {false, true}) {
        const std::vector<uint8_t> bits = SmallFrame(topDown);
        EXPECT_EQ(std::vector<uint32_t>({0x00010109}), FrameSamples(bits.data(), bits.size(), 3, 2, 24, topDown, 1))
            << (topDown ? "top-down" : "bottom-up");
    }
    // A grid of 2 on the same frame: x = 1 and 2, y = 0 and 1, row by row from the top.
    const std::vector<uint8_t> bits = SmallFrame(false);
    EXPECT_EQ(std::vector<uint32_t>({0x00010009, 0x00020009, 0x00010109, 0x00020109}),
              FrameSamples(bits.data(), bits.size(), 3, 2, 24, false, 2));
}

TEST(FrameSamples, ThirtyTwoBitFramesSkipTheFourthByte) {
    const std::vector<uint8_t> bits = {1, 2, 3, 0xFF, 4, 5, 6, 0xFF};
    EXPECT_EQ(std::vector<uint32_t>({0x00040506}), FrameSamples(bits.data(), bits.size(), 2, 1, 32, true, 1));
}

TEST(FrameSamples, OtherFormatsAndShortFramesGiveNoSamples) {
    const std::vector<uint8_t> bits = SmallFrame(false);
    EXPECT_TRUE(FrameSamples(bits.data(), bits.size() - 1, 3, 2, 24, false, 5).empty()) << "one byte short";
    EXPECT_TRUE(FrameSamples(bits.data(), bits.size(), 3, 2, 16, false, 5).empty());
    EXPECT_TRUE(FrameSamples(bits.data(), bits.size(), 0, 2, 24, false, 5).empty());
    EXPECT_TRUE(FrameSamples(nullptr, 0, 3, 2, 24, false, 5).empty());
    EXPECT_TRUE(FrameSamples(bits.data(), bits.size(), 3, -2, 24, false, 5).empty());
}

} // namespace
