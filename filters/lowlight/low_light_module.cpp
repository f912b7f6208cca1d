// The low-light plug-in's COM server: its filter and the one-slider page, and their registration.
#include "QelPluginIds.h"
#include "effect_filter_base.h"
#include "low_light_filter.h"
#include "strength_page.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kLowLightSetup = {&CLSID_QelFilter_LowLight, kQelFilterName_LowLight, kEffectFilterMerit, 2,
                                           kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_LowLight, &CLSID_QelFilter_LowLight, CreateLowLightFilter, nullptr, &kLowLightSetup},
    {kQelPageName_LowLight, &CLSID_QelPage_LowLight, CStrengthPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
