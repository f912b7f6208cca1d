// The recording figure: a live 10 s recording at 640x480 and 30 frames a second with every effect on
// (the photo frame aside, which needs a frame picture) and the heaviest special effect, snow. What the
// camera delivered, dropped and the file stored depends on the machine and its load, so the test is
// run on request (scripts/bench) and prints the figure; it asserts only that the file accounts for
// every frame the engine counted.
#include "record_fixture.h"

#include "QelPluginIds.h"
#include "riff_reader.h"

#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

#include <cstdio>

namespace recordtest {
namespace {

TEST_F(RecordTest, DISABLED_RecordingFigureEveryEffectAt640x480) {
    qeltest::Watchdog::ExtendCurrentTest(120);
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins;
    for (const QelPluginIdentity& identity : kQelPlugins) {
        plugins.push_back(std::make_unique<plugintest::PluginModule>(identity.module));
        if (!plugins.back()->Loaded())
            GTEST_SKIP() << "not every plug-in is built in this tree";
        ASSERT_EQ(S_OK, plugins.back()->Register());
    }
    _LiteCapVideoInfo format = {};
    ASSERT_TRUE(engine->GetVideoInfo(&format));
    format.nWidth = 640;
    format.nHeight = 480;
    format.nFrameRate = 30;
    ASSERT_TRUE(engine->SetVideoFormat(&format));
    engine->SetEnhanceEnable(1, 100);
    engine->SetToneEnable(1, 100);
    engine->SetLowLightEnable(1, 100);
    engine->SetWhiteBoardEnable(1, 100);
    engine->SetCBEnable(1, 100, 100);
    engine->SetDigitalZoomEnable(1, 1);
    engine->SetDateTimeEnable(1, 4);
    engine->SetSnowEnable(1, 100);
    engine->SetRotateEnable(1, 90, 1, 0);
    engine->SetFlipEnable(1, 3);

    const std::wstring file = FileIn("figure.avi");
    ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
    ASSERT_TRUE(engine->SetRecordFileType(RECORD_AVI_NOAUDIO));
    int status = -1;
    ASSERT_TRUE(engine->StartCapture(&status));
    ASSERT_EQ(0, status);
    const std::vector<std::wstring> chain = ChainInFrontOfMux();
    EXPECT_EQ((std::vector<std::wstring>{kQelFilterName_Flip, kQelFilterName_Rotate, kQelFilterName_DigitalZoom,
                                         kQelFilterName_AutoEnhance, kQelFilterName_AutoTone, kQelFilterName_LowLight,
                                         kQelFilterName_Whiteboard, kQelFilterName_ContrastBrightness,
                                         kQelFilterName_DateTime, kQelFilterName_SpecialEffect}),
              chain);
    qeltest::PumpMessagesFor(10000);
    _CapturedVideoInfo info = {};
    ASSERT_TRUE(engine->GetCapturedVideoInfo(&info));
    ASSERT_TRUE(engine->StopCapture());

    const int delivered = FramesOfLastCapture();
    const rifftest::AviSummary avi = rifftest::ReadAviFile(file);
    std::printf("recording 640x480 at 30 fps, every effect, snow, %.1f s: %d frames delivered, %d dropped, "
                "%u stored\n",
                info.dwElapsedMs / 1000.0, delivered, info.nFramesDropped, avi.storedFrames);
    EXPECT_GT(delivered, 0);
    ExpectWholeRecording(file, delivered, false);
}

} // namespace
} // namespace recordtest
