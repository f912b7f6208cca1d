#include "time_range_list.h"

#include <cmath>
#include <limits>
#include <new>

namespace {

constexpr double kTicksPerSecond = 10000000.0;

struct HeapNodeAllocator final : TimeRangeNodeAllocator {
    TimeRangeNode* Allocate() override { return new (std::nothrow) TimeRangeNode{}; }
    void Free(TimeRangeNode* node) override { delete node; }
};

HeapNodeAllocator g_heapAllocator;

} // namespace

bool SecondsToReferenceTime(double seconds, ReferenceTime* out) {
    if (std::isnan(seconds))
        return false;
    const double ticks = seconds * kTicksPerSecond;
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (ticks >= kLimit)
        *out = std::numeric_limits<ReferenceTime>::max();
    else if (ticks <= -kLimit)
        *out = std::numeric_limits<ReferenceTime>::min();
    else
        *out = static_cast<ReferenceTime>(ticks);
    return true;
}

bool SecondsToRange(double startSeconds, double endSeconds, ReferenceTime* start, ReferenceTime* stop) {
    if (std::isnan(startSeconds) || std::isnan(endSeconds))
        return false;
    if (startSeconds >= 0 && endSeconds >= 0 && endSeconds < startSeconds) {
        const double swap = startSeconds;
        startSeconds = endSeconds;
        endSeconds = swap;
    }
    return SecondsToReferenceTime(startSeconds, start) && SecondsToReferenceTime(endSeconds, stop);
}

CTimeRangeList::CTimeRangeList(TimeRangeNodeAllocator* allocator)
    : allocator_(allocator ? allocator : &g_heapAllocator) {}

CTimeRangeList::~CTimeRangeList() { FreeAll(); }

bool CTimeRangeList::Append(ReferenceTime start, ReferenceTime stop) {
    TimeRangeNode* node = allocator_->Allocate();
    if (!node)
        return false;
    if (start >= 0 && stop >= 0 && stop < start) {
        const ReferenceTime swap = start;
        start = stop;
        stop = swap;
    }
    node->start = start;
    node->stop = stop;
    node->next = nullptr;
    node->previous = tail_;
    if (tail_)
        tail_->next = node;
    else
        head_ = node;
    tail_ = node;
    ++count_;
    return true;
}

bool CTimeRangeList::AddRange(ReferenceTime start, ReferenceTime stop) {
    if (!Append(start, stop))
        return false;
    Merge();
    return true;
}

bool CTimeRangeList::AddRanges(const ReferenceTime* starts, const ReferenceTime* stops, int count) {
    TimeRangeNode* lastBefore = tail_;
    for (int i = 0; i < count; ++i) {
        if (!Append(starts[i], stops[i])) {
            // Take this call's nodes out again: the list is as it was before the call.
            while (tail_ != lastBefore) {
                TimeRangeNode* node = tail_;
                Unlink(node);
                FreeNode(node);
            }
            return false;
        }
    }
    Merge();
    return true;
}

void CTimeRangeList::Clear() { FreeAll(); }

void CTimeRangeList::Unlink(TimeRangeNode* node) {
    if (node->previous)
        node->previous->next = node->next;
    else
        head_ = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        tail_ = node->previous;
    node->previous = node->next = nullptr;
    --count_;
    if (cursor_ == node)
        MoveCursor(nullptr, -1);
}

void CTimeRangeList::FreeNode(TimeRangeNode* node) { allocator_->Free(node); }

void CTimeRangeList::FreeAll() {
    TimeRangeNode* node = head_;
    while (node) {
        TimeRangeNode* next = node->next;
        FreeNode(node);
        node = next;
    }
    head_ = tail_ = nullptr;
    count_ = 0;
    MoveCursor(nullptr, -1);
}

// Rebuilds the list into a new chain of merged ranges. Nodes are moved, never allocated, so a merge
// cannot fail.
void CTimeRangeList::Merge() {
    TimeRangeNode* newHead = nullptr;
    TimeRangeNode* newTail = nullptr;
    int newCount = 0;

    while (head_) {
        TimeRangeNode* merged = head_;
        for (TimeRangeNode* node = head_->next; node; node = node->next) {
            if (node->start < merged->start)
                merged = node;
        }
        Unlink(merged);

        if (merged->stop < 0) {
            FreeAll(); // an open end swallows every later range
        } else {
            TimeRangeNode* node = head_;
            while (node) {
                TimeRangeNode* next = node->next;
                if (node->start < merged->start || node->start > merged->stop) {
                    node = next;
                    continue;
                }
                if (node->stop < 0) {
                    merged->stop = node->stop;
                    FreeAll();
                    break;
                }
                if (node->stop > merged->stop) {
                    merged->stop = node->stop;
                    Unlink(node);
                    FreeNode(node);
                    node = head_; // the grown range may now reach nodes already skipped
                    continue;
                }
                Unlink(node);
                FreeNode(node);
                node = next;
            }
        }

        merged->previous = newTail;
        merged->next = nullptr;
        if (newTail)
            newTail->next = merged;
        else
            newHead = merged;
        newTail = merged;
        ++newCount;
    }

    head_ = newHead;
    tail_ = newTail;
    count_ = newCount;
    MoveCursor(nullptr, -1);
}

bool CTimeRangeList::Contains(ReferenceTime t) {
    if (cursor_ && cursorIndex_ >= 0 && cursorIndex_ < count_) {
        if (Holds(*cursor_, t))
            return true;
        const bool afterCursor = cursor_->stop >= 0 && t > cursor_->stop;
        if (afterCursor && cursor_->next) {
            TimeRangeNode* node = cursor_->next;
            int index = cursorIndex_ + 1;
            for (; node; node = node->next, ++index) {
                MoveCursor(node, index);
                if (Holds(*node, t))
                    return true;
                if (node->start >= 0 && node->start > t)
                    return false;
            }
            return false;
        }
        TimeRangeNode* node = cursor_->previous;
        int index = cursorIndex_ - 1;
        for (; node; node = node->previous, --index) {
            MoveCursor(node, index);
            if (Holds(*node, t))
                return true;
            if (node->stop >= 0 && node->stop < t)
                return false;
        }
        return false;
    }

    if (!head_)
        return true;
    int index = 0;
    for (TimeRangeNode* node = head_; node; node = node->next, ++index) {
        MoveCursor(node, index);
        if (Holds(*node, t))
            return true;
    }
    return false;
}
