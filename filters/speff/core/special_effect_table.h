#pragma once
// The property page's table of effects: one row per choice in the combo box, in display order, with
// the strength range the page offers for it.

struct SpecialEffectRow {
    int effectIndex;   // what the page passes to SetEffect
    int stringId;      // the effect's name in the string table
    int strengthUsed;  // 1: the strength controls are enabled for this effect
    int maximum;
    int minimum;
    int defaultStrength;  // set when the effect is chosen in the combo box
    int pageStep;
};

constexpr int kSpecialEffectRowCount = 10;
extern const SpecialEffectRow kSpecialEffectRows[kSpecialEffectRowCount];

// The first row of the effect, or previousRow when no row has it.
int FindSpecialEffectRow(int effectIndex, int previousRow);

// value bounded to the row's minimum..maximum.
int BoundToRow(const SpecialEffectRow& row, int value);
