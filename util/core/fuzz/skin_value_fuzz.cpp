// libFuzzer harness of the skin value syntaxes: each input is one value text of a skin settings file,
// read as every syntax a key may have (number lists, numbers, colours, booleans, font styles and
// qualities); its numbers then place and fit rectangles as a skin's "rect" keys do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "RectFit.h"
#include "SkinValueSyntax.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

// A fresh writable copy for the parsers that lower-case in place.
std::string Copy(const std::string& text) { return text; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The settings reader hands over a nul-terminated text; a nul inside ends it there.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* value = text.c_str();
    using namespace qel::skin;

    std::int32_t numbers[6] = {};
    const int count = ScanIntList(value, numbers, 6);
    Check(count >= 0 && count <= 6);
    // A four-number key must leave what lies past its four numbers alone.
    std::int32_t guarded[6] = {0, 0, 0, 0, 0x5A5A5A5A, 0x5A5A5A5A};
    Check(ScanIntList(value, guarded, 4) <= 4 && guarded[4] == 0x5A5A5A5A && guarded[5] == 0x5A5A5A5A);
    const std::int32_t single = ParseInt(value);
    ColorFromRgb(numbers[0], numbers[1], numbers[2]);

    std::string lower = Copy(text);
    LowerInPlace(lower.data());
    std::string boolean = Copy(text);
    const int flag = BoolFromText(boolean.data());
    Check(flag == 0 || flag == 1);
    std::string style = Copy(text);
    Check(FontStyleFromText(style.data()) <= 15);
    std::string quality = Copy(text);
    const std::uint8_t q = FontQualityFromText(quality.data());
    Check(q == 0 || q == 1 || q == 2 || q == 4);

    // The longest style text is "bold|italic|underline|strikeout"; the buffers are the callers' sizes.
    char styleText[64] = "";
    AppendFontStyleText(single, styleText);
    Check(std::strlen(styleText) < sizeof styleText);
    char qualityText[32] = "";
    FontQualityToText(single, qualityText);

    // x, y, width, height as a skin's rect keys give them; right and bottom by saturating addition.
    using namespace qel::geometry;
    const Rect32 placement{numbers[0], numbers[1], SaturatingAdd(numbers[0], numbers[2]),
                           SaturatingAdd(numbers[1], numbers[3])};
    const Rect32 container{0, 0, numbers[4], numbers[5]};
    AlignRect(container, placement);
    Rect32 source = placement;
    Rect32 destination = container;
    ClipCopyRect(&source, &destination, Point32{numbers[4], numbers[5]}, container);
    Rect32 target = container;
    Point32 offset;
    ShrinkPropRect(placement, &target, (single & 1) != 0, (single & 2) != 0, &offset);
    target = container;
    CropPropRect(&target, placement, (single & 1) != 0, (single & 2) != 0, &offset);
    return 0;
}
