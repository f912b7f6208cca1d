// The photo frame plug-in's COM server: its two classes and their registration.
#include "QelPluginIds.h"
#include "photo_frame_filter.h"
#include "photo_frame_page.h"
#include "effect_filter_base.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kPhotoFrameSetup = {&CLSID_QelFilter_PhotoFrame, kQelFilterName_PhotoFrame,
                                              kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_PhotoFrame, &CLSID_QelFilter_PhotoFrame, CreateEffectFilter<CPhotoFrameFilter>, nullptr,
     &kPhotoFrameSetup},
    {kQelPageName_PhotoFrame, &CLSID_QelPage_PhotoFrame, CPhotoFramePage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
