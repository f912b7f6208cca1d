#pragma once
// The picture a clip shows while it has no frame of its own: the skin's "badthumb.png", or a red
// thumbnail-sized image when the skin has none. Shared by the album's items and the viewer.
class CImage;

// A new image the caller owns; never null.
CImage* MakeClipPlaceholder();
