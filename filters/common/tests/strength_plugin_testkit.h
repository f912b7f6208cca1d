#pragma once
// Checks shared by the plug-ins with one strength (whiteboard, auto tone, auto enhance): the effect
// in a real graph against the imaging routine computed here, and the one-slider page.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"

#include "qeltest/com_test.h"

#include <functional>
#include <memory>
#include <string>

namespace strengthtest {

using plugintest::ComPtr;

// What the plug-in should make of one frame: source and destination of the frame's bytes.
using FrameKernel = std::function<void(const BYTE* source, BYTE* destination, int width, int height,
                                       int stride, int strength)>;

class StrengthPluginTest : public qeltest::ComTest {
protected:
    explicit StrengthPluginTest(const QelPluginIdentity& plugin) : plugin_(plugin) {}
    void SetUp() override;
    void TearDown() override;

    ComPtr<IBaseFilter> Create();
    ComPtr<IQelStrengthParams> ParamsOf(IUnknown* filter);

    // Plays the test video through a new instance at the strength and checks every frame against
    // the kernel; returns how many frames differed from their input.
    int ExpectFramesFromKernel(const FrameKernel& kernel, int strength, const plugintest::TestVideo& video);

    // The page: clamps typed values, sends every change at once, restores on cancel, keeps on Apply.
    void ExpectPageBehaviour();
    // The page's title as the property frame shows it.
    std::wstring PageTitle();

    const QelPluginIdentity& plugin_;
    std::unique_ptr<plugintest::PluginModule> module_;
};

} // namespace strengthtest
