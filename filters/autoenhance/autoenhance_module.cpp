// The auto enhance plug-in's COM server: its filter and its page, and their registration.
#include "QelPluginIds.h"
#include "auto_correct_filter.h"
#include "effect_filter_base.h"
#include "strength_page.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kAutoEnhanceSetup = {&CLSID_QelFilter_AutoEnhance, kQelFilterName_AutoEnhance,
                                              kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_AutoEnhance, &CLSID_QelFilter_AutoEnhance, CreateAutoEnhanceFilter, nullptr,
     &kAutoEnhanceSetup},
    {kQelPageName_AutoEnhance, &CLSID_QelPage_AutoEnhance, CStrengthPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}
STDAPI DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
