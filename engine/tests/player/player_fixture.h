#pragma once
// Shared ground of the player tests: generated clips in a temporary folder, an owner window that
// drains the player's graph events, and pixel checks of written stills.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "avi_clip.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

class CGraphBuilder;

namespace playertest {

std::wstring Wide(const std::string& text);

// A 64x48 clip at 10 frames a second; 30 frames (3 s) unless told otherwise.
qelmedia::AviClipFormat ClipSpec(int frames = 30, bool audio = false);

// A top-level window that receives the player's 0x1601 and collects every event code it drains.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return window_; }
    void Drain(CGraphBuilder* player) { player_ = player; }
    const std::vector<long>& Events() const { return events_; }
    int Notifications() const { return notifications_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    CGraphBuilder* player_ = nullptr;
    std::vector<long> events_;
    int notifications_ = 0;
};

class PlayerTest : public qeltest::ComTest {
protected:
    // Writes a clip into the test's folder and returns its path.
    std::string MakeClip(const std::string& name, const qelmedia::AviClipFormat& clip);
    qeltest::TempDir folder_;
};

// Whether the machine can render sound (Wine without an audio driver cannot).
bool AudioRendererAvailable();

// Compares a BMP file with frame `frame` of a generated clip; empty when equal, else what differs.
std::string CompareBmpWithClipFrame(const std::string& path, int frame, int width, int height);

// Mean absolute difference of an image file (any GDI+ format) from frame `frame`; negative when it
// cannot be read or has another size. GDI+ must be started.
double MeanDifferenceFromClipFrame(const std::string& path, int frame, int width, int height);

} // namespace playertest
