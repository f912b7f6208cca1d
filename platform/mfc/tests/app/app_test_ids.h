#pragma once
// Resource and control ids of the WinMain test program.
#define IDR_TESTFRAME 100
#define IDD_PANEL 200
#define IDC_DRAWN 1001
#define IDC_REFLECTED 1002
#define IDC_PLAIN 1003
#define IDC_LABEL 1004
#define IDC_SLIDER 1005
#define IDC_SPIN 1006
#define IDC_COMBO 1007
#define IDC_FIRST_EDIT 1008
#define IDC_SECOND_EDIT 1009
#define IDC_HBAR 1010
#define IDC_PROGRESS 1011
#define IDC_VBAR 1012
#define IDC_HOSTED 1105
#define ID_MENU_FIRST 40001
#define ID_MENU_SECOND 40002
