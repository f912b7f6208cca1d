#include "time_range_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr ReferenceTime kSecond = 10000000;

using Ranges = std::vector<std::pair<ReferenceTime, ReferenceTime>>;

Ranges Contents(const CTimeRangeList& list) {
    Ranges out;
    for (const TimeRangeNode* node = list.Head(); node; node = node->next)
        out.emplace_back(node->start, node->stop);
    return out;
}

void AddSeconds(CTimeRangeList& list, double start, double end) {
    ReferenceTime s = 0, e = 0;
    ASSERT_TRUE(SecondsToRange(start, end, &s, &e));
    ASSERT_TRUE(list.AddRange(s, e));
}

std::string Describe(const Ranges& ranges) {
    std::string out;
    for (const auto& r : ranges)
        out += "[" + std::to_string(r.first) + "," + std::to_string(r.second) + "] ";
    return out;
}

bool ReferenceHolds(const Ranges& added, ReferenceTime t) {
    if (added.empty())
        return true;
    for (const auto& r : added) {
        if ((r.first < 0 || t >= r.first) && (r.second < 0 || t <= r.second))
            return true;
    }
    return false;
}

// Sorted by start, disjoint, links consistent in both directions, count right.
void ExpectWellFormed(const CTimeRangeList& list) {
    int count = 0;
    const TimeRangeNode* previous = nullptr;
    for (const TimeRangeNode* node = list.Head(); node; node = node->next) {
        EXPECT_EQ(node->previous, previous);
        if (previous) {
            EXPECT_GE(previous->stop, 0) << "only the last range may be open at its end";
            EXPECT_GE(node->start, 0) << "only the first range may be open at its start";
            EXPECT_GT(node->start, previous->stop) << "ranges overlap or touch";
        }
        previous = node;
        ++count;
    }
    EXPECT_EQ(count, list.Count());
}

// Fails on the n-th allocation from now and counts what is live.
struct FailingAllocator final : TimeRangeNodeAllocator {
    int failAt = -1;
    int live = 0;
    TimeRangeNode* Allocate() override {
        if (failAt == 0) {
            failAt = -1;
            return nullptr;
        }
        if (failAt > 0)
            --failAt;
        ++live;
        return new TimeRangeNode{};
    }
    void Free(TimeRangeNode* node) override {
        --live;
        delete node;
    }
};

} // namespace

TEST(TimeRangeConversion, OrdersClosedRangesAndKeepsOpenSides) {
    ReferenceTime s = 0, e = 0;
    ASSERT_TRUE(SecondsToRange(2, 1, &s, &e));
    EXPECT_EQ(s, 1 * kSecond);
    EXPECT_EQ(e, 2 * kSecond);
    ASSERT_TRUE(SecondsToRange(5, -1, &s, &e));
    EXPECT_EQ(s, 5 * kSecond);
    EXPECT_EQ(e, -1 * kSecond);
    ASSERT_TRUE(SecondsToRange(-1, 3, &s, &e));
    EXPECT_EQ(s, -1 * kSecond);
    EXPECT_EQ(e, 3 * kSecond);
    ASSERT_TRUE(SecondsToRange(1.00000009, 0, &s, &e)); // truncation toward zero
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 10000000);
    ASSERT_TRUE(SecondsToReferenceTime(-0.00000019, &s));
    EXPECT_EQ(s, -1);
}

TEST(TimeRangeConversion, HugeValuesClampInsteadOfOverflowing) {
    ReferenceTime t = 0;
    ASSERT_TRUE(SecondsToReferenceTime(1e300, &t));
    EXPECT_EQ(t, std::numeric_limits<ReferenceTime>::max());
    ASSERT_TRUE(SecondsToReferenceTime(std::numeric_limits<double>::infinity(), &t));
    EXPECT_EQ(t, std::numeric_limits<ReferenceTime>::max());
    ASSERT_TRUE(SecondsToReferenceTime(-1e300, &t));
    EXPECT_EQ(t, std::numeric_limits<ReferenceTime>::min());
    ASSERT_TRUE(SecondsToReferenceTime(922337203685.4775807, &t)); // just at 2^63 ticks
    EXPECT_EQ(t, std::numeric_limits<ReferenceTime>::max());
    ASSERT_TRUE(SecondsToReferenceTime(922337203684.0, &t)); // just below: converted, not clamped
    EXPECT_LT(t, std::numeric_limits<ReferenceTime>::max());
    EXPECT_GT(t, 9223372036830000000LL);
}

TEST(TimeRangeConversion, NaNIsRefused) {
    ReferenceTime s = 7, e = 9;
    EXPECT_FALSE(SecondsToReferenceTime(std::nan(""), &s));
    EXPECT_FALSE(SecondsToRange(std::nan(""), 1, &s, &e));
    EXPECT_FALSE(SecondsToRange(1, std::nan(""), &s, &e));
    EXPECT_EQ(s, 7);
    EXPECT_EQ(e, 9);
}

TEST(TimeRangeList, NewListHoldsEveryTime) {
    CTimeRangeList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Contains(0));
    EXPECT_TRUE(list.Contains(123 * kSecond));
}

TEST(TimeRangeList, OpenOnBothSidesHoldsEveryTime) {
    CTimeRangeList list;
    AddSeconds(list, 10, 20);
    AddSeconds(list, -1, -1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Contains(-5 * kSecond));
    EXPECT_TRUE(list.Contains(0));
    EXPECT_TRUE(list.Contains(1000 * kSecond));
}

TEST(TimeRangeList, TouchingRangesMergeGappedOnesStay) {
    CTimeRangeList list;
    AddSeconds(list, 1, 3);
    AddSeconds(list, 3, 5);
    EXPECT_EQ(Contents(list), (Ranges{{1 * kSecond, 5 * kSecond}}));

    CTimeRangeList gapped;
    AddSeconds(gapped, 1, 2);
    AddSeconds(gapped, 2.5, 4);
    EXPECT_EQ(Contents(gapped), (Ranges{{1 * kSecond, 2 * kSecond}, {25000000, 4 * kSecond}}));
}

TEST(TimeRangeList, OutOfOrderAdditionsEndSorted) {
    CTimeRangeList list;
    AddSeconds(list, 10, 20);
    AddSeconds(list, 30, 40);
    AddSeconds(list, 0, 5);
    EXPECT_EQ(Contents(list),
              (Ranges{{0, 5 * kSecond}, {10 * kSecond, 20 * kSecond}, {30 * kSecond, 40 * kSecond}}));
}

TEST(TimeRangeList, BothEndsInclusive) {
    CTimeRangeList list;
    AddSeconds(list, 1, 2);
    EXPECT_FALSE(list.Contains(1 * kSecond - 1));
    EXPECT_TRUE(list.Contains(1 * kSecond));
    EXPECT_TRUE(list.Contains(2 * kSecond));
    EXPECT_FALSE(list.Contains(2 * kSecond + 1));
}

TEST(TimeRangeList, OpenEndSwallowsLaterRanges) {
    CTimeRangeList list;
    AddSeconds(list, 8, 9);
    AddSeconds(list, 20, 30);
    AddSeconds(list, 5, -1);
    AddSeconds(list, 1, 2);
    EXPECT_EQ(Contents(list), (Ranges{{1 * kSecond, 2 * kSecond}, {5 * kSecond, -1 * kSecond}}));
    EXPECT_TRUE(list.Contains(1000000 * kSecond));
    EXPECT_FALSE(list.Contains(3 * kSecond));
}

TEST(TimeRangeList, AddRangesAppendsAllThenMerges) {
    CTimeRangeList list;
    AddSeconds(list, 100, 200);
    const ReferenceTime starts[] = {30, 10, 15};
    const ReferenceTime stops[] = {40, 20, 35};
    ASSERT_TRUE(list.AddRanges(starts, stops, 3));
    EXPECT_EQ(Contents(list), (Ranges{{10, 40}, {100 * kSecond, 200 * kSecond}}));
    ASSERT_TRUE(list.AddRanges(starts, stops, 0));
    EXPECT_EQ(list.Count(), 2);
}

TEST(TimeRangeList, ClosedRangeGivenBackwardsIsPutInOrder) {
    CTimeRangeList list;
    ASSERT_TRUE(list.AddRange(50, 10));
    ASSERT_TRUE(list.AddRange(60, -1));
    EXPECT_EQ(Contents(list), (Ranges{{10, 50}, {60, -1}}));
}

TEST(TimeRangeList, ClearEmptiesAndForgetsTheCursor) {
    CTimeRangeList list;
    AddSeconds(list, 1, 2);
    EXPECT_TRUE(list.Contains(1 * kSecond));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Contains(50 * kSecond));
    AddSeconds(list, 3, 4);
    EXPECT_FALSE(list.Contains(1 * kSecond));
    EXPECT_TRUE(list.Contains(3 * kSecond));
}

TEST(TimeRangeList, FailedAllocationLeavesTheListAsItWas) {
    FailingAllocator allocator;
    {
        CTimeRangeList list(&allocator);
        ASSERT_TRUE(list.AddRange(10, 20));
        ASSERT_TRUE(list.AddRange(40, 50));
        const Ranges before = Contents(list);

        allocator.failAt = 0;
        EXPECT_FALSE(list.AddRange(15, 45));
        EXPECT_EQ(Contents(list), before);
        ExpectWellFormed(list);

        const ReferenceTime starts[] = {0, 25, 60, 70};
        const ReferenceTime stops[] = {5, 30, 65, 75};
        allocator.failAt = 2; // the third node of the call fails
        EXPECT_FALSE(list.AddRanges(starts, stops, 4));
        EXPECT_EQ(Contents(list), before);
        ExpectWellFormed(list);
        EXPECT_EQ(allocator.live, 2);

        EXPECT_TRUE(list.Contains(45));
        EXPECT_FALSE(list.Contains(30));
        ASSERT_TRUE(list.AddRanges(starts, stops, 4));
        EXPECT_EQ(list.Count(), 6);
    }
    EXPECT_EQ(allocator.live, 0);
}

// The cursor only shortens the search: whatever order the questions come in, the answer must be
// whether any added range holds t.
TEST(TimeRangeList, MembershipMatchesBruteForceOverRandomRanges) {
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> side(-3, 60);
    std::uniform_int_distribution<int> howMany(0, 12);
    std::uniform_int_distribution<int> coin(0, 3);
    std::uniform_int_distribution<ReferenceTime> time(-5, 65);

    for (int round = 0; round < 400; ++round) {
        CTimeRangeList list;
        Ranges added;
        const int n = howMany(rng);
        for (int i = 0; i < n; ++i) {
            ReferenceTime s = side(rng), e = side(rng);
            if (coin(rng) != 0) { // mostly closed ranges, some open sides
                s = std::abs(s);
                e = std::abs(e);
            }
            if (s >= 0 && e >= 0 && e < s) // as the conversion from seconds gives them
                std::swap(s, e);
            if (coin(rng) == 0 && i + 1 < n) {
                ReferenceTime s2 = std::abs(side(rng)), e2 = s2 + std::abs(side(rng)) / 4;
                const ReferenceTime starts[] = {s, s2};
                const ReferenceTime stops[] = {e, e2};
                ASSERT_TRUE(list.AddRanges(starts, stops, 2));
                added.emplace_back(s, e);
                added.emplace_back(s2, e2);
                ++i;
            } else {
                ASSERT_TRUE(list.AddRange(s, e));
                added.emplace_back(s, e);
            }
            ExpectWellFormed(list);
        }
        for (int q = 0; q < 80; ++q) {
            const ReferenceTime t = time(rng);
            ASSERT_EQ(list.Contains(t), ReferenceHolds(added, t)) << "t " << t << " added " << Describe(added) << " list " << Describe(Contents(list));
        }
        for (ReferenceTime t = -5; t <= 65; ++t) // a stream's ascending times
            ASSERT_EQ(list.Contains(t), ReferenceHolds(added, t)) << "t " << t << " added " << Describe(added) << " list " << Describe(Contents(list));
        for (ReferenceTime t = 65; t >= -5; --t)
            ASSERT_EQ(list.Contains(t), ReferenceHolds(added, t)) << "t " << t << " added " << Describe(added) << " list " << Describe(Contents(list));
    }
}
