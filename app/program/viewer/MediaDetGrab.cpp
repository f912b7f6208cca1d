#include "MediaDetGrab.h"

#include <dshow.h>
#include <qedit.h>

#include <memory>

#include <qeldshow/com_ptr.h>

namespace {

// The format block and unknown of a media type the detector filled in.
struct MediaTypeFields {
    AM_MEDIA_TYPE type = {};
    ~MediaTypeFields() {
        if (type.cbFormat && type.pbFormat)
            ::CoTaskMemFree(type.pbFormat);
        if (type.pUnk)
            type.pUnk->Release();
    }
};

struct BstrOwner {
    BSTR text;
    ~BstrOwner() { ::SysFreeString(text); }
};

// Puts the detector on the first video stream whose format names a bitmap; false when none does.
bool SelectVideoStream(IMediaDet* detector) {
    long streams = 0;
    if (FAILED(detector->get_OutputStreams(&streams)))
        return false;
    for (long stream = 0; stream < streams; ++stream) {
        MediaTypeFields fields;
        if (FAILED(detector->put_CurrentStream(stream)) || FAILED(detector->get_StreamMediaType(&fields.type)))
            return false;
        if (fields.type.majortype != MEDIATYPE_Video)
            continue;
        return fields.type.formattype == FORMAT_VideoInfo && fields.type.cbFormat >= sizeof(VIDEOINFOHEADER) &&
               fields.type.pbFormat;
    }
    return false;
}

HGLOBAL GrabWithDetector(const char* path, LONGLONG position) {
    qel::ComPtr<IMediaDet> detector;
    if (FAILED(::CoCreateInstance(CLSID_MediaDet, nullptr, CLSCTX_ALL, IID_IMediaDet,
                                  reinterpret_cast<void**>(detector.GetAddressOf()))))
        return nullptr;
    WCHAR wide[MAX_PATH] = {};
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return nullptr;
    BstrOwner name = {::SysAllocString(wide)};
    if (!name.text || FAILED(detector->put_Filename(name.text)) || !SelectVideoStream(detector.Get()))
        return nullptr;
    long size = 0;
    MediaTypeFields fields;
    if (FAILED(detector->get_StreamMediaType(&fields.type)))
        return nullptr;
    const BITMAPINFOHEADER& format = reinterpret_cast<const VIDEOINFOHEADER*>(fields.type.pbFormat)->bmiHeader;
    const long width = format.biWidth, height = format.biHeight < 0 ? -format.biHeight : format.biHeight;
    if (FAILED(detector->GetBitmapBits(0, &size, nullptr, width, height)) ||
        size < static_cast<long>(sizeof(BITMAPINFOHEADER)))
        return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
    if (!block)
        return nullptr;
    char* bytes = static_cast<char*>(::GlobalLock(block));
    const bool grabbed =
        bytes && SUCCEEDED(detector->GetBitmapBits(static_cast<double>(position) * 1e-7, nullptr, bytes, width, height));
    if (bytes)
        ::GlobalUnlock(block);
    if (!grabbed) {
        ::GlobalFree(block);
        return nullptr;
    }
    return block;
}

} // namespace

HGLOBAL GrabClipFrame(const char* path, LONGLONG position) {
    if (!path)
        return nullptr;
    // COM may not be started on the caller's thread; the detector is gone before it is stopped again.
    const HRESULT started = ::CoInitialize(nullptr);
    HGLOBAL frame = GrabWithDetector(path, position);
    if (SUCCEEDED(started))
        ::CoUninitialize();
    return frame;
}
