#pragma once
// The 24 numbered transition types: most are SMPTE wipes with a mask number and a replication, four
// are other video transforms chosen by class ID that take no property.
#include <cstdint>

namespace qeltrim {

// A class ID in its textual field order, kept free of any platform header.
struct ClassId {
    std::uint32_t data1;
    std::uint16_t data2, data3;
    std::uint8_t data4[8];
};

enum class TransitionKind {
    kNone,        // outside 0..23: nothing is applied
    kSmpteWipe,   // the wipe transform with the three properties below
    kTransform,   // the transform `transform`, no property
};

struct TransitionRow {
    TransitionKind kind;
    ClassId transform;     // kTransform only
    std::int32_t maskNum, replicateX, replicateY;
};

constexpr int kTransitionTypeCount = 24;
TransitionRow TransitionForType(int type);

// The SMPTE wipe transform every kSmpteWipe row uses.
ClassId SmpteWipeClassId();

} // namespace qeltrim
