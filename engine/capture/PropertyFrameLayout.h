#pragma once
// The layout of a camera property frame: a short-lived thread finds the frame on the desktop by its
// title and makes it taller when a page's controls reach below the page. Its parts are test seams
// (VostrelTestSeams.h).
#include <windows.h>

#include "VostrelTestSeams.h"

// Starts the layout thread on the title (ANSI, at most 99 characters, copied for the thread).
VOSTREL_API void StartPropertyFrameLayout(const WCHAR* title);
