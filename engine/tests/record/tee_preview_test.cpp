// A camera with only a capture pin previews through a split of its capture stream, with the flip,
// rotate and effect plug-ins in the chain: the graph answers its state within its time-out, and
// stopping, switching cameras and deleting the engine never wedge, many times running.
#include "record_fixture.h"
#include "grabber_counter.h"

#include "qeltest/watchdog.h"

#include <process.h>

namespace recordtest {
namespace {

// IMediaControl::GetState asked on a thread of its own, so that a graph that never answers fails
// the test instead of hanging it.
struct StateQuestion {
    IMediaControl* control = nullptr;
    OAFilterState state = -1;
    HRESULT result = E_PENDING;

    static unsigned __stdcall Ask(void* self) {
        auto* question = static_cast<StateQuestion*>(self);
        question->result = question->control->GetState(2000, &question->state);
        return 0;
    }
};

// True when GetState(2000) answered within a generous bound; state and result filled then.
bool GraphAnswersItsState(IGraphBuilder* graph, OAFilterState* state, HRESULT* result) {
    auto* question = new StateQuestion;   // left to a thread that never ends, should it hang
    if (FAILED(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&question->control)))) {
        delete question;
        return false;
    }
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &StateQuestion::Ask, question, 0, nullptr));
    const bool answered = thread && WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    if (thread)
        CloseHandle(thread);
    if (!answered)
        return false;
    *state = question->state;
    *result = question->result;
    question->control->Release();
    delete question;
    return true;
}

class TeePreviewTest : public RecordTest {};

TEST_F(TeePreviewTest, ACaptureOnlyCameraPreviewsAnswersItsStateAndStopsSwitchesAndEnds) {
    constexpr int kRounds = 20;
    qeltest::Watchdog::ExtendCurrentTest(kRounds * 10);
    AddCamera(L"Qel Tee Capture-only Camera", qelcam::kCaptureOnly);
    ASSERT_EQ(S_OK, engine->EnumVideoDevice());
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (!engine) {
            engine = new RecordProbe;
            ASSERT_EQ(0, StartEngine());
        }
        UINT index = 99;
        ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Tee Capture-only Camera", &index));
        ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
        engine->SetEnhanceEnable(1, 40);   // an effect spliced into the chain as well
        ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
        OAFilterState state = -1;
        HRESULT result = E_PENDING;
        ASSERT_TRUE(GraphAnswersItsState(engine->m_pGraph, &state, &result)) << "GetState(2000) never returned";
        EXPECT_EQ(S_OK, result);
        EXPECT_EQ(State_Running, state);
        EXPECT_TRUE(enginetest::PreviewDelivers(engine->m_pGrabberFilter, engine->GrabberCallback(), 3, 10000))
            << "frames reach the grabber";
        // Each step ends within a second.
        DWORD started = GetTickCount();
        switch (round % 3) {
        case 0:   // stopped
            EXPECT_TRUE(engine->StopPreview());
            EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
            break;
        case 1:   // another camera chosen
            ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, kCamera, &index));
            EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
            break;
        default:  // the engine ended while it previews
            break;
        }
        EXPECT_LT(GetTickCount() - started, 1000u) << "stop or switch";
        started = GetTickCount();
        delete engine;
        engine = nullptr;
        EXPECT_LT(GetTickCount() - started, 1000u) << "deleting the engine";
    }
}

} // namespace
} // namespace recordtest
