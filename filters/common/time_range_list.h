#pragma once
// The time ranges in which an effect applies: a merged, sorted, doubly linked list of reference-time
// ranges (100-ns units). A range holds t when (start < 0 or t >= start) and (stop < 0 or t <= stop):
// both ends inclusive, a negative side open. Platform-neutral: no Windows header.
#include <cstdint>

using ReferenceTime = std::int64_t;

struct TimeRangeNode {
    TimeRangeNode* previous;
    TimeRangeNode* next;
    ReferenceTime start;
    ReferenceTime stop;
};

// Where the nodes come from; tests substitute one that fails on purpose.
struct TimeRangeNodeAllocator {
    virtual TimeRangeNode* Allocate() = 0; // nullptr when out of memory
    virtual void Free(TimeRangeNode* node) = 0;

protected:
    ~TimeRangeNodeAllocator() = default;
};

class CTimeRangeList {
public:
    // allocator: nullptr for the heap; otherwise must outlive the list.
    explicit CTimeRangeList(TimeRangeNodeAllocator* allocator = nullptr);
    ~CTimeRangeList();
    CTimeRangeList(const CTimeRangeList&) = delete;
    CTimeRangeList& operator=(const CTimeRangeList&) = delete;

    // A closed range given backwards (both sides >= 0, stop < start) is put in order, as the
    // conversion from seconds does, so that the list stays sorted and disjoint whatever it is given.
    // Appends one range and merges. False (list unchanged) when no node could be allocated.
    bool AddRange(ReferenceTime start, ReferenceTime stop);
    // Appends count ranges in order, then merges once. All or nothing: when a node cannot be
    // allocated, the ranges appended by this call are taken out again and false is returned.
    bool AddRanges(const ReferenceTime* starts, const ReferenceTime* stops, int count);
    void Clear();

    // Whether any range holds t; an empty list counts as inside. Moves the cursor, so it must only
    // be called from one thread at a time (the streaming thread).
    bool Contains(ReferenceTime t);

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    const TimeRangeNode* Head() const { return head_; }

    static bool Holds(const TimeRangeNode& node, ReferenceTime t) {
        return (node.start < 0 || t >= node.start) && (node.stop < 0 || t <= node.stop);
    }

private:
    bool Append(ReferenceTime start, ReferenceTime stop);
    void Unlink(TimeRangeNode* node);
    void FreeNode(TimeRangeNode* node);
    void FreeAll();
    void Merge();
    void MoveCursor(TimeRangeNode* node, int index) { cursor_ = node; cursorIndex_ = index; }

    TimeRangeNodeAllocator* allocator_;
    int count_ = 0;
    TimeRangeNode* head_ = nullptr;
    TimeRangeNode* tail_ = nullptr;
    TimeRangeNode* cursor_ = nullptr; // node last visited by Contains
    int cursorIndex_ = -1;
};

// Seconds as given to AddRange, to a reference time: truncation toward zero, clamped to the 64-bit
// range (the plain conversion is undefined for huge values). False for NaN, which names no time.
bool SecondsToReferenceTime(double seconds, ReferenceTime* out);

// The conversion of one AddRange pair: when both sides are >= 0 they are put in order, otherwise
// they are kept as given (a negative side stays open). False when either side is NaN.
bool SecondsToRange(double startSeconds, double endSeconds, ReferenceTime* start, ReferenceTime* stop);
