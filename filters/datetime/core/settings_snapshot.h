// Settings that setters change on the caller's thread while the streaming thread draws: the drawing
// takes one copy per frame, so a frame never sees half of one change and half of another.
#pragma once

#include <mutex>
#include <utility>

template <typename Settings>
class SettingsSnapshot {
public:
    SettingsSnapshot() = default;
    explicit SettingsSnapshot(Settings initial) : value_(std::move(initial)) {}

    Settings Get() const {
        std::lock_guard<std::mutex> guard(lock_);
        return value_;
    }

    // Applies one change (a callable taking Settings&) as a whole.
    template <typename Change>
    void Update(Change&& change) {
        std::lock_guard<std::mutex> guard(lock_);
        std::forward<Change>(change)(value_);
    }

private:
    mutable std::mutex lock_;
    Settings value_;
};
