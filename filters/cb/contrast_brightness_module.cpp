// The contrast/brightness plug-in's COM server: its filter and its page, and their registration.
#include "QelPluginIds.h"
#include "contrast_brightness_filter.h"
#include "contrast_brightness_page.h"
#include "effect_filter_base.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kContrastBrightnessSetup = {&CLSID_QelFilter_ContrastBrightness,
                                                     kQelFilterName_ContrastBrightness, kEffectFilterMerit, 2,
                                                     kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_ContrastBrightness, &CLSID_QelFilter_ContrastBrightness,
     CreateEffectFilter<CContrastBrightnessFilter>, nullptr, &kContrastBrightnessSetup},
    {kQelPageName_ContrastBrightness, &CLSID_QelPage_ContrastBrightness, CContrastBrightnessPage::CreateInstance,
     nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
