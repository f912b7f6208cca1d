// Choosing and removing an audio input. Wine lists no audio capture device, so a synthetic camera's
// class is listed once more in the audio input category to stand in for a microphone's filter.
#include <algorithm>

#include "camera_fixture.h"
#include "scoped_audio_input.h"

namespace enginetest {
namespace {

class AudioInputTest : public CameraTest {};

TEST_F(AudioInputTest, AnAudioInputJoinsTheGraphUnderItsNameAndLeavesItAgain) {
    const CLSID clsid = AddCamera(L"Qel Camera Beside The Microphone", qelcam::kWithPreviewPin);
    ScopedAudioInput microphone(clsid, L"Qel Stand-in Microphone");
    ASSERT_EQ(S_OK, microphone.Result());
    PreviewCamera(L"Qel Camera Beside The Microphone");
    // Beside the audio inputs the sound driver may have.
    int standIn = -1;
    for (int i = 0; i < engine->GetDeviceNum(DEVICE_AUDIO); ++i) {
        WCHAR name[130] = {0};
        ASSERT_EQ(0, engine->GetDeviceName(DEVICE_AUDIO, i, name, 130));
        if (wcscmp(name, L"Qel Stand-in Microphone") == 0)
            standIn = i;
    }
    ASSERT_NE(-1, standIn) << "the stand-in is listed";

    UINT index = 9;
    EXPECT_EQ(static_cast<HRESULT>(1200),
              engine->SetUsedDeviceByName(DEVICE_AUDIO, L"qel stand-in microphone", &index));
    EXPECT_EQ(0, engine->SetUsedDeviceByName(DEVICE_AUDIO, L"Qel Stand-in Microphone", &index));
    EXPECT_EQ(static_cast<UINT>(standIn), index);
    EXPECT_EQ(standIn, engine->m_nCurAudioDevice);
    auto names = FilterNames(engine->m_pGraph);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"Qel Stand-in Microphone"));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState()) << "an audio change leaves the preview running";

    // A camera change makes the audio filter again with the capture filters.
    UINT camera = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Camera Beside The Microphone", &camera));
    names = FilterNames(engine->m_pGraph);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"Qel Stand-in Microphone"));

    EXPECT_EQ(0, engine->SetUsedDeviceByIndex(DEVICE_AUDIO, -1));
    EXPECT_EQ(-1, engine->m_nCurAudioDevice);
    names = FilterNames(engine->m_pGraph);
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), L"Qel Stand-in Microphone"));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

} // namespace
} // namespace enginetest
