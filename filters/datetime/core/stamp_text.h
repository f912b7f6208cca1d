// The text of the date and time stamp.
#pragma once

#include <ctime>
#include <string>

// "2026.12.09  06:23:05" (two blanks between date and time) for a broken-down local time; an empty
// text without one, so that a failed time conversion draws nothing.
std::string FormatStampText(const std::tm* localTime);
