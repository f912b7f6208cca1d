#pragma once
// Identities of the effect plug-ins: filter and page class IDs, the names under which they register
// and join a graph, and their module files. Shared by the plug-ins, the engine and the tests.
#include "QelGuid.h"

QEL_DEFINE_GUID(CLSID_QelFilter_Whiteboard, 0x12ff58f8, 0xd6bc, 0x4ce7, 0xbe, 0xac, 0x9c, 0x08, 0xa5, 0x1b, 0xe4, 0xa0);
QEL_DEFINE_GUID(CLSID_QelPage_Whiteboard, 0xa8b67656, 0x9a4f, 0x4180, 0x8a, 0x24, 0x87, 0x4a, 0x88, 0xc9, 0xcc, 0xcc);
QEL_DEFINE_GUID(CLSID_QelFilter_AutoTone, 0x8e7b18ec, 0xbceb, 0x4263, 0xa0, 0xde, 0x52, 0x4a, 0xa2, 0xde, 0xb2, 0xa1);
QEL_DEFINE_GUID(CLSID_QelPage_AutoTone, 0x052dc1a8, 0xbb29, 0x4634, 0xa2, 0xa5, 0x29, 0x2b, 0xa7, 0xfb, 0xaa, 0x2a);
QEL_DEFINE_GUID(CLSID_QelFilter_AutoEnhance, 0xa1d41c31, 0xc197, 0x442b, 0x96, 0xff, 0x9a, 0x62, 0xe4, 0x3b, 0xc3, 0x4e);
QEL_DEFINE_GUID(CLSID_QelPage_AutoEnhance, 0x9f539a91, 0x0480, 0x4254, 0x8f, 0xb7, 0xf3, 0x91, 0x47, 0xe8, 0x82, 0xa3);
QEL_DEFINE_GUID(CLSID_QelFilter_LowLight, 0x48541506, 0x7188, 0x4213, 0xa2, 0xa8, 0x54, 0x30, 0xb7, 0x25, 0xb5, 0xf4);
QEL_DEFINE_GUID(CLSID_QelPage_LowLight, 0x5cab6a08, 0xd9a9, 0x44b0, 0x91, 0xf7, 0x50, 0x49, 0x31, 0x4d, 0x78, 0x28);
QEL_DEFINE_GUID(CLSID_QelFilter_ContrastBrightness, 0xdc96b817, 0x4cba, 0x4ef3, 0xa7, 0xd5, 0xa4, 0x2d, 0x85, 0x71, 0xfc, 0x06);
QEL_DEFINE_GUID(CLSID_QelPage_ContrastBrightness, 0x56ca274d, 0xe5af, 0x497e, 0xac, 0x3f, 0x89, 0xaa, 0x0f, 0x7c, 0xa1, 0xca);
QEL_DEFINE_GUID(CLSID_QelFilter_DigitalZoom, 0xa27d3082, 0x8350, 0x4534, 0x92, 0x45, 0xc9, 0x6d, 0x0e, 0x52, 0xdb, 0x6d);
QEL_DEFINE_GUID(CLSID_QelPage_DigitalZoom, 0xb1767d6c, 0x7759, 0x4b56, 0x9d, 0xda, 0x67, 0x35, 0xca, 0x27, 0x87, 0x45);
QEL_DEFINE_GUID(CLSID_QelFilter_PhotoFrame, 0x63182edb, 0xea5d, 0x4d91, 0x83, 0x5a, 0xf2, 0xdc, 0x1e, 0xd6, 0x6e, 0xc9);
QEL_DEFINE_GUID(CLSID_QelPage_PhotoFrame, 0x54a184c4, 0x7024, 0x4b0f, 0x99, 0x8e, 0x44, 0xd8, 0x63, 0xa6, 0xf7, 0xc4);
QEL_DEFINE_GUID(CLSID_QelFilter_DateTime, 0x5000724e, 0x1cd2, 0x4e7d, 0x8f, 0x85, 0xab, 0x8d, 0x95, 0x8c, 0xc8, 0x77);
QEL_DEFINE_GUID(CLSID_QelPage_DateTime, 0x46d1e2cd, 0xe69f, 0x4ac0, 0x9f, 0xde, 0x61, 0x39, 0x50, 0x90, 0xa7, 0xa1);
QEL_DEFINE_GUID(CLSID_QelFilter_SpecialEffect, 0xe17e3c6a, 0x8bd6, 0x4947, 0xbc, 0x04, 0x5a, 0x85, 0x7c, 0x6e, 0xb1, 0x7f);
QEL_DEFINE_GUID(CLSID_QelPage_SpecialEffect, 0xe15a9d7b, 0xeebe, 0x4af3, 0xa4, 0x54, 0x16, 0xa8, 0x06, 0x44, 0xdb, 0x32);
QEL_DEFINE_GUID(CLSID_QelFilter_Rotate, 0x72709995, 0xb4c0, 0x4057, 0x93, 0x6d, 0x1b, 0x6b, 0xe1, 0x54, 0xb7, 0x86);
QEL_DEFINE_GUID(CLSID_QelPage_Rotate, 0x922fa4a0, 0xbead, 0x47b4, 0xaa, 0xce, 0x9b, 0xb3, 0xe7, 0xb1, 0xba, 0x69);
QEL_DEFINE_GUID(CLSID_QelFilter_Flip, 0x5d090c4b, 0xafe4, 0x4e76, 0xb0, 0x24, 0xbd, 0xb6, 0x22, 0x2f, 0x74, 0x78);

constexpr const wchar_t* kQelFilterName_Whiteboard = L"Q&LFilter - Whiteboard";
constexpr const wchar_t* kQelPageName_Whiteboard = L"Q&LFilter Property - Whiteboard";
constexpr const wchar_t* kQelFilterName_AutoTone = L"Q&LFilter - Auto Tone";
constexpr const wchar_t* kQelPageName_AutoTone = L"Q&LFilter Property - Auto Tone";
constexpr const wchar_t* kQelFilterName_AutoEnhance = L"Q&LFilter - Auto Enhance";
constexpr const wchar_t* kQelPageName_AutoEnhance = L"Q&LFilter Property - Auto Enhance";
constexpr const wchar_t* kQelFilterName_LowLight = L"Q&LFilter - Low Light";
constexpr const wchar_t* kQelPageName_LowLight = L"Q&LFilter Property - Low Light";
constexpr const wchar_t* kQelFilterName_ContrastBrightness = L"Q&LFilter - Contrast Brightness";
constexpr const wchar_t* kQelPageName_ContrastBrightness = L"Q&LFilter Property - Contrast Brightness";
constexpr const wchar_t* kQelFilterName_DigitalZoom = L"Q&LFilter - Digital Zoom";
constexpr const wchar_t* kQelPageName_DigitalZoom = L"Q&LFilter Property - Digital Zoom";
constexpr const wchar_t* kQelFilterName_PhotoFrame = L"Q&LFilter - Photo Frame";
constexpr const wchar_t* kQelPageName_PhotoFrame = L"Q&LFilter Property - Photo Frame";
constexpr const wchar_t* kQelFilterName_DateTime = L"Q&LFilter - Date & Time";
constexpr const wchar_t* kQelPageName_DateTime = L"Q&LFilter Property - Date & Time";
constexpr const wchar_t* kQelFilterName_SpecialEffect = L"Q&LFilter - Special Effect";
constexpr const wchar_t* kQelPageName_SpecialEffect = L"Q&LFilter Property - Special Effect";
constexpr const wchar_t* kQelFilterName_Rotate = L"Q&LFilter - Rotate";
constexpr const wchar_t* kQelPageName_Rotate = L"Q&LFilter Property - Rotete";
constexpr const wchar_t* kQelFilterName_Flip = L"Q&LFilter - Flip";

// One row per plug-in module, for code that treats them all alike (registration checks, tests).
// The flip stand-in has no property page: its page class ID is null.
struct QelPluginIdentity {
    const wchar_t* module;     // file name without the .ax extension
    const wchar_t* filterName; // registered and graph name
    const GUID* filterClsid;
    const wchar_t* pageName;   // nullptr when there is no page
    const GUID* pageClsid;     // nullptr when there is no page
    bool rotateParams;         // parameterised through IQelRotateParams instead of IQelFilterParams
};

inline constexpr QelPluginIdentity kQelPlugins[] = {
    {L"QelFilter_Whiteboard", kQelFilterName_Whiteboard, &CLSID_QelFilter_Whiteboard, kQelPageName_Whiteboard, &CLSID_QelPage_Whiteboard, false},
    {L"QelFilter_AutoTone", kQelFilterName_AutoTone, &CLSID_QelFilter_AutoTone, kQelPageName_AutoTone, &CLSID_QelPage_AutoTone, false},
    {L"QelFilter_AutoEnhance", kQelFilterName_AutoEnhance, &CLSID_QelFilter_AutoEnhance, kQelPageName_AutoEnhance, &CLSID_QelPage_AutoEnhance, false},
    {L"QelFilter_LowLight", kQelFilterName_LowLight, &CLSID_QelFilter_LowLight, kQelPageName_LowLight, &CLSID_QelPage_LowLight, false},
    {L"QelFilter_CB", kQelFilterName_ContrastBrightness, &CLSID_QelFilter_ContrastBrightness, kQelPageName_ContrastBrightness, &CLSID_QelPage_ContrastBrightness, false},
    {L"QelFilter_DigitalZoom", kQelFilterName_DigitalZoom, &CLSID_QelFilter_DigitalZoom, kQelPageName_DigitalZoom, &CLSID_QelPage_DigitalZoom, false},
    {L"QelFilter_PhotoFrame", kQelFilterName_PhotoFrame, &CLSID_QelFilter_PhotoFrame, kQelPageName_PhotoFrame, &CLSID_QelPage_PhotoFrame, false},
    {L"QelFilter_DateTime", kQelFilterName_DateTime, &CLSID_QelFilter_DateTime, kQelPageName_DateTime, &CLSID_QelPage_DateTime, false},
    {L"QelFilter_SpEff", kQelFilterName_SpecialEffect, &CLSID_QelFilter_SpecialEffect, kQelPageName_SpecialEffect, &CLSID_QelPage_SpecialEffect, false},
    {L"QelFilter_Rotate", kQelFilterName_Rotate, &CLSID_QelFilter_Rotate, kQelPageName_Rotate, &CLSID_QelPage_Rotate, true},
    {L"QelFilter_Flip", kQelFilterName_Flip, &CLSID_QelFilter_Flip, nullptr, nullptr, false},
};
