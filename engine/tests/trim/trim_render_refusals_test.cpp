// Preview and render entry points on an editor whose timeline could not be built (as under Wine, whose
// timeline is an empty shell) or was never made: they refuse or fail cleanly and the editor survives.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Vostrel.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "qeltest/temp_dir.h"

namespace {

class TrimRenderRefusalsTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        owner_ = CreateWindowA("STATIC", "trim owner", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        qeltest::ComTest::TearDown();
    }
    HWND owner_ = nullptr;
};

TEST_F(TrimRenderRefusalsTest, NeverFilledEditorRefusesEveryEntryPointAndSurvives) {
    auto editor = std::make_unique<CVideoTrim>();
    qeltest::ScopedMessageBoxHook boxes;
    wchar_t file[] = L"C:\\out.avi";
    EXPECT_EQ(E_INVALIDARG, editor->StartPreview(owner_, 0, 0, 64, 48, TRUE, nullptr));
    EXPECT_EQ(E_INVALIDARG, editor->StartPreview(owner_, 0, 0, 64, 48, FALSE, nullptr));
    EXPECT_EQ(E_INVALIDARG, editor->StartPreview(nullptr, 0, 0, 64, 48, TRUE, nullptr));
    EXPECT_EQ(E_INVALIDARG, editor->StartProcess(file, 0));
    EXPECT_EQ(E_INVALIDARG, editor->StartProcess2(file, 0, TRUE, 0));
    EXPECT_FALSE(editor->PauseNContinuous());
    EXPECT_EQ(S_FALSE, editor->StopPreview());
    EXPECT_EQ(S_FALSE, editor->StopProcess());
    EXPECT_FALSE(editor->SetPreviewPosition(0));
    EXPECT_EQ(S_FALSE, editor->SetShowWndSize(0, 0, 10, 10, TRUE, TRUE));
    LONGLONG out = 7;
    EXPECT_FALSE(editor->GetTotalDuration(&out));
    EXPECT_FALSE(editor->GetProcessDuration(&out));
    EXPECT_EQ(7, out);
    UINT message = 0;
    LONG lParam = 5;
    EXPECT_FALSE(editor->GraphEventCallback(message, lParam));
    EXPECT_EQ(5, lParam);
    editor->StopGraph();
    editor->RemoveFilter();
    CTrimSource source;
    EXPECT_TRUE(editor->ReleaseObj(&source));
    EXPECT_FALSE(editor->ReleaseObj(static_cast<CTrimSource*>(nullptr)));
    EXPECT_TRUE(boxes.Texts().empty());
    editor.reset();
}

TEST_F(TrimRenderRefusalsTest, OutputFormatAndAsfSizeChecks) {
    CVideoTrim editor;
    EXPECT_FALSE(editor.SetOutputFormat(nullptr));
    _TRIMOUTFORMAT keep = {0, 0, 31, 320, 240};
    EXPECT_TRUE(editor.SetOutputFormat(&keep));   // pixel format 0 changes nothing, checks nothing
    _TRIMOUTFORMAT rgb = {2, 0, 30, 320, 240};
    EXPECT_FALSE(editor.SetOutputFormat(&rgb));   // no video group
    EXPECT_FALSE(editor.SetAsfFrameSize(0, 240));
    EXPECT_FALSE(editor.SetAsfFrameSize(320, 0));
    EXPECT_TRUE(editor.SetAsfFrameSize(320, 240));
}

TEST_F(TrimRenderRefusalsTest, PlatformTimelinePreviewAndRenderFailWithoutACrash) {
    CVideoTrim editor;
    if (editor.Initial(owner_, FALSE) == S_OK)
        GTEST_SKIP() << "the platform's timeline builds groups here; the fakes' tests cover a working timeline";
    qeltest::ScopedMessageBoxHook boxes;
    qeltest::TempDir dir;
    const std::string path = dir.File("out.avi");
    std::wstring wide(path.begin(), path.end());
    EXPECT_TRUE(FAILED(editor.StartPreview(owner_, 0, 0, 64, 48, TRUE, nullptr)));
    EXPECT_TRUE(FAILED(editor.StartProcess2(&wide[0], 0, TRUE, 0)));
    EXPECT_TRUE(FAILED(editor.StartProcess2(&wide[0], 0, FALSE, 0)));
    EXPECT_NE(TrimStateRendering, editor.GetTrimState());
    EXPECT_NE(TrimStatePreviewing, editor.GetTrimState());
    EXPECT_EQ(S_FALSE, editor.StopProcess());
}

TEST_F(TrimRenderRefusalsTest, OutputNamesOf260CharactersAreRefused) {
    CVideoTrim editor;
    std::wstring name = L"C:\\" + std::wstring(257, L'a');   // 260 characters
    EXPECT_EQ(E_INVALIDARG, editor.StartProcess2(&name[0], 0, TRUE, 0));
    EXPECT_EQ(E_INVALIDARG, editor.StartProcess(&name[0], 0));
    wchar_t empty[] = L"";
    EXPECT_EQ(E_INVALIDARG, editor.StartProcess2(empty, 0, TRUE, 0));
}

TEST_F(TrimRenderRefusalsTest, FreeSpaceLimitIsRefusedWhenShortOrWithoutInterval) {
    CVideoTrim editor;
    qeltest::TempDir dir;
    const std::string path = dir.File("out.avi");
    std::wstring wide(path.begin(), path.end());
    EXPECT_FALSE(editor.SetMinFreeSpace(&wide[0], 1, 0));
    EXPECT_TRUE(editor.SetMinFreeSpace(&wide[0], 1, 100));
    wchar_t bare[] = L"out.avi";   // no folder: nothing to measure
    EXPECT_FALSE(editor.SetMinFreeSpace(bare, 1, 100));
    EXPECT_FALSE(editor.SetMinFreeSpace(&wide[0], 0xFFFFFFFFu, 100));   // more than any disk holds
}

} // namespace
