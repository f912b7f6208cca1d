#pragma once
#include <windows.h>

#include <afxhook.h>

#include <functional>
#include <vector>

namespace qeltest {

// While alive, answers every modal window our modules run (dialogs, sheets, file dialogs): the
// answer function sees the initialised window, may drive it with messages, and returns the result
// for a window its messages did not end. Outside its scope the default fails the test on any window.
class ScopedModalHook {
public:
    using Answer = std::function<INT_PTR(HWND window, AFX_MODAL_KIND kind)>;
    explicit ScopedModalHook(Answer answer);
    ~ScopedModalHook();
    ScopedModalHook(const ScopedModalHook&) = delete;
    ScopedModalHook& operator=(const ScopedModalHook&) = delete;

    std::vector<AFX_MODAL_KIND> Kinds() const { return kinds_; } // the windows answered, in order

private:
    static INT_PTR CALLBACK Call(HWND window, AFX_MODAL_KIND kind);

    Answer answer_;
    std::vector<AFX_MODAL_KIND> kinds_;
    ScopedModalHook* previous_;
};

// Installed by the test main: a modal window nobody expected is a test failure, ended with IDCANCEL.
void InstallUnexpectedModalGuard();

} // namespace qeltest
