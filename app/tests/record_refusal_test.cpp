// Refused recordings: the text a start's status bits give, and what the controller leaves of a refusal
// (the engine untouched when it was not asked, the last recording's name, a lost picture told).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RecordRefusal.h"
#include "VostrelTestSeams.h"
#include "controller_fixture.h"
#include "scoped_audio_input.h"
#include "qeltest/pump.h"

namespace apptest {
namespace {

using qelapp::RefusalText;

// The first bit in the order 0x2, 0x4, 0x8, 0x8000 (without 0x10), 0x10 names the failure.
TEST(RefusalText, TheFirstBitInItsOrderNamesTheFailure) {
    EXPECT_EQ("Video Compression Error", RefusalText(0x2 | 0x4 | 0x8 | 0x8000, false));
    EXPECT_EQ(qelapp::kSoundInputRefusedText, RefusalText(0x4 | 0x8 | 0x8000, false));
    EXPECT_EQ("Audio Compression Error", RefusalText(0x8, false));
    EXPECT_EQ("Unknown Error", RefusalText(0x8000, false));
    EXPECT_EQ("Invalid filename.\n", RefusalText(0x8000 | 0x10, false));
    EXPECT_EQ("Invalid filename.\n", RefusalText(0x10, false));
}

TEST(RefusalText, AMissingWindowsMediaWriterExplainsOnlyAnUnknownFailure) {
    EXPECT_EQ(qelapp::kWindowsMediaMissingText, RefusalText(0x8000, true));
    EXPECT_EQ("Video Compression Error", RefusalText(0x2 | 0x8000, true));
    EXPECT_EQ("Invalid filename.\n", RefusalText(0x8000 | 0x10, true));
}

TEST(RefusalText, BitsThatNameNoFailureGiveNoText) {
    EXPECT_EQ("", RefusalText(0, false));
    EXPECT_EQ("", RefusalText(0x1, false));
    // A lost picture is told with the failure, never alone.
    EXPECT_EQ("", RefusalText(LIVECAP_STATUS_PREVIEW_LOST, false));
}

TEST(RefusalText, ALostPictureAddsItsParagraph) {
    EXPECT_EQ(std::string("Unknown Error\n\n") + qelapp::kPreviewLostText,
              RefusalText(0x8000 | LIVECAP_STATUS_PREVIEW_LOST, false));
    EXPECT_EQ(std::string(qelapp::kSoundInputRefusedText) + "\n\n" + qelapp::kPreviewLostText,
              RefusalText(0x4 | 0x8 | 0x8000 | LIVECAP_STATUS_PREVIEW_LOST, false));
}

using ControllerRefusal = ControllerTest;

const CLSID kNullRenderer = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

// A sound input that refuses (a filter with no output) and a picture that cannot come back: the user
// is told both, and nothing of the recording is left.
TEST_F(ControllerRefusal, APictureThatCannotComeBackIsTold) {
    AddCamera(kCamera);
    enginetest::ScopedAudioInput input(kNullRenderer, L"Qel Refusing Microphone");
    ASSERT_EQ(S_OK, input.Result());
    PreviewCamera(kCamera);
    ASSERT_NO_FATAL_FAILURE(ChooseAudioInput(L"Qel Refusing Microphone"));
    controller->SetRecordFormat(0);
    const int number = controller->GetVideoCount();
    const CString name = controller->MakeVideoFileName();
    RefuseNextPreviewBuilds(1);
    EXPECT_EQ(1, controller->StartRecording(name));
    RefuseNextPreviewBuilds(0);
    EXPECT_STREQ((std::string(qelapp::kSoundInputRefusedText) + "\n\n" + qelapp::kPreviewLostText).c_str(),
                 controller->GetLastErrorText());
    EXPECT_NE(0, controller->GetCaptureStatus() & LIVECAP_STATUS_PREVIEW_LOST);
    EXPECT_EQ(LIVE_STOPPED, EngineState());
    EXPECT_FALSE(FileExists(static_cast<const char*>(name)));
    EXPECT_EQ(number, controller->GetVideoCount());
    controller.reset(); // the engine lets go of the input before it is unregistered
}

// Refusals made before the engine is asked to record leave it as it was: a stopped preview stays
// stopped (no picture nobody asked for), a running one runs on.
TEST_F(ControllerRefusal, RefusalsBeforeTheEngineRecordsLeaveItAlone) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    ASSERT_TRUE(controller->m_engine->StopPreview());
    ASSERT_EQ(LIVE_STOPPED, EngineState());

    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024);
    EXPECT_EQ(E_OUTOFMEMORY, controller->StartRecording((VideoFolder() + "\\DREM0001.AVI").c_str()));
    EXPECT_EQ(LIVE_STOPPED, EngineState()) << "after the low-disk refusal";
    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024 + 1);
    EXPECT_EQ(1, controller->StartRecording((program.File("gone") + "\\DREM0001.AVI").c_str()));
    EXPECT_EQ(LIVE_STOPPED, EngineState()) << "after the missing-folder refusal";
    EXPECT_EQ(1, controller->StartRecording((VideoFolder() + "\\" + std::string(300, 'a') + ".AVI").c_str()));
    EXPECT_EQ(LIVE_STOPPED, EngineState()) << "after the refused name";
}

// The last recording's name stays what the capture record reports until the next one records.
TEST_F(ControllerRefusal, ARefusalKeepsTheLastRecordingsName) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    controller->SetRecordFormat(0);
    const CString first = controller->MakeVideoFileName();
    ASSERT_EQ(0, controller->StartRecording(first)) << static_cast<const char*>(controller->GetLastErrorText());
    ASSERT_TRUE(qeltest::PumpUntil(
        [&] {
            _CapturedVideoInfo seen = {};
            return controller->m_engine->GetCapturedVideoInfo(&seen) && seen.nFramesCaptured >= 3;
        },
        10000));
    EXPECT_STREQ(first, controller->StopRecording());

    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024);
    EXPECT_EQ(E_OUTOFMEMORY, controller->StartRecording(controller->MakeVideoFileName()));
    _AlbumItemInfo record;
    std::memset(&record, 0x5A, sizeof record);
    controller->GetCaptureInfo(&record);
    EXPECT_STREQ(first, record.path) << "after the low-disk refusal";

    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024 + 1);
    controller->SetRecordFormat(2); // refused where the Windows Media writer is missing
    const CString refused = controller->MakeVideoFileName();
    if (controller->StartRecording(refused) == 0) {
        controller->StopRecording();
        GTEST_SKIP() << "this system records WMV: the refusal by the engine cannot be made here";
    }
    controller->GetCaptureInfo(&record);
    EXPECT_STREQ(first, record.path) << "after the engine's refusal";
    EXPECT_EQ(LIVE_PREVIEWING, EngineState());
}

} // namespace
} // namespace apptest
