#pragma once
// The frame kernels as the shared shape test runs them: each called in the one kernel shape, with the
// order it takes rows in and, where one exists, an independent reference of its output.
#include <functional>
#include <string>
#include <vector>

#include "test_frame.h"

namespace kernelcases {

enum class RowOrder {
    Buffer,  // rows in buffer order whatever the orientation (the imaging routines)
    Picture, // picture lines: the result looks the same on screen in both orientations
};

struct KernelCase {
    std::string name;
    RowOrder order;
    // The kernel from in into out (out: in's layout, guarded padding, pixels zero). False: refused.
    std::function<bool(const TestFrame& in, TestFrame& out)> run;
    // Fills expected's pixels as the kernel should from in; empty where no independent reference exists.
    std::function<void(const TestFrame& in, TestFrame& expected)> reference;
};

// Every per-frame kernel, each with settings that make it change the picture.
std::vector<KernelCase> AllKernels();

} // namespace kernelcases
