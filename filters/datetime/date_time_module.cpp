// The date and time plug-in's COM server: its two classes and their registration.
#include "QelPluginIds.h"
#include "date_time_filter.h"
#include "date_time_page.h"
#include "effect_filter_base.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kDateTimeSetup = {&CLSID_QelFilter_DateTime, kQelFilterName_DateTime,
                                              kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_DateTime, &CLSID_QelFilter_DateTime, CreateEffectFilter<CDateTimeFilter>, nullptr,
     &kDateTimeSetup},
    {kQelPageName_DateTime, &CLSID_QelPage_DateTime, CDateTimePage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
