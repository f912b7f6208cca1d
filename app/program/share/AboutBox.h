#pragma once
// The about box: template 4, nothing to exchange or handle.
#include <afxwin.h>

class CAboutBox : public CDialog {
public:
    CAboutBox();
};
