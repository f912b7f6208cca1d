// CFileFind over a fixture folder: names, paths, flags, sizes and times.
#include <afx.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "qeltest/temp_dir.h"

namespace {

struct Found {
    std::string path;
    ULONGLONG length;
    bool directory, dots, readOnly, hidden, archived;
    FILETIME written;
};

void WriteFixture(const std::string& path, const char* text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, nullptr);
    // A fixed write time: 2020-01-02 03:04:05 UTC.
    SYSTEMTIME when = {2020, 1, 4, 2, 3, 4, 5, 0};
    FILETIME time;
    SystemTimeToFileTime(&when, &time);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

TEST(FileFindTest, ListsAFolderWithFlagsAndTimes) {
    qeltest::TempDir dir;
    WriteFixture(dir.File("photo.JPG"), "12345");
    WriteFixture(dir.File("clip.avi"), "1234567890");
    WriteFixture(dir.File("hidden.txt"), "");
    SetFileAttributesA(dir.File("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA(dir.File("sub").c_str(), nullptr));

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir.Path() + "\\*.*").c_str()));
    std::map<std::string, Found> found;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        Found f = {static_cast<LPCSTR>(finder.GetFilePath()), finder.GetLength(), finder.IsDirectory() != 0,
                   finder.IsDots() != 0, finder.IsReadOnly() != 0, finder.IsHidden() != 0,
                   finder.IsArchived() != 0, {}};
        finder.GetLastWriteTime(&f.written);
        found[static_cast<LPCSTR>(finder.GetFileName())] = f;
        EXPECT_STREQ((dir.Path() + "\\").c_str(), finder.GetRoot());
    }
    ASSERT_EQ(6u, found.size()); // ".", "..", three files and the folder
    EXPECT_TRUE(found["."].dots);
    EXPECT_TRUE(found[".."].dots);
    EXPECT_TRUE(found["sub"].directory);
    EXPECT_FALSE(found["sub"].dots);
    EXPECT_EQ(dir.File("photo.JPG"), found["photo.JPG"].path);
    EXPECT_EQ(5u, found["photo.JPG"].length);
    EXPECT_EQ(10u, found["clip.avi"].length);
    EXPECT_FALSE(found["clip.avi"].directory);
    EXPECT_TRUE(found["hidden.txt"].hidden);
    EXPECT_TRUE(found["hidden.txt"].readOnly);
    EXPECT_FALSE(found["photo.JPG"].readOnly);

    SYSTEMTIME when = {};
    FileTimeToSystemTime(&found["clip.avi"].written, &when);
    EXPECT_EQ(2020, when.wYear);
    EXPECT_EQ(2, when.wDay);
    EXPECT_EQ(5, when.wSecond);
    SetFileAttributesA(dir.File("hidden.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileFindTest, PatternsTitlesAndMisses) {
    qeltest::TempDir dir;
    WriteFixture(dir.File("a.bmp"), "x");
    WriteFixture(dir.File("b.jpg"), "x");
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir.Path() + "\\*.bmp").c_str()));
    EXPECT_FALSE(finder.FindNextFile()); // the one and last match
    EXPECT_STREQ("a.bmp", finder.GetFileName());
    EXPECT_STREQ("a", finder.GetFileTitle());
    EXPECT_FALSE(finder.FindNextFile());

    EXPECT_FALSE(finder.FindFile((dir.Path() + "\\*.wmv").c_str()));
    EXPECT_FALSE(finder.FindFile((dir.Path() + "\\Tavorin.dll").c_str()));
    EXPECT_TRUE(finder.FindFile(dir.File("b.jpg").c_str())); // a single file by name
    finder.FindNextFile();
    EXPECT_EQ(dir.File("b.jpg"), std::string(finder.GetFilePath()));
    finder.Close();
}

} // namespace
