#include "fluvant_fixture.h"

#include "qeltest/pump.h"

namespace fluvanttest {
namespace {

std::mutex g_mutex;
std::vector<Report> g_reports;
HWND g_sendTo = nullptr;
bool g_ownProcedureAtEnd = false;
int g_sentReports = 0;
std::vector<Outcome> g_outcomes; // this thread's only: hosts live on the test's thread
constexpr UINT kReportMessage = WM_APP + 7;
const char kHostClass[] = "QelPlaybackTestHost";

} // namespace

void CALLBACK ReportLog::Callback(LONGLONG start, LONGLONG stop, LONGLONG current, DWORD user) {
    HWND target = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_mutex);
        g_reports.push_back({start, stop, current, user, GetCurrentThreadId()});
        target = g_sendTo;
    }
    if (target)
        SendMessageA(target, kReportMessage, 0, 0);
}

std::vector<Report> ReportLog::Take() {
    std::lock_guard<std::mutex> hold(g_mutex);
    std::vector<Report> taken;
    taken.swap(g_reports);
    return taken;
}

size_t ReportLog::Count() {
    std::lock_guard<std::mutex> hold(g_mutex);
    return g_reports.size();
}

void ReportLog::SendTo(HWND window) {
    std::lock_guard<std::mutex> hold(g_mutex);
    g_sendTo = window;
}

std::vector<Outcome> OutcomeLog::All() { return g_outcomes; }

void OutcomeLog::Clear() { g_outcomes.clear(); }

int OutcomeLog::CountOf(DWORD play) {
    int count = 0;
    for (const Outcome& outcome : g_outcomes)
        count += outcome.play == play ? 1 : 0;
    return count;
}

bool OutcomeLog::PumpUntilOutcomeOf(DWORD play, unsigned timeoutMs, HRESULT* outcome) {
    const bool arrived = qeltest::PumpUntil([play] { return CountOf(play) > 0; }, timeoutMs);
    if (arrived && outcome)
        for (const Outcome& told : g_outcomes)
            if (told.play == play)
                *outcome = told.outcome;
    return arrived;
}

HostWindow::HostWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &HostWindow::Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    g_ownProcedureAtEnd = false;
    window_ = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() { Destroy(); }

void HostWindow::Destroy() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    window_ = nullptr;
}

bool HostWindow::OwnProcedureAtEnd() { return g_ownProcedureAtEnd; }
int HostWindow::SentReports() { return g_sentReports; }

LRESULT CALLBACK HostWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY)
        g_ownProcedureAtEnd = GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HostWindow::Proc);
    if (message == kReportMessage) {
        ++g_sentReports;
        return 0;
    }
    if (message == kOutcomeMessage) {
        g_outcomes.push_back({static_cast<HRESULT>(wParam), static_cast<DWORD>(lParam)});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

void PlaybackTest::SetUp() {
    qeltest::ComTest::SetUp();
    ReportLog::Take();
    ReportLog::SendTo(nullptr);
    OutcomeLog::Clear();
}

std::string PlaybackTest::MakeClip(const std::string& name, int frames) {
    qelmedia::AviClipFormat spec;
    spec.frameCount = frames;
    const std::string path = folder_.File(name);
    qelmedia::WriteAviClip(path, spec);
    return path;
}

} // namespace fluvanttest
