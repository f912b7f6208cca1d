// Stills of the played file: the player works out the frame and hands it to the frame-grabbing
// program, which writes the picture; the JPEG overload converts that program's BMP with GDI+.
#include "GraphBuilder.h"

#include "EngineCom.h"

#include <objidl.h>
#include <gdiplus.h>
#include <qedit.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

#include "ImageEncoders.h"
#include "OutsideFilters.h"
#include "PlayerSnapshotDialog.h"

namespace {

constexpr DWORD kSeekFlags = AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame;

// Replaces the first occurrence of extension (any letter case) and what follows it by replacement;
// false when the path does not hold it.
bool ReplaceExtension(std::wstring& path, const WCHAR* extension, const WCHAR* replacement) {
    std::wstring lower = path;
    CharLowerBuffW(&lower[0], static_cast<DWORD>(lower.size()));
    const size_t at = lower.find(extension);
    if (at == std::wstring::npos)
        return false;
    path = path.substr(0, at) + replacement;
    return true;
}

} // namespace

HRESULT CGraphBuilder::SGInitial() {
    HRESULT hr = CoCreateInstance(CLSID_MediaDet, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaDet,
                                  reinterpret_cast<void**>(&m_pMediaDet));
    if (FAILED(hr))
        return Fail(hr);
    BSTR name = SysAllocString(m_szFile);
    hr = name ? m_pMediaDet->put_Filename(name) : E_OUTOFMEMORY;
    SysFreeString(name);
    if (FAILED(hr))
        return Fail(hr);
    long streams = 0;
    if (FAILED(hr = m_pMediaDet->get_OutputStreams(&streams)))
        return Fail(hr);
    for (long stream = 0; stream < streams; ++stream) {
        AM_MEDIA_TYPE type = {};
        if (FAILED(hr = m_pMediaDet->put_CurrentStream(stream)) ||
            FAILED(hr = m_pMediaDet->get_StreamMediaType(&type)))
            return Fail(hr);
        const bool video = type.majortype == MEDIATYPE_Video;
        FreeMediaTypeFields(type);
        if (video)
            return S_OK; // the detector stays on this stream
    }
    SafeRelease(m_pMediaDet);
    return Fail(VFW_E_INVALIDMEDIATYPE);
}

HRESULT CGraphBuilder::SnatchPosition(double* position) {
    *position = 0;
    LONGLONG current = 0;
    HRESULT hr = m_pMediaSeeking->GetCurrentPosition(&current);
    if (FAILED(hr))
        return Fail(hr);
    LONGLONG frame = current;
    if (m_pMediaSeeking->IsUsingTimeFormat(&TIME_FORMAT_FRAME) != S_OK) {
        GUID format = TIME_FORMAT_MEDIA_TIME;
        if (FAILED(hr = m_pMediaSeeking->GetTimeFormat(&format)))
            return Fail(hr);
        if (FAILED(hr = ConvertPosition(&frame, &TIME_FORMAT_FRAME, current, &format)))
            return Fail(hr);
    }
    // The frame-grabbing program takes the frame number scaled by 1e-7.
    *position = static_cast<double>(frame) * 1e-7;
    return S_OK;
}

LONGLONG CGraphBuilder::FramePositionInForce(unsigned int frame) {
    LONGLONG position = frame;
    if (m_bFramesDerived)
        ConvertPosition(&position, &TIME_FORMAT_MEDIA_TIME, frame, &TIME_FORMAT_FRAME);
    return position;
}

HRESULT CGraphBuilder::SeekToFrame(unsigned int frame) {
    if (!m_pGraph || !m_pMediaSeeking)
        return S_FALSE;
    // With media time standing in for frames the frame count is in llFrames; else llDuration holds the
    // length in the format in force.
    const LONGLONG limit = m_bFramesDerived ? m_VideoInfo.llFrames : m_VideoInfo.llDuration;
    if (static_cast<LONGLONG>(frame) > limit)
        return E_INVALIDARG;
    if (!m_pVideoWindow)
        return Fail(E_FAIL);
    HRESULT hr = m_pVideoWindow->put_Visible(OAFALSE);
    if (FAILED(hr))
        return Fail(hr);
    LONGLONG duration = 0;
    if (FAILED(hr = m_pMediaSeeking->GetDuration(&duration)))
        return Fail(hr);
    LONGLONG start = FramePositionInForce(frame);
    if (m_pTextMix)
        TextMixSetPosition(m_pTextMix, start, TRUE);
    if (FAILED(hr = m_pMediaSeeking->SetPositions(&start, kSeekFlags, &duration, kSeekFlags)))
        return Fail(hr);
    return S_OK;
}

HRESULT CGraphBuilder::OneSnapshot(const WCHAR* targetFile, unsigned int frame) {
    HRESULT hr = SeekToFrame(frame);
    if (hr != S_OK)
        return hr;
    double position = 0;
    if (FAILED(hr = SnatchPosition(&position)))
        return hr;
    return RunFrameSnatch(m_szFile, targetFile, position, m_VideoInfo.nWidth, m_VideoInfo.nHeight) ? S_OK
                                                                                                   : S_FALSE;
}

HRESULT CGraphBuilder::OneSnapshot(unsigned int frame) {
    HRESULT hr = SeekToFrame(frame);
    if (hr != S_OK)
        return hr;
    char chosen[MAX_PATH];
    if (!AskSnapshotFileName("BMP", "BMP(*.BMP)\0*.BMP\0", chosen))
        return S_FALSE;
    WCHAR target[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, chosen, -1, target, MAX_PATH))
        return S_FALSE;
    double position = 0;
    if (FAILED(hr = SnatchPosition(&position)))
        return hr;
    return RunFrameSnatch(m_szFile, target, position, m_VideoInfo.nWidth, m_VideoInfo.nHeight) ? S_OK
                                                                                               : S_FALSE;
}

HRESULT CGraphBuilder::OneSnapshot(const WCHAR* targetFile) {
    if (!m_pMediaDet)
        return E_INVALIDARG;
    if (!IsValidFileName(targetFile, FALSE))
        return E_INVALIDARG;
    if (!m_pMediaSeeking)
        return S_FALSE;
    double position = 0;
    const HRESULT hr = SnatchPosition(&position);
    if (FAILED(hr))
        return hr;
    return RunFrameSnatch(m_szFile, targetFile, position, m_VideoInfo.nWidth, m_VideoInfo.nHeight) ? S_OK
                                                                                                   : S_FALSE;
}

HRESULT CGraphBuilder::OneSnapshot() {
    if (!m_pMediaDet)
        return E_INVALIDARG;
    if (!m_pMediaSeeking)
        return S_FALSE;
    double position = 0;
    HRESULT hr = SnatchPosition(&position);
    if (FAILED(hr))
        return hr;
    char chosen[MAX_PATH];
    if (!AskSnapshotFileName("JPG", "JPG(*.JPG)\0*.JPG\0", chosen))
        return S_FALSE;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, chosen, -1, wide, MAX_PATH))
        return S_FALSE;

    // The frame-grabbing program writes BMP: let it write name.bmp, then convert that to name.jpg.
    std::wstring bitmapPath = wide;
    ReplaceExtension(bitmapPath, L".jpg", L".bmp");
    RunFrameSnatch(m_szFile, bitmapPath.c_str(), position, m_VideoInfo.nWidth, m_VideoInfo.nHeight);

    Gdiplus::GpImage* image = nullptr;
    if (Gdiplus::DllExports::GdipLoadImageFromFile(bitmapPath.c_str(), &image) != Gdiplus::Ok || !image)
        return S_FALSE;
    std::wstring jpegPath = bitmapPath;
    ReplaceExtension(jpegPath, L".bmp", L".jpg");
    CLSID encoder = CLSID_NULL;
    GetEncoderClsid(L"image/jpeg", &encoder);
    const Gdiplus::Status saved =
        Gdiplus::DllExports::GdipSaveImageToFile(image, jpegPath.c_str(), &encoder, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(image);
    if (saved != Gdiplus::Ok)
        return S_FALSE; // the BMP stays
    if (jpegPath != bitmapPath)
        DeleteFileW(bitmapPath.c_str());
    return S_OK;
}
