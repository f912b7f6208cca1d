// The trace log: gating, the system line, the default path beside the program, clearing.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "qeltest/temp_dir.h"

namespace {

// Under this Wine the system is a Windows 7 SP1 workstation. The log is a text-mode file, so each
// line ends in CR LF on disk.
const char kSystemLine[] = "Professional Service Pack 1 (Build 7601)\r\n";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n') + 1); }

TEST(TraceLog, WritesOnlyWhileSwitchedOnAndStarted) {
    qeltest::TempDir dir;
    std::string path = dir.File("trace.txt");
    CLog log;
    ASSERT_EQ(1, log.file(&path[0]));
    log.trace("off %d|", 1);
    log.turn_on(1);
    log.trace("on %d|", 2);
    log.stop();
    log.trace("stopped|");
    log.start();
    log.trace("again %s", "3");
    log.trace(nullptr);
    EXPECT_EQ(std::string(kSystemLine) + "\r\n" + "on 2|again 3", ReadFile(path));
}

TEST(TraceLog, ClearEmptiesTheFileAndTracingGoesOn) {
    qeltest::TempDir dir;
    std::string path = dir.File("trace.txt");
    CLog log;
    ASSERT_EQ(1, log.file(&path[0]));
    log.turn_on(1);
    log.trace("before");
    log.clear();
    EXPECT_EQ("", ReadFile(path));
    log.trace("after");
    EXPECT_EQ("after", ReadFile(path));
}

TEST(TraceLog, WithoutAPathTheLogIsLogTxtBesideTheProgramEmptied) {
    char folder[MAX_PATH];
    ASSERT_NE(nullptr, ql_GetModulePath(nullptr, folder));
    const std::string path = std::string(folder) + "log.txt";
    std::ofstream(path) << "old content that must go\n";
    {
        CLog log;
        ASSERT_EQ(1, log.file(nullptr));
        EXPECT_EQ(std::string(kSystemLine) + "\r\n", ReadFile(path));
        EXPECT_EQ(kSystemLine, FirstLine(ReadFile(path)));
    }
    DeleteFileA(path.c_str());
}

TEST(TraceLog, APathOf260CharactersOrMoreOpensNothing) {
    qeltest::TempDir dir;
    std::string tooLong = dir.Path() + "\\" + std::string(260 - dir.Path().size() - 1, 'x');
    ASSERT_EQ(260u, tooLong.size());
    CLog log;
    EXPECT_EQ(0, log.file(&tooLong[0]));
    // Nothing, not even a name cut to 259 characters, was created.
    EXPECT_EQ(0, ql_GetDirFileCount(dir.Path().c_str()));
    log.turn_on(1);
    log.trace("nowhere");
    log.clear();
    EXPECT_EQ(0, ql_GetDirFileCount(dir.Path().c_str()));
}

TEST(TraceLog, AFileThatCannotBeOpenedGivesZero) {
    qeltest::TempDir dir;
    std::string folderAsFile = dir.Path(); // a folder cannot be opened as a file
    CLog log;
    EXPECT_EQ(0, log.file(&folderAsFile[0]));
    log.turn_on(1);
    log.trace("nothing");
}

} // namespace
