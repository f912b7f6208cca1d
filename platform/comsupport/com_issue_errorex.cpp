// Throws a failing HRESULT as _com_error, with the object's error information when the object
// reports that it supplies error information for the interface that failed.
#include <comdef.h>

namespace {

// The thread's error information when object supplies it for iid, else null (owned by the caller).
IErrorInfo* ErrorInfoFor(IUnknown* object, REFIID iid) {
    if (!object)
        return nullptr;
    ISupportErrorInfo* support = nullptr;
    if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) || !support)
        return nullptr;
    IErrorInfo* info = nullptr;
    if (support->InterfaceSupportsErrorInfo(iid) != S_OK || GetErrorInfo(0, &info) != S_OK)
        info = nullptr;
    support->Release();
    return info;
}

} // namespace

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID iid) {
    // The handler (by default the throw) takes over the reference to the error information.
    __mingw_com_error_handler(hr, ErrorInfoFor(object, iid));
}
