// The flip plug-in's COM server. It has no property page: the engine drives it alone.
#include "QelPluginIds.h"
#include "effect_filter_base.h"
#include "flip_filter.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kFlipSetup = {&CLSID_QelFilter_Flip, kQelFilterName_Flip, kEffectFilterMerit, 2,
                                       kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_Flip, &CLSID_QelFilter_Flip, CreateEffectFilter<CFlipFilter>, nullptr, &kFlipSetup},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
