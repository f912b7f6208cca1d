// DllRegisterServer/DllUnregisterServer over the module's g_Templates.
#include "qeldshow/class_factory.h"
#include "qeldshow/module.h"
#include "qeldshow/server_registration.h"

namespace {

HRESULT UnregisterTemplate(const CFactoryTemplate& entry) {
    HRESULT first = S_OK;
    if (entry.m_pAMovieSetup_Filter) {
        const HRESULT hr = UnregisterFilterSetup(*entry.m_ClsID, entry.m_pAMovieSetup_Filter->category);
        if (FAILED(hr))
            first = hr;
    }
    const HRESULT hr = UnregisterInprocServer(*entry.m_ClsID);
    return FAILED(first) ? first : hr;
}

HRESULT RegisterTemplate(const CFactoryTemplate& entry, const std::wstring& modulePath) {
    HRESULT hr = RegisterInprocServer(*entry.m_ClsID, entry.m_Name, modulePath);
    if (SUCCEEDED(hr) && entry.m_pAMovieSetup_Filter)
        hr = RegisterFilterSetup(*entry.m_pAMovieSetup_Filter);
    return hr;
}

} // namespace

HRESULT AMovieDllRegisterServer2(BOOL doRegister) {
    for (int i = 0; i < g_cTemplates; ++i)
        if (!g_Templates[i].m_ClsID || !g_Templates[i].m_Name)
            return E_UNEXPECTED;

    if (!doRegister) {
        HRESULT first = S_OK;
        for (int i = 0; i < g_cTemplates; ++i) {
            const HRESULT hr = UnregisterTemplate(g_Templates[i]);
            if (FAILED(hr) && SUCCEEDED(first))
                first = hr;
        }
        return first;
    }

    const std::wstring modulePath = QelModulePath();
    if (modulePath.empty()) {
        const DWORD error = GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    for (int i = 0; i < g_cTemplates; ++i) {
        const HRESULT hr = RegisterTemplate(g_Templates[i], modulePath);
        if (FAILED(hr)) {
            // A half-registered server would be found and then fail to load parts of itself.
            for (int done = 0; done <= i; ++done)
                UnregisterTemplate(g_Templates[done]);
            return hr;
        }
    }
    return S_OK;
}
