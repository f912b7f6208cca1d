#pragma once
// What the effect-chain sources share: the kinds of parameter pass and the mapping between the
// engine's effect rows and the slots that keep their state.
#include "EffectTables.h"
#include "LiveCaptureInternal.h"
#include "QelFilterParams.h"
#include "QelPluginIds.h"

// Which column of the parameter table a pass sends.
enum EffectParamPass {
    PASS_PREVIEW_SPLICE = 0,   // after a splice into the preview
    PASS_RECORD_SPLICE = 1,    // after an insertion in front of the multiplexer
    PASS_UPDATE = 2,           // a plug-in already in the preview
    PASS_OFF = 3,              // switch-off
};

// The state slot of rows 0..7 and of the special-effect rows; -1 for flip, rotate and unknown rows.
int EffectSlotOf(QelFilter row);
// The special-effect slot (order Black & White, Emboss, Sphere, Sepia, Snow, Negative, Mosaic, Swirl,
// Spotlight) of rows 8..16, and back.
int SpecialSlotOf(QelFilter row);
QelFilter SpecialRowOf(int specialSlot);

// The plug-in's parameter interface in one of its layouts (they share one IID), or null when the
// plug-in does not answer it.
template <class Layout>
qel::ComPtr<Layout> QueryLayout(IUnknown* plugin, REFIID iid = IID_IQelFilterParams) {
    qel::ComPtr<Layout> params;
    if (!plugin || FAILED(plugin->QueryInterface(iid, &params)))
        return nullptr;
    return params;
}

// Shows one of the chain's fixed texts in a modal box with an OK button.
void ShowEffectMessage(const char* text);
