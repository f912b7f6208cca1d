#include "ButtonLook.h"

namespace qel_controls {

int ButtonFrameIndex(const ButtonState& state) {
    if (!state.enabled)
        return state.useDisableLook ? state.disableLook : 3;
    if (state.selected || state.checked)
        return 1;
    return state.hover ? 2 : 0;
}

int CheckFrameIndex(const ButtonState& state) {
    if (!state.enabled)
        return state.checked ? 5 : 4;
    return (state.hover ? 1 : 0) + (state.checked ? 2 : 0);
}

CaptionColour ButtonCaptionColour(const ButtonState& state) {
    if (!state.enabled)
        return kCaptionGray;
    if (state.checked)
        return state.hover ? kCaptionHoverDown : kCaptionDown;
    return state.hover ? kCaptionHoverNormal : kCaptionNormal;
}

int ClampTextAlignment(int alignment) {
    if (alignment < 0)
        return 0;
    return alignment > 3 ? 3 : alignment;
}

int ClampDisableLook(int look) {
    if (look < 0)
        return 0;
    return look > 1 ? 2 : look;
}

TooltipParts SplitTooltipResource(const std::string& resource) {
    const auto newline = resource.find('\n');
    if (newline == std::string::npos)
        return {std::string(), resource};
    return {resource.substr(0, newline), resource.substr(newline + 1)};
}

} // namespace qel_controls
