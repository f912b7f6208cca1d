// A start the engine refuses gives back what it took: the record graph goes, and the preview comes
// back where the host wants one; a wanted preview that cannot be built again is reported in the
// status word. The stand-in microphone (no audio stream) makes every start refuse.
#include "record_fixture.h"
#include "grabber_counter.h"

#include "VostrelTestSeams.h"

#include "qeltest/watchdog.h"

#include <memory>

namespace recordtest {
namespace {

using enginetest::FilterNames;
using enginetest::ScopedAudioInput;

constexpr int kRefusedForTheSound = 0x8000 | 0x8 | 0x4;

bool HoldsMux(IGraphBuilder* graph) {
    for (const std::wstring& name : FilterNames(graph))
        if (name == L"Mux")
            return true;
    return false;
}

class RefusedStartTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_NO_FATAL_FAILURE(UseStandInMicrophone(L"Qel Refusing Stand-in Microphone", &microphone));
        ASSERT_TRUE(engine->SetCaptureFileName(FileIn("refused.avi").c_str()));
        engine->SetRecordFileType(RECORD_AVI_NOAUDIO);
        engine->SetVolume(1); // the sound is recorded, and cannot be
    }
    void TearDown() override {
        RefuseNextPreviewBuilds(0);
        RecordTest::TearDown(); // the engine lets go of the input before it is unregistered
        microphone.reset();
    }
    std::unique_ptr<ScopedAudioInput> microphone;
};

TEST_F(RefusedStartTest, ThePreviewComesBackAndRuns) {
    qeltest::Watchdog::ExtendCurrentTest(30);
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(kRefusedForTheSound, status);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_FALSE(Engine()->m_bCaptureBuilt);
    EXPECT_EQ(nullptr, Engine()->m_pMux);
    EXPECT_FALSE(HoldsMux(engine->m_pGraph));
    EXPECT_TRUE(enginetest::PreviewDelivers(engine->m_pGrabberFilter, engine->GrabberCallback(), 5, 10000))
        << "the preview is built but shows nothing";
    // Refused again from the restored preview: the same, with nothing left over from the first.
    status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(kRefusedForTheSound, status);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(UnexpectedBoxes().empty());
}

TEST_F(RefusedStartTest, WithoutAWantedPreviewNoneIsBuilt) {
    Engine()->m_bWantPreview = FALSE;
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(kRefusedForTheSound, status) << "a preview nobody wants is no lost preview";
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
    EXPECT_FALSE(Engine()->m_bPreviewBuilt);
    EXPECT_FALSE(Engine()->m_bCaptureBuilt);
}

TEST_F(RefusedStartTest, APreviewThatCannotBeBuiltAgainIsReported) {
    RefuseNextPreviewBuilds(1);
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(kRefusedForTheSound | LIVECAP_STATUS_PREVIEW_LOST, status);
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
    EXPECT_FALSE(Engine()->m_bPreviewBuilt);
    EXPECT_FALSE(HoldsMux(engine->m_pGraph));
    // Nothing of the refused start stands in the way of the next preview build.
    EXPECT_TRUE(engine->BuildPreviewGraph());
    EXPECT_TRUE(engine->StartPreview());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

} // namespace
} // namespace recordtest
