// Telling a capture file's write failure apart: the folder's own state first, then the error of the
// attempt; each cause names the folder or the file.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "WriteProblem.h"
#include "qeltest/temp_dir.h"

namespace apptest {
namespace {

using qelapp::WhyNotWritten;
using qelapp::WriteFailure;

TEST(WriteProblem, TheFolderOfAPathLosesOnlyItsLastPart) {
    EXPECT_EQ("C:\\pictures", qelapp::FolderOf("C:\\pictures\\DREM0001.BMP"));
    EXPECT_EQ("C:", qelapp::FolderOf("C:\\DREM0001.BMP"));
    EXPECT_EQ("", qelapp::FolderOf("DREM0001.BMP"));
    EXPECT_TRUE(qelapp::FolderIsThere("C:"));
}

TEST(WriteProblem, AFolderThatIsNotThereWinsOverTheErrorsWord) {
    qeltest::TempDir dir;
    const std::string gone = dir.File("gone");
    for (DWORD error : {ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND, ERROR_DISK_FULL}) {
        const qelapp::WriteProblem problem = WhyNotWritten(gone + "\\a.bmp", error);
        EXPECT_EQ(WriteFailure::FolderMissing, problem.kind) << error;
        EXPECT_EQ(gone, problem.subject) << error;
        EXPECT_EQ(error, problem.error);
    }
    // A plain file in the folder's place.
    const std::string plain = dir.File("plain");
    HANDLE file = ::CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ::CloseHandle(file);
    EXPECT_EQ(WriteFailure::FolderMissing, WhyNotWritten(plain + "\\a.bmp", ERROR_PATH_NOT_FOUND).kind);
    EXPECT_EQ(WriteFailure::FolderMissing, WhyNotWritten("Q:\\Gone\\a.bmp", ERROR_SUCCESS).kind);
}

TEST(WriteProblem, InAFolderThatIsThereTheErrorTellsTheCause) {
    qeltest::TempDir dir;
    const std::string folder = dir.Path();
    const std::string file = folder + "\\a.bmp";
    struct Case {
        DWORD error;
        WriteFailure kind;
        bool namesFolder;
    };
    const Case cases[] = {
        {ERROR_SUCCESS, WriteFailure::None, false},
        {ERROR_ACCESS_DENIED, WriteFailure::FolderReadOnly, true},
        {ERROR_WRITE_PROTECT, WriteFailure::FolderReadOnly, true},
        {ERROR_DISK_FULL, WriteFailure::DiskFull, true},
        {ERROR_HANDLE_DISK_FULL, WriteFailure::DiskFull, true},
        {ERROR_PATH_NOT_FOUND, WriteFailure::FolderMissing, true}, // gone between the look and the attempt
        {ERROR_FILENAME_EXCED_RANGE, WriteFailure::NameTooLong, false},
        {ERROR_INVALID_NAME, WriteFailure::InvalidName, false},
        {ERROR_SHARING_VIOLATION, WriteFailure::Other, false},
    };
    for (const Case& c : cases) {
        const qelapp::WriteProblem problem = WhyNotWritten(file, c.error);
        EXPECT_EQ(c.kind, problem.kind) << c.error;
        if (c.kind != WriteFailure::None) {
            EXPECT_EQ(c.namesFolder ? folder : file, problem.subject) << c.error;
        }
    }
}

TEST(WriteProblem, ANameOfMaxPathOrMoreIsTooLongWhateverTheError) {
    const std::string longName = "C:\\" + std::string(MAX_PATH, 'a') + ".bmp";
    const qelapp::WriteProblem problem = WhyNotWritten(longName, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(WriteFailure::NameTooLong, problem.kind);
    EXPECT_EQ(longName, problem.subject);
}

// '?' stands for a letter the code page lacks: the text names no file, and a look-up would take it as a
// pattern. The cause is said before any look-up, naming the folder when the folder holds the wildcard.
TEST(WriteProblem, AWildcardInTheFolderOrTheNameIsTheCauseWhateverMatchesIt) {
    qeltest::TempDir dir;
    ASSERT_TRUE(::CreateDirectoryA(dir.File("pictures").c_str(), nullptr)); // what "pict?res" matches
    for (DWORD error : {ERROR_SUCCESS, ERROR_INVALID_NAME, ERROR_PATH_NOT_FOUND}) {
        const qelapp::WriteProblem inFolder = WhyNotWritten(dir.File("pict?res") + "\\a.bmp", error);
        EXPECT_EQ(WriteFailure::FolderNameWildcard, inFolder.kind) << error;
        EXPECT_EQ(dir.File("pict?res"), inFolder.subject) << error;
        const qelapp::WriteProblem inName = WhyNotWritten(dir.File("pictures\\A?B0001.BMP"), error);
        EXPECT_EQ(WriteFailure::FileNameWildcard, inName.kind) << error;
        EXPECT_EQ(dir.File("pictures\\A?B0001.BMP"), inName.subject) << error;
    }
    EXPECT_EQ(WriteFailure::FileNameWildcard, WhyNotWritten(dir.File("*0001.AVI"), ERROR_SUCCESS).kind);
    EXPECT_EQ(WriteFailure::FolderNameWildcard, WhyNotWritten("C:\\*\\a.bmp", ERROR_SUCCESS).kind);
    EXPECT_EQ(WriteFailure::NameTooLong, WhyNotWritten("C:\\?" + std::string(MAX_PATH, 'a'), ERROR_SUCCESS).kind);
    EXPECT_EQ(WriteFailure::None, WhyNotWritten("", ERROR_SUCCESS).kind) << "an empty name holds no wildcard";
}

} // namespace
} // namespace apptest
