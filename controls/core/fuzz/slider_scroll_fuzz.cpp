// libFuzzer harness of the slider's track and the scroll panel's bars, driven by the numbers a skin
// gives them: a thumb range, a value range, a thumb width, positions and pointer moves, and a bar's
// view, window and page. Every result must lie within its track, range or scrollable span.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ScrollRules.h"
#include "SliderTrack.h"
#include "IntClamp.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;


void FuzzSlider(qel::fuzzseeds::FuzzReader& in) {
    using namespace qel_controls;
    SliderTrack track;
    track.left = in.I32();
    track.right = in.I32();
    const SliderRange range = NormalRange(in.I32(), in.I32());
    Check(range.min < range.max);
    Check(range.Span() > 0);
    track.min = range.min;
    track.span = range.Span();
    track.unit = UnitOf(track.Width(), track.span);
    const int thumbWidth = in.I32();
    track.halfThumb = thumbWidth / 2;
    const int pos = in.I32();
    const int lastX = in.I32();
    const int pointX = in.I32();

    int centre = 0;
    Check(CentreForPos(track, pos, &centre));
    if (track.left <= track.right)
        Check(centre >= track.left && centre <= track.right);
    const int back = PosForCentre(track, pointX);
    Check(back >= range.min && back <= range.max);
    SnappedThumbLeft(track, pointX);
    int newLeft = 0;
    const int thumbLeft = ClampToInt(static_cast<long long>(centre) - track.halfThumb);
    const int thumbRight = ClampToInt(static_cast<long long>(centre) + track.halfThumb);
    AdjustThumb(track, thumbLeft, thumbWidth, lastX, pointX, &newLeft);
    const int direction = PageDirection(thumbLeft, thumbRight, pointX);
    const int paged = PagedPos(pos < range.min ? range.min : pos > range.max ? range.max : pos, direction,
                               thumbWidth, range.min, range.max);
    Check(paged >= range.min && paged <= range.max);
}

void FuzzScroll(qel::fuzzseeds::FuzzReader& in) {
    using namespace qel_controls;
    const int pos = in.I32();
    const int code = in.U8() % 10;
    const int thumb = in.I32();
    const int scrollMax = in.I32();
    const int page = in.I32();
    const int scrolled = ScrolledPosition(pos, code, thumb, scrollMax, page);
    if (scrollMax <= 0)
        Check(scrolled == pos);
    const int oldMax = in.I32();
    const int viewExtent = in.I32();
    const int visible = in.I32();
    Check(RescrolledPosition(pos, oldMax, viewExtent, visible, true) >= 0);
    Check(RescrolledPosition(pos, oldMax, viewExtent, visible, false) >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qel::fuzzseeds::FuzzReader in(data, size);
    FuzzSlider(in);
    FuzzScroll(in);
    return 0;
}
