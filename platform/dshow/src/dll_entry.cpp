// The standard COM entry points of a module that lists its classes in g_Templates. Only modules that
// export these (through their .def file) link this file in.
#include <objbase.h>

#include "qeldshow/class_factory.h"

namespace {

// Runs the templates' init routines when the module is loaded and unloaded (static construction and
// destruction of a DLL happen at process attach and detach).
struct InitRoutines {
    InitRoutines() { Run(TRUE); }
    ~InitRoutines() { Run(FALSE); }
    static void Run(BOOL loading) {
        for (int i = 0; i < g_cTemplates; ++i)
            if (g_Templates[i].m_lpfnInit)
                g_Templates[i].m_lpfnInit(loading, g_Templates[i].m_ClsID);
    }
};
InitRoutines g_initRoutines;

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    return GetClassObjectFromTemplates(g_Templates, g_cTemplates, clsid, riid, ppv);
}

STDAPI DllCanUnloadNow() { return ModuleCanUnloadNow(); }
