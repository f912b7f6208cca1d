#pragma once
// Identities shared by the test COM server (qel_test_server.ax) and the tests that drive it.
#include <windows.h>
#include <unknwn.h>

// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A01}
static const CLSID CLSID_QelTestObject = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x01}};
// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A02}
static const CLSID CLSID_QelTestPage = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x02}};
// A class whose constructor reports a failure: the factory must destroy the half-made object.
// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A03}
static const CLSID CLSID_QelTestFailing = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x03}};
// A class whose creation function runs out of memory.
// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A04}
static const CLSID CLSID_QelTestNoMemory = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x04}};

// The same page over a classic DIALOG template (the other template layout).
// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A05}
static const CLSID CLSID_QelTestClassicPage = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x05}};

// {6A1E0F31-3C52-4B8E-9D1A-7E5B2C4F9A10}
static const IID IID_IQelTestValue = {0x6a1e0f31, 0x3c52, 0x4b8e, {0x9d, 0x1a, 0x7e, 0x5b, 0x2c, 0x4f, 0x9a, 0x10}};

struct IQelTestValue : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetValue(int* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(int value) = 0;
};

#define QEL_TEST_OBJECT_NAME L"Qel Test Object"
#define QEL_TEST_PAGE_NAME L"Qel Test Page"
#define QEL_TEST_SERVER_FILE "qel_test_server.ax"
#define QEL_TEST_PAGE_TITLE L"Test Page Title"

// Resources of the test page.
#define IDD_QEL_TEST_PAGE 101
#define IDD_QEL_TEST_CLASSIC_PAGE 102
#define IDC_QEL_TEST_ENABLE 1001
#define IDC_QEL_TEST_EDIT 1002
#define IDS_QEL_TEST_PAGE_TITLE 1015
// Size of the page's dialog in dialog units.
#define QEL_TEST_PAGE_WIDTH_DLU 215
#define QEL_TEST_PAGE_HEIGHT_DLU 120

// Exported by the test server: how often each template's init routine ran with TRUE and with FALSE.
typedef int(WINAPI* QelTestInitCallsFunc)(BOOL loading);
