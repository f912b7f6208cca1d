// The special-effect plug-in's COM server: its two classes and their registration.
#include "QelPluginIds.h"
#include "effect_filter_base.h"
#include "special_effect_filter.h"
#include "special_effect_page.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kSpecialEffectSetup = {&CLSID_QelFilter_SpecialEffect, kQelFilterName_SpecialEffect,
                                                kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_SpecialEffect, &CLSID_QelFilter_SpecialEffect, CreateEffectFilter<CSpecialEffectFilter>, nullptr,
     &kSpecialEffectSetup},
    {kQelPageName_SpecialEffect, &CLSID_QelPage_SpecialEffect, CSpecialEffectPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
