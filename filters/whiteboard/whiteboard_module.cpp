// The whiteboard plug-in's COM server: its filter and its page, and their registration.
#include "QelPluginIds.h"
#include "effect_filter_base.h"
#include "strength_page.h"
#include "whiteboard_filter.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"

namespace {

const AMOVIESETUP_FILTER kWhiteboardSetup = {&CLSID_QelFilter_Whiteboard, kQelFilterName_Whiteboard,
                                             kEffectFilterMerit, 2, kEffectFilterPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {kQelFilterName_Whiteboard, &CLSID_QelFilter_Whiteboard, CreateWhiteboardFilter, nullptr,
     &kWhiteboardSetup},
    {kQelPageName_Whiteboard, &CLSID_QelPage_Whiteboard, CStrengthPage::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}
STDAPI DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
