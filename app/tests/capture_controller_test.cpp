// The capture controller on the real engine with synthetic cameras: devices and the compatibility
// flip, capture sizes, recordings read back, snapshots and their notifications, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "ProgramFolder.h"
#include "RecordRefusal.h"
#include "controller_fixture.h"
#include "riff_reader.h"
#include "scoped_audio_input.h"
#include "test_frame_pattern.h"
#include "qeltest/pump.h"

namespace apptest {
namespace {

using ControllerDevices = ControllerTest;
using ControllerCapture = ControllerTest;

TEST_F(ControllerDevices, CameraChosenByItsNamePreviewsAnUnknownNameIsRefused) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    EXPECT_STREQ(Narrow(kCamera).c_str(), controller->GetVideoDeviceName(0));
    EXPECT_STREQ("", controller->GetVideoDeviceName(controller->EnumVideoDevices()));
    EXPECT_EQ(E_UNEXPECTED, controller->SelectVideoDevice("Qel Controller Camer"));
    EXPECT_EQ(E_UNEXPECTED, controller->SelectVideoDevice("qel controller camera")); // names compare exactly
    EXPECT_EQ(LIVE_PREVIEWING, EngineState());
    EXPECT_FALSE(controller->IsCompatibilityFlip());
}

TEST_F(ControllerDevices, SpecialDeviceListGivesTheCompatibilityFlipUntilItsFirstGap) {
    AddCamera(kCamera);
    AddCamera(L"Qel Other Camera");
    // Letter case does not count in the list; the search stops at the missing "3".
    PreviewCamera(kCamera, "[SpecialDevice]\r\n1=Some Camera\r\n2=QEL CONTROLLER CAMERA\r\n4=Qel Other Camera\r\n");
    EXPECT_TRUE(controller->IsCompatibilityFlip());
    ASSERT_EQ(0, controller->SelectVideoDevice("Qel Other Camera"));
    EXPECT_FALSE(controller->IsCompatibilityFlip());
}

TEST_F(ControllerDevices, MirroredCameraInTheListReportsFlipped) {
    const std::wstring name = L"Vimicro USB PC Camera (VC0321)";
    qelcam::ScopedTestCamera* camera = AddCamera(name, qelcam::kWithPreviewPin | qelcam::kWithFlipStatus);
    PreviewCamera(name, "[SpecialDevice]\r\n1=" + Narrow(name) + "\r\n");
    ASSERT_TRUE(controller->IsCompatibilityFlip());
    EXPECT_FALSE(controller->IsFlipped());
    ASSERT_EQ(S_OK, camera->SetMirrored(true));
    EXPECT_TRUE(controller->IsFlipped());
}

// With no audio device listed the sound is taken out and the choice refused; a second synthetic
// camera listed as an audio input stands in for a microphone (Wine's own input records nothing here).
TEST_F(ControllerDevices, AudioNeedsAListedAudioInput) {
    AddCamera(kCamera);
    // The engine lists its devices when it starts: the stand-in is registered before.
    const std::wstring microphone = L"Qel Controller Microphone";
    const CLSID clsid = AddCamera(microphone + L" Source")->Clsid();
    enginetest::ScopedAudioInput input(clsid, microphone);
    ASSERT_EQ(S_OK, input.Result());
    StartController();
    ASSERT_GE(controller->EnumVideoDevices(), 1);
    ASSERT_EQ(0, controller->SelectVideoDevice(Narrow(kCamera).c_str()));
    EXPECT_EQ(E_UNEXPECTED, controller->SelectAudioDevice(0, 1)); // nothing listed yet

    const int count = controller->EnumAudioDevices();
    int standIn = -1;
    for (int i = 0; i < count; ++i)
        if (controller->GetAudioDeviceName(i).Compare(Narrow(microphone).c_str()) == 0)
            standIn = i;
    ASSERT_NE(-1, standIn) << "the stand-in microphone is not listed";
    EXPECT_EQ(0, controller->SelectAudioDevice(standIn, 1));
    EXPECT_EQ(E_INVALIDARG, controller->SelectAudioDevice(count, 1));
    EXPECT_EQ(0, controller->SelectAudioDevice(standIn, 0));
    controller.reset(); // the engine lets go of the stand-in before it is unregistered
}

TEST_F(ControllerCapture, CaptureSizeSetsTheFrameOfTheNextMemorySnapshot) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    const int formats = controller->GetFormatCount();
    ASSERT_GT(formats, 0);
    EXPECT_EQ(formats, controller->SetCaptureSize(641, 480)); // no such format: nothing changes
    EXPECT_EQ(320, controller->Settings().outputWidth);
    ASSERT_NE(0, controller->SetCaptureSize(640, 480));
    EXPECT_EQ(640, controller->Settings().outputWidth);
    EXPECT_EQ(480, controller->Settings().outputHeight);

    const UINT bytes = 640 * 480 * 3;
    std::vector<BYTE> frame(bytes);
    ASSERT_TRUE(controller->SnapshotToMemory(frame.data(), bytes));
    ASSERT_TRUE(host->WaitFor(WM_LIVECAP_SNAPSHOT, 10000));
    const Notification& done = host->Received().back();
    EXPECT_EQ(1u, done.wParam);
    EXPECT_EQ(921600, done.lParam);
    std::uint32_t number = 0;
    EXPECT_TRUE(qelcam::ReadFrameNumber(frame.data(), 640, 480, 640 * 3, &number)) << "not a camera frame";
}

TEST_F(ControllerCapture, SnapshotToFileIsWrittenThenNotified) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    const CString name = controller->MakeImageFileName();
    EXPECT_STREQ((PictureFolder() + "\\DREM0001.JPG").c_str(), name);
    EXPECT_STREQ(name, controller->TakeSnapshot(name));
    ASSERT_TRUE(host->WaitFor(WM_LIVECAP_SNAPSHOT, 10000));
    EXPECT_EQ(0u, host->Received().back().wParam);
    EXPECT_EQ(1, host->Received().back().lParam);
    EXPECT_TRUE(FileExists(static_cast<const char*>(name)));
}

TEST_F(ControllerCapture, AviRecordingHoldsTheCameraFramesAndItsFacts) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    ASSERT_NE(0, controller->SetCaptureSize(320, 240));
    controller->SetRecordFormat(0);
    EXPECT_EQ(0, controller->Settings().videoFileType);
    const CString name = controller->MakeVideoFileName();
    EXPECT_STREQ((VideoFolder() + "\\DREM0001.AVI").c_str(), name);
    ASSERT_EQ(0, controller->StartRecording(name)) << controller->GetLastErrorText();
    EXPECT_EQ(LIVE_CAPTURING, EngineState());
    ASSERT_TRUE(qeltest::PumpUntil(
        [&] {
            _CapturedVideoInfo seen = {};
            return controller->m_engine->GetCapturedVideoInfo(&seen) && seen.nFramesCaptured >= 10;
        },
        10000));
    EXPECT_STREQ(name, controller->StopRecording());
    EXPECT_EQ(LIVE_PREVIEWING, EngineState());

    std::vector<std::uint8_t> bytes;
    const rifftest::AviSummary avi = rifftest::ReadAviFile(std::wstring(name.GetString(), name.GetString() + name.GetLength()), &bytes);
    ASSERT_TRUE(avi.riffAvi);
    EXPECT_TRUE(avi.complete);
    ASSERT_GE(avi.storedFrames, 10u);
    ASSERT_EQ(320, avi.width);
    const ptrdiff_t stride = qelcam::Rgb24Stride(avi.width);
    std::uint32_t previous = 0;
    for (size_t i = 0; i < avi.frameOffsets.size(); ++i) {
        std::uint32_t number = 0;
        ASSERT_LE(avi.frameOffsets[i] + static_cast<size_t>(stride) * 240, bytes.size());
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[i]], avi.width, avi.height, stride, &number))
            << "stored frame " << i;
        if (i > 0) {
            EXPECT_GT(number, previous) << "stored frame " << i;
        }
        previous = number;
    }
    const _LITEVIDEOINFO& facts = controller->GetLastRecordingInfo(10000); // a hang guard on the read after the stop
    EXPECT_EQ(320, facts.nWidth);
    EXPECT_EQ(240, facts.nHeight);
    EXPECT_GT(facts.llFrames, 0);

    _AlbumItemInfo record;
    std::memset(&record, 0x5A, sizeof record);
    controller->GetCaptureInfo(&record);
    EXPECT_STREQ(name, record.path);
    EXPECT_EQ(0, record.isPicture);
    EXPECT_EQ(0, record.displayPath[0]);
}

// Wine has no Windows Media writer: both ASF kinds fail with a text and leave no capture running.
// Where the Windows Media writer is missing the refusal says so; in every case the refused recording
// leaves no file, the preview running again and its number free for the next one.
TEST_F(ControllerCapture, AsfKindsFailCleanlyWithAText) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    const bool writer = qelapp::CanWriteWindowsMedia();
    for (int kind : {1, 2}) {
        controller->SetRecordFormat(kind);
        EXPECT_EQ(kind, controller->Settings().videoFileType);
        const int count = controller->GetVideoCount();
        const CString name = controller->MakeVideoFileName();
        const HRESULT result = controller->StartRecording(name);
        if (result == 0) {
            controller->StopRecording();
            GTEST_SKIP() << "this system records ASF (kind " << kind << ")";
        }
        EXPECT_EQ(1, result) << "kind " << kind;
        const CString text = controller->GetLastErrorText();
        if (!writer)
            EXPECT_STREQ(qelapp::kWindowsMediaMissingText, text) << "kind " << kind;
        else
            EXPECT_STREQ("Unknown Error", text) << "kind " << kind;
        EXPECT_EQ(LIVE_PREVIEWING, EngineState()) << "kind " << kind << ": the preview is not back";
        EXPECT_FALSE(FileExists(static_cast<const char*>(name))) << "kind " << kind;
        EXPECT_EQ(count, controller->GetVideoCount()) << "kind " << kind << ": the number is used up";
    }
}

// A sound input whose stream cannot reach the file (a filter with no output stands in for it): the
// refusal says so, leaves nothing behind, and a recording without sound then works.
TEST_F(ControllerDevices, ASoundInputThatRefusesSaysSoAndRecordingWithoutSoundWorks) {
    AddCamera(kCamera);
    const std::wstring microphone = L"Qel Refusing Microphone";
    const CLSID nullRenderer = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
    enginetest::ScopedAudioInput input(nullRenderer, microphone);
    ASSERT_EQ(S_OK, input.Result());
    PreviewCamera(kCamera);
    ASSERT_NO_FATAL_FAILURE(ChooseAudioInput(microphone));
    controller->SetRecordFormat(0);
    const int number = controller->GetVideoCount();
    const CString name = controller->MakeVideoFileName();
    EXPECT_EQ(1, controller->StartRecording(name));
    EXPECT_STREQ(qelapp::kSoundInputRefusedText, controller->GetLastErrorText());
    EXPECT_FALSE(FileExists(static_cast<const char*>(name)));
    EXPECT_EQ(LIVE_PREVIEWING, EngineState()) << "the preview is not back";
    EXPECT_EQ(number, controller->GetVideoCount());

    // Without sound: the input leaves the recording.
    ASSERT_EQ(0, controller->SelectAudioDevice(0, 0));
    const CString second = controller->MakeVideoFileName();
    EXPECT_STREQ(name, second);
    ASSERT_EQ(0, controller->StartRecording(second)) << static_cast<const char*>(controller->GetLastErrorText());
    Sleep(1000);
    controller->StopRecording();
    EXPECT_TRUE(FileExists(static_cast<const char*>(second)));
    controller.reset(); // the engine lets go of the input before it is unregistered
}

TEST_F(ControllerCapture, TenMebibytesFreeRefuseBeforeAnyFileIsCreated) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024);
    const std::string name = VideoFolder() + "\\DREM0001.AVI";
    EXPECT_EQ(E_OUTOFMEMORY, controller->StartRecording(name.c_str()));
    EXPECT_STREQ("Low disk space", controller->GetLastErrorText());
    EXPECT_EQ(16, controller->GetCaptureStatus());
    EXPECT_FALSE(FileExists(name));
    EXPECT_EQ(LIVE_PREVIEWING, EngineState());
    // One byte more passes this check.
    ScopedProgramFolder::AnswerFreeBytes(10ull * 1024 * 1024 + 1);
    controller->SetRecordFormat(0);
    ASSERT_EQ(0, controller->StartRecording(name.c_str())) << controller->GetLastErrorText();
    controller->StopRecording();
}

TEST_F(ControllerCapture, AFileThatCannotBeCreatedIsRefusedWithItsCause) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    using qelapp::WriteFailure;
    const auto expectRefused = [&](const std::string& path, WriteFailure kind, const std::string& subject) {
        SCOPED_TRACE(path);
        EXPECT_EQ(1, controller->StartRecording(path.c_str()));
        EXPECT_EQ(kind, controller->GetLastWriteProblem().kind);
        EXPECT_EQ(subject, controller->GetLastWriteProblem().subject);
        EXPECT_STREQ("", controller->GetLastErrorText()) << "the program words a file's problem";
        EXPECT_FALSE(FileExists(path));
        EXPECT_EQ(LIVE_PREVIEWING, EngineState());
    };
    const std::string gone = program.File("no such folder");
    expectRefused(gone + "\\x.AVI", WriteFailure::FolderMissing, gone);
    // A drive that is gone names its folder the same way.
    expectRefused("Q:\\Gone\\x.AVI", WriteFailure::FolderMissing, "Q:\\Gone");
    // A plain file where the folder should be is no folder.
    const std::string plain = program.File("plain");
    {
        HANDLE file = ::CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ::CloseHandle(file);
    }
    expectRefused(plain + "\\x.AVI", WriteFailure::FolderMissing, plain);
    const std::string longName = VideoFolder() + "\\" + std::string(300, 'a') + ".AVI";
    expectRefused(longName, WriteFailure::NameTooLong, longName);
    const std::string badName = VideoFolder() + "\\a|b.AVI";
    expectRefused(badName, WriteFailure::InvalidName, badName);
    // A wildcard is told apart before the engine is asked.
    const std::string pattern = VideoFolder() + "\\a?b.AVI";
    expectRefused(pattern, WriteFailure::FileNameWildcard, pattern);
    // A disk with no room left names the folder.
    ScopedProgramFolder::AnswerFreeBytes(0);
    EXPECT_EQ(E_OUTOFMEMORY, controller->StartRecording((VideoFolder() + "\\x.AVI").c_str()))
        << "TempStorage's disk is asked first";
    EXPECT_EQ(WriteFailure::None, controller->GetLastWriteProblem().kind);
    EXPECT_STREQ("Low disk space", controller->GetLastErrorText());
}

TEST_F(ControllerCapture, AFullVideoDiskIsRefusedNamingTheFolder) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    // Room on TempStorage's disk, none on the videos' (the answer is given by folder).
    static std::string videos;
    videos = VideoFolder();
    qelapp::RedirectFreeBytesQuery([](const char* folder, ULONGLONG* freeBytes) -> BOOL {
        *freeBytes = videos == folder ? 10ull * 1024 * 1024 : 1ull << 40;
        return TRUE;
    });
    const std::string path = videos + "\\x.AVI";
    EXPECT_EQ(1, controller->StartRecording(path.c_str()));
    qelapp::RedirectFreeBytesQuery(nullptr);
    EXPECT_EQ(qelapp::WriteFailure::DiskFull, controller->GetLastWriteProblem().kind);
    EXPECT_EQ(videos, controller->GetLastWriteProblem().subject);
    EXPECT_FALSE(FileExists(path));
    // A good start clears the problem of the last one.
    controller->SetRecordFormat(0);
    ASSERT_EQ(0, controller->StartRecording(path.c_str())) << controller->GetLastErrorText();
    EXPECT_EQ(qelapp::WriteFailure::None, controller->GetLastWriteProblem().kind);
    controller->StopRecording();
}

TEST_F(ControllerCapture, PictureChoicesReachTheEngine) {
    AddCamera(kCamera);
    PreviewCamera(kCamera);
    controller->SetRotate(90, 1, RGB(1, 2, 3));
    EXPECT_EQ(90u, controller->m_engine->GetRotateDegree());
    EXPECT_EQ(1u, controller->m_engine->GetRotateMethod());
    EXPECT_EQ(90u, controller->Settings().rotateDegree);
    EXPECT_EQ(RGB(1, 2, 3), controller->Settings().rotateBgColor);
    // The date/time overlay is on only for its own effect index.
    controller->ApplyEffect(10, 3, nullptr);
    EXPECT_TRUE(controller->m_engine->GetDateTimeEnable());
    controller->ApplyEffect(2, 3, nullptr);
    EXPECT_FALSE(controller->m_engine->GetDateTimeEnable());
    controller->SetDigitalZoom(1, 3);
    EXPECT_EQ(1, controller->GetDigitalZoomOn());
    EXPECT_EQ(3, controller->GetDigitalZoomLevel());
    EXPECT_EQ(S_OK, controller->ShowLivePreview(TRUE));
}

TEST_F(ControllerCapture, WithoutAnEngineNothingReachesIt) {
    program.WriteIni("[Basic]\r\nImage Folder=" + PictureFolder() + "\r\nVideo Folder=" + VideoFolder() + "\r\n");
    ControllerProbe idle;
    EXPECT_STREQ("Error", idle.GetLastErrorText());
    EXPECT_EQ(E_FAIL, idle.ShowLivePreview(TRUE));
    EXPECT_EQ(1, idle.StartRecording((VideoFolder() + "\\x.AVI").c_str()));
    EXPECT_FALSE(idle.IsFlipped());
    idle.SetRotate(180, 0, 0); // kept only with an engine
    EXPECT_EQ(0u, idle.Settings().rotateDegree);
    EXPECT_EQ(E_UNEXPECTED, idle.SelectVideoDevice("any"));
    _AlbumItemInfo record;
    std::memset(&record, 0x5A, sizeof record);
    idle.GetCaptureInfo(&record);
    EXPECT_EQ(0, record.path[0]);
    EXPECT_EQ(0, record.isPicture);
}

} // namespace
} // namespace apptest
