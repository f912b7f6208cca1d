#include "qeltest/message_box_hook.h"

#include <afxhook.h>
#include <gtest/gtest.h>

#include <atomic>

namespace qeltest {
namespace {

std::atomic<ScopedMessageBoxHook*> g_active{nullptr};

int CALLBACK FailOnUnexpectedBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
    return IDCANCEL;
}

} // namespace

ScopedMessageBoxHook::ScopedMessageBoxHook(int defaultAnswer)
    : defaultAnswer_(defaultAnswer), previous_(g_active.exchange(this)) {
    AfxSetMessageBoxHook(&ScopedMessageBoxHook::Answer);
}

ScopedMessageBoxHook::~ScopedMessageBoxHook() {
    g_active.store(previous_);
    if (!previous_)
        AfxSetMessageBoxHook(&FailOnUnexpectedBox);
}

void ScopedMessageBoxHook::QueueAnswer(int answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
}

std::vector<ShownMessageBox> ScopedMessageBoxHook::Shown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

std::vector<std::string> ScopedMessageBoxHook::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessageBox& box : Shown())
        texts.push_back(box.text);
    return texts;
}

int CALLBACK ScopedMessageBoxHook::Answer(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    ScopedMessageBoxHook* self = g_active.load();
    if (!self)
        return FailOnUnexpectedBox(nullptr, text, caption, type);
    std::lock_guard<std::mutex> lock(self->mutex_);
    self->shown_.push_back({text, caption, type});
    if (self->answers_.empty())
        return self->defaultAnswer_;
    int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
}

void InstallUnexpectedMessageBoxGuard() { AfxSetMessageBoxHook(&FailOnUnexpectedBox); }

} // namespace qeltest
