#pragma once
// The layout of a camera property frame: a short-lived thread finds the frame on the desktop by its
// title and makes it taller when a page's controls reach below the page. Its parts are declared with
// the test seams (VostrelTestSeams.h), which the engine's test build exports for its tests.
#include <windows.h>

#include "VostrelTestSeams.h"

// Starts the layout thread on the title (ANSI, at most 99 characters, copied for the thread).
void StartPropertyFrameLayout(const WCHAR* title);
