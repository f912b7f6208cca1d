#include "core/stamp_text.h"

#include <cstdio>

std::string FormatStampText(const std::tm* localTime) {
    if (!localTime)
        return std::string();
    // Wide enough for six full-range ints and the separators.
    char text[96];
    const int length = std::snprintf(text, sizeof text, "%04d.%02d.%02d  %02d:%02d:%02d",
                                     localTime->tm_year + 1900, localTime->tm_mon + 1, localTime->tm_mday,
                                     localTime->tm_hour, localTime->tm_min, localTime->tm_sec);
    if (length < 0)
        return std::string();
    return std::string(text, static_cast<size_t>(length) < sizeof text ? static_cast<size_t>(length) : sizeof text - 1);
}
