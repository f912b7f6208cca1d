// The test COM server: its template list and registration entry points.
#include <dshow.h>

#include "qeldshow/class_factory.h"
#include "qeldshow/server_registration.h"
#include "test_object.h"
#include "test_page.h"

namespace {

int g_initCalls[2] = {0, 0};

void CALLBACK CountInit(BOOL loading, const CLSID*) { ++g_initCalls[loading ? 1 : 0]; }

const AMOVIESETUP_MEDIATYPE kVideoRgb24 = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};

const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideoRgb24},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideoRgb24},
};

const AMOVIESETUP_FILTER kTestObjectSetup = {&CLSID_QelTestObject, QEL_TEST_OBJECT_NAME, MERIT_DO_NOT_USE, 2, kPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {QEL_TEST_OBJECT_NAME, &CLSID_QelTestObject, &CTestObject::Create, &CountInit, &kTestObjectSetup},
    {QEL_TEST_PAGE_NAME, &CLSID_QelTestPage, &CTestPage::Create, nullptr, nullptr},
    {L"Qel Test Classic Page", &CLSID_QelTestClassicPage, &CTestPage::CreateClassic, nullptr, nullptr},
    {L"Qel Test Failing Object", &CLSID_QelTestFailing, &CFailingObject::Create, nullptr, nullptr},
    {L"Qel Test Out Of Memory", &CLSID_QelTestNoMemory, &CreateNoMemory, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }

extern "C" int WINAPI QelTestInitCalls(BOOL loading) { return g_initCalls[loading ? 1 : 0]; }
