// The Windows Media seekability and protection query, through the Windows Media Format runtime (loaded
// by name: it may be missing on a user's machine, and there is no import library for it here).
#include <windows.h>
#include <wmsdk.h>

#include <atomic>
#include <vector>

#include "GraphHelper.h"
#include "MediaFrameReader.h"

namespace {

constexpr HRESULT kAttributeNotFound = static_cast<HRESULT>(0xC00D07F0); // ASF_E_NOTFOUND
constexpr DWORD kStatusWaitLimitMs = 30000; // a runtime that never reports must not hang the caller

typedef HRESULT(WINAPI* IsContentProtectedFn)(const WCHAR*, BOOL*);
typedef HRESULT(WINAPI* CreateEditorFn)(IWMMetadataEditor**);
typedef HRESULT(WINAPI* CreateReaderFn)(IUnknown*, DWORD, IWMReader**);

class Library {
public:
    explicit Library(const char* name) : module_(LoadLibraryA(name)) {}
    ~Library() {
        if (module_)
            FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    template <typename F>
    F Get(const char* name) const {
        return module_ ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }

private:
    HMODULE module_;
};

// Stores the result of WMT_OPENED and WMT_CLOSED and signals the opener's event.
class StatusCallback final : public IWMReaderCallback {
public:
    StatusCallback() : event_() {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == __uuidof(IWMStatusCallback) || riid == __uuidof(IWMReaderCallback)) {
            *ppv = static_cast<IWMReaderCallback*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    STDMETHODIMP OnStatus(WMT_STATUS status, HRESULT hr, WMT_ATTR_DATATYPE, BYTE*, void*) override {
        if (status == WMT_OPENED || status == WMT_CLOSED) {
            result_ = hr;
            SetEvent(event_.Get());
        }
        return S_OK;
    }
    STDMETHODIMP OnSample(DWORD, QWORD, QWORD, DWORD, INSSBuffer*, void*) override { return S_OK; }

    bool Usable() const { return static_cast<bool>(event_); }
    // Waits in 10-ms slices for the status; the status's result, or E_FAIL when none came.
    HRESULT Wait() {
        for (DWORD waited = 0; waited < kStatusWaitLimitMs; waited += 10)
            if (WaitForSingleObject(event_.Get(), 10) == WAIT_OBJECT_0)
                return result_;
        return E_FAIL;
    }

private:
    ~StatusCallback() = default;
    std::atomic<ULONG> refs_{1};
    std::atomic<HRESULT> result_{S_OK};
    EventHandle event_;
};

// The "Seekable" attribute of stream 0: S_OK with the answer; a missing attribute means not seekable.
HRESULT ReadSeekable(IWMHeaderInfo* header, BOOL* seekable) {
    WORD stream = 0;
    WMT_ATTR_DATATYPE type = WMT_TYPE_BOOL;
    BOOL value = FALSE;
    WORD length = sizeof value;
    const HRESULT hr = header->GetAttributeByName(&stream, L"Seekable", &type, reinterpret_cast<BYTE*>(&value), &length);
    if (hr == kAttributeNotFound) {
        *seekable = FALSE;
        return S_OK;
    }
    if (SUCCEEDED(hr))
        *seekable = value ? TRUE : FALSE;
    return hr;
}

} // namespace

HRESULT STDMETHODCALLTYPE CMediaFrameReader::QuerySeekable(const char* path, BOOL* seekable) {
    if (!path || !seekable)
        return ERROR_INVALID_PARAMETER;
    CGraphHelper& helper = ReaderGraphHelper();
    Library runtime("wmvcore.dll");
    const auto isProtected = runtime.Get<IsContentProtectedFn>("WMIsContentProtected");
    const auto createEditor = runtime.Get<CreateEditorFn>("WMCreateEditor");
    const auto createReader = runtime.Get<CreateReaderFn>("WMCreateReader");
    if (!createReader)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

    std::vector<wchar_t> wide(MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), MAX_PATH);
    wide[MAX_PATH - 1] = 0;

    BOOL protectedContent = FALSE;
    if (isProtected && FAILED(isProtected(wide.data(), &protectedContent)))
        protectedContent = FALSE;

    bool editorAnswered = false;
    BOOL answer = FALSE;
    qel::ComPtr<IWMMetadataEditor> editor;
    if (createEditor && SUCCEEDED(createEditor(editor.GetAddressOf())) && editor &&
        SUCCEEDED(editor->Open(wide.data()))) {
        qel::ComPtr<IWMHeaderInfo> header;
        if (SUCCEEDED(editor.As(&header))) {
            const HRESULT hr = ReadSeekable(header.Get(), &answer);
            if (SUCCEEDED(hr))
                editorAnswered = true;
            else
                helper.Log("Could not get g_wszWMSeekable from the Header: (hr=0x%08x)\n", hr);
        }
        editor->Close();
    }
    if (protectedContent)
        return ERROR_CANT_ACCESS_FILE;

    StatusCallback* callback = new (std::nothrow) StatusCallback();
    if (!callback || !callback->Usable()) {
        helper.Log("Could not create the event");
        if (callback)
            callback->Release();
        return E_OUTOFMEMORY;
    }
    qel::ComPtr<IWMReaderCallback> callbackOwner = qel::TakeOver<IWMReaderCallback>(callback);
    qel::ComPtr<IWMReader> reader;
    HRESULT hr = createReader(nullptr, 1 /* WMT_RIGHT_PLAYBACK */, reader.GetAddressOf());
    if (FAILED(hr) || !reader) {
        helper.Log("Error %x: Could not create Reader", hr);
        return FAILED(hr) ? hr : E_FAIL;
    }
    hr = reader->Open(wide.data(), callback, nullptr);
    if (SUCCEEDED(hr))
        hr = callback->Wait();
    if (FAILED(hr)) {
        helper.Log("Error %x: Could not open the file %s", hr, path);
        return hr;
    }
    if (!editorAnswered) {
        qel::ComPtr<IWMHeaderInfo> header;
        if (FAILED(hr = reader.As(&header)))
            helper.Log("Error %x: Could not QI for IWMHeaderInfo", hr);
        else if (FAILED(hr = ReadSeekable(header.Get(), &answer)))
            helper.Log("Error %x: Could not get the Seekable attribute", hr);
    }
    if (SUCCEEDED(reader->Close()))
        callback->Wait();
    if (FAILED(hr))
        return hr;
    *seekable = answer && !protectedContent;
    return S_OK;
}
