// Module folder, path splitting and file queries, with canaries behind every 260-byte output.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "qeltest/temp_dir.h"

namespace {

// A 260-byte output followed by canary bytes that must survive any call.
struct GuardedPath {
    GuardedPath() {
        std::memset(bytes, '#', sizeof bytes);
        std::strcpy(bytes, "before");
    }
    bool CanariesIntact() const {
        for (std::size_t i = 260; i < sizeof bytes; ++i) {
            if (bytes[i] != '#')
                return false;
        }
        return true;
    }
    char bytes[260 + 64];
};

std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

TEST(ModulePath, GivesTheFolderWithItsTrailingBackslash) {
    char buffer[MAX_PATH];
    char* end = ql_GetModulePath(nullptr, buffer);
    ASSERT_NE(nullptr, end);
    EXPECT_EQ(ProgramFolder(), buffer);
    EXPECT_EQ('\\', *end);
    EXPECT_EQ('\0', end[1]);

    HMODULE library = GetModuleHandleA("qelLib1.dll");
    ASSERT_NE(nullptr, library);
    char dllPath[MAX_PATH];
    GetModuleFileNameA(library, dllPath, MAX_PATH);
    ASSERT_NE(nullptr, ql_GetModulePath(library, buffer));
    EXPECT_EQ(0, std::strncmp(dllPath, buffer, std::strlen(buffer)));
    EXPECT_STRCASEEQ("qelLib1.dll", dllPath + std::strlen(buffer));
}

// A copy of qelLib1.dll whose full name has exactly `length` characters, made with the wide calls
// that take names past 260 characters; "" when the file system refuses.
std::string CopyOfLibraryNamed(const qeltest::TempDir& dir, std::size_t length) {
    const std::string fileName = "\\copy.dll";
    const std::wstring longPrefix = L"\\\\?\\";
    const auto wide = [](const std::string& text) { return std::wstring(text.begin(), text.end()); };
    // Components of at most 100 characters: the host file system allows no more than 255 in one.
    std::string folder = dir.Path();
    while (folder.size() + fileName.size() < length) {
        const std::size_t room = length - folder.size() - fileName.size() - 1;
        folder += "\\" + std::string(room > 100 ? 100 : room, 'd');
        CreateDirectoryW((longPrefix + wide(folder)).c_str(), nullptr);
    }
    wchar_t source[MAX_PATH];
    GetModuleFileNameW(GetModuleHandleA("qelLib1.dll"), source, MAX_PATH);
    if (folder.size() + fileName.size() != length ||
        !CopyFileW(source, (longPrefix + wide(folder + fileName)).c_str(), FALSE))
        return "";
    return folder + fileName;
}

TEST(ModulePath, ANameOf259CharactersFitsAndALongerOneGivesNullAndAnEmptyBuffer) {
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}, std::size_t{300}}) {
        qeltest::TempDir dir;
        SCOPED_TRACE(length);
        const std::string copy = CopyOfLibraryNamed(dir, length);
        if (copy.empty())
            GTEST_SKIP() << "the file system refuses a name of " << length << " characters";
        const std::wstring wideCopy = L"\\\\?\\" + std::wstring(copy.begin(), copy.end());
        HMODULE module = LoadLibraryExW(wideCopy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        if (!module)
            GTEST_SKIP() << "the loader refuses a name of " << length << " characters";
        char buffer[MAX_PATH + 8];
        std::memset(buffer, '#', sizeof buffer);
        char* end = ql_GetModulePath(module, buffer);
        if (length < MAX_PATH) {
            ASSERT_NE(nullptr, end);
            EXPECT_EQ(copy.substr(0, copy.rfind('\\') + 1), buffer);
        } else {
            EXPECT_EQ(nullptr, end);
            EXPECT_STREQ("", buffer);
        }
        EXPECT_EQ('#', buffer[MAX_PATH]);
        FreeLibrary(module);
        // The temporary folder's own clean-up uses the short-name calls: remove the long names here.
        DeleteFileW(wideCopy.c_str());
        for (std::wstring folder = wideCopy.substr(0, wideCopy.rfind(L'\\'));
             folder.size() > 4 + dir.Path().size(); folder.erase(folder.rfind(L'\\')))
            RemoveDirectoryW(folder.c_str());
    }
}

TEST(PathSplitting, FolderAndNameOfAPath) {
    char folder[MAX_PATH] = "old";
    char name[MAX_PATH] = "old";
    ql_SplitPath("C:\\Apps\\Cam\\shot.01.jpg", folder, name);
    EXPECT_STREQ("C:\\Apps\\Cam\\", folder);
    EXPECT_STREQ("shot.01.jpg", name);
    ql_SplitPath("C:\\Apps\\Cam\\shot.jpg", nullptr, name);
    ql_SplitPath(nullptr, folder, name);
    ql_SplitPath("", folder, name);
    EXPECT_STREQ("C:\\Apps\\Cam\\", folder); // null and empty paths write nothing
    EXPECT_STREQ("shot.jpg", name);
}

TEST(PathSplitting, NameExtensionAndTheTextAfterTheLastDot) {
    char out[MAX_PATH];
    ql_GetFileName("C:\\a\\b.c\\photo.JPG", out);
    EXPECT_STREQ("photo.JPG", out);
    ql_GetName("C:\\a\\b.c\\photo.JPG", out);
    EXPECT_STREQ("photo", out);
    ql_GetExt("C:\\a\\b.c\\photo.JPG", out);
    EXPECT_STREQ("JPG", out);
    ql_GetExt("C:\\a\\b.c\\photo", out);
    EXPECT_STREQ("", out);
    ql_GetFileExt("C:\\a\\photo.JPG", out);
    EXPECT_STREQ("JPG", out);

    // The text after the last dot of the whole path, even inside a folder name.
    ql_GetFileExt("C:\\a\\b.c\\photo", out);
    EXPECT_STREQ("c\\photo", out);
    std::strcpy(out, "kept");
    ql_GetFileExt("C:\\a\\photo", out);
    EXPECT_STREQ("kept", out);
    ql_GetFileExt(".hidden", out); // a dot that starts the path does not count
    EXPECT_STREQ("kept", out);

    for (void (*get)(const char*, char*) : {ql_GetFileName, ql_GetName, ql_GetExt, ql_GetFileExt}) {
        std::strcpy(out, "kept");
        get(nullptr, out);
        EXPECT_STREQ("", out);
        get("C:\\x.y", nullptr); // must not crash
    }
}

TEST(PathSplitting, A400CharacterPathNeverWritesPastA260ByteOutput) {
    const std::string longFolder = "C:\\" + std::string(380, 'f') + "\\";
    const std::string longName = std::string(300, 'n') + "." + std::string(100, 'e');
    for (const std::string& path : {longFolder + "short.txt", "C:\\short\\" + longName}) {
        GuardedPath folder, name, part;
        ql_SplitPath(path.c_str(), folder.bytes, name.bytes);
        EXPECT_TRUE(folder.CanariesIntact());
        EXPECT_TRUE(name.CanariesIntact());
        for (void (*get)(const char*, char*) : {ql_GetFileName, ql_GetName, ql_GetExt, ql_GetFileExt}) {
            get(path.c_str(), part.bytes);
            EXPECT_TRUE(part.CanariesIntact());
        }
    }
    // What does not fit is left empty; what fits is whole.
    GuardedPath folder, name;
    ql_SplitPath((longFolder + "short.txt").c_str(), folder.bytes, name.bytes);
    EXPECT_STREQ("", folder.bytes);
    EXPECT_STREQ("short.txt", name.bytes);
    GuardedPath ext;
    ql_GetExt(("C:\\short\\" + longName).c_str(), ext.bytes);
    EXPECT_EQ(std::string(100, 'e'), ext.bytes);
}

TEST(FileQueries, ExistenceAndTimesThroughASearch) {
    qeltest::TempDir dir;
    const std::string file = dir.File("clip.avi");
    std::ofstream(file) << "x";
    EXPECT_EQ(1, ql_IsFileExist(file.c_str()));
    EXPECT_EQ(1, ql_IsFileExist(dir.File("*.avi").c_str()));
    EXPECT_EQ(1, ql_IsFileExist(dir.Path().c_str())); // a folder counts
    EXPECT_EQ(0, ql_IsFileExist(dir.File("*.bmp").c_str()));
    EXPECT_EQ(0, ql_IsFileExist(nullptr));

    FILETIME written{};
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    FILETIME created{};
    GetFileTime(handle, &created, nullptr, &written);
    CloseHandle(handle);
    const auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    EXPECT_EQ(value(written), ql_GetFileDate(file.c_str()));
    EXPECT_EQ(value(created), ql_GetFileCreateDate(file.c_str()));
    EXPECT_EQ(0u, ql_GetFileDate(dir.File("none").c_str()));
    EXPECT_EQ(0u, ql_GetFileCreateDate(nullptr));

    FILETIME now{};
    ASSERT_TRUE(ql_GetCurDate(&now));
    EXPECT_GE(value(now), value(written));
    EXPECT_FALSE(ql_GetCurDate(nullptr));
}

} // namespace
