#pragma once
// A two-input sink standing in for a recording's multiplexer: Wine's AVI multiplexer cannot take a
// connection again on an input it had before, which is what an insertion in front of it does.
#include <windows.h>
#include <dshow.h>

namespace enginetest {

// A new sink with two video inputs, "Input 01" and "Input 02", holding one reference for the caller.
IBaseFilter* CreateTestMux();

} // namespace enginetest
