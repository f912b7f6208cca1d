#pragma once
// Answers the save-file dialog that the player shows on this thread, from a helper thread: types a
// file name and presses OK, or cancels.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace playertest {

class SaveDialogAnswer {
public:
    // An empty name cancels the dialog.
    explicit SaveDialogAnswer(const std::string& fileName);
    ~SaveDialogAnswer();
    SaveDialogAnswer(const SaveDialogAnswer&) = delete;
    SaveDialogAnswer& operator=(const SaveDialogAnswer&) = delete;
    bool Answered() const { return answered_; }

private:
    void Run();
    std::string fileName_;
    DWORD dialogThread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::thread worker_;
};

} // namespace playertest
