// Our FrameSnatch.exe stand-in on its own: the frame it picks, scaling, its refusals, and its time
// limit on a source that never answers, also as the player starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>

#include "GraphBuilder.h"
#include "bmp_file.h"
#include "player_fixture.h"

namespace {

using playertest::ClipSpec;
using playertest::CompareBmpWithClipFrame;

static_assert(!std::is_copy_constructible<CGraphBuilder>::value &&
                  !std::is_copy_assignable<CGraphBuilder>::value,
              "a copied player would release its interfaces twice");

// Runs the stand-in beside this test with the given arguments and returns its exit code.
DWORD RunProgram(const std::string& arguments) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    program = program.substr(0, program.rfind('\\') + 1) + "FrameSnatch.exe";
    std::string commandLine = "FrameSnatch.exe " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A source that never answers: a named pipe nobody writes into. Opening it succeeds and every read
// of it blocks, as a damaged file can make the platform's source filters block.
class SilentPipe {
public:
    SilentPipe() : path_("\\\\.\\pipe\\qel_framesnatch_silent_" + std::to_string(GetCurrentProcessId())) {
        for (HANDLE& instance : instances_)
            instance = CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                        PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    }
    ~SilentPipe() {
        for (HANDLE instance : instances_)
            if (instance != INVALID_HANDLE_VALUE)
                CloseHandle(instance);
    }
    SilentPipe(const SilentPipe&) = delete;
    SilentPipe& operator=(const SilentPipe&) = delete;
    bool Open() const { return instances_[0] != INVALID_HANDLE_VALUE; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    HANDLE instances_[4];
};

// The program's time limit for this test's runs, given through its environment.
class ShortRunLimit {
public:
    ShortRunLimit() { SetEnvironmentVariableA("FRAMESNATCH_TIME_LIMIT_MS", "2000"); }
    ~ShortRunLimit() { SetEnvironmentVariableA("FRAMESNATCH_TIME_LIMIT_MS", nullptr); }
};

class FrameSnatchProgramTest : public playertest::PlayerTest {};

TEST_F(FrameSnatchProgramTest, PicksTheFrameWhoseNumberThePositionCarries) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(30));
    const std::string still = folder_.File("f29.bmp");
    ASSERT_EQ(0u, RunProgram(Quoted(clip) + " " + Quoted(still) + " 0.0000029 64 48"));
    EXPECT_EQ("", CompareBmpWithClipFrame(still, 29, 64, 48));
    ASSERT_EQ(0u, RunProgram(Quoted(clip) + " " + Quoted(still) + " 0.000000 64 48"));
    EXPECT_EQ("", CompareBmpWithClipFrame(still, 0, 64, 48));
}

TEST_F(FrameSnatchProgramTest, ScalesToTheAskedSizeByNearestPixel) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(30));
    const std::string still = folder_.File("small.bmp");
    ASSERT_EQ(0u, RunProgram(Quoted(clip) + " " + Quoted(still) + " 0.000001 32 24"));
    qelmedia::Bmp24 image;
    std::string why;
    ASSERT_TRUE(qelmedia::ParseBmp24(qelmedia::ReadWholeFile(still), &image, &why)) << why;
    ASSERT_EQ(32, image.width);
    ASSERT_EQ(24, image.height);
    const std::vector<uint8_t> rows = qelmedia::BottomUpRows(image);
    const std::vector<uint8_t> source = qelmedia::ClipFrame(10, 64, 48);
    for (int row = 0; row < 24; ++row)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(0, std::memcmp(&rows[row * qelmedia::Rgb24Stride(32) + 3 * x],
                                     &source[2 * row * qelmedia::Rgb24Stride(64) + 3 * 2 * x], 3))
                << "pixel " << x << "," << row;
}

TEST_F(FrameSnatchProgramTest, RefusesWhatItCannotAnswerAndWritesNothing) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(30));
    const std::string still = folder_.File("none.bmp");
    EXPECT_EQ(1u, RunProgram(Quoted(clip) + " " + Quoted(still) + " 0.000001"));
    EXPECT_EQ(1u, RunProgram(Quoted(clip) + " " + Quoted(still) + " -1 64 48"));
    EXPECT_EQ(3u, RunProgram(Quoted(clip) + " " + Quoted(still) + " 0.000030 64 48"))
        << "past the last frame";
    EXPECT_EQ(2u, RunProgram(Quoted(folder_.File("missing.avi")) + " " + Quoted(still) + " 0 64 48"));
    EXPECT_EQ(4u, RunProgram(Quoted(clip) + " " + Quoted(folder_.File("no-folder\\x.bmp")) + " 0 64 48"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(still.c_str()));
}

TEST_F(FrameSnatchProgramTest, ASourceThatNeverAnswersEndsTheRunAtItsLimitWithoutAPicture) {
    SilentPipe source;
    ASSERT_TRUE(source.Open());
    const ShortRunLimit limit;
    const std::string still = folder_.File("silent.bmp");
    EXPECT_EQ(5u, RunProgram(Quoted(source.Path()) + " " + Quoted(still) + " 0 64 48"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(still.c_str()));

    // As the player starts it: the player hears of the failure and no still is left.
    const std::wstring wideStill = playertest::Wide(folder_.File("player.bmp"));
    EXPECT_FALSE(RunFrameSnatch(playertest::Wide(source.Path()).c_str(), wideStill.c_str(), 0.0, 64, 48));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wideStill.c_str()));
}

} // namespace
