#pragma once
// A Windows Media profile of the test's own: streams with a media type each, counting what the
// builder reads, sets and reconfigures.
#include <windows.h>
#include <dshow.h>
#include <wmsdkidl.h>

#include <memory>
#include <vector>

namespace recordtest {

struct FakeStream {
    GUID formatType = GUID_NULL;
    std::vector<BYTE> format;        // the format block
    bool noMediaProps = false;       // the stream does not answer IWMMediaProps
    bool failGetMediaType = false;
    int setMediaTypeCalls = 0;
    int reconfigCalls = 0;
};

class FakeProfile : public IWMProfile {
public:
    std::vector<std::shared_ptr<FakeStream>> streams;
    bool failStreamCount = false;
    int failGetStreamAt = -1;

    static std::shared_ptr<FakeStream> VideoStream(LONG width, LONG height);
    static std::shared_ptr<FakeStream> AudioStream();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }   // lives on the test's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetVersion(WMT_VERSION*) override { return E_NOTIMPL; }
    STDMETHODIMP GetName(WCHAR*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetName(const WCHAR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDescription(WCHAR*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDescription(const WCHAR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamCount(DWORD* count) override;
    STDMETHODIMP GetStream(DWORD index, IWMStreamConfig** config) override;
    STDMETHODIMP GetStreamByNumber(WORD, IWMStreamConfig**) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveStream(IWMStreamConfig*) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveStreamByNumber(WORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddStream(IWMStreamConfig*) override { return E_NOTIMPL; }
    STDMETHODIMP ReconfigStream(IWMStreamConfig* config) override;
    STDMETHODIMP CreateNewStream(REFGUID, IWMStreamConfig**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMutualExclusionCount(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMutualExclusion(DWORD, IWMMutualExclusion**) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveMutualExclusion(IWMMutualExclusion*) override { return E_NOTIMPL; }
    STDMETHODIMP AddMutualExclusion(IWMMutualExclusion*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateNewMutualExclusion(IWMMutualExclusion**) override { return E_NOTIMPL; }
    // Stream objects handed out and still referenced.
    LONG LiveStreamObjects() const;
};

} // namespace recordtest
