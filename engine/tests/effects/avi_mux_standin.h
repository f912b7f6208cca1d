#pragma once
// A stand-in for the platform's AVI multiplexer where Wine's cannot show what a recording relies on
// (Wine's refuses sound inputs and answers E_NOTIMPL to IConfigAviMux). It does what the platform's
// documentation says of its multiplexer and records what it was told:
// - one input pin at first, and a new one behind the others each time one is connected (an input a
//   splice took apart stays where it was); inputs take video and sound;
// - IConfigAviMux::SetMasterStream: the multiplexer writes one stream for each connected input,
//   numbered from zero; the index of one of them, or -1 for none, else E_INVALIDARG;
// - IConfigInterleaving::put_Mode: any of the four modes; SetOutputCompatibilityIndex accepted.
// Set RefuseConfiguration to answer as Wine's does instead: E_NOTIMPL to IConfigAviMux's methods.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

namespace enginetest {

struct MuxCall {
    int mux = 0;                       // which stand-in, counted from 1 in the order they were made
    std::string call;                  // "SetMasterStream", "SetOutputCompatibilityIndex", "put_Mode"
    long value = 0;
    std::vector<std::string> inputs;   // the connected inputs at the call, in pin order: "video", "sound"
};

// The calls every stand-in got since the last ClearMuxCalls.
std::vector<MuxCall> MuxCalls();
void ClearMuxCalls();
void RefuseMuxConfiguration(bool refuse);

// Makes a stand-in (one reference), with the signature the engine's multiplexer seam takes.
HRESULT CreateAviMuxStandIn(IBaseFilter** mux);

// A source with one sound output (16-bit PCM mono, 8000 a second), for the multiplexer's sound input.
IBaseFilter* CreateSoundSourceStandIn();

} // namespace enginetest
