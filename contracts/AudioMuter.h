#pragma once
// The audio muter the engine puts between the audio input and the file when the sound is switched
// off: an outside in-process filter with one audio input and one audio output that passes the sound
// through, silenced once told so. Its class ID, graph name and interface are fixed here, whatever
// stands in its place.
#include <windows.h>
#include <unknwn.h>

// {F542F75C-080C-47F0-8CFA-9C27EBF3A79E}
constexpr CLSID kClsidAudioMuter = {0xf542f75c, 0x080c, 0x47f0, {0x8c, 0xfa, 0x9c, 0x27, 0xeb, 0xf3, 0xa7, 0x9e}};
// {87B10591-E08F-4B82-8DC5-50105A616363}
constexpr IID kIidAudioMuter = {0x87b10591, 0xe08f, 0x4b82, {0x8d, 0xc5, 0x50, 0x10, 0x5a, 0x61, 0x63, 0x63}};

constexpr const WCHAR kAudioMuterGraphName[] = L"Audio Muter Filter";
constexpr const char kAudioMuterCreateFailedText[] = "Failed to create Audio Mute Filter";

struct IAudioMuter : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetMute(int* mute) = 0;   // the engine never calls it
    virtual HRESULT STDMETHODCALLTYPE SetMute(int mute) = 0;    // nonzero silences the stream
};
