// Whole recordings with the synthetic camera: the record chain, the file read back, statistics, the
// two limits, the file name rules, the ASF failure where the writer is missing, and ending the engine
// in the middle of it all.
#include "record_fixture.h"
#include "grabber_counter.h"

#include "AudioMuter.h"
#include "GraphBuilder.h"
#include "QelPluginIds.h"
#include "riff_reader.h"
#include "scoped_audio_input.h"

#include "qeltest/modal_hook.h"
#include "qeltest/pump.h"
#include "qeltest/watchdog.h"
#include "static_class_factory.h"

#include <fstream>
#include <string>

namespace recordtest {
namespace {

using enginetest::FilterNames;
using enginetest::ScopedAudioInput;

bool Holds(const std::vector<std::wstring>& names, const wchar_t* name) {
    for (const std::wstring& candidate : names)
        if (candidate == name)
            return true;
    return false;
}

ULONGLONG SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return ~0ull;
    return static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The visible windows inside the engine's picture window, with their sizes ("160x120 160x120").
std::string VisiblePictureWindows(HWND pictureWindow) {
    std::string sizes;
    for (HWND child = GetWindow(pictureWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        sizes += (sizes.empty() ? "" : " ") + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    }
    return sizes;
}

// A renderer may size its window back to the picture's own size (320 x 240) whenever it is connected
// again: by an effect spliced in front of it, and by the preview graph built again after a recording.
TEST_F(RecordTest, ThePictureFillsTheShowRectangleAfterASpliceAndAfterARecording) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const HWND picture = engine->GetClassNotifyHWND();
    ASSERT_EQ(0, engine->SetShowRect(0, 0, 480, 360));
    EXPECT_EQ("480x360", VisiblePictureWindows(picture)) << "placed while previewing";
    engine->SetEnhanceEnable(1, 40);
    EXPECT_EQ("480x360", VisiblePictureWindows(picture)) << "after an effect was spliced into the preview";

    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("fit0001.avi").c_str()));
    ASSERT_TRUE(engine->SetRecordFileType(RECORD_AVI_NOAUDIO));
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    EXPECT_EQ("480x360", VisiblePictureWindows(picture)) << "while recording";
    ASSERT_TRUE(WaitForFrames(5));
    ASSERT_TRUE(engine->StopCapture());
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ("480x360", VisiblePictureWindows(picture)) << "after the recording, one picture fills the window";
}

TEST_F(RecordTest, AviRecordingCarriesFlipRotateAndTheEffectsAndReadsBack) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    engine->SetEnhanceEnable(1, 40);
    engine->SetWhiteBoardEnable(1, 30);
    engine->SetToneEnable(1, 20);
    _LiteCapVideoInfo format = {};
    ASSERT_TRUE(engine->GetVideoInfo(&format));
    const std::wstring file = FileIn("clip0001.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    ASSERT_TRUE(engine->SetRecordFileType(RECORD_AVI_NOAUDIO));

    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(LIVE_CAPTURING, engine->GetClassState());
    const std::vector<std::wstring> expected = {kQelFilterName_Flip, kQelFilterName_Rotate, kQelFilterName_AutoEnhance,
                                                kQelFilterName_AutoTone, kQelFilterName_Whiteboard};
    EXPECT_EQ(expected, ChainInFrontOfMux());

    qeltest::PumpMessagesFor(2500);
    _CapturedVideoInfo info = {};
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&info));
    EXPECT_GT(info.nFramesCaptured, 10);
    EXPECT_GE(info.nFramesDropped, 0);
    EXPECT_GE(info.dwElapsedMs, 2000u);
    EXPECT_LT(info.dwElapsedMs, 20000u);

    ASSERT_TRUE(engine->StopCapture());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(nullptr, Engine()->m_hPollingThread);
    // The preview carries its effects again.
    const std::vector<std::wstring> preview = FilterNames(engine->m_pGraph);
    for (const std::wstring& name : expected)
        EXPECT_TRUE(Holds(preview, name.c_str())) << std::string(name.begin(), name.end());
    EXPECT_FALSE(Holds(preview, L"Mux"));

    // The statistics of the ended capture are still there for the host, and the file holds every
    // frame they count (the effects changed the picture, so the frame numbers are not read).
    _CapturedVideoInfo final = {};
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&final));
    EXPECT_GE(final.nFramesCaptured, info.nFramesCaptured);
    EXPECT_GE(final.dwElapsedMs, info.dwElapsedMs);
    const rifftest::AviSummary avi = rifftest::ReadAviFile(file);
    EXPECT_EQ(format.nWidth, avi.width);
    EXPECT_EQ(format.nHeight, avi.height);
    EXPECT_EQ(24, avi.bitCount);
    ExpectWholeRecording(file, final.nFramesCaptured, false);
    // 2.5 s at the capture rate (15 per second), with room for a slow machine.
    EXPECT_GE(avi.storedFrames, 10u);
    EXPECT_LE(avi.storedFrames, 80u);
    EXPECT_TRUE(UnexpectedBoxes().empty());
}

TEST_F(RecordTest, ARecordingHoldsEveryFrameTheCameraDeliveredInItsTime) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const std::wstring file = FileIn("every.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(WaitForFrames(20));
    ASSERT_TRUE(engine->StopCapture());

    // Read twice: the kept figures do not run on after the stop.
    const int delivered = FramesOfLastCapture();
    _CapturedVideoInfo first = {}, again = {};
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&first));
    Sleep(50);
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&again));
    EXPECT_EQ(first.dwElapsedMs, again.dwElapsedMs);
    EXPECT_EQ(first.nFramesCaptured, again.nFramesCaptured);
    EXPECT_GE(delivered, 20);
    ExpectWholeRecording(file, delivered, true);

    // The program opens each new recording with the engine's file player for its facts.
    _LiteCapVideoInfo format = {};
    ASSERT_TRUE(engine->GetVideoInfo(&format));
    const rifftest::AviSummary avi = rifftest::ReadAviFile(file);
    {
        CGraphBuilder player;
        ASSERT_EQ(S_OK, player.Init(host.Handle(), file.c_str(), 0));
        _LITEVIDEOINFO facts = {};
        ASSERT_EQ(S_OK, player.GetVideoInfo(&facts));
        EXPECT_EQ(format.nWidth, facts.nWidth);
        EXPECT_EQ(format.nHeight, facts.nHeight);
        EXPECT_GE(facts.llFrames, static_cast<LONGLONG>(avi.storedFrames));
        EXPECT_LE(facts.llFrames, static_cast<LONGLONG>(avi.indexedFrames) + 1);
        EXPECT_FALSE(facts.bHasAudio);
    }

    // A new capture starts its figures afresh.
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("next.avi").c_str()));
    ASSERT_TRUE(engine->StartCapture(&status));
    _CapturedVideoInfo running = {};
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&running));
    EXPECT_LT(running.dwElapsedMs, first.dwElapsedMs);
    ASSERT_TRUE(engine->StopCapture());
}

TEST_F(RecordTest, StartingWhileCapturingIsRefusedAndLeavesTheStatusAlone) {
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("twice.avi").c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    status = 1234;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(1234, status);
    EXPECT_FALSE(engine->SetCaptureFileName(FileIn("other.avi").c_str()));
    EXPECT_EQ(FileIn("twice.avi"), std::wstring(engine->m_wszCaptureFile));
    EXPECT_FALSE(engine->SetMinFreeSpace(1, 100));
    ASSERT_TRUE(WaitForFrames(3));
    ASSERT_TRUE(engine->StopCapture());
    EXPECT_FALSE(engine->StopCapture());   // not capturing any more
    EXPECT_TRUE(rifftest::ReadAviFile(FileIn("twice.avi")).complete);
}

TEST_F(RecordTest, TheFileSizeLimitStopsTheCaptureAndTellsTheHost) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const std::wstring file = FileIn("limit.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 50));
    Engine()->m_ullFileSizeLimit = 200 * 1024;   // a few frames
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_FILELIMIT); }, 20000));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_FALSE(HostHeard(WM_LIVECAP_LOWDISK));
    for (const auto& received : host.Notifications())
        if (received.message == WM_LIVECAP_FILELIMIT) {
            EXPECT_EQ(0u, received.wParam);
            EXPECT_EQ(1, received.lParam);
        }
    const int delivered = FramesOfLastCapture();
    EXPECT_GT(delivered, 0);
    ExpectWholeRecording(file, delivered, true);
    EXPECT_GE(SizeOf(file), 200u * 1024u);
}

TEST_F(RecordTest, FreeSpaceBelowTheMinimumStopsTheCaptureAndTellsTheHost) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const std::wstring file = FileIn("lowdisk.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 50));
    // A minimum no disk has: asked through the setter it is refused (and nothing is kept) ...
    EXPECT_FALSE(engine->SetMinFreeSpace(0xFFFFFFFFu, 50));
    EXPECT_EQ(0u, Engine()->m_ullMinFreeSpace);
    EXPECT_EQ(0u, Engine()->m_nSpacePollingInterval);
    // ... so the disk "fills up" during the capture by raising the kept minimum.
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 50));
    Engine()->m_ullMinFreeSpace = ~0ull;
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(qeltest::PumpUntil([&] { return HostHeard(WM_LIVECAP_LOWDISK); }, 20000));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_FALSE(HostHeard(WM_LIVECAP_FILELIMIT));
    // The watch looks at once, so the capture may have recorded no frame yet: such a recording
    // leaves no file (the platform's multiplexer would close it without its index).
    const int delivered = FramesOfLastCapture();
    if (delivered > 0)
        ExpectWholeRecording(file, delivered, true);
    else
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file.c_str()));
}

TEST_F(RecordTest, MinimumFreeSpaceSetterRefusesAZeroInterval) {
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("space.avi").c_str()));
    ASSERT_TRUE(engine->SetMinFreeSpace(2, 75));
    EXPECT_EQ(2u * 1048576u, Engine()->m_ullMinFreeSpace);
    EXPECT_FALSE(engine->SetMinFreeSpace(100, 0));
    EXPECT_EQ(2u * 1048576u, Engine()->m_ullMinFreeSpace);
    EXPECT_EQ(75u, Engine()->m_nSpacePollingInterval);
}

TEST_F(RecordTest, CaptureFileNamesUpTo259CharactersAreTakenAndTheFileIsEmptied) {
    const std::string base = folder.Path() + "\\";
    const std::string name259 = base + std::string(259 - base.size() - 4, 'n') + ".avi";
    ASSERT_EQ(259u, name259.size());
    const std::wstring wide259(name259.begin(), name259.end());
    {
        std::ofstream existing(name259, std::ios::binary);
        existing << "old content";
    }
    EXPECT_TRUE(engine->SetCaptureFileName(wide259.c_str()));
    EXPECT_EQ(0u, SizeOf(wide259));
    EXPECT_EQ(wide259, std::wstring(engine->m_wszCaptureFile));
    const std::wstring wide260 = wide259.substr(0, 255) + L"x.avi";
    ASSERT_EQ(260u, wide260.size());
    EXPECT_FALSE(engine->SetCaptureFileName(wide260.c_str()));
    EXPECT_FALSE(engine->SetCaptureFileName(nullptr));
    EXPECT_FALSE(engine->SetCaptureFileName(FileIn("no folder\\x.avi").c_str()));
    EXPECT_EQ(wide259, std::wstring(engine->m_wszCaptureFile));
}

TEST_F(RecordTest, AsfWithoutTheWriterFailsCleanlyAndAviStillRecords) {
    IBaseFilter* writer = nullptr;
    static const CLSID kAsfWriter = {0x7c23220e, 0x55bb, 0x11d3, {0x8b, 0x16, 0x00, 0xc0, 0x4f, 0xb6, 0xbd, 0x3d}};
    if (SUCCEEDED(CoCreateInstance(kAsfWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&writer)))) {
        writer->Release();
        GTEST_SKIP() << "this machine has the Windows Media ASF writer: the missing-writer path cannot run";
    }
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("clip.wmv").c_str()));
    for (RecordFileType type : {RECORD_ASF_SYSTEM, RECORD_ASF_PROFILE}) {
        engine->SetRecordFileType(type);
        int status = 0;
        EXPECT_FALSE(engine->StartCapture(&status)) << type;
        EXPECT_EQ(0x8000, status & 0x8000) << type;
        EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState()) << type << ": the refused start keeps no preview";
        EXPECT_FALSE(Engine()->m_bCaptureBuilt);
        EXPECT_EQ(nullptr, Engine()->m_pMux);
    }
    // The busy flag was cleared: the next start goes ahead.
    engine->SetRecordFileType(RECORD_AVI);
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("after.avi").c_str()));
    int status = -1;
    EXPECT_TRUE(engine->StartCapture(&status));
    EXPECT_EQ(0, status);
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_TRUE(engine->StopCapture());
    EXPECT_TRUE(rifftest::ReadAviFile(FileIn("after.avi")).complete);
}

TEST_F(RecordTest, StatisticsNeedACapture) {
    _CapturedVideoInfo info = {};
    EXPECT_FALSE(engine->GetCapturedVideoInfo(&info));
    EXPECT_FALSE(engine->GetCapturedVideoInfo(nullptr));
}

TEST_F(RecordTest, DeletingTheEngineDuringACaptureLeavesACompleteFile) {
    const std::wstring file = FileIn("cut.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 50));   // the watch runs too
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(WaitForFrames(3));
    delete engine;
    engine = nullptr;
    const rifftest::AviSummary avi = rifftest::ReadAviFile(file);
    EXPECT_TRUE(avi.complete);
    EXPECT_GT(avi.storedFrames, 0u);
}

TEST_F(RecordTest, DeletingTheEngineRightAfterTheStop) {
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("short.avi").c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    ASSERT_TRUE(engine->SetMinFreeSpace(1, 20));
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_TRUE(engine->StopCapture());
    const int delivered = FramesOfLastCapture();
    delete engine;
    engine = nullptr;
    // Stopped at once: a recording without frames leaves no file, one with frames a complete one.
    if (delivered > 0)
        EXPECT_TRUE(rifftest::ReadAviFile(FileIn("short.avi")).complete);
    else
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(FileIn("short.avi").c_str()));
}

// A class factory of this process in place of the rotate plug-in's, which makes nothing.
class RefusingFactory : public StaticClassFactory {
public:
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
};

TEST_F(RecordTest, APlugInThatCannotBeMadeEndsTheBuildAndThePreviewComesBack) {
    RefusingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, CoRegisterClassObject(CLSID_QelFilter_Rotate, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                          &cookie));
    IBaseFilter* probe = nullptr;
    const HRESULT replaced = CoCreateInstance(CLSID_QelFilter_Rotate, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                              reinterpret_cast<void**>(&probe));
    if (SUCCEEDED(replaced)) {
        probe->Release();
        CoRevokeClassObject(cookie);
        GTEST_SKIP() << "a class object registered in the process does not take the place of the registered server here";
    }
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("noplugin.avi").c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(0x8000, status);
    CoRevokeClassObject(cookie);
    // The preview the refused start builds again goes without the plug-in, and says so once more.
    const std::vector<std::string> shown = UnexpectedBoxes();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Failed to create Rotate Filter when Capture", shown[0]);
    EXPECT_EQ("Failed to create Rotate Filter", shown[1]);
    EXPECT_FALSE(Engine()->m_bCaptureBuilt);
    EXPECT_EQ(nullptr, Engine()->m_pMux);
    EXPECT_FALSE(Holds(FilterNames(engine->m_pGraph), L"Mux"));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}


// The stand-in microphone offers no audio stream, so every render of the audio capture stream fails.
TEST_F(RecordTest, AnAudioStreamThatCannotBeRecordedFailsTheBuildWithItsBits) {
    std::unique_ptr<ScopedAudioInput> microphone;
    ASSERT_NO_FATAL_FAILURE(UseStandInMicrophone(L"Qel Record Stand-in Microphone", &microphone));
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("sound.avi").c_str()));
    engine->SetVolume(0);   // sound off
    plugintest::PluginModule muterModule(L"QelAudioMuter");
    ASSERT_TRUE(muterModule.Loaded());
    ASSERT_EQ(S_OK, muterModule.Unregister());

    // Type 0 mutes: the muter (not installed here) is asked for first and reported missing.
    engine->SetRecordFileType(RECORD_AVI);
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(0x8000 | 0x8 | 0x4, status);
    const std::vector<std::string> shown = UnexpectedBoxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Failed to create Audio Mute Filter", shown[0]);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_FALSE(Engine()->m_bCaptureBuilt);

    // Type 1 takes the sound out instead: no muter is made.
    engine->SetRecordFileType(RECORD_AVI_NOAUDIO);
    status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(0x8000 | 0x8 | 0x4, status);
    EXPECT_EQ(1u, UnexpectedBoxes().size());
}

// With the muter installed, the sound switched off goes through it: it is made once, joins the graph
// under its name and answers its switch. (The platform's AVI multiplexer takes no sound stream, so
// the build still ends at the audio stream here.)
TEST_F(RecordTest, TheAudioMuterIsMadeOnceAndJoinsTheGraph) {
    plugintest::PluginModule muterModule(L"QelAudioMuter");
    ASSERT_TRUE(muterModule.Loaded());
    ASSERT_EQ(S_OK, muterModule.Register());
    struct Unregister {
        plugintest::PluginModule& module;
        ~Unregister() { module.Unregister(); }
    } unregister{muterModule};

    ASSERT_TRUE(engine->xBuildAudioMuterFilter());
    IBaseFilter* made = Engine()->m_pAudioMuter;
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(Holds(FilterNames(engine->m_pGraph), L"Audio Muter Filter"));
    IUnknown* muter = nullptr;
    ASSERT_EQ(S_OK, made->QueryInterface(kIidAudioMuter, reinterpret_cast<void**>(&muter)));
    muter->Release();
    // Held already: not made again (the second addition under the same name is refused).
    engine->xBuildAudioMuterFilter();
    EXPECT_EQ(made, Engine()->m_pAudioMuter);
    EXPECT_TRUE(UnexpectedBoxes().empty());

    std::unique_ptr<ScopedAudioInput> microphone;
    ASSERT_NO_FATAL_FAILURE(UseStandInMicrophone(L"Qel Record Muted Microphone", &microphone));
    ASSERT_TRUE(engine->SetCaptureFileName(FileIn("muted.avi").c_str()));
    engine->SetVolume(0);
    engine->SetRecordFileType(RECORD_AVI);
    int status = 0;
    EXPECT_FALSE(engine->StartCapture(&status));
    EXPECT_EQ(0x8000 | 0x8 | 0x4, status);
    EXPECT_TRUE(UnexpectedBoxes().empty());
}

TEST_F(RecordTest, ACameraWithoutPreviewPinRecordsThroughTheSplitStream) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    AddCamera(L"Qel Record Capture-only Camera", qelcam::kCaptureOnly);
    ASSERT_EQ(S_OK, engine->EnumVideoDevice());
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Record Capture-only Camera", &index));
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    const std::wstring file = FileIn("tee.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    engine->SetRecordFileType(RECORD_AVI);
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    EXPECT_EQ(0, status);
    EXPECT_TRUE(Engine()->m_bPreviewThroughTee);
    const std::vector<std::wstring> chain = ChainInFrontOfMux();
    ASSERT_GE(chain.size(), 2u);
    EXPECT_EQ(kQelFilterName_Flip, chain[chain.size() - 2]);
    EXPECT_EQ(kQelFilterName_Rotate, chain.back());
    ASSERT_TRUE(WaitForFrames(5));
    ASSERT_TRUE(engine->StopCapture());
    ExpectWholeRecording(file, FramesOfLastCapture(), true);
    // The preview comes back through the split stream and keeps going: the plug-in in front of
    // the grabber must not shrink the pool the camera and the tee share (the camera then waited
    // for a second buffer forever, and every later graph stop with it).
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_TRUE(enginetest::PreviewDelivers(engine->m_pGrabberFilter, engine->GrabberCallback(), 5, 10000));
}

} // namespace

// The profile number: 22 or 23 only.
TEST(ProfileId, OnlyTwentyTwoAndTwentyThreeAreKept) {
    enginetest::EngineProbe engine;
    EXPECT_EQ(22u, engine.m_nProfileID);
    EXPECT_FALSE(engine.SetProfileID(21));
    EXPECT_EQ(22u, engine.m_nProfileID);
    EXPECT_TRUE(engine.SetProfileID(23));
    EXPECT_EQ(23u, engine.m_nProfileID);
    EXPECT_FALSE(engine.SetProfileID(0));
    EXPECT_TRUE(engine.SetProfileID(22));
    EXPECT_EQ(22u, engine.m_nProfileID);
}

// The initial capture file name has no folder: its free space is the current folder's.
TEST(MinFreeSpace, ABareFileNameMeasuresTheCurrentFolder) {
    RecordProbe engine;
    EXPECT_EQ(std::wstring(L"outavi"), std::wstring(engine.m_wszCaptureFile));
    EXPECT_TRUE(engine.SetMinFreeSpace(1, 100));
    EXPECT_EQ(1048576u, engine.m_ullMinFreeSpace);
    EXPECT_EQ(100u, engine.m_nSpacePollingInterval);
    // More than any disk holds: refused, and the limit is gone.
    EXPECT_FALSE(engine.SetMinFreeSpace(0xFFFFFFFFu, 100));
    EXPECT_EQ(0u, engine.m_ullMinFreeSpace);
    EXPECT_EQ(0u, engine.m_nSpacePollingInterval);
}

} // namespace recordtest

namespace recordtest {

TEST_F(RecordTest, TheCaptureFileDialogRunsThroughTheModalHookAndAsksAgainAfterCancel) {
    qeltest::TempDir dir;
    const std::string typed = dir.File("capture");
    int asked = 0;
    qeltest::ScopedModalHook hook([&](HWND dialog, AFX_MODAL_KIND kind) -> INT_PTR {
        EXPECT_EQ(AFX_MODAL_FILE, kind);
        if (++asked == 1)
            return IDCANCEL; // no name yet: the engine asks again
        HWND name = GetDlgItem(dialog, 0x47C); // the explorer-style dialog's name box
        if (!name)
            name = GetDlgItem(dialog, 0x480);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        return IDOK;
    });
    ASSERT_TRUE(Engine()->MySetCaptureFile(nullptr));
    EXPECT_EQ(2, asked);
    const std::wstring expected = std::wstring(typed.begin(), typed.end()) + L".avi";
    EXPECT_EQ(expected, std::wstring(Engine()->GetCaptureFileName()));
}

} // namespace recordtest
