#include "frame_closer.h"

#include <utility>

namespace enginetest {
namespace {

// The frame opens within moments of the call; the bound only keeps a test from hanging when it never
// does (the call has then returned, and the check on Join fails).
constexpr int kSearches = 400;
constexpr DWORD kSearchPauseMs = 25;

struct Search {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (IsWindowVisible(window) && std::wstring(text).find(*search->caption) != std::wstring::npos) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        std::wstring* texts = reinterpret_cast<std::wstring*>(param);
        *texts += text;
        *texts += L"\n";
    }
    return TRUE;
}

} // namespace

FrameCloser::FrameCloser(std::wstring caption, std::function<void(HWND)> whileOpen)
    : caption_(std::move(caption)), whileOpen_(std::move(whileOpen)), thread_(&FrameCloser::Run, this) {}

FrameCloser::~FrameCloser() { Join(); }

bool FrameCloser::Join() {
    if (thread_.joinable())
        thread_.join();
    return closed_;
}

void FrameCloser::Run() {
    Search search = {&caption_, nullptr};
    for (int i = 0; i < kSearches && !search.found; ++i) {
        Sleep(kSearchPauseMs);
        EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found)
        return;
    EnumChildWindows(search.found, &CollectStatic, reinterpret_cast<LPARAM>(&pageTexts_));
    if (whileOpen_)
        whileOpen_(search.found);
    closed_ = PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != FALSE;
}

} // namespace enginetest
