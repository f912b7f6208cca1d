// What kind of file the reader was given: the byte-level recognition of the core over the file, and
// the trial graph when the bytes say nothing.
#include <memory>
#include <vector>

#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderClsids.h"
#include "ReaderGraphParts.h"
#include "media_kind.h"

namespace {

// The file's bytes for the core's walks; 64-bit positions.
class FileByteSource : public qelreader::ByteSource {
public:
    explicit FileByteSource(const char* path)
        : file_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        LARGE_INTEGER size = {};
        if (Opened() && GetFileSizeEx(file_, &size))
            size_ = static_cast<uint64_t>(size.QuadPart);
    }
    ~FileByteSource() override {
        if (Opened())
            CloseHandle(file_);
    }
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* out, size_t count) override {
        if (!Opened() || count > 0x7FFFFFFF)
            return false;
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        return SetFilePointerEx(file_, position, nullptr, FILE_BEGIN) &&
               ReadFile(file_, out, static_cast<DWORD>(count), &read, nullptr) && read == count;
    }

private:
    HANDLE file_;
    uint64_t size_ = 0;
};

bool IsDvSubtype(const GUID& subtype) {
    static const DWORD kDv[] = {MAKEFOURCC('d', 'v', 's', 'd'), MAKEFOURCC('d', 'v', 'h', 'd'), MAKEFOURCC('d', 'v', 's', 'l')};
    for (DWORD code : kDv)
        if (subtype.Data1 == code && subtype.Data2 == 0x0000 && subtype.Data3 == 0x0010)
            return true;
    return false;
}

// The kind an AVI Splitter of the trial graph implies: 3 for DV video, 2 for interleaved DV only, else 4.
int KindBehindAviSplitter(IBaseFilter* splitter) {
    CGraphHelper& helper = ReaderGraphHelper();
    qel::ComPtr<IPin> video = qel::TakeOver(helper.FindPinByMediaType(splitter, PINDIR_OUTPUT, &MEDIATYPE_Video, nullptr, FALSE));
    if (video) {
        AM_MEDIA_TYPE type = {};
        if (SUCCEEDED(video->ConnectionMediaType(&type))) {
            const bool dv = IsDvSubtype(type.subtype);
            readerparts::FreeMediaType(type);
            if (dv)
                return qelreader::kKindAviDv;
        }
        return qelreader::kKindAviAudioOnly;
    }
    qel::ComPtr<IPin> interleaved =
        qel::TakeOver(helper.FindPinByMediaType(splitter, PINDIR_OUTPUT, &MEDIATYPE_Interleaved, nullptr, FALSE));
    return interleaved ? qelreader::kKindAviInterleavedDv : qelreader::kKindAviAudioOnly;
}

} // namespace

int CMediaFrameReader::ReadAviHeader(const char* path, AviVideoTiming* video) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
    FileByteSource file(length > 0 && length < MAX_PATH ? shortPath : path);
    if (!file.Opened())
        return 0;
    qelreader::AviVideoStream stream;
    const int result = qelreader::ParseAviHeader(file, video ? &stream : nullptr);
    if (video) {
        video->scale = stream.scale;
        video->rate = stream.rate;
    }
    return result;
}

int CMediaFrameReader::CheckFileType(const char* path) {
    if (qelreader::IsWindowsMediaPath(path))
        return qelreader::kKindWindowsMedia;
    const int avi = qelreader::KindFromAviHeader(ReadAviHeader(path, nullptr));
    if (avi != qelreader::kKindUnknown)
        return avi;
    FileByteSource file(path);
    return file.Opened() ? qelreader::RecogniseFileKind(path, file) : qelreader::kKindUnknown;
}

int CMediaFrameReader::CheckFileTypeByGraph(const char* path) {
    CGraphHelper& helper = ReaderGraphHelper();
    qel::ComPtr<IGraphBuilder> graph;
    HRESULT hr = CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(graph.GetAddressOf()));
    if (FAILED(hr)) {
        helper.Log("Error %x: CoCreateInstance IGraphBuilder Interface failed", hr);
        return 0;
    }
    qel::ComPtr<IBaseFilter> videoNull = readerparts::CreateFilter(qelclsid::kNullRenderer);
    if (!videoNull) {
        helper.Log("Error %x: CoCreateInstance null render for video failed", E_FAIL);
        return 0;
    }
    if (FAILED(hr = graph->AddFilter(videoNull.Get(), L"Video Null Render"))) {
        helper.Log("Error %x: Cannot add the null render for video into graph", hr);
        return 0;
    }
    qel::ComPtr<IBaseFilter> audioNull = readerparts::CreateFilter(qelclsid::kNullRenderer);
    if (!audioNull) {
        helper.Log("Error %x: CoCreateInstance null render for audio failed", E_FAIL);
        return 0;
    }
    if (FAILED(hr = graph->AddFilter(audioNull.Get(), L"Audio Null Render"))) {
        helper.Log("Error %x: Cannot add the null render for audio into graph", hr);
        return 0;
    }
    struct Candidate {
        const GUID* clsid;
        const wchar_t* name;
    };
    const Candidate candidates[] = {{&qelclsid::kAviSplitter, L"AVI Splitter"},
                                    {&qelclsid::kDvSplitter, L"DV Splitter"},
                                    {&qelclsid::kMpeg1Splitter, L"Microsoft MPEG1 Splitter"},
                                    {&qelclsid::kOutsideTsSplitter, L"NewSoft MPEG TS Splitter"}};
    for (const Candidate& candidate : candidates)
        if (qel::ComPtr<IBaseFilter> filter = readerparts::CreateFilter(*candidate.clsid))
            graph->AddFilter(filter.Get(), candidate.name);
    if (qel::ComPtr<IBaseFilter> outside = readerparts::CreateFilter(qelclsid::kOutsideMpeg2Splitter))
        graph->AddFilter(outside.Get(), L"NewSoft MPEG2 Splitter");
    else if (qel::ComPtr<IBaseFilter> platform = readerparts::CreateFilter(qelclsid::kMpeg2Splitter))
        graph->AddFilter(platform.Get(), L"Microsoft MPEG2 Splitter");

    std::vector<wchar_t> wide(MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), MAX_PATH);
    wide[MAX_PATH - 1] = 0;
    int kind = 0;
    qel::ComPtr<IBaseFilter> source;
    if (FAILED(hr = graph->RenderFile(wide.data(), nullptr))) {
        helper.Log("Error %x: xCheckFileTypeByGraph RenderFile failed", hr);
    } else {
        helper.RemoveUnconnectedFilters(graph.Get());
        source = qel::TakeOver(helper.FindSourceFilter(graph.Get()));
        if (!source)
            helper.Log("xCheckFileTypeByGraph cannot find the source filter");
    }
    if (source) {
        auto inGraph = [&](REFCLSID clsid) { return qel::TakeOver(helper.FindFilterByClsid(graph.Get(), clsid)); };
        if (readerparts::HasClass(source.Get(), qelclsid::kWmAsfReader) || readerparts::HasClass(source.Get(), qelclsid::kWindowsMediaSource))
            kind = qelreader::kKindWindowsMedia;
        else if (inGraph(qelclsid::kDvSplitter))
            kind = qelreader::kKindAviInterleavedDv;
        else if (qel::ComPtr<IBaseFilter> avi = inGraph(qelclsid::kAviSplitter))
            kind = KindBehindAviSplitter(avi.Get());
        else if (inGraph(qelclsid::kMpeg1Splitter))
            kind = qelreader::kKindMpeg1;
        else if (inGraph(qelclsid::kOutsideMpeg2Splitter) || inGraph(qelclsid::kMpeg2Splitter))
            kind = qelreader::kKindMpeg2;
        else if (inGraph(qelclsid::kOutsideTsSplitter))
            kind = qelreader::kKindTransportStream;
        helper.RemoveDownstream(graph.Get(), source.Get());
        graph->RemoveFilter(source.Get());
    }
    helper.RemoveUnconnectedFilters(graph.Get());
    return kind;
}

HRESULT CMediaFrameReader::RecogniseForBuild(const char* path) {
    if (kind_ != 0)
        return S_OK;
    kind_ = CheckFileType(path);
    if (kind_ == 0)
        kind_ = CheckFileTypeByGraph(path);
    if (kind_ != qelreader::kKindWindowsMedia)
        return S_OK;
    BOOL seekable = seekable_;
    const HRESULT hr = QuerySeekable(path, &seekable);
    if (hr == ERROR_CANT_ACCESS_FILE) {
        ReaderGraphHelper().Log("Error: File %s has Digital Rights Mangerment", path);
        return hr;
    }
    if (hr == S_OK) {
        seekable_ = seekable;
        if (!seekable) {
            ReaderGraphHelper().Log("Error: File %s cannot seek", path);
            return STG_E_SEEKERROR;
        }
    }
    // Any other failure of the query leaves the file as seekable as it was.
    return S_OK;
}
