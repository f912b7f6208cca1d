#pragma once
// The line describing the operating system that opens the trace log.
#include <cstddef>

namespace qel {

// Family, edition and build ("Professional Service Pack 1 (Build 7601)\n" on a Windows 7 SP1
// workstation) into out. False when not even the basic version information can be read.
bool DescribeOperatingSystem(char* out, std::size_t size);

} // namespace qel
