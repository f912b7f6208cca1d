// The transition table.
#include "TransitionTable.h"

namespace qeltrim {
namespace {

struct WipeValues {
    std::int32_t maskNum, replicateX, replicateY;
};

// Rows 9, 10, 20 and 22 are transforms and are not read.
constexpr WipeValues kWipes[kTransitionTypeCount] = {
    {41, 1, 1},  {5, 1, 1},   {3, 1, 1},   {101, 1, 1}, {223, 1, 1}, {102, 1, 1}, {47, 1, 1},  {207, 1, 1},
    {61, 2, 1},  {0, 0, 0},   {0, 0, 0},   {22, 1, 1},  {21, 1, 1},  {-1, 1, 1},  {-1, 1, 1},  {120, 1, 1},
    {119, 1, 1}, {128, 1, 1}, {-1, 1, 1},  {-1, 1, 1},  {0, 0, 0},   {74, 1, 1},  {0, 0, 0},   {-1, 1, 1},
};

constexpr ClassId kType9 = {0x4CCEA634, 0xFBE0, 0x11D1, {0x90, 0x6A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0x9D}};
constexpr ClassId kType10 = {0x16B280C5, 0xEE70, 0x11D1, {0x90, 0x66, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0x9D}};
constexpr ClassId kType20 = {0x00C429C0, 0x0BA9, 0x11D2, {0xA4, 0x84, 0x00, 0xC0, 0x4F, 0x8E, 0xFB, 0x69}};
constexpr ClassId kType22 = {0x3F69F351, 0x0379, 0x11D2, {0xA4, 0x84, 0x00, 0xC0, 0x4F, 0x8E, 0xFB, 0x69}};
constexpr ClassId kSmpteWipe = {0xDE75D012, 0x7A65, 0x11D2, {0x8C, 0xEA, 0x00, 0xA0, 0xC9, 0x44, 0x1E, 0x20}};

} // namespace

TransitionRow TransitionForType(int type) {
    TransitionRow row{TransitionKind::kNone, {}, 0, 0, 0};
    if (type < 0 || type >= kTransitionTypeCount)
        return row;
    switch (type) {
    case 9: row.transform = kType9; break;
    case 10: row.transform = kType10; break;
    case 20: row.transform = kType20; break;
    case 22: row.transform = kType22; break;
    default:
        row.kind = TransitionKind::kSmpteWipe;
        row.maskNum = kWipes[type].maskNum;
        row.replicateX = kWipes[type].replicateX;
        row.replicateY = kWipes[type].replicateY;
        return row;
    }
    row.kind = TransitionKind::kTransform;
    return row;
}

ClassId SmpteWipeClassId() {
    return kSmpteWipe;
}

} // namespace qeltrim
