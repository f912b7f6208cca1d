#include "qeltest/modal_hook.h"

#include <gtest/gtest.h>

namespace qeltest {
namespace {

ScopedModalHook* g_active = nullptr; // modal windows run on the test's own thread

INT_PTR CALLBACK FailOnUnexpectedModal(HWND window, AFX_MODAL_KIND kind) {
    char title[256] = {0};
    GetWindowTextA(window, title, sizeof title);
    ADD_FAILURE() << "unexpected modal window (kind " << kind << ") \"" << title << "\"";
    return IDCANCEL;
}

} // namespace

ScopedModalHook::ScopedModalHook(Answer answer) : answer_(std::move(answer)), previous_(g_active) {
    g_active = this;
    AfxSetModalHook(&ScopedModalHook::Call);
}

ScopedModalHook::~ScopedModalHook() {
    g_active = previous_;
    if (!previous_)
        AfxSetModalHook(&FailOnUnexpectedModal);
}

INT_PTR CALLBACK ScopedModalHook::Call(HWND window, AFX_MODAL_KIND kind) {
    ScopedModalHook* self = g_active;
    if (!self)
        return FailOnUnexpectedModal(window, kind);
    self->kinds_.push_back(kind);
    return self->answer_(window, kind);
}

void InstallUnexpectedModalGuard() {
    AfxSetModalHook(&FailOnUnexpectedModal);
}

} // namespace qeltest
