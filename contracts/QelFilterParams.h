#pragma once
// The parameter interfaces of the effect plug-ins, shared by the plug-ins and the video engine.
//
// IQelFilterParams is one IID with one common head (slots 3 to 8) and, from slot 9 on, one to four
// getter/setter pairs whose meaning is each filter's own. Each layout is declared below as an
// abstract class derived from IQelFilterParams and carrying the same IID: query for
// IID_IQelFilterParams (or __uuidof of the layout) on a plug-in and use the layout of the plug-in
// that was created. A slot's meaning depends on the plug-in, so calling a layout's own slot on
// another plug-in calls whatever that plug-in has in that slot.
//
// Every method takes the filter lock, stores and answers S_OK unless its comment says otherwise;
// values are not range-checked. Times are seconds; a negative side of a range is open.
#include "QelGuid.h"

#include <windows.h>
#include <unknwn.h>

QEL_DEFINE_GUID(IID_IQelFilterParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f);
QEL_DEFINE_GUID(IID_IQelRotateParams, 0x7c1f007b, 0xb4b1, 0x4890, 0x91, 0xc7, 0x07, 0x31, 0x18, 0x51, 0x20, 0x3d);

// Slots 0 to 8, common to every plug-in driven through IQelFilterParams.
struct IQelFilterParams : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Enable(BOOL on) = 0;                                    // 3
    // Appends one range and merges the list. A NaN side refuses the range (E_INVALIDARG); sides
    // beyond the 64-bit range of 100-ns units are clamped.
    virtual HRESULT STDMETHODCALLTYPE AddRange(double startSeconds, double endSeconds) = 0;   // 4
    // Appends count pairs in order, then merges once; count <= 0 appends nothing. All or nothing:
    // a NaN side refuses the whole call (E_INVALIDARG), as does a failed allocation (E_OUTOFMEMORY).
    virtual HRESULT STDMETHODCALLTYPE AddRanges(const double* startSeconds, const double* endSeconds,
                                                int count) = 0;                               // 5
    virtual HRESULT STDMETHODCALLTYPE ClearRanges() = 0;                                      // 6
    virtual HRESULT STDMETHODCALLTYPE GetEnable(int* on) = 0;                                 // 7
    virtual HRESULT STDMETHODCALLTYPE SetEnable(BOOL on) = 0;                                 // 8
};

// Whiteboard, auto tone, auto enhance and low light: one strength, 0..100 by convention.
struct IQelStrengthParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetStrength(int* strength) = 0;                         // 9
    virtual HRESULT STDMETHODCALLTYPE SetStrength(int strength) = 0;                          // 10
};

// Contrast/brightness: each -100..100.
struct IQelContrastBrightnessParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetContrast(int* contrast) = 0;                         // 9
    virtual HRESULT STDMETHODCALLTYPE SetContrast(int contrast) = 0;                          // 10
    virtual HRESULT STDMETHODCALLTYPE GetBrightness(int* brightness) = 0;                     // 11
    virtual HRESULT STDMETHODCALLTYPE SetBrightness(int brightness) = 0;                      // 12
};

// Date and time stamp: text colour, font, alignment with padding, or a start position.
struct IQelDateTimeParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetColor(BYTE* red, BYTE* green, BYTE* blue) = 0;       // 9
    // Stored as bytes (the low 8 bits of each).
    virtual HRESULT STDMETHODCALLTYPE SetColor(int red, int green, int blue) = 0;             // 10
    virtual HRESULT STDMETHODCALLTYPE GetFont(LOGFONTA* font) = 0;                            // 11
    // Copies the whole record, then sets escapement and orientation to 0.
    virtual HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA* font) = 0;                      // 12
    // The padding returned is the horizontal one.
    virtual HRESULT STDMETHODCALLTYPE GetAlignment(int* alignment, int* padding) = 0;         // 13
    // The padding applies horizontally and vertically.
    virtual HRESULT STDMETHODCALLTYPE SetAlignment(int alignment, int padding) = 0;           // 14
    virtual HRESULT STDMETHODCALLTYPE GetStartPosition(POINT* position) = 0;                  // 15
    // Places the text at the position and sets the alignment to 0.
    virtual HRESULT STDMETHODCALLTYPE SetStartPosition(const POINT* position) = 0;            // 16
};

// Digital zoom: a percentage; 150, 200, 250 and 300 zoom, every other value shows the frame as it is.
struct IQelDigitalZoomParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetZoom(int* percent) = 0;                              // 9
    virtual HRESULT STDMETHODCALLTYPE SetZoom(int percent) = 0;                               // 10
};

// Special effect: the effect's strength (its range depends on the effect) and the effect index
// (0..8; any other value selects no effect).
struct IQelSpecialEffectParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetStrength(int* strength) = 0;                         // 9
    virtual HRESULT STDMETHODCALLTYPE SetStrength(int strength) = 0;                          // 10
    virtual HRESULT STDMETHODCALLTYPE GetEffect(int* index) = 0;                              // 11
    virtual HRESULT STDMETHODCALLTYPE SetEffect(int index) = 0;                               // 12
};

// Photo frame: the path of the PNG frame image. GetFramePath writes at most
// kQelFramePathChars characters with the terminating zero (an empty string when no path is set).
constexpr int kQelFramePathChars = 260;
struct IQelPhotoFrameParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetFramePath(wchar_t* path) = 0;                        // 9
    virtual HRESULT STDMETHODCALLTYPE SetFramePath(const wchar_t* path) = 0;                  // 10
};

// Flip: value 1 set to nonzero flips the picture top to bottom, value 2 mirrors it left to right.
// The engine only ever sends 1 to either; SetEnable(0) is how the flip is switched off.
struct IQelFlipParams : public IQelFilterParams {
    virtual HRESULT STDMETHODCALLTYPE GetValue(int* value) = 0;                               // 9
    virtual HRESULT STDMETHODCALLTYPE SetValue(int value) = 0;                                // 10
    virtual HRESULT STDMETHODCALLTYPE GetValue2(int* value) = 0;                              // 11
    virtual HRESULT STDMETHODCALLTYPE SetValue2(int value) = 0;                               // 12
};

// Rotate methods and angles.
enum QelRotateMethod { kQelRotateCut = 0, kQelRotateZoom = 1 };

// The rotate plug-in's own interface (it answers no IQelFilterParams). Slots 3 to 8 are those of
// IQelFilterParams. Every method answers S_OK. The method and colour accessors take no lock.
struct IQelRotateParams : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Enable(BOOL on) = 0;                                    // 3
    virtual HRESULT STDMETHODCALLTYPE AddRange(double startSeconds, double endSeconds) = 0;   // 4
    virtual HRESULT STDMETHODCALLTYPE AddRanges(const double* startSeconds, const double* endSeconds,
                                                int count) = 0;                               // 5
    virtual HRESULT STDMETHODCALLTYPE ClearRanges() = 0;                                      // 6
    virtual HRESULT STDMETHODCALLTYPE GetEnable(int* on) = 0;                                 // 7
    virtual HRESULT STDMETHODCALLTYPE SetEnable(BOOL on) = 0;                                 // 8
    // Two values kept for callers; the picture does not depend on them.
    virtual HRESULT STDMETHODCALLTYPE GetValue(int* value) = 0;                               // 9
    virtual HRESULT STDMETHODCALLTYPE SetValue(int value) = 0;                                // 10
    virtual HRESULT STDMETHODCALLTYPE GetValue2(int* value) = 0;                              // 11
    virtual HRESULT STDMETHODCALLTYPE SetValue2(int value) = 0;                               // 12
    virtual HRESULT STDMETHODCALLTYPE SetMethod(int method) = 0;                              // 13
    virtual HRESULT STDMETHODCALLTYPE GetMethod(int* method) = 0;                             // 14
    virtual HRESULT STDMETHODCALLTYPE SetBackColor(COLORREF color) = 0;                       // 15
    virtual HRESULT STDMETHODCALLTYPE GetBackColor(COLORREF* color) = 0;                      // 16
    // 0, 90, 180 or 270 degrees; any other angle shows the frame as it is.
    virtual HRESULT STDMETHODCALLTYPE SetAngle(int degrees) = 0;                              // 17
    virtual HRESULT STDMETHODCALLTYPE GetAngle(int* degrees) = 0;                             // 18
};

__CRT_UUID_DECL(IQelFilterParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelStrengthParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelContrastBrightnessParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelDateTimeParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelDigitalZoomParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelSpecialEffectParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelPhotoFrameParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelFlipParams, 0x084dc5f9, 0x7e2f, 0x4bf3, 0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f)
__CRT_UUID_DECL(IQelRotateParams, 0x7c1f007b, 0xb4b1, 0x4890, 0x91, 0xc7, 0x07, 0x31, 0x18, 0x51, 0x20, 0x3d)
