// Reading one picture or clip for the album or the viewer. In the test build every reader open is told
// to the album's test seam (AlbumTestSeams.h), so that a test can count the tries.
#include "ThumbWork.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <QelReader.h>
#include <qeldshow/com_ptr.h>

#include "AlbumRules.h"
#include "ThumbMaker.h"
#ifdef QEL_TEST_SEAMS
#include "AlbumTestSeams.h"
#endif

namespace {

// A scaled copy of whole at thumbnail size; null when the scaling fails.
CImage* ScaledThumb(CImage& whole) {
    if (!whole.Width() || !whole.Height())
        return nullptr;
    return whole.GetThumbnail(kThumbImageWidth, kThumbImageHeight, Gdiplus::InterpolationModeHighQualityBilinear,
                              PixelFormat24bppRGB);
}

// The reader open on path with the clip's facts in result; null when it could not be had or refused.
qel::ComPtr<IMediaFrameReader> OpenClip(const std::string& path, ThumbResult* result) {
#ifdef QEL_TEST_SEAMS
    RunThumbWorkHook(path);
    NoteClipTry(path.c_str());
#endif
    qel::ComPtr<IMediaFrameReader> reader;
    if (FAILED(::CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFrameReader,
                                  reinterpret_cast<void**>(reader.GetAddressOf()))) ||
        !reader)
        return nullptr;
    if (reader->OpenFile(path.c_str()) != S_OK)
        return nullptr;
    result->opened = true;
    VIDEOINFO format = {};
    reader->GetVideoFormat(&format);
    result->framesPerSecond =
        format.AvgTimePerFrame > 0 ? 10000000.0 / static_cast<double>(format.AvgTimePerFrame) : 0.0;
    reader->get_Duration(&result->seconds, 3);
    result->hasAudio = reader->HasAudio() == S_OK;
    return reader;
}

// The frame at index (0 or more), with its size noted in result; null when none could be read.
HGLOBAL ReadFrame(IMediaFrameReader* reader, int index, ThumbResult* result) {
    HGLOBAL frame = nullptr;
    if (FAILED(reader->ReadVideoFrame(-static_cast<double>(index), &frame)) || !frame)
        return nullptr;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(frame));
    if (!header) {
        ::GlobalFree(frame);
        return nullptr;
    }
    result->frameWidth = header->biWidth;
    result->frameHeight = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    ::GlobalUnlock(frame);
    return frame;
}

} // namespace

ThumbResult* MakePictureThumb(const std::string& path) {
    auto* result = new ThumbResult;
    if (!EnterThumbGdiplus())
        return result;
#ifdef QEL_TEST_SEAMS
    RunThumbWorkHook(path);
#endif
    {
        CImage whole; // decoded whole only for the moment of scaling
        if (whole.SetBitmap(path.c_str()))
            result->thumb = ScaledThumb(whole);
    }
    LeaveThumbGdiplus();
    return result;
}

ThumbResult* MakeClipThumb(const std::string& path) {
    auto* result = new ThumbResult;
    qel::ComPtr<IMediaFrameReader> reader = OpenClip(path, result);
    if (!reader)
        return result;
    const INT64 frameCount = static_cast<INT64>(result->seconds * result->framesPerSecond);
    HGLOBAL frame = ReadFrame(reader.Get(), ThumbFrameIndex(frameCount), result);
    if (!frame)
        return result;
    if (auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(frame))) {
        if (EnterThumbGdiplus()) {
            {
                CImage whole(reinterpret_cast<const BITMAPINFO*>(header), DibBits(header));
                result->thumb = ScaledThumb(whole);
            }
            LeaveThumbGdiplus();
        }
        ::GlobalUnlock(frame);
    }
    ::GlobalFree(frame);
    return result;
}

ThumbResult* MakeClipStill(const std::string& path) {
    auto* result = new ThumbResult;
    qel::ComPtr<IMediaFrameReader> reader = OpenClip(path, result);
    if (!reader)
        return result;
    result->frame = ReadFrame(reader.Get(), 0, result);
    result->reader = reader.Detach();
    return result;
}
