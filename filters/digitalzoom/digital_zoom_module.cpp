// The digital zoom plug-in's COM server: its two classes and their registration.
#include "QelPluginIds.h"
#include "digital_zoom_filter.h"
#include "digital_zoom_page.h"
#include "effect_filter_base.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kDigitalZoomSetup = {&CLSID_QelFilter_DigitalZoom, kQelFilterName_DigitalZoom,
                                              kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_DigitalZoom, &CLSID_QelFilter_DigitalZoom, CreateEffectFilter<CDigitalZoomFilter>, nullptr,
     &kDigitalZoomSetup},
    {kQelPageName_DigitalZoom, &CLSID_QelPage_DigitalZoom, CDigitalZoomPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
