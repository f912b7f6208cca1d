#pragma once
// Resource number of the hand shown over a link, in the control library's own resources.
#define kLinkCursorId 4004
