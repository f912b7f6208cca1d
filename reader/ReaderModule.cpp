// The reader's COM server: one class in the factory table, no filter registration.
#include "MediaFrameReader.h"

#include "qeldshow/class_factory.h"
#include "qeldshow/module.h"
#include "qeldshow/server_registration.h"

CFactoryTemplate g_Templates[] = {
    {L"Q&l - Reader", &CLSID_MediaFrameReader, CMediaFrameReader::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
