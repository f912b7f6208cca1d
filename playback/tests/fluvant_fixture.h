#pragma once
// Shared ground of the playback tests: a host window, a recorder of position reports, generated clips.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "Fluvant.h"
#include "avi_clip.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

namespace fluvanttest {

struct Report {
    LONGLONG start, stop, current;
    DWORD user;
    DWORD thread;
};

// Every report of the callback, from any thread. While a window is set, each report is also sent to
// it (as the program's callback does), so that a stop must handle sent messages.
class ReportLog {
public:
    static void CALLBACK Callback(LONGLONG start, LONGLONG stop, LONGLONG current, DWORD user);
    static std::vector<Report> Take();
    static size_t Count();
    static void SendTo(HWND window);
};

// The message the tests' hosts are told a play's outcome with (lpPlayAsync), and every such message
// a host's own procedure handled: the outcome (wParam) and the play's number (lParam).
constexpr UINT kOutcomeMessage = WM_APP + 0x31;
struct Outcome {
    HRESULT outcome;
    DWORD play;
};
class OutcomeLog {
public:
    static std::vector<Outcome> All();
    static void Clear();
    // How many outcomes of that play the host was told.
    static int CountOf(DWORD play);
    // Pumps this thread's messages until the outcome of play has been handled (true, with *outcome)
    // or timeoutMs have passed.
    static bool PumpUntilOutcomeOf(DWORD play, unsigned timeoutMs, HRESULT* outcome = nullptr);
};

// A top-level window of its own class; records whether its own procedure was in place at its end.
class HostWindow {
public:
    HostWindow(int width = 320, int height = 240);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Handle() const { return window_; }
    void Destroy();
    static bool OwnProcedureAtEnd();
    static int SentReports();

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// The child windows of a window.
std::vector<HWND> Children(HWND parent);

class PlaybackTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    std::string MakeClip(const std::string& name, int frames);
    qeltest::TempDir folder_;
};

} // namespace fluvanttest
