// Screen, version and error queries.
#include <qelLib1.h>

#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "qeltest/message_box_hook.h"
#include "test_folder.h"

namespace {

using utiltest::TestFolder;

TEST(ScreenQueries, ResolutionOfTheDisplayAndOfAGivenDeviceContext) {
    int display[2] = {0, 0};
    ASSERT_EQ(1, ql_GetScreenResolution(nullptr, display));
    EXPECT_GT(display[0], 0);
    EXPECT_GT(display[1], 0);

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    int given[2] = {0, 0};
    ASSERT_EQ(1, ql_GetScreenResolution(&memory, given));
    EXPECT_EQ(GetDeviceCaps(memory.GetSafeHdc(), LOGPIXELSX), given[0]);
    EXPECT_EQ(GetDeviceCaps(memory.GetSafeHdc(), LOGPIXELSY), given[1]);

    CDC none;
    EXPECT_EQ(0, ql_GetScreenResolution(&none, given));
    EXPECT_EQ(0, ql_GetScreenResolution(nullptr, nullptr));
}

TEST(ScreenQueries, MoreThan256ColoursAreReportedAs64000) {
    HDC screen = GetDC(nullptr);
    const int numColors = GetDeviceCaps(screen, NUMCOLORS);
    ReleaseDC(nullptr, screen);
    if (numColors != -1)
        GTEST_SKIP() << "this display reports " << numColors << " colours, not -1";
    EXPECT_EQ(64000, ql_GetScreenColors());
}

TEST(FileVersion, TheProductVersionOfAVersionResource) {
    WORD major = 0, minor = 0, build = 0, revision = 0;
    const std::string fixture = TestFolder() + "qellib1_versioned.dll";
    ASSERT_EQ(1, ql_GetFileVersion(fixture.c_str(), &major, &minor, &build, &revision));
    EXPECT_EQ(1, major);
    EXPECT_EQ(2, minor);
    EXPECT_EQ(3, build);
    EXPECT_EQ(4, revision);
}

TEST(FileVersion, NoVersionResourceLeavesTheOutputs) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    WORD major = 9, minor = 9, build = 9, revision = 9;
    EXPECT_EQ(0, ql_GetFileVersion(program, &major, &minor, &build, &revision));
    EXPECT_EQ(0, ql_GetFileVersion((TestFolder() + "missing.dll").c_str(), &major, &minor, &build, &revision));
    EXPECT_EQ(0, ql_GetFileVersion(nullptr, &major, &minor, &build, &revision));
    EXPECT_EQ(9, major);
    EXPECT_EQ(9, minor);
    EXPECT_EQ(9, build);
    EXPECT_EQ(9, revision);
}

TEST(LastError, NoErrorKnownErrorAndUnknownCode) {
    char text[260] = "untouched";
    SetLastError(0);
    EXPECT_EQ(0, ql_GetLastErrorStr(text));
    EXPECT_STREQ("untouched", text);

    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(1, ql_GetLastErrorStr(text));
    EXPECT_NE(0u, std::strlen(text));
    EXPECT_EQ(std::string::npos, std::string(text).find("Error message")) << text; // the system's own text

    SetLastError(0x20001234); // a customer code the system has no text for
    EXPECT_EQ(1, ql_GetLastErrorStr(text));
    EXPECT_STREQ("Error message 0x20001234 not found", text);
}

TEST(LastError, ShownInABoxTitledErrorOnlyWhenThereIsOne) {
    qeltest::ScopedMessageBoxHook hook(IDOK);
    SetLastError(0);
    EXPECT_EQ(0, ql_ShowLastError());
    EXPECT_TRUE(hook.Shown().empty());

    SetLastError(0x20001234);
    EXPECT_EQ(IDOK, ql_ShowLastError());
    const auto shown = hook.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Error message 0x20001234 not found", shown[0].text);
    EXPECT_EQ("Error", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), shown[0].type);
}

TEST(DirectX, BothRuntimesLoadUnderThisSystem) {
    HMODULE d3d9 = LoadLibraryA("D3D9.DLL");
    if (!d3d9)
        GTEST_SKIP() << "D3D9.DLL does not load here";
    FreeLibrary(d3d9);
    EXPECT_EQ(0x900, ql_GetDXVersion());
}

} // namespace
