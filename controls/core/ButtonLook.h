#pragma once
// How a skinned button looks in a given state: which strip frame, which caption colour, and how the
// tooltip string resource splits. Platform-neutral so that it runs natively under the sanitizers.
#include <string>

namespace qel_controls {

// The facts a paint reads from the button and its item state.
struct ButtonState {
    bool enabled = true;
    bool useDisableLook = false;
    int disableLook = 1;
    bool selected = false; // pressed (the item state's selected bit)
    bool checked = false;  // the button's own flag or the item state's checked bit
    bool hover = false;
};

enum CaptionColour { kCaptionNormal, kCaptionDown, kCaptionGray, kCaptionHoverNormal, kCaptionHoverDown };

int ButtonFrameIndex(const ButtonState& state);
// Six-frame check-box strip: 0/1 unchecked (hover), 2/3 checked (hover), 4/5 disabled; no pressed frame.
int CheckFrameIndex(const ButtonState& state);
CaptionColour ButtonCaptionColour(const ButtonState& state);

int ClampTextAlignment(int alignment); // 0..3; 3 draws like 0
int ClampDisableLook(int look);        // below 0: 0, above 1: 2

// A tooltip resource "status\ntooltip": the text after the first newline is the tooltip, the text
// before it the status text; without a newline the whole string is the tooltip and the status empty.
struct TooltipParts {
    std::string status;
    std::string tooltip;
};
TooltipParts SplitTooltipResource(const std::string& resource);

} // namespace qel_controls
