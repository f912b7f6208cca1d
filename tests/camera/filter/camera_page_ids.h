#pragma once
// Resource identities of the synthetic camera's property page.
#define IDD_QEL_CAMERA_PAGE 200
#define IDC_QEL_CAMERA_PAGE_TEXT 201
#define IDS_QEL_CAMERA_PAGE_TITLE 202
