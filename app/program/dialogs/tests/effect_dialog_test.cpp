// The Effects dialog in the real program: where the tile grids sit, the grid's opening row and scroll
// range, the photo frame switched on only by a frame tile (read from a stand-in plug-in), the negative
// tile's picture (read from the screen), and the indexes OK and "No Effect" leave in the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "QelPluginIds.h"
#include "dialog_driver.h"
#include "program_fixture.h"
#include "screen_probe.h"

namespace programtest {
namespace {

enum : int { kNoEffect = 1044, kScroll = 1045, kNote = 1087, kEffectGroup = 1090, kPropertyGroup = 1091 };
constexpr int kEffectsButton = 1007;
constexpr int kEffectTile = 9000;
constexpr int kFrameTile = 10000;

class EffectDialog : public ProgramTest {
protected:
    void TearDown() override {
        run.reset();
        log.reset();
        ProgramTest::TearDown();
    }

    void Start(int effectIndex, const std::function<void(ZentrikRun&)>& prepare = [](ZentrikRun&) {}) {
        run = StartPrepared([effectIndex, &prepare](ZentrikRun& r) {
            r.SetIniValue("Effect", "EffectIndex", std::to_string(effectIndex).c_str());
            prepare(r);
        });
        run->Pump(500);
    }
    HWND Open() {
        ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kEffectsButton, BN_CLICKED), 0);
        HWND dialog = run->WaitForDialog("Effects", 10000);
        if (dialog)
            run->Pump(300);
        return dialog;
    }
    void Pick(HWND dialog, int tileId) {
        HWND tile = FindChildById(dialog, tileId);
        ASSERT_TRUE(tile) << "no tile " << tileId;
        ClickWindow(tile);
        run->Pump(500);
    }
    void End(HWND dialog, int button) {
        PressButton(dialog, button);
        EXPECT_TRUE(run->WaitForDialogEnd(dialog, 5000)) << "the dialog did not end";
        run->Pump(300);
    }
    void CloseProgram() {
        ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
        ASSERT_EQ(0u, run->WaitForExit(15000));
    }
    // Waits until the preview shows the camera's picture, inverted or not, stretched over the area.
    bool PreviewReads(bool inverted, DWORD ms) {
        const RECT picture = PreviewOnScreen(*run, 0);
        const DWORD end = ::GetTickCount() + ms;
        uint32_t frame = 0;
        do {
            const bool read = inverted ? ReadInvertedFrameNumberOnScreen(picture, &frame)
                                       : ReadFrameNumberOnScreen(picture, &frame);
            if (read)
                return true;
            run->Pump(100);
        } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
        return false;
    }

    std::unique_ptr<EngineCallLog> log;
    std::unique_ptr<ZentrikRun> run;
};

TEST_F(EffectDialog, NoEffectOpensAtTheTopWithTheFrameChoiceHidden) {
    Start(-1);
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    ShootWindow(dialog, "effects_none");
    EXPECT_EQ(0, ::GetScrollPos(::GetDlgItem(dialog, kScroll), SB_CTL));
    int low = -1, high = -1;
    ::GetScrollRange(::GetDlgItem(dialog, kScroll), SB_CTL, &low, &high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(3, high) << "11 tiles in two columns, three rows shown";
    EXPECT_TRUE(IsShown(dialog, kNote));
    HWND frame = FindChildById(dialog, kFrameTile);
    ASSERT_TRUE(frame);
    EXPECT_FALSE(::IsWindowVisible(::GetParent(frame)));
    End(dialog, IDCANCEL);
}

// The width and height of a skin area's "rect".
SIZE SkinAreaSize(const ZentrikRun& run, const char* area) {
    char value[64] = {};
    ::GetPrivateProfileStringA(area, "rect", "", value, sizeof value, run.SkinIni().c_str());
    int left = 0, top = 0, right = 0, bottom = 0;
    if (std::sscanf(value, "%d,%d,%d,%d", &left, &top, &right, &bottom) != 4)
        return {};
    return {right - left, bottom - top};
}

// The height of the group boxes' titles: the template's font, Tahoma 8, on this screen.
int TitleHeight() {
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontA(-::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                               FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ old = ::SelectObject(screen, font);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(screen, &metrics);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

bool Inside(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

TEST_F(EffectDialog, EachTileGridSitsInsideItsGroupBelowTheTitleAtTheSkinsSize) {
    Start(0); // the frame grid shown too
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    ShootWindow(dialog, "effects_layout");
    const int title = TitleHeight();
    ASSERT_LT(0, title);
    RECT client = {};
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT scroll = ScreenRectOf(::GetDlgItem(dialog, kScroll));
    struct Grid {
        int tileId;
        int groupId;
        const char* area;
    };
    for (const Grid& grid :
         {Grid{kEffectTile, kEffectGroup, "EffectArea"}, Grid{kFrameTile, kPropertyGroup, "PropertyArea"}}) {
        SCOPED_TRACE(grid.area);
        HWND tile = FindChildById(dialog, grid.tileId);
        ASSERT_TRUE(tile);
        const RECT list = ScreenRectOf(::GetParent(tile));
        const RECT group = ScreenRectOf(::GetDlgItem(dialog, grid.groupId));
        const SIZE skin = SkinAreaSize(*run, grid.area);
        EXPECT_EQ(skin.cx, list.right - list.left) << "the skin's width";
        EXPECT_EQ(skin.cy, list.bottom - list.top) << "the skin's height";
        EXPECT_TRUE(Inside(group, list)) << "list " << Describe(list) << " group " << Describe(group);
        EXPECT_GE(list.top, group.top + title) << "the list covers the group's title";
        EXPECT_TRUE(Inside(client, group)) << "the group is cut off by the dialog";
    }
    const RECT effects = ScreenRectOf(::GetParent(FindChildById(dialog, kEffectTile)));
    EXPECT_LE(effects.right, scroll.left) << "the effect list runs under its scroll bar";
    EXPECT_TRUE(Inside(ScreenRectOf(::GetDlgItem(dialog, kEffectGroup)), scroll));
    for (int button : {int{kNoEffect}, IDOK, IDCANCEL})
        EXPECT_TRUE(Inside(client, ScreenRectOf(::GetDlgItem(dialog, button)))) << "button " << button;
    End(dialog, IDCANCEL);
}

TEST_F(EffectDialog, ASkinWithoutTheTileCountAndALongFaceNameOpensWithoutEffectTiles) {
    Start(-1, [](ZentrikRun& r) {
        const std::string skin = r.SkinIni();
        ::WritePrivateProfileStringA("Zentrik", "font_size",
                                     "AFaceNameFarLongerThanTheThirtyTwoCharactersAFontRecordHolds 13", skin.c_str());
        ::WritePrivateProfileStringA("EffectArea", "count", nullptr, skin.c_str());
        ::WritePrivateProfileStringA("EffectArea", "rect", nullptr, skin.c_str());
    });
    HWND dialog = Open();
    ASSERT_TRUE(dialog) << "the dialog did not open";
    EXPECT_FALSE(FindChildById(dialog, kEffectTile));
    EXPECT_TRUE(FindChildById(dialog, kFrameTile)) << "the frame tiles do not depend on the effect area";
    int low = -1, high = -1;
    ::GetScrollRange(::GetDlgItem(dialog, kScroll), SB_CTL, &low, &high);
    EXPECT_EQ(0, high);
    End(dialog, IDCANCEL);
    EXPECT_TRUE(run->Running());
}

TEST_F(EffectDialog, IndexFiveOpensOneRowDown) {
    Start(5);
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    ShootWindow(dialog, "effects_row1");
    EXPECT_EQ(1, ::GetScrollPos(::GetDlgItem(dialog, kScroll), SB_CTL));
    HWND third = FindChildById(dialog, kEffectTile + 2);
    ASSERT_TRUE(third);
    RECT tile = {}, list = {};
    ::GetWindowRect(third, &tile);
    ::GetWindowRect(::GetParent(third), &list);
    EXPECT_EQ(list.top, tile.top) << "the second row is the first one shown";
    // Scrolling back up by a line restores the first row.
    ::SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, kScroll)));
    ::GetWindowRect(third, &tile);
    EXPECT_EQ(list.top + 133, tile.top);
    EXPECT_EQ(0, ::GetScrollPos(::GetDlgItem(dialog, kScroll), SB_CTL));
    End(dialog, IDCANCEL);
}

TEST_F(EffectDialog, AFrameReachesTheEngineOnlyOnceAFrameTileIsPicked) {
    log = std::make_unique<EngineCallLog>();
    if (!log->Loaded())
        GTEST_SKIP() << "the stand-in plug-in module is not built";
    ASSERT_EQ(S_OK, log->Add(CLSID_QelFilter_PhotoFrame));
    Start(-1);
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    log->Clear();
    Pick(dialog, kEffectTile);
    EXPECT_TRUE(::IsWindowVisible(::GetParent(FindChildById(dialog, kFrameTile))));
    EXPECT_FALSE(IsShown(dialog, kNote));
    for (const std::string& call : log->Calls(CLSID_QelFilter_PhotoFrame))
        EXPECT_NE("SetEnable(1)", call) << "a frame before any frame tile was picked";
    Pick(dialog, kFrameTile + 1);
    ShootWindow(dialog, "effects_frame");
    const auto calls = log->Calls(CLSID_QelFilter_PhotoFrame);
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "SetEnable(1)"));
    bool pathSent = false;
    for (const std::string& call : calls)
        pathSent = pathSent || (call.find("SetFramePath(") == 0 && call.find("frame1.png") != std::string::npos);
    EXPECT_TRUE(pathSent);
    End(dialog, IDOK);
    CloseProgram();
    EXPECT_EQ("0", run->IniValue("Effect", "EffectIndex"));
    EXPECT_EQ("1", run->IniValue("Effect", "PropertyIndex"));
    const std::string name = run->IniValue("Effect", "PropertyName");
    EXPECT_NE(std::string::npos, name.find("frame1.png")) << name;
}

TEST_F(EffectDialog, AnotherEffectAfterAFrameSwitchesTheFrameOffAndOkEmptiesTheFrameFile) {
    log = std::make_unique<EngineCallLog>();
    if (!log->Loaded())
        GTEST_SKIP() << "the stand-in plug-in module is not built";
    ASSERT_EQ(S_OK, log->Add(CLSID_QelFilter_PhotoFrame));
    ASSERT_EQ(S_OK, log->Add(CLSID_QelFilter_SpecialEffect));
    Start(-1);
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    Pick(dialog, kEffectTile);
    Pick(dialog, kFrameTile + 1);
    log->Clear();
    Pick(dialog, kEffectTile + 4);
    const auto frame = log->Calls(CLSID_QelFilter_PhotoFrame);
    EXPECT_NE(frame.end(), std::find(frame.begin(), frame.end(), "SetEnable(0)"));
    auto special = log->Calls(CLSID_QelFilter_SpecialEffect);
    EXPECT_NE(special.end(), std::find(special.begin(), special.end(), "SetEnable(1)"));
    // The selected tile clicked again sends its effect again.
    log->Clear();
    Pick(dialog, kEffectTile + 4);
    special = log->Calls(CLSID_QelFilter_SpecialEffect);
    EXPECT_NE(special.end(), std::find(special.begin(), special.end(), "SetEnable(1)"));
    End(dialog, IDOK);
    CloseProgram();
    EXPECT_EQ("4", run->IniValue("Effect", "EffectIndex")) << "the tile clicked twice is still the selected one";
    EXPECT_EQ("", run->IniValue("Effect", "PropertyName"));
}

TEST_F(EffectDialog, TheNegativeTileInvertsThePreviewAndCancelRestoresIt) {
    Start(-1);
    ASSERT_TRUE(PreviewReads(false, 10000)) << "no camera picture before the dialog";
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    MoveAside(dialog);
    Pick(dialog, kEffectTile + 4);
    EXPECT_TRUE(PreviewReads(true, 5000)) << "the picture is not the negative";
    End(dialog, IDCANCEL);
    EXPECT_TRUE(PreviewReads(false, 5000)) << "Cancel did not restore the picture";
}

TEST_F(EffectDialog, NoEffectSwitchesTheKeptEffectOffAndLeavesMinusOne) {
    Start(4);
    EXPECT_TRUE(PreviewReads(true, 10000)) << "the kept negative is not on at start";
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    MoveAside(dialog);
    End(dialog, kNoEffect);
    EXPECT_TRUE(PreviewReads(false, 5000)) << "the negative is still on";
    CloseProgram();
    EXPECT_EQ("-1", run->IniValue("Effect", "EffectIndex"));
    EXPECT_EQ("-1", run->IniValue("Effect", "PropertyIndex"));
}

} // namespace
} // namespace programtest
