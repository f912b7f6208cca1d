// The auto tone plug-in's COM server: its filter and its page, and their registration.
#include "QelPluginIds.h"
#include "auto_correct_filter.h"
#include "effect_filter_base.h"
#include "strength_page.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kAutoToneSetup = {&CLSID_QelFilter_AutoTone, kQelFilterName_AutoTone,
                                           kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_AutoTone, &CLSID_QelFilter_AutoTone, CreateAutoToneFilter, nullptr,
     &kAutoToneSetup},
    {kQelPageName_AutoTone, &CLSID_QelPage_AutoTone, CStrengthPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}
STDAPI DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
