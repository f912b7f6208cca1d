// Capture formats of the camera's capture pin, the camera's picture controls, the audio format chooser
// and the capture-time resolution switch.
#include "LiveCaptureInternal.h"

#include <cstdlib>
#include <mmreg.h>
#include <msacm.h>

namespace {

VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE* type) {
    if (!type || type->formattype != FORMAT_VideoInfo || !type->pbFormat ||
        type->cbFormat < sizeof(VIDEOINFOHEADER))
        return nullptr;
    return reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
}

// Bytes of a frame of the format's bit depth at the given size.
long FrameBytes(const BITMAPINFOHEADER& header, int width, int height) {
    return static_cast<long>(static_cast<LONGLONG>(header.biBitCount) * header.biPlanes * width *
                             std::abs(height) / 8);
}

} // namespace

void CLiveCapture::WixFreeMediaType(AM_MEDIA_TYPE* type) {
    if (type)
        FreeMediaTypeFields(*type);
}

void CLiveCapture::WixDeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return;
    WixFreeMediaType(type);
    CoTaskMemFree(type);
}

BOOL CLiveCapture::GetVideoFormatNum(int* count) {
    if (!count || !m_pVideoConfig)
        return FALSE;
    int size = 0;
    if (FAILED(m_pVideoConfig->GetNumberOfCapabilities(count, &size))) {
        *count = 0;
        return FALSE;
    }
    return TRUE;
}

// One capability (current 0) or the current format (current 1) into the record.
BOOL CLiveCapture::xReadFormat(BOOL current, int index, _LiteCapVideoInfo* info) {
    AM_MEDIA_TYPE* type = nullptr;
    HRESULT hr;
    if (current) {
        hr = m_pVideoConfig->GetFormat(&type);
    } else {
        int count = 0, size = 0;
        if (FAILED(m_pVideoConfig->GetNumberOfCapabilities(&count, &size)) || index < 0 || index >= count)
            return FALSE;
        // The capability block is as large as the pin says, never smaller than the video one.
        const int capsSize = size > static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS))
                                 ? size
                                 : sizeof(VIDEO_STREAM_CONFIG_CAPS);
        BYTE* caps = new BYTE[capsSize]();
        hr = m_pVideoConfig->GetStreamCaps(index, &type, caps);
        delete[] caps;
    }
    VIDEOINFOHEADER* video =
        (SUCCEEDED(hr) && type && type->majortype == MEDIATYPE_Video) ? VideoInfoOf(type) : nullptr;
    if (!video) {
        info->nWidth = 0;
        WixDeleteMediaType(type);
        return FALSE;
    }
    info->nWidth = video->bmiHeader.biWidth;
    info->nHeight = video->bmiHeader.biHeight;
    // A format without a frame time keeps the rate the engine has.
    int frameRate = m_nFrameRate;
    if (video->AvgTimePerFrame > 0)
        frameRate = static_cast<int>(10000000LL / video->AvgTimePerFrame);
    info->nFrameRate = frameRate;
    info->nBitCount = video->bmiHeader.biBitCount;
    info->dwBitRate = video->dwBitRate;
    info->subtype = type->subtype;
    if (!current && frameRate > 0)
        m_nFrameRate = frameRate;
    WixDeleteMediaType(type);
    return TRUE;
}

BOOL CLiveCapture::GetVideoFormat(int index, _LiteCapVideoInfo* info) {
    if (!info || !m_pVideoConfig)
        return FALSE;
    return xReadFormat(FALSE, index, info);
}

BOOL CLiveCapture::GetVideoInfo(_LiteCapVideoInfo* info) {
    if (!info || !m_pVideoConfig)
        return FALSE;
    return xReadFormat(TRUE, 0, info);
}

BOOL CLiveCapture::SetVideoFormat(_LiteCapVideoInfo* info) {
    if (!info || !m_pVideoConfig || info->nFrameRate <= 0)
        return FALSE;
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    if (m_state != LIVE_STOPPED)
        return FALSE;
    if (m_bPreviewBuilt || m_bCaptureBuilt)
        TearDownGraph();
    AM_MEDIA_TYPE* type = nullptr;
    HRESULT hr = m_pVideoConfig->GetFormat(&type);
    VIDEOINFOHEADER* video = SUCCEEDED(hr) ? VideoInfoOf(type) : nullptr;
    if (video) {
        type->subtype = info->subtype;
        video->dwBitRate = info->dwBitRate;
        video->AvgTimePerFrame = FrameRateToAvgTime(info->nFrameRate);
        m_nFrameRate = info->nFrameRate;
        video->bmiHeader.biWidth = info->nWidth;
        video->bmiHeader.biHeight = info->nHeight;
        // The depth stays the current format's: the record's bit count is not applied.
        const long bytes = FrameBytes(video->bmiHeader, info->nWidth, info->nHeight);
        type->lSampleSize = static_cast<ULONG>(bytes);
        video->bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
        hr = m_pVideoConfig->SetFormat(type);
    } else if (SUCCEEDED(hr)) {
        hr = E_FAIL;
    }
    WixDeleteMediaType(type);
    // The preview comes back whether or not the camera took the format.
    if (m_bWantPreview && BuildPreviewGraph())
        StartPreview();
    return hr == S_OK;
}

BOOL CLiveCapture::SetVideoSetting(VideoProcAmpProperty property, long value) {
    if (!m_pProcAmp)
        return FALSE;
    return m_pProcAmp->Set(property, value, VideoProcAmp_Flags_Manual) == S_OK;
}

BOOL CLiveCapture::GetVideoSetting(VideoProcAmpProperty property, long* value, long* min, long* max,
                                   long* step, long* defaultValue) {
    if (!value || !min || !max || !step || !defaultValue || !m_pProcAmp)
        return FALSE;
    long flags = 0;
    if (m_pProcAmp->GetRange(property, min, max, step, defaultValue, &flags) != S_OK)
        return FALSE;
    return m_pProcAmp->Get(property, value, &flags) == S_OK;
}

BOOL CLiveCapture::CallACMAudioFormatDlg() {
    if (!m_pAudioConfig)
        return FALSE;
    DWORD largest = 0;
    acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &largest);
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(m_pAudioConfig->GetFormat(&type)) || !type)
        return FALSE;
    const WAVEFORMATEX* current = reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat);
    const DWORD currentSize = (current && type->cbFormat >= sizeof(WAVEFORMATEX))
                                  ? sizeof(WAVEFORMATEX) + current->cbSize
                                  : type->cbFormat;
    const DWORD blockSize = largest > currentSize ? largest : currentSize;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize ? blockSize : sizeof(WAVEFORMATEX));
    WAVEFORMATEX* chosen = block ? static_cast<WAVEFORMATEX*>(GlobalLock(block)) : nullptr;
    if (chosen) {
        if (type->pbFormat)
            CopyMemory(chosen, type->pbFormat, currentSize < type->cbFormat ? currentSize : type->cbFormat);
        ACMFORMATCHOOSEA choose = {};
        choose.cbStruct = sizeof choose;
        choose.fdwStyle = ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT;
        choose.hwndOwner = m_hVideoWnd;
        choose.pwfx = chosen;
        choose.cbwfx = blockSize;
        choose.fdwEnum = ACM_FORMATENUMF_HARDWARE | ACM_FORMATENUMF_INPUT;
        if (acmFormatChooseA(&choose) == MMSYSERR_NOERROR) {
            // The chosen format may be larger than the current one: the media type gets a block of its size.
            const DWORD chosenSize = sizeof(WAVEFORMATEX) + chosen->cbSize;
            BYTE* format = static_cast<BYTE*>(CoTaskMemAlloc(chosenSize));
            if (format) {
                CopyMemory(format, chosen, chosenSize);
                if (type->pbFormat)
                    CoTaskMemFree(type->pbFormat);
                type->pbFormat = format;
                type->cbFormat = chosenSize;
                m_pAudioConfig->SetFormat(type);
            }
        }
        GlobalUnlock(block);
    }
    if (block)
        GlobalFree(block);
    WixDeleteMediaType(type);
    return TRUE;
}

BOOL CLiveCapture::xIsCaptureSourceSupportResolution(CSize size, VIDEO_STREAM_CONFIG_CAPS caps) {
    if (size.cx < caps.MinOutputSize.cx || size.cx > caps.MaxOutputSize.cx ||
        size.cy < caps.MinOutputSize.cy || size.cy > caps.MaxOutputSize.cy)
        return FALSE;
    if (caps.OutputGranularityX && (size.cx - caps.MinOutputSize.cx) % caps.OutputGranularityX)
        return FALSE;
    if (caps.OutputGranularityY && (size.cy - caps.MinOutputSize.cy) % caps.OutputGranularityY)
        return FALSE;
    return TRUE;
}

HRESULT CLiveCapture::xSetVideoFormatEx(IAMStreamConfig* config, int width, int height, DWORD compression,
                                        int /*unused*/, int* /*unusedOut*/, int applySize) {
    if (!config)
        return E_FAIL;
    int count = 0, size = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &size)) || size != sizeof(VIDEO_STREAM_CONFIG_CAPS) ||
        count <= 0)
        return E_FAIL;
    for (int i = 0; i < count; ++i) {
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        AM_MEDIA_TYPE* type = nullptr;
        if (FAILED(config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps))) || !type)
            continue;
        VIDEOINFOHEADER* video = VideoInfoOf(type);
        if (!video || video->bmiHeader.biCompression != compression) {
            WixDeleteMediaType(type);
            continue;
        }
        HRESULT hr = S_OK;
        if (applySize) {
            if (!xIsCaptureSourceSupportResolution(CSize(width, height), caps)) {
                hr = E_FAIL;
            } else {
                video->bmiHeader.biWidth = width;
                video->bmiHeader.biHeight = height;
                const long bytes = static_cast<long>(
                    (static_cast<LONGLONG>((width + 3) & ~3) * video->bmiHeader.biBitCount * height + 7) / 8);
                video->bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
                type->lSampleSize = static_cast<ULONG>(bytes);
                hr = config->SetFormat(type);
                if (FAILED(hr))
                    hr = E_FAIL;
            }
        }
        WixDeleteMediaType(type);
        return hr;
    }
    return E_FAIL;
}

BOOL CLiveCapture::xChangeReslution(int restore) {
    if (restore && !m_bResolutionLowered)
        return FALSE;
    if (!bIsCompatibilityFlip() || !m_pVideoConfig)
        return FALSE;
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(m_pVideoConfig->GetFormat(&type)) || !type)
        return FALSE;
    VIDEOINFOHEADER* video = VideoInfoOf(type);
    const bool sizeFits =
        video && (restore ? video->bmiHeader.biWidth == 640 : video->bmiHeader.biWidth > 640);
    if (!sizeFits) {
        WixDeleteMediaType(type);
        return FALSE;
    }
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    if (m_state != LIVE_STOPPED) {
        WixDeleteMediaType(type);
        return FALSE;
    }
    if (m_bPreviewBuilt || m_bCaptureBuilt)
        TearDownGraph();
    if (m_hr != S_OK) {
        WixDeleteMediaType(type);
        return FALSE;
    }
    BITMAPINFOHEADER& header = video->bmiHeader;
    HRESULT hr;
    if (restore) {
        header.biWidth = m_nSavedWidth;
        header.biHeight = m_nSavedHeight;
        const long bytes = FrameBytes(header, m_nSavedWidth, m_nSavedHeight);
        type->lSampleSize = static_cast<ULONG>(bytes);
        header.biSizeImage = static_cast<DWORD>(bytes);
        hr = m_pVideoConfig->SetFormat(type);
        m_bResolutionLowered = FALSE;
    } else {
        m_nSavedWidth = header.biWidth;
        m_nSavedHeight = header.biHeight;
        if (header.biWidth != 1280 && header.biWidth != 1024 && header.biWidth != 800) {
            WixDeleteMediaType(type);
            return TRUE;
        }
        header.biWidth = 640;
        header.biHeight = 480;
        const long bytes = FrameBytes(header, 640, 480);
        type->lSampleSize = static_cast<ULONG>(bytes);
        header.biSizeImage = static_cast<DWORD>(bytes);
        hr = m_pVideoConfig->SetFormat(type);
        m_bResolutionLowered = TRUE;
    }
    WixDeleteMediaType(type);
    return hr == S_OK;
}
