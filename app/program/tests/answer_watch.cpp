#include "answer_watch.h"

#include "answer_probe.h"

namespace programtest {

AnswerWatch::AnswerWatch(HWND window) : window_(window) {
    thread_ = std::thread([this] {
        while (!stop_.load()) {
            const long took = AnswerTime(window_, 6000);
            if (took < 0)
                unanswered_.fetch_add(1);
            else if (took > longest_.load())
                longest_ = took;
            ::Sleep(100);
        }
    });
}

AnswerWatch::~AnswerWatch() {
    stop_ = true;
    thread_.join();
}

} // namespace programtest
