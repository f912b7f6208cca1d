#pragma once
// A plug-in property page whose controls are filled at WM_INITDIALOG and whose every WM_COMMAND is
// a change sent to the filter: the notifications the filling itself raises are not changes, and a
// change on a shown page marks it dirty before the page handles it.
#include "params_page.h"

template <class Params>
class CCommandPage : public CParamsPage<Params> {
public:
    using CParamsPage<Params>::CParamsPage;

protected:
    // Fills the controls from the values held; wraps its control writes in initialising_.
    virtual void InitialiseControls(HWND page) = 0;
    virtual void OnCommand(HWND page, int id, int code) = 0;

    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_INITDIALOG:
            InitialiseControls(hwnd);
            return TRUE;
        case WM_COMMAND:
            if (initialising_)
                return TRUE;
            if (this->active_)
                this->SetDirty();
            OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return CParamsPage<Params>::OnReceiveMessage(hwnd, message, wParam, lParam);
        }
    }

    bool initialising_ = false;  // controls being filled: their notifications are not changes
};
