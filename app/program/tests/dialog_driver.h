#pragma once
// Driving a dialog of the program from the test process through its controls' messages, and reading
// the parameter calls the engine makes on stand-in plug-ins registered in place of the real ones.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "program_windows.h"
#include "qeltest/temp_dir.h"
#include "standin_control.h"

namespace programtest {

// A click as the user makes it: the button's own press and release (BM_CLICK), so an automatic box or
// radio toggles itself and the dialog gets BN_CLICKED.
void PressButton(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// A left click at the window's top-left corner, posted as the mouse sends it.
void ClickWindow(HWND window);
// Moves a dialog off the program's window, so the live picture can be read beside it.
void MoveAside(HWND dialog);
bool IsEnabled(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
int SliderPos(HWND dialog, int id);
void SliderRange(HWND dialog, int id, int* low, int* high);
// Puts the slider at pos and tells the dialog as a drag does (WM_HSCROLL, TB_THUMBTRACK).
void DragSlider(HWND dialog, int id, int pos);
// The dialog's whole window as a BMP under the screenshot folder; its path.
std::string ShootWindow(HWND window, const std::string& name);

// The stand-in plug-in registered under class IDs for the object's life, every call on it logged to a
// file of the test's own, which the program's instances write too.
class EngineCallLog {
public:
    EngineCallLog();
    bool Loaded() const { return module_.Loaded(); }
    HRESULT Add(REFCLSID clsid);
    // The calls on instances of clsid since the last Clear, each without its instance number.
    std::vector<std::string> Calls(REFCLSID clsid) const;
    void Clear();

private:
    std::wstring FileOf(REFCLSID clsid) const;

    standin::StandinModule module_;
    qeltest::TempDir dir_;
    std::vector<CLSID> classes_;
};

} // namespace programtest
