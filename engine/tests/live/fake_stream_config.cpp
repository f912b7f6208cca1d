#include "fake_stream_config.h"

namespace enginetest {

STDMETHODIMP FakeStreamConfig::QueryInterface(REFIID iid, void** object) {
    if (iid == IID_IUnknown || iid == IID_IAMStreamConfig) {
        *object = static_cast<IAMStreamConfig*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

AM_MEDIA_TYPE* FakeStreamConfig::MakeType(const FakeFormat& format) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    ZeroMemory(type, sizeof *type);
    type->majortype = MEDIATYPE_Video;
    type->subtype = MEDIASUBTYPE_RGB24;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    auto* video = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    ZeroMemory(video, sizeof *video);
    video->AvgTimePerFrame = format.frameTime;
    video->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    video->bmiHeader.biWidth = format.width;
    video->bmiHeader.biHeight = format.height;
    video->bmiHeader.biPlanes = 1;
    video->bmiHeader.biBitCount = 24;
    video->bmiHeader.biSizeImage = format.width * format.height * 3;
    return type;
}

STDMETHODIMP FakeStreamConfig::SetFormat(AM_MEDIA_TYPE* type) {
    ++setFormatCalls_;
    const auto* video = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    current_ = {video->bmiHeader.biWidth, video->bmiHeader.biHeight, video->AvgTimePerFrame};
    return S_OK;
}

STDMETHODIMP FakeStreamConfig::GetFormat(AM_MEDIA_TYPE** type) {
    *type = MakeType(current_);
    return S_OK;
}

STDMETHODIMP FakeStreamConfig::GetNumberOfCapabilities(int* count, int* size) {
    *count = static_cast<int>(formats_.size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP FakeStreamConfig::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (index < 0 || index >= static_cast<int>(formats_.size()))
        return S_FALSE;
    *type = MakeType(formats_[index]);
    auto* video = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
    ZeroMemory(video, sizeof *video);
    video->guid = FORMAT_VideoInfo;
    video->MinOutputSize = {formats_[index].width, formats_[index].height};
    video->MaxOutputSize = video->MinOutputSize;
    return S_OK;
}

} // namespace enginetest
