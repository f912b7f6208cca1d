#include "dialog_driver.h"

#include <cstring>

namespace gallery {

namespace {

struct Search {
    DWORD threadId;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (GetWindowThreadProcessId(window, nullptr) == search->threadId && std::strcmp(name, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindThreadDialog(DWORD threadId) {
    Search search = {threadId, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DialogDriver::DialogDriver(DWORD threadId, std::function<void(HWND)> act)
    : thread_([this, threadId, act] {
          for (int i = 0; i < 200; ++i) {
              if (HWND dialog = FindThreadDialog(threadId)) {
                  Sleep(300); // the dialog finishes its set-up
                  found_ = true;
                  act(dialog);
                  return;
              }
              Sleep(50);
          }
      }) {}

DialogDriver::~DialogDriver() {
    if (thread_.joinable())
        thread_.join();
}

} // namespace gallery
