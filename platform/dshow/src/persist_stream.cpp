#include "qeldshow/persist_stream.h"

CPersistStream::CPersistStream(IUnknown*, HRESULT*) {}

HRESULT ReadFromStreamExactly(IStream* stream, void* data, ULONG size) {
    ULONG read = 0;
    const HRESULT hr = stream->Read(data, size, &read);
    if (FAILED(hr))
        return hr;
    return read == size ? S_OK : STG_E_READFAULT;
}

HRESULT WriteToStreamExactly(IStream* stream, const void* data, ULONG size) {
    ULONG written = 0;
    const HRESULT hr = stream->Write(data, size, &written);
    if (FAILED(hr))
        return hr;
    return written == size ? S_OK : STG_E_WRITEFAULT;
}

STDMETHODIMP CPersistStream::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT CPersistStream::SetDirty(BOOL dirty) {
    dirty_ = dirty;
    return S_OK;
}

STDMETHODIMP CPersistStream::Load(IStream* stream) {
    if (!stream)
        return E_POINTER;
    streamVersion_ = 0;
    const DWORD ownVersion = GetSoftwareVersion();
    if (ownVersion != 0) {
        DWORD version = 0;
        const HRESULT hr = ReadFromStreamExactly(stream, &version, sizeof version);
        if (FAILED(hr))
            return hr;
        // Data written by a later version may mean something else: refuse it rather than misread it.
        if (version > ownVersion)
            return E_FAIL;
        streamVersion_ = version;
    }
    const HRESULT hr = ReadFromStream(stream);
    if (SUCCEEDED(hr))
        dirty_ = FALSE;
    return hr;
}

STDMETHODIMP CPersistStream::Save(IStream* stream, BOOL clearDirty) {
    if (!stream)
        return E_POINTER;
    const DWORD version = GetSoftwareVersion();
    if (version != 0) {
        const HRESULT hr = WriteToStreamExactly(stream, &version, sizeof version);
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = WriteToStream(stream);
    if (SUCCEEDED(hr) && clearDirty)
        dirty_ = FALSE;
    return hr;
}

STDMETHODIMP CPersistStream::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size)
        return E_POINTER;
    const int own = SizeMax();
    if (own < 0)
        return E_UNEXPECTED;
    size->QuadPart = static_cast<ULONGLONG>(own) + (GetSoftwareVersion() != 0 ? sizeof(DWORD) : 0);
    return S_OK;
}

HRESULT CPersistStream::WriteToStream(IStream*) { return S_OK; }
HRESULT CPersistStream::ReadFromStream(IStream*) { return S_OK; }
int CPersistStream::SizeMax() { return 0; }
DWORD CPersistStream::GetSoftwareVersion() { return 0; }
