#pragma once
// Resource identifiers of the one-slider page, the same in every plug-in that uses it.
#define IDD_STRENGTH_PAGE 101
#define IDS_STRENGTH_PAGE_TITLE 1015
#define IDC_STRENGTH_ENABLE 1016
#define IDC_STRENGTH_TRACKBAR 1017
#define IDC_STRENGTH_EDIT 1018
#define IDC_STRENGTH_LABEL -1 // a label, not addressed
