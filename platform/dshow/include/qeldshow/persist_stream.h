#pragma once
// IPersistStream for filters that keep their settings in a graph file. The stream holds a version
// word (when GetSoftwareVersion is not 0) followed by what WriteToStream writes.
#include <windows.h>
#include <objidl.h>

class CPersistStream : public IPersistStream {
public:
    CPersistStream(IUnknown* owner, HRESULT* hr);
    virtual ~CPersistStream() = default;

    // IPersist::GetClassID stays for the derived class (usually its filter's CLSID).
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

    virtual HRESULT SetDirty(BOOL dirty);
    bool Dirty() const { return dirty_ != FALSE; }

protected:
    // The derived class's own data; the defaults write and read nothing.
    virtual HRESULT WriteToStream(IStream* stream);
    virtual HRESULT ReadFromStream(IStream* stream);
    virtual int SizeMax();
    // 0: no version word in the stream. A stream of a newer version than this one is refused.
    virtual DWORD GetSoftwareVersion();

    // The version read by the last Load (0 when none was stored).
    DWORD StreamVersion() const { return streamVersion_; }

private:
    BOOL dirty_ = FALSE;
    DWORD streamVersion_ = 0;
};

// Reads and writes whole values; a short read or write is a failure (STG_E_READFAULT / STG_E_WRITEFAULT).
HRESULT ReadFromStreamExactly(IStream* stream, void* data, ULONG size);
HRESULT WriteToStreamExactly(IStream* stream, const void* data, ULONG size);
