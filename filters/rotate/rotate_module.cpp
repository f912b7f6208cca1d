// The rotate plug-in's COM server: its two classes and their registration.
#include "QelPluginIds.h"
#include "effect_filter_base.h"
#include "rotate_filter.h"
#include "rotate_page.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kRotateSetup = {&CLSID_QelFilter_Rotate, kQelFilterName_Rotate, kEffectFilterMerit, 2,
                                         kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_Rotate, &CLSID_QelFilter_Rotate, CreateEffectFilter<CRotateFilter>, nullptr, &kRotateSetup},
    {kQelPageName_Rotate, &CLSID_QelPage_Rotate, CRotatePage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
