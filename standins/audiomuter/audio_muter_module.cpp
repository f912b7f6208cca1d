// The audio muter's COM server. It is only ever added to a graph by name, never by intelligent
// connection.
#include "audio_muter_filter.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_MEDIATYPE kAnyAudio = {&MEDIATYPE_Audio, &MEDIASUBTYPE_NULL};
const AMOVIESETUP_PIN kMuterPins[2] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAnyAudio},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAnyAudio},
};
const AMOVIESETUP_FILTER kMuterSetup = {&kClsidAudioMuter, kAudioMuterGraphName, MERIT_DO_NOT_USE, 2, kMuterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kAudioMuterGraphName, &kClsidAudioMuter, CAudioMuterFilter::CreateInstance, nullptr, &kMuterSetup},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
