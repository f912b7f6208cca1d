// Counting, copying and deleting folder contents on folders the tests make, and size texts.
#include <qelLib1.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "qeltest/temp_dir.h"

namespace {

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A folder "album" with two files and a subfolder holding one more.
struct Album {
    Album() : path(dir.File("album")) {
        CreateDirectoryA(path.c_str(), nullptr);
        WriteFile(path + "\\a.jpg", "first");
        WriteFile(path + "\\b.avi", "second");
        CreateDirectoryA((path + "\\sub").c_str(), nullptr);
        WriteFile(path + "\\sub\\c.bmp", "third");
    }
    qeltest::TempDir dir;
    std::string path;
};

TEST(FolderContents, FilesAreCountedAndSubfoldersFound) {
    Album album;
    EXPECT_EQ(2, ql_GetDirFileCount(album.path.c_str()));
    EXPECT_EQ(1, ql_IsSubFolderExist(album.path.c_str()));
    EXPECT_EQ(1, ql_GetDirFileCount((album.path + "\\sub").c_str()));
    EXPECT_EQ(0, ql_IsSubFolderExist((album.path + "\\sub").c_str())); // only "." and ".."

    for (const char* nothing : {static_cast<const char*>(nullptr), "", "C:\\no\\such\\folder"}) {
        EXPECT_EQ(0, ql_GetDirFileCount(nothing));
        EXPECT_EQ(0, ql_IsSubFolderExist(nothing));
    }
    // A folder whose search pattern would not fit 260 characters finds nothing.
    const std::string tooLong = album.path + "\\" + std::string(300 - album.path.size(), 'x');
    EXPECT_EQ(0, ql_GetDirFileCount(tooLong.c_str()));
    EXPECT_EQ(0, ql_IsSubFolderExist(tooLong.c_str()));
}

TEST(FolderContents, CopyingMakesTheTargetAndCopiesFilesButNotSubfolders) {
    Album album;
    const std::string target = album.dir.File("copy");
    EXPECT_EQ(1, ql_CopyDirectory(album.path.c_str(), target.c_str()));
    EXPECT_EQ("first", ReadFile(target + "\\a.jpg"));
    EXPECT_EQ("second", ReadFile(target + "\\b.avi"));
    EXPECT_FALSE(Exists(target + "\\sub"));
    EXPECT_EQ(2, ql_GetDirFileCount(target.c_str()));
}

TEST(FolderContents, CopyingIntoAnExistingFolderOrFromNothingGivesZero) {
    Album album;
    const std::string existing = album.dir.File("existing");
    CreateDirectoryA(existing.c_str(), nullptr);
    EXPECT_EQ(0, ql_CopyDirectory(album.path.c_str(), existing.c_str()));
    EXPECT_EQ(0, ql_GetDirFileCount(existing.c_str()));

    EXPECT_EQ(0, ql_CopyDirectory(album.dir.File("missing").c_str(), album.dir.File("fromMissing").c_str()));
    EXPECT_EQ(0, ql_CopyDirectory(nullptr, album.dir.File("x").c_str()));
    EXPECT_EQ(0, ql_CopyDirectory(album.path.c_str(), ""));
    EXPECT_FALSE(Exists(album.dir.File("x")));
}

TEST(FolderContents, CopyingSkipsFilesWhoseTargetNameWouldNotFit) {
    Album album;
    WriteFile(album.path + "\\" + std::string(120, 'n') + ".jpg", "long");
    // The target's own name fits; with "\" and the long file name it would pass 259 characters.
    const std::string target = album.dir.File(std::string(259 - album.dir.Path().size() - 1 - 10, 't'));
    ASSERT_LT(target.size(), 260u);
    EXPECT_EQ(1, ql_CopyDirectory(album.path.c_str(), target.c_str()));
    EXPECT_EQ("first", ReadFile(target + "\\a.jpg"));
    EXPECT_EQ(2, ql_GetDirFileCount(target.c_str()));
}

constexpr WORD kSilent = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;

TEST(FolderContents, DeletingRemovesFilesAndTheFolderOnlyWhenAsked) {
    Album album;
    EXPECT_EQ(1, ql_DeleteDirectory((album.path + "\\sub").c_str(), FALSE, kSilent));
    EXPECT_EQ(0, ql_GetDirFileCount((album.path + "\\sub").c_str()));
    EXPECT_TRUE(Exists(album.path + "\\sub"));

    EXPECT_EQ(1, ql_DeleteDirectory((album.path + "\\sub").c_str(), TRUE, kSilent));
    EXPECT_FALSE(Exists(album.path + "\\sub"));
}

TEST(FolderContents, AFolderWithSubfoldersKeepsThemAndItself) {
    Album album;
    EXPECT_EQ(1, ql_DeleteDirectory(album.path.c_str(), TRUE, kSilent));
    EXPECT_FALSE(Exists(album.path + "\\a.jpg"));
    EXPECT_FALSE(Exists(album.path + "\\b.avi"));
    EXPECT_TRUE(Exists(album.path));
    EXPECT_EQ("third", ReadFile(album.path + "\\sub\\c.bmp"));

    EXPECT_EQ(0, ql_DeleteDirectory(nullptr, TRUE, kSilent));
    EXPECT_EQ(0, ql_DeleteDirectory("", TRUE, kSilent));
    EXPECT_EQ(0, ql_DeleteDirectory(album.dir.File("missing").c_str(), TRUE, kSilent));
}

std::string SizeText(DWORD size) {
    char out[260] = "untouched";
    ql_FileSize2Str(out, size, nullptr, nullptr, 0, nullptr);
    return out;
}

TEST(FileSizeText, DefaultUnitsAndTheirBoundaries) {
    EXPECT_EQ("0.49 KB", SizeText(500));
    EXPECT_EQ("1.50 KB", SizeText(1536));
    EXPECT_EQ("1024.00 KB", SizeText(1048576));
    EXPECT_EQ("1.00 MB", SizeText(1048577));
    EXPECT_EQ("3.00 GB", SizeText(3u * 1073741824u));

    const DWORD thousands[] = {1000000000u, 1000000u, 1000u};
    const char units[] = "G\0M\0K";
    char out[260];
    ql_FileSize2Str(out, 2500, "%.1f", units, 2, thousands);
    EXPECT_STREQ("2.5 K", out);
    ql_FileSize2Str(nullptr, 2500, nullptr, nullptr, 0, nullptr); // must not crash
}

} // namespace
