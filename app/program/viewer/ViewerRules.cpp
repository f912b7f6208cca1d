#include "ViewerRules.h"

#include <cstdio>
#include <ctime>

long long WholeSeconds(double time100ns) { return static_cast<long long>(time100ns * 1e-7); }

std::string PlayTimeText(double position, double duration) {
    const long long now = WholeSeconds(position), total = WholeSeconds(duration);
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d / %02d:%02d:%02d", static_cast<int>(now / 3600),
                  static_cast<int>(now / 60 % 60), static_cast<int>(now % 60), static_cast<int>(total / 3600),
                  static_cast<int>(total / 60 % 60), static_cast<int>(total % 60));
    return text;
}

bool SeekSliderPos(double position, double duration, int* pos) {
    if (duration == 0)
        return false;
    *pos = static_cast<int>(position / duration * 100);
    return true;
}

double SeekPosition(int sliderPos, double duration) { return sliderPos * duration * 0.01; }

bool InDragBand(int x, int y) {
    if (y < 0 || y >= 191)
        return false;
    const int slant = y * 16 / 190;
    return x >= slant + 69 && x <= 775 - slant;
}

std::string FileSizeKbText(ULONGLONG bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

std::string FileDateText(const SYSTEMTIME& local) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%d", local.wYear, local.wMonth, local.wDay);
    return text;
}

std::string CaptureSizeText(int width, int height, BOOL videoMode) {
    char text[32];
    if (videoMode) {
        if (width > 640 || height > 480) {
            width = 640;
            height = 480;
        }
        std::snprintf(text, sizeof text, "%dx%d", width, height);
    } else {
        std::snprintf(text, sizeof text, "%dX%d", width, height);
    }
    return text;
}

std::string CurrentDateText() {
    const time_t now = time(nullptr);
    const tm* today = localtime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%4d/%2d/%2d", today->tm_year + 1900, today->tm_mon + 1, today->tm_mday);
    return text;
}
