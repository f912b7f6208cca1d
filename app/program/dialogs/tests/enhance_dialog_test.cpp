// The Enhance dialog in the real program: its opening state, the engine calls its switches, radios
// and sliders make (read from stand-in plug-ins in the engine's place), Cancel's restoring of what
// changed, and OK's values reaching the settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include "QelPluginIds.h"
#include "dialog_driver.h"
#include "program_fixture.h"

namespace programtest {
namespace {

// Control ids of the dialog.
enum : int {
    kBrightness = 1037, kContrast = 1038, kEnhanceLevel = 1039, kToneLevel = 1040, kLowLightLevel = 1041,
    kClearTextLevel = 1042, kAutoEnhance = 1046, kAutoTone = 1047, kLowLight = 1048, kClearText = 1049,
    kAuto = 1052, kManual = 1053, kZoomStep = 1054, kZoom = 1055, kBrightnessLabel = 1087, kContrastLabel = 1088,
};
constexpr int kEnhanceButton = 1006;

std::string Joined(const std::vector<std::string>& calls) {
    std::string text;
    for (const std::string& call : calls)
        text += call + "; ";
    return text;
}

bool Has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class EnhanceDialog : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        log = std::make_unique<EngineCallLog>();
        if (!log->Loaded())
            GTEST_SKIP() << "the stand-in plug-in module is not built";
        for (const CLSID* clsid : {&CLSID_QelFilter_AutoEnhance, &CLSID_QelFilter_AutoTone, &CLSID_QelFilter_LowLight,
                                   &CLSID_QelFilter_Whiteboard, &CLSID_QelFilter_ContrastBrightness,
                                   &CLSID_QelFilter_DigitalZoom})
            ASSERT_EQ(S_OK, log->Add(*clsid));
    }
    void TearDown() override {
        run.reset();
        log.reset();
        ProgramTest::TearDown();
    }

    // Starts the program and opens the dialog; the calls of the start-up are cleared.
    HWND Open() {
        if (!run) {
            run = StartQuietly();
            run->Pump(500);
        }
        log->Clear();
        ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kEnhanceButton, BN_CLICKED), 0);
        return run->WaitForDialog("Enhance", 10000);
    }
    void Close(HWND dialog, int button) {
        PressButton(dialog, button);
        EXPECT_TRUE(run->WaitForDialogEnd(dialog, 5000)) << "the dialog did not end";
        run->Pump(300);
    }

    std::unique_ptr<EngineCallLog> log;
    std::unique_ptr<ZentrikRun> run;
};

TEST_F(EnhanceDialog, DefaultsOpenWithManualCheckedAndTheAutomaticControlsDisabled) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    ShootWindow(dialog, "enhance_defaults");
    EXPECT_TRUE(IsChecked(dialog, kManual));
    EXPECT_FALSE(IsChecked(dialog, kAuto));
    EXPECT_FALSE(IsChecked(dialog, kZoom));
    for (int id : {kBrightness, kContrast, kBrightnessLabel, kContrastLabel})
        EXPECT_TRUE(IsEnabled(dialog, id)) << id;
    EXPECT_EQ(0, SliderPos(dialog, kBrightness));
    EXPECT_EQ(0, SliderPos(dialog, kContrast));
    for (int id : {kAutoEnhance, kAutoTone, kLowLight, kClearText, kEnhanceLevel, kToneLevel, kLowLightLevel,
                   kClearTextLevel, kZoomStep})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    EXPECT_EQ(50, SliderPos(dialog, kEnhanceLevel));
    EXPECT_EQ(0, SliderPos(dialog, kZoomStep));
    int low = 0, high = 0;
    SliderRange(dialog, kBrightness, &low, &high);
    EXPECT_EQ(-100, low);
    EXPECT_EQ(100, high);
    SliderRange(dialog, kZoomStep, &low, &high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(4, high);
    Close(dialog, IDCANCEL);
}

TEST_F(EnhanceDialog, AutoOnSwitchesTheManualAdjustmentOffThenAutoEnhanceOnAtItsLevel) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressButton(dialog, kAuto);
    run->Pump(300);
    ShootWindow(dialog, "enhance_auto");
    EXPECT_TRUE(IsChecked(dialog, kAuto));
    EXPECT_FALSE(IsChecked(dialog, kManual));
    EXPECT_TRUE(IsChecked(dialog, kAutoEnhance));
    EXPECT_TRUE(IsEnabled(dialog, kEnhanceLevel));
    EXPECT_FALSE(IsEnabled(dialog, kToneLevel));
    for (int id : {kBrightness, kContrast, kBrightnessLabel, kContrastLabel})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    using Calls = std::vector<std::string>;
    EXPECT_EQ((Calls{"SetEnable(0)"}), log->Calls(CLSID_QelFilter_ContrastBrightness));
    EXPECT_EQ((Calls{"SetEnable(1)", "SetStrength(50)"}), log->Calls(CLSID_QelFilter_AutoEnhance));
    EXPECT_TRUE(log->Calls(CLSID_QelFilter_AutoTone).empty()) << Joined(log->Calls(CLSID_QelFilter_AutoTone));

    // The radio already checked: nothing reaches the engine.
    log->Clear();
    PressButton(dialog, kAutoEnhance);
    run->Pump(300);
    EXPECT_TRUE(IsChecked(dialog, kAutoEnhance));
    EXPECT_TRUE(log->Calls(CLSID_QelFilter_AutoEnhance).empty()) << Joined(log->Calls(CLSID_QelFilter_AutoEnhance));
    EXPECT_TRUE(log->Calls(CLSID_QelFilter_AutoTone).empty()) << Joined(log->Calls(CLSID_QelFilter_AutoTone));

    // A new radio: it goes on with its level, the one before goes off.
    PressButton(dialog, kAutoTone);
    run->Pump(300);
    EXPECT_TRUE(Has(log->Calls(CLSID_QelFilter_AutoTone), "SetEnable(1)"))
        << Joined(log->Calls(CLSID_QelFilter_AutoTone));
    EXPECT_TRUE(Has(log->Calls(CLSID_QelFilter_AutoEnhance), "SetEnable(0)"))
        << Joined(log->Calls(CLSID_QelFilter_AutoEnhance));
    EXPECT_TRUE(IsEnabled(dialog, kToneLevel));
    EXPECT_FALSE(IsEnabled(dialog, kEnhanceLevel));
    Close(dialog, IDCANCEL);
}

TEST_F(EnhanceDialog, AContrastDragCarriesTheBrightness) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    DragSlider(dialog, kBrightness, 30);
    log->Clear();
    DragSlider(dialog, kContrast, -20);
    run->Pump(300);
    EXPECT_EQ((std::vector<std::string>{"SetEnable(1)", "SetBrightness(30)", "SetContrast(-20)"}),
              log->Calls(CLSID_QelFilter_ContrastBrightness));
    Close(dialog, IDCANCEL);
}

TEST_F(EnhanceDialog, CancelReappliesOnlyWhatChanged) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressButton(dialog, kZoom);
    run->Pump(200);
    EXPECT_TRUE(IsEnabled(dialog, kZoomStep));
    DragSlider(dialog, kZoomStep, 3);
    run->Pump(200);
    log->Clear();
    Close(dialog, IDCANCEL);
    EXPECT_EQ((std::vector<std::string>{"SetEnable(0)"}), log->Calls(CLSID_QelFilter_DigitalZoom));
    // Neither the manual adjustment nor an automatic enhancement changed: none is sent again.
    EXPECT_TRUE(log->Calls(CLSID_QelFilter_ContrastBrightness).empty())
        << Joined(log->Calls(CLSID_QelFilter_ContrastBrightness));
    EXPECT_TRUE(log->Calls(CLSID_QelFilter_AutoEnhance).empty()) << Joined(log->Calls(CLSID_QelFilter_AutoEnhance));
}

TEST_F(EnhanceDialog, UncheckingDigitalZoomResetsTheStepToOneX) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressButton(dialog, kZoom);
    DragSlider(dialog, kZoomStep, 2);
    PressButton(dialog, kZoom);
    run->Pump(200);
    EXPECT_EQ(0, SliderPos(dialog, kZoomStep));
    EXPECT_FALSE(IsEnabled(dialog, kZoomStep));
    Close(dialog, IDCANCEL);
}

TEST_F(EnhanceDialog, TheCameraButtonsZoomKeyMovesTheOpenDialogsZoomSlider) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    const UINT zentrikMessage = ::RegisterWindowMessageA("QEL_ZENTRIK_MESSAGE");
    ::PostMessageA(run->Frame(), zentrikMessage, 72, 0);
    run->Pump(500);
    EXPECT_TRUE(IsChecked(dialog, kZoom));
    EXPECT_EQ(1, SliderPos(dialog, kZoomStep));
    EXPECT_EQ((std::vector<std::string>{"SetEnable(1)", "SetZoom(150)"}), log->Calls(CLSID_QelFilter_DigitalZoom));
    // The dialog's own switch stays as it was: Cancel then puts the engine back to the kept zoom.
    EXPECT_FALSE(IsEnabled(dialog, kZoomStep));
    Close(dialog, IDOK);
}

TEST_F(EnhanceDialog, OkValuesReachTheSettingsFileAtClose) {
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    PressButton(dialog, kAuto);
    DragSlider(dialog, kEnhanceLevel, 70);
    PressButton(dialog, kZoom);
    DragSlider(dialog, kZoomStep, 2);
    Close(dialog, IDOK);
    // Auto off again keeps the levels on the sliders, and OK keeps them.
    dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsChecked(dialog, kAuto));
    EXPECT_EQ(70, SliderPos(dialog, kEnhanceLevel));
    PressButton(dialog, kAuto);
    EXPECT_EQ(70, SliderPos(dialog, kEnhanceLevel));
    Close(dialog, IDOK);
    ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, run->WaitForExit(15000));
    EXPECT_EQ("0", run->IniValue("Enhance", "Auto"));
    EXPECT_EQ("0", run->IniValue("Enhance", "AutoEnhance"));
    EXPECT_EQ("0", run->IniValue("Enhance", "Manual"));
    EXPECT_EQ("70", run->IniValue("Enhance", "EnhanceValue"));
    EXPECT_EQ("1", run->IniValue("Enhance", "Zoom"));
    EXPECT_EQ("2", run->IniValue("Enhance", "ZoomValue"));
}

} // namespace
} // namespace programtest
