#pragma once
// Answers the save-file dialog that the player shows while this object lives: types a file name and
// presses OK, or cancels. The dialog comes through the layer's modal hook.
#include <windows.h>

#include <memory>
#include <string>

#include "qeltest/modal_hook.h"

namespace playertest {

class SaveDialogAnswer {
public:
    // An empty name cancels the dialog.
    explicit SaveDialogAnswer(const std::string& fileName);
    SaveDialogAnswer(const SaveDialogAnswer&) = delete;
    SaveDialogAnswer& operator=(const SaveDialogAnswer&) = delete;
    bool Answered() const { return answered_; }

private:
    std::string fileName_;
    bool answered_ = false;
    qeltest::ScopedModalHook hook_;
};

} // namespace playertest
