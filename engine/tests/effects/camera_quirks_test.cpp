// Cameras that mirror by themselves, the snapshot button, the rotate store and the small switches.
#include "effects_fixture.h"

#include "CameraKsProperty.h"
#include "QelPluginIds.h"

#include <gmock/gmock.h>

#include <cstring>

using ::testing::IsEmpty;

namespace enginetest {
namespace {

const wchar_t kVimicro[] = L"Vimicro USB PC Camera (VC0321)";
const wchar_t kR8T[] = L"DREM Notebook Camera R8-T01";

class CameraQuirksTest : public EffectsTest {};

TEST_F(CameraQuirksTest, TheVimicroCameraIsAskedOnlyWithTheCompatibilityFlipOn) {
    Preview(kVimicro, qelcam::kWithPreviewPin | qelcam::kWithFlipStatus);
    engine->SetUsedVideoDeviceName("vimicro usb pc camera (vc0321)");   // letter case does not count

    engine->SetFlipCompatibility(0);
    EXPECT_EQ(0, engine->IsFliped()) << "compatibility off: no question asked";
    engine->SetFlipCompatibility(1);
    EXPECT_EQ(0, engine->IsFliped()) << "not mirrored yet";
    EXPECT_EQ(1, engine->bIsCompatibilityFlip());
    engine->SetFlipCompatibility(0xFFFFFFFF);
    EXPECT_EQ(0, engine->bIsCompatibilityFlip()) << "decided by the model: this is no R8-T01";
    EXPECT_EQ(0, engine->IsFliped());
}

TEST_F(CameraQuirksTest, TheVimicroMirrorStateIsThirdWordOfItsAnswer) {
    qelcam::ScopedTestCamera* camera = AddCamera(kVimicro, qelcam::kWithPreviewPin | qelcam::kWithFlipStatus);
    ASSERT_EQ(0, engine->InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, kVimicro, &index));
    engine->SetUsedVideoDeviceName("Vimicro USB PC Camera (VC0321)");
    engine->SetFlipCompatibility(7);
    ASSERT_EQ(S_OK, camera->SetMirrored(true));
    EXPECT_NE(0, engine->IsFliped());
    ASSERT_EQ(S_OK, camera->SetMirrored(false));
    EXPECT_EQ(0, engine->IsFliped());
}

TEST_F(CameraQuirksTest, AVimicroNameOnACameraWithoutTheInterfaceReadsAsNotMirrored) {
    Preview(kVimicro, qelcam::kWithPreviewPin);
    engine->SetUsedVideoDeviceName("Vimicro USB PC Camera (VC0321)");
    engine->SetFlipCompatibility(1);
    EXPECT_EQ(0, engine->IsFliped());
    EXPECT_THAT(boxes.Texts(), IsEmpty()) << "camera reads never show a message";
}

TEST_F(CameraQuirksTest, TheR8TCameraDecidesByItsExactNameAndItsReadReleasesWhatItBound) {
    qelcam::ScopedTestCamera* camera = AddCamera(kR8T, qelcam::kWithPreviewPin);
    ASSERT_EQ(0, engine->InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, kR8T, &index));
    EXPECT_EQ(1, engine->IsR8TCamera());
    EXPECT_EQ(1, engine->bIsCompatibilityFlip()) << "decided by the model";
    engine->SetUsedVideoDeviceName("drem notebook camera r8-t01");
    const LONG before = camera->LiveInstances();
    // The synthetic camera has no kernel-streaming object: the read finds it, binds it, and gives up.
    EXPECT_EQ(0, engine->IsFliped());
    EXPECT_EQ(before, camera->LiveInstances()) << "the bound device object is released again";
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(CameraQuirksTest, ACameraNamedInOtherLettersIsNoR8TCamera) {
    const wchar_t lower[] = L"drem notebook camera r8-t01";
    Preview(lower);
    EXPECT_EQ(0, engine->IsR8TCamera());
    EXPECT_EQ(0, engine->bIsCompatibilityFlip());
    engine->SetUsedVideoDeviceName("DREM Notebook Camera R8-T01");
    EXPECT_EQ(0, engine->IsFliped()) << "compatibility is off for this camera";
}

TEST_F(CameraQuirksTest, TheKernelStreamingReaderFindsCamerasByTheirNinePrefixCharacters) {
    EXPECT_TRUE(CCameraKsProperty::IsKnownCameraPrefix(L"BisonCam, NB Pro"));
    EXPECT_TRUE(CCameraKsProperty::IsKnownCameraPrefix(L"DREM Notebook Camera R8-T01"));
    EXPECT_TRUE(CCameraKsProperty::IsKnownCameraPrefix(L"DREM Note"));
    EXPECT_FALSE(CCameraKsProperty::IsKnownCameraPrefix(L"bisoncam, NB Pro")) << "case counts";
    EXPECT_FALSE(CCameraKsProperty::IsKnownCameraPrefix(L"DREM Not"));
    EXPECT_FALSE(CCameraKsProperty::IsKnownCameraPrefix(nullptr));

    BYTE block[56];
    std::memset(block, 0xCD, sizeof block);
    CCameraKsProperty::FillRequest(kCameraMirrorPropertyId, block);
    EXPECT_EQ(0, std::memcmp(block, &KSPROPSETID_QelCameraMirror, 16));
    ULONG id = 0, flags = 0;
    std::memcpy(&id, block + 16, 4);
    std::memcpy(&flags, block + 20, 4);
    EXPECT_EQ(8u, id);
    EXPECT_EQ(1u, flags) << "KSPROPERTY_TYPE_GET";
    for (int i = 24; i < 56; ++i)
        EXPECT_EQ(0, block[i]) << i;
}

TEST_F(CameraQuirksTest, OpenWithoutAKnownCameraFailsAndCloseIsSafeTwice) {
    AddCamera(L"Qel Plain Camera", qelcam::kWithPreviewPin);
    CCameraKsProperty property;
    EXPECT_FALSE(property.Open());
    BYTE value[32] = {0};
    EXPECT_FALSE(property.GetProperty(kCameraMirrorPropertyId, value)) << "no device handle";
    property.Close();
    property.Close();
}

TEST_F(CameraQuirksTest, TheSnapshotButtonIsReadFromTheCameraThatHasOne) {
    qelcam::ScopedTestCamera* camera = AddCamera(L"Qel Button Camera", qelcam::kWithPreviewPin | qelcam::kWithButtonState);
    ASSERT_EQ(0, engine->InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Button Camera", &index));
    EXPECT_EQ(0u, engine->GetSnapButtonState());
    ASSERT_EQ(S_OK, camera->SetButtonState(1));
    EXPECT_EQ(1u, engine->GetSnapButtonState());
    ASSERT_EQ(S_OK, camera->SetButtonState(0));
    EXPECT_EQ(0u, engine->GetSnapButtonState());
}

TEST_F(CameraQuirksTest, ACameraWithoutAButtonReadsZero) {
    Preview(L"Qel Buttonless Camera");
    EXPECT_EQ(0u, engine->GetSnapButtonState());
}

TEST_F(CameraQuirksTest, RotateValuesAreKeptEvenWhenSwitchedOffAndLeftAloneWhileCapturing) {
    Preview(L"Qel Rotate Camera");
    engine->SetRotateEnable(0, 90, 1, 0x123456);
    EXPECT_EQ(90u, engine->GetRotateDegree());
    EXPECT_EQ(1u, engine->GetRotateMethod());
    EXPECT_EQ(0x123456u, engine->GetRotateBgColor());
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate),
                ::testing::ElementsAre("#1 SetEnable(1)", "#1 SetAngle(0)", "#1 SetMethod(0)",
                                       "#1 SetBackColor(0x000000)", "#1 SetEnable(0)"));
    standins.ClearLog();
    engine->m_state = LIVE_CAPTURING;
    engine->SetRotateEnable(1, 270, 0, 0);
    engine->m_state = LIVE_PREVIEWING;
    EXPECT_EQ(90u, engine->GetRotateDegree());
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate), IsEmpty());
}

TEST_F(CameraQuirksTest, VolumeAndQualitySwitchesAreStored) {
    EXPECT_EQ(0, engine->SetVolume(0));
    EXPECT_EQ(0, engine->m_nAudioSwitch);
    EXPECT_EQ(1, engine->SetVolume(1));
    engine->SetQuality(5, 80);
    EXPECT_EQ(80, engine->m_nImageQuality);
    EXPECT_EQ(100, engine->m_nVideoQuality);
    engine->SetQuality(0, 60);
    EXPECT_EQ(60, engine->m_nVideoQuality);
}

} // namespace
} // namespace enginetest
