#pragma once
// Where the skin lives and how each kind of control is dressed from its section of the skin's
// settings file. Every routine reads the file afresh; absent keys keep the defaults below.
#include <afxwin.h>

class CButtonEx;
class CStaticEx;
class CSliderCtrlEx;
struct _tagSLDCTRLEXBUF;
struct _tagSLDCTRLEX2BUF;
class CVSliderCtrlEx2;

// Sets the skin folder (programFolder + "skin\default\") and the settings path.
void InitSkinPaths(CString programFolder);

// Check button (a CCheckEx2): images, fonts, colours, place, tooltip; checked, text hidden.
void SkinCheckButton(CButtonEx* button, const char* section, UINT tooltipId, int index);
// Push button: images when the section names them, tooltip, caption when textId is nonzero, place.
void SkinTextButton(CButtonEx* button, const char* section, UINT tooltipId, UINT textId, int index);
// Label: font, colours, text when textId is nonzero, background brush, place.
void SkinLabel(CStaticEx* label, const char* section, UINT textId, int index);
// The library's slider: its record from the section's keys, then dressed and placed.
void FillSliderRecord(_tagSLDCTRLEXBUF* record, const char* section, const char* settingsPath);
void SkinSlider(CSliderCtrlEx* slider, const char* section);
// The program's vertical slider: its record from the section's keys of the size-mode index (range and
// position left out with keepRange), then dressed and placed; ReskinScrollSlider gives it new strips,
// thumb range and place for another size mode, keeping range, position and step buttons.
void FillScrollSliderRecord(_tagSLDCTRLEX2BUF* record, const char* section, const char* settingsPath, int index,
                            BOOL keepRange);
void SkinScrollSlider(CVSliderCtrlEx2* slider, const char* section, int index, BOOL keepRange);
void ReskinScrollSlider(CVSliderCtrlEx2* slider, const char* section, int index);

// How much lighter than the panel colour a plain face is drawn (each of red, green and blue).
constexpr int kPlainFaceLift = 24;

// The pictures of controls that could not be read since the last call, one a line (a plain face stood
// in for each); empty when every picture was read.
CString TakeUnreadableSkinImages();

// The section's "rect%d" for the size-mode index into out, kept inside that mode's window; FALSE (out
// untouched) when absent or too large to lie inside it (the control then stays where it is).
BOOL ReadSkinRect(const char* section, int index, RECT* out);
// The same rectangle as the settings file writes it, without the clamping (what the skin check judges).
BOOL ReadSkinRectAsWritten(const char* section, int index, RECT* out);
// A label's background picture (skin folder + file), read bounded by the window of size mode index; a
// picture that cannot be read leaves the label as it is.
void SkinLabelBackground(CStaticEx* label, const char* file, int index);
// A label's text, set without flicker while it is visible.
void SetLabelText(CWnd* label, const char* text);

// The fonts and colours a control section gives, with defaults for what the skin leaves out.
struct SkinFont {
    int size = 10;
    CString face = "Tahoma";
    COLORREF normal = RGB(0, 0, 0);
    COLORREF down = RGB(0, 0, 0);
    COLORREF hover = RGB(0, 0, 0);
    COLORREF gray = RGB(128, 128, 128);
};
// styleSection is "button font" or "static font"; the control's own section overrides size and face.
SkinFont ReadSkinFont(const char* styleSection, const char* section);
// "color" of "panel", grey when absent.
COLORREF ReadPanelColour();
