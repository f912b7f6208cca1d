#include "kernel_cases.h"

#include <cstring>
#include <memory>

#include "core/contrast_brightness_frame.h"
#include "core/effect.h"
#include "core/effect_factory.h"
#include "core/flip_kernel.h"
#include "core/low_light_frame.h"
#include "core/overlay_blend.h"
#include "core/rotate_kernel.h"
#include "core/stamp_paint.h"
#include "core/zoom_engine.h"
#include "qelimaging/auto_levels.h"
#include "qelimaging/auto_tone.h"
#include "qelimaging/colour_cube.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/lut.h"
#include "qelimaging/noise.h"
#include "qelimaging/sepia.h"
#include "qelimaging/whiteboard.h"
#include "zoom_reference.h"

namespace kernelcases {
namespace {

using namespace qel::imaging;

// Applies `map` to every pixel's colour, by buffer position.
void MapColours(const TestFrame& in, TestFrame& expected, const std::function<Rgb(Rgb)>& map) {
    for (int row = 0; row < in.Lines(); ++row)
        for (int x = 0; x < in.Width(); ++x)
            expected.SetColour(x, row, map(in.ColourAt(x, row)));
}

// Output pixel (x, line) of the picture is input pixel from(x, line); lines count from the bottom.
void MovePixels(const TestFrame& in, TestFrame& expected,
                const std::function<std::pair<int, int>(int x, int line)>& from) {
    for (int line = 0; line < in.Lines(); ++line)
        for (int x = 0; x < in.Width(); ++x) {
            const auto [sx, sl] = from(x, line);
            std::memcpy(expected.Pixel(x, line), in.Pixel(sx, sl), 3);
        }
}

Lut TestLut() {
    Lut lut = MakeIdentityLut(3);
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v)
            lut.table[c][v] = static_cast<std::uint8_t>(v * (c + 2) + 17 * c);
    return lut;
}

Rgb ThroughLut(const Lut& lut, Rgb colour) {
    return Rgb{lut.table[0][colour.red], lut.table[1][colour.green], lut.table[2][colour.blue]};
}

const ColourCube& SepiaCube() {
    static const ColourCube cube = [] {
        ColourCube built;
        BuildSepiaCube(built, 150);
        return built;
    }();
    return cube;
}

// A BGRA overlay of the frame's size: opaque, clear and half-covering pixels in a pattern.
OverlayImage PatternOverlay(int width, int rows) {
    OverlayImage overlay;
    overlay.width = width;
    overlay.height = rows;
    overlay.pixels.resize(static_cast<std::size_t>(overlay.stride()) * static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &overlay.pixels[static_cast<std::size_t>(row) * overlay.stride() + x * 4u];
            const Rgb colour = qel::testing::PatternColour(x, row, 5);
            p[0] = static_cast<std::uint8_t>(colour.blue);
            p[1] = static_cast<std::uint8_t>(colour.green);
            p[2] = static_cast<std::uint8_t>(colour.red);
            const int kind = (x + 2 * row) % 3;
            p[3] = static_cast<std::uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : 96);
        }
    return overlay;
}

bool RunEffect(int index, const TestFrame& in, TestFrame& out) {
    std::unique_ptr<CEffect> effect = CreateEffect(index);
    const PixelLayout& layout = in.Layout();
    if (!effect->Init(layout.width, layout.height, 3, 8, layout.stride, kByteOrderBgr))
        return false;
    effect->SetStrength(70);
    return effect->Process(in.Data(), out.Data()) == 1;
}

void AddImagingKernels(std::vector<KernelCase>& cases) {
    cases.push_back({"ApplyLut", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         return ApplyLut(in.Data(), out.Data(), in.Layout(), nullptr, TestLut());
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         const Lut lut = TestLut();
                         MapColours(in, expected, [&](Rgb c) { return ThroughLut(lut, c); });
                     }});
    cases.push_back({"ApplyContrastBrightness", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         const int contrasts[3] = {40, -30, 0}, brightnesses[3] = {10, 0, -20};
                         return ApplyContrastBrightness(in.Data(), out.Data(), in.Layout(), nullptr,
                                                        contrasts, brightnesses);
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         const int contrasts[3] = {40, -30, 0}, brightnesses[3] = {10, 0, -20};
                         Lut lut = MakeIdentityLut(3);
                         BuildContrastBrightnessLut(lut, contrasts, brightnesses);
                         MapColours(in, expected, [&](Rgb c) { return ThroughLut(lut, c); });
                     }});
    cases.push_back({"AutoContrast", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         return AutoContrast(in.Data(), out.Data(), in.Layout(), nullptr, nullptr, 60);
                     },
                     nullptr});
    cases.push_back({"AdjustHueSaturationPerPixel", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         return AdjustHueSaturation(in.Data(), out.Data(), in.Layout(), nullptr, 40, 30,
                                                    false);
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         MapColours(in, expected, [](Rgb c) { return AdjustHueSaturation(c, 40, 30); });
                     }});
    cases.push_back({"AdjustHueSaturationCube", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         return AdjustHueSaturation(in.Data(), out.Data(), in.Layout(), nullptr, -60, -40,
                                                    true);
                     },
                     nullptr});
    cases.push_back({"ApplyCubeSepia", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         return ApplyCube(in.Data(), out.Data(), in.Layout(), nullptr, SepiaCube());
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         MapColours(in, expected, [](Rgb c) { return LookupCube(SepiaCube(), c); });
                     }});
    cases.push_back(
        {"ApplyCubeAndLut", RowOrder::Buffer,
         [](const TestFrame& in, TestFrame& out) {
             return ApplyCubeAndLut(in.Data(), out.Data(), in.Layout(), nullptr, SepiaCube(), TestLut());
         },
         [](const TestFrame& in, TestFrame& expected) {
             const Lut lut = TestLut();
             MapColours(in, expected, [&](Rgb c) { return ThroughLut(lut, LookupCube(SepiaCube(), c)); });
         }});
    cases.push_back({"AddNoise", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         NoiseRandom random(7);
                         return AddNoise(in.Data(), out.Data(), in.Layout(), 40, 30, random);
                     },
                     nullptr});
    cases.push_back({"SnowLayer", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         NoiseRandom random(9);
                         return SnowLayer(in.Data(), out.Data(), in.Layout(), 60, random);
                     },
                     nullptr});
    cases.push_back({"ApplySnowFlakes", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         NoiseRandom random(9);
                         SnowFlakes flakes;
                         return BuildSnowFlakes(in.Width(), in.Lines(), 60, random, flakes) &&
                                ApplySnowFlakes(in.Data(), out.Data(), in.Layout(), flakes);
                     },
                     nullptr});
    for (const auto& [name, correction] : {std::make_pair("AutoTone", AutoCorrection::Tone),
                                           std::make_pair("AutoEnhance", AutoCorrection::Enhance)}) {
        const AutoCorrection kind = correction;
        cases.push_back({name, RowOrder::Buffer,
                         [kind](const TestFrame& in, TestFrame& out) {
                             return AutoCorrectFrame(in.Data(), out.Data(), in.Layout(), 70, kind);
                         },
                         nullptr});
    }
    for (const bool inPlace : {false, true}) {
        cases.push_back(
            {inPlace ? "WhiteboardInPlace" : "Whiteboard", RowOrder::Buffer,
             [inPlace](const TestFrame& in, TestFrame& out) {
                 if (inPlace)
                     CopyFramePixels(in.Data(), out.Data(), in.Layout());
                 const PixelLayout& layout = in.Layout();
                 const WhiteboardImage image{
                     layout.width, layout.height, layout.stride, 3, 8, 1, inPlace ? out.Data() : in.Data(),
                     out.Data()};
                 WhiteboardParams params{};
                 params.strength = 80;
                 return EnhanceWhiteboard(&image, &params, nullptr) == kWhiteboardOk;
             },
             nullptr});
    }
}

void AddPluginKernels(std::vector<KernelCase>& cases) {
    cases.push_back({"ContrastBrightnessFrame", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         CContrastBrightnessFrame frame;
                         frame.SetValues(40, -20);
                         return frame.Process(in.Data(), out.Data(), in.Layout());
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         CContrastBrightnessFrame frame;
                         frame.SetValues(40, -20);
                         MapColours(in, expected, [&](Rgb c) { return ThroughLut(frame.Table(), c); });
                     }});
    cases.push_back({"LowLightFrame", RowOrder::Buffer,
                     [](const TestFrame& in, TestFrame& out) {
                         CLowLightFrame frame;
                         frame.SetStrength(70);
                         return frame.Process(in.Data(), out.Data(), in.Layout());
                     },
                     nullptr});
    cases.push_back({"FlipBoth", RowOrder::Picture,
                     [](const TestFrame& in, TestFrame& out) {
                         return FlipFrame(in.Data(), out.Data(), in.Layout(), FlipParams{true, true});
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         MovePixels(in, expected, [&](int x, int line) {
                             return std::make_pair(in.Width() - 1 - x, in.Lines() - 1 - line);
                         });
                     }});
    cases.push_back({"FlipLeftRight", RowOrder::Picture,
                     [](const TestFrame& in, TestFrame& out) {
                         return FlipFrame(in.Data(), out.Data(), in.Layout(), FlipParams{false, true});
                     },
                     [](const TestFrame& in, TestFrame& expected) {
                         MovePixels(in, expected, [&](int x, int line) {
                             return std::make_pair(in.Width() - 1 - x, line);
                         });
                     }});
    for (const int angle : {90, 180, 270})
        for (const int method : {kRotateCut, kRotateZoom}) {
            auto run = [angle, method](const TestFrame& in, TestFrame& out) {
                return RotateFrame(in.Data(), out.Data(), in.Layout(),
                                   RotateParams{angle, method, 0x00336699});
            };
            std::function<void(const TestFrame&, TestFrame&)> halfTurn;
            if (angle == 180)
                halfTurn = [](const TestFrame& in, TestFrame& expected) {
                    MovePixels(in, expected, [&](int x, int line) {
                        return std::make_pair(in.Width() - 1 - x, in.Lines() - 1 - line);
                    });
                };
            cases.push_back({"Rotate" + std::to_string(angle) + (method == kRotateCut ? "Cut" : "Zoom"),
                             RowOrder::Picture, run, halfTurn});
        }
    for (const int percent : {150, 200, 250, 300}) {
        cases.push_back(
            {"Zoom" + std::to_string(percent), RowOrder::Buffer,
             [percent](const TestFrame& in, TestFrame& out) {
                 const ZoomPlan plan = BuildZoomPlan(percent, &in.Layout());
                 ApplyZoomPlan(plan, in.Data(), in.Bytes(), out.Data(), out.Bytes());
                 return true;
             },
             [percent](const TestFrame& in, TestFrame& expected) {
                 const ZoomPlan plan = BuildZoomPlan(percent, &in.Layout());
                 if (plan.mode != ZoomMode::Scale) {
                     CopyFramePixels(in.Data(), expected.Data(), in.Layout()); // too small: copied
                     return;
                 }
                 zoomtest::ReferenceZoom(in.Data(), expected.Data(), in.Width(), in.Height(), in.Stride(), 3,
                                         percent, plan.columns.origin, plan.rows.origin);
             }});
    }
    cases.push_back(
        {"BlendOverlay", RowOrder::Picture,
         [](const TestFrame& in, TestFrame& out) {
             return BlendOverlayFrame(in.Data(), out.Data(), in.Layout(),
                                      PatternOverlay(in.Width(), in.Lines()));
         },
         [](const TestFrame& in, TestFrame& expected) {
             const OverlayImage overlay = PatternOverlay(in.Width(), in.Lines());
             for (int line = 0; line < in.Lines(); ++line)
                 for (int x = 0; x < in.Width(); ++x) {
                     const std::uint8_t* o =
                         &overlay.pixels[static_cast<std::size_t>(line) * overlay.stride() + x * 4u];
                     const std::uint8_t* v = in.Pixel(x, line);
                     for (int c = 0; c < 3; ++c)
                         expected.Pixel(x, line)[c] =
                             static_cast<std::uint8_t>((v[c] * (255 - o[3]) + o[c] * o[3]) / 255);
                 }
         }});
    cases.push_back({"PaintStampMask", RowOrder::Picture,
                     [](const TestFrame& in, TestFrame& out) {
                         CopyFramePixels(in.Data(), out.Data(), in.Layout());
                         StampMask mask;
                         mask.width = in.Width() / 2 + 1;
                         mask.height = in.Lines() / 2 + 1;
                         mask.coverage.resize(static_cast<std::size_t>(mask.width) * mask.height);
                         for (std::size_t i = 0; i < mask.coverage.size(); ++i)
                             mask.coverage[i] = static_cast<std::uint8_t>(i % 3 ? 255 : 0);
                         return PaintStampMask(out.Data(), in.Layout(), mask, StampPoint{in.Width() / 3, 1},
                                               StampColour{200, 10, 90});
                     },
                     nullptr});
}

void AddSpecialEffects(std::vector<KernelCase>& cases) {
    static const char* const kNames[kEffectCount] = {
        "BlackWhite", "Sepia", "Negative", "Emboss", "FishEye", "Snow", "Mosaic", "Swirl", "Spotlight"};
    for (int index = 0; index < kEffectCount; ++index) {
        std::function<void(const TestFrame&, TestFrame&)> reference;
        if (index == 0)
            reference = [](const TestFrame& in, TestFrame& expected) {
                MapColours(in, expected, [](Rgb c) {
                    const int grey = (306 * c.red + 601 * c.green + 117 * c.blue) >> 10;
                    return Rgb{grey, grey, grey};
                });
            };
        if (index == 2)
            reference = [](const TestFrame& in, TestFrame& expected) {
                MapColours(in, expected, [](Rgb c) { return Rgb{255 - c.red, 255 - c.green, 255 - c.blue}; });
            };
        // Sepia and snow go through the imaging routines, which take rows in buffer order.
        const RowOrder order = index == 1 || index == 5 ? RowOrder::Buffer : RowOrder::Picture;
        cases.push_back({std::string("Effect") + kNames[index], order,
                         [index](const TestFrame& in, TestFrame& out) { return RunEffect(index, in, out); },
                         reference});
    }
    cases.push_back({"EffectNone", RowOrder::Picture,
                     [](const TestFrame& in, TestFrame& out) { return RunEffect(-1, in, out); },
                     [](const TestFrame& in, TestFrame& expected) {
                         CopyFramePixels(in.Data(), expected.Data(), in.Layout());
                     }});
}

} // namespace

std::vector<KernelCase> AllKernels() {
    std::vector<KernelCase> cases;
    AddImagingKernels(cases);
    AddPluginKernels(cases);
    AddSpecialEffects(cases);
    return cases;
}

} // namespace kernelcases
