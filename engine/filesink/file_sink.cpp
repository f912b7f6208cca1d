#include "file_sink.h"

#include "avi_recovery.h"
#include "kept_header.h"
#include "riff_words.h"
#include "qeldshow/com_ptr.h"
#include "qeldshow/input_pin.h"
#include "qeldshow/media_type.h"

#include <cstddef>
#include <new>
#include <vector>

const CLSID CLSID_QelFileSink = {0x6b1c4e92, 0x3a57, 0x4d0e, {0x9c, 0x41, 0x7f, 0x2d, 0x8a, 0x0b, 0x5e, 0x13}};

namespace {

class CFileSink;

// A multiplexer writes its header and index only as it stops: a disk that fills before then leaves
// a file no reader opens. While the graph streams, the sink keeps back the room those closing writes
// need for what the file holds so far: the multiplexer's write buffer and the header and index blocks
// it skipped (well under 512 KB), and an index entry per frame, counted generously as 1/32 of the
// file. Growing writes that would reach into that reserve are refused; once the free space beyond
// it falls under a margin, the graph is told the disk is full, so the recording ends while the
// frames still in flight fit.
class ClosingReserve {
public:
    static constexpr ULONGLONG kFixed = 512 * 1024;
    static constexpr ULONGLONG kMargin = 4 * 1024 * 1024;

    enum class Room { Plenty, Short, None };

    static ULONGLONG For(ULONGLONG fileSize) { return kFixed + fileSize / 32; }
    static Room Judge(ULONGLONG freeBytes, ULONGLONG fileSize, ULONGLONG growth) {
        const ULONGLONG needed = growth + For(fileSize);
        if (freeBytes < needed)
            return Room::None;
        return freeBytes - needed < kMargin ? Room::Short : Room::Plenty;
    }
};

// The bytes of a 'LIST' 'movi' header that a write's data starts with (0: none).
ULONG MoviHeaderAhead(const void* data, ULONG length) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return length >= 12 && avirecovery::Get32(bytes) == avirecovery::kList &&
                   avirecovery::Get32(bytes + 8) == avirecovery::kMovi
               ? 12
               : 0;
}

// The folder a file lies in, as GetDiskFreeSpaceEx takes it (empty: the current folder).
std::wstring FolderOf(const std::wstring& file) {
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash + 1);
}

// The open capture file and its write position; every access holds the file lock.
class SinkFile {
public:
    ~SinkFile() { Close(); }

    HRESULT Open(const std::wstring& name) {
        CAutoLock lock(&lock_);
        if (handle_ != INVALID_HANDLE_VALUE)
            return S_OK;
        if (name.empty())
            return E_UNEXPECTED;
        // Readers (a size watcher, a player) may look while it grows.
        handle_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            return HRESULT_FROM_WIN32(GetLastError());
        position_ = 0;
        written_ = false;
        folder_ = FolderOf(name);
        refusing_ = false;
        diskFullSeen_ = false;
        diskFullTold_ = false;
        return S_OK;
    }
    void Close() {
        CAutoLock lock(&lock_);
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        position_ = 0;
        keepReserve_ = false;
        // Closed without a normal end: the provisional header stays for the repair.
        kept_.Clear();
    }
    // The recording ended normally: what the multiplexer wrote over its header goes to the disk, and
    // its later writes go there directly. A failure is the caller's to report.
    HRESULT EndRecording() {
        CAutoLock lock(&lock_);
        return PutKeptHeaderLocked();
    }
    // The streams the multiplexer writes, for the provisional header of this run (none: no header).
    void DescribeStreams(std::vector<avirecovery::StreamDescription> streams) {
        CAutoLock lock(&lock_);
        streams_ = std::move(streams);
    }
    // While streaming, growing writes leave the closing reserve alone; once stopped, the closing
    // writes may use it.
    void KeepReserve(bool keep) {
        CAutoLock lock(&lock_);
        keepReserve_ = keep;
    }
    // True once for each run in which the disk came near full.
    bool TakeDiskFullNotice() {
        CAutoLock lock(&lock_);
        if (!diskFullSeen_ || diskFullTold_)
            return false;
        diskFullTold_ = true;
        return true;
    }
    bool IsOpen() {
        CAutoLock lock(&lock_);
        return handle_ != INVALID_HANDLE_VALUE;
    }

    HRESULT WriteAt(ULONGLONG offset, const void* data, ULONG length, ULONG* written) {
        CAutoLock lock(&lock_);
        position_ = offset;
        return WriteHere(data, length, written);
    }
    HRESULT WriteHere(const void* data, ULONG length, ULONG* written) {
        CAutoLock lock(&lock_);
        if (written)
            *written = 0;
        if (handle_ == INVALID_HANDLE_VALUE)
            return E_UNEXPECTED;
        if (keepReserve_) {
            const HRESULT room = CheckRoomLocked(length);
            if (FAILED(room))
                return room;
        }
        if (!written_ && position_ > 0) {
            // The run's first write lands past a gap (through a sample or the stream alike). The data
            // starts there, or behind the 'movi' list header a multiplexer may write first: the
            // provisional header ends with its own, in the same place.
            const HRESULT hr = WriteProvisionalHeaderLocked(position_ + MoviHeaderAhead(data, length));
            if (FAILED(hr))
                return hr;
        }
        // What lands in front of the data is kept; the rest of the write goes on to the disk.
        size_t taken = 0;
        if (!kept_.Take(position_, static_cast<const std::uint8_t*>(data), length, &taken))
            return E_OUTOFMEMORY;
        position_ += taken;
        if (written)
            *written = static_cast<ULONG>(taken);
        if (taken == length)
            return S_OK;
        data = static_cast<const BYTE*>(data) + taken;
        length -= static_cast<ULONG>(taken);
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(position_);
        if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN))
            return HRESULT_FROM_WIN32(GetLastError());
        DWORD done = 0;
        if (!WriteFile(handle_, data, length, &done, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
                diskFullSeen_ = true;
            return HRESULT_FROM_WIN32(error);
        }
        position_ += done;
        written_ = true;
        if (written)
            *written += done;
        if (done != length)
            diskFullSeen_ = true;
        return done == length ? S_OK : STG_E_MEDIUMFULL;
    }
    HRESULT ReadHere(void* data, ULONG length, ULONG* read) {
        CAutoLock lock(&lock_);
        if (read)
            *read = 0;
        if (handle_ == INVALID_HANDLE_VALUE)
            return E_UNEXPECTED;
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(position_);
        if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN))
            return HRESULT_FROM_WIN32(GetLastError());
        DWORD done = 0;
        if (!ReadFile(handle_, data, length, &done, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        kept_.Overlay(position_, static_cast<std::uint8_t*>(data), done);
        position_ += done;
        if (read)
            *read = done;
        return done == length ? S_OK : S_FALSE;
    }
    HRESULT Seek(LONGLONG move, DWORD origin, ULONGLONG* now) {
        CAutoLock lock(&lock_);
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position_); break;
        case STREAM_SEEK_END: {
            ULONGLONG size = 0;
            const HRESULT hr = SizeLocked(&size);
            if (FAILED(hr))
                return hr;
            base = static_cast<LONGLONG>(size);
            break;
        }
        default: return STG_E_INVALIDFUNCTION;
        }
        if (base + move < 0)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<ULONGLONG>(base + move);
        if (now)
            *now = position_;
        return S_OK;
    }
    HRESULT SetSize(ULONGLONG size) {
        CAutoLock lock(&lock_);
        if (handle_ == INVALID_HANDLE_VALUE)
            return E_UNEXPECTED;
        if (size < kept_.End()) {
            // Cut into its header: the multiplexer gives up what it recorded, and the file is its own.
            const HRESULT hr = PutKeptHeaderLocked();
            if (FAILED(hr))
                return hr;
        }
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(size);
        if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_))
            return HRESULT_FROM_WIN32(GetLastError());
        return S_OK;
    }
    HRESULT Size(ULONGLONG* size) {
        CAutoLock lock(&lock_);
        return SizeLocked(size);
    }
    HRESULT Flush() {
        CAutoLock lock(&lock_);
        if (handle_ == INVALID_HANDLE_VALUE)
            return E_UNEXPECTED;
        return FlushFileBuffers(handle_) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }

private:
    // A multiplexer that starts its data past a gap leaves the gap for the header it writes as it
    // stops: until then a provisional header there keeps the file recoverable after a crash or a
    // kill (see avi_recovery.h). The multiplexer's own header replaces it whole at the stop.
    HRESULT WriteProvisionalHeaderLocked(ULONGLONG dataStart) {
        written_ = true; // once a run, whether or not the streams can be described
        const std::vector<std::uint8_t> header = avirecovery::ProvisionalHeader(streams_, dataStart);
        if (header.empty())
            return S_OK;
        const HRESULT hr = WriteWholeLocked(0, header.data(), header.size());
        if (SUCCEEDED(hr))
            kept_.Start(dataStart);
        return hr;
    }

    // The kept bytes to the disk, each run where the multiplexer wrote it; keeping ends either way.
    HRESULT PutKeptHeaderLocked() {
        HRESULT result = S_OK;
        if (handle_ != INVALID_HANDLE_VALUE) {
            for (const auto& run : kept_.Runs()) {
                const HRESULT hr = WriteWholeLocked(run.first, run.second.data(), run.second.size());
                if (FAILED(hr) && SUCCEEDED(result))
                    result = hr;
            }
        }
        kept_.Clear();
        return result;
    }

    // Writes inside the file (no growth), apart from the write position.
    HRESULT WriteWholeLocked(ULONGLONG offset, const void* data, size_t length) {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        DWORD done = 0;
        if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) ||
            !WriteFile(handle_, data, static_cast<DWORD>(length), &done, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        return done == length ? S_OK : STG_E_MEDIUMFULL;
    }

    // Refuses a growing write that would reach into the closing reserve; after one refusal every
    // later growing write of the run is refused too, so the frames the file holds stay whole.
    HRESULT CheckRoomLocked(ULONG length) {
        ULONGLONG size = 0;
        HRESULT hr = SizeLocked(&size);
        if (FAILED(hr))
            return hr;
        const ULONGLONG end = position_ + length;
        if (end <= size)
            return S_OK;
        if (refusing_)
            return STG_E_MEDIUMFULL;
        ULARGE_INTEGER available = {};
        if (!GetDiskFreeSpaceExW(folder_.empty() ? nullptr : folder_.c_str(), &available, nullptr, nullptr))
            return S_OK;   // the disk cannot tell: the write itself will
        switch (ClosingReserve::Judge(available.QuadPart, size, end - size)) {
        case ClosingReserve::Room::None:
            refusing_ = true;
            diskFullSeen_ = true;
            return STG_E_MEDIUMFULL;
        case ClosingReserve::Room::Short:
            diskFullSeen_ = true;
            return S_OK;
        case ClosingReserve::Room::Plenty:
            return S_OK;
        }
        return S_OK;
    }

    HRESULT SizeLocked(ULONGLONG* size) {
        if (handle_ == INVALID_HANDLE_VALUE)
            return E_UNEXPECTED;
        LARGE_INTEGER value;
        if (!GetFileSizeEx(handle_, &value))
            return HRESULT_FROM_WIN32(GetLastError());
        *size = static_cast<ULONGLONG>(value.QuadPart);
        return S_OK;
    }

    CCritSec lock_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    ULONGLONG position_ = 0;
    bool written_ = false; // anything written in this run
    std::vector<avirecovery::StreamDescription> streams_;
    KeptHeader kept_; // what the multiplexer wrote over the provisional header in this run
    std::wstring folder_;
    bool keepReserve_ = false;
    bool refusing_ = false;
    bool diskFullSeen_ = false;
    bool diskFullTold_ = false;
};

class CFileSinkPin : public CBaseInputPin, public IStream {
public:
    CFileSinkPin(CBaseFilter* filter, CCritSec* lock, HRESULT* result, SinkFile* file)
        : CBaseInputPin("file sink input", filter, lock, result, L"in"), file_(file) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CBaseInputPin::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CBaseInputPin::Release(); }
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IStream || riid == IID_ISequentialStream)
            return GetInterface(static_cast<IStream*>(this), ppv);
        return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT CheckMediaType(const CMediaType* type) override { return type ? S_OK : E_POINTER; }

    // The streams of the filter upstream (a multiplexer): the formats of its connected inputs, in
    // its pin order. Empty when one of them cannot be described.
    std::vector<avirecovery::StreamDescription> UpstreamStreams() {
        std::vector<avirecovery::StreamDescription> streams;
        PIN_INFO info = {};
        if (!m_Connected || FAILED(m_Connected->QueryPinInfo(&info)) || !info.pFilter)
            return streams;
        const qel::ComPtr<IBaseFilter> upstream = qel::TakeOver(info.pFilter);
        qel::ComPtr<IEnumPins> pins;
        if (FAILED(upstream->EnumPins(pins.GetAddressOf())) || !pins)
            return streams;
        for (qel::ComPtr<IPin> pin; pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK;) {
            PIN_DIRECTION direction = PINDIR_OUTPUT;
            AM_MEDIA_TYPE type = {};
            if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_INPUT ||
                pin->ConnectionMediaType(&type) != S_OK)
                continue;
            const bool described = Describe(type, &streams);
            FreeMediaType(type);
            if (!described)
                return {};
        }
        return streams;
    }

    STDMETHODIMP Receive(IMediaSample* sample) override {
        CAutoLock streaming(&receiveLock_);
        // A multiplexer stops after us and hands over the samples it still holds: they belong in
        // the file as much as its late header writes do.
        HRESULT hr = IsStopped() && file_->IsOpen() ? (sample ? S_OK : E_POINTER) : CBaseInputPin::Receive(sample);
        if (hr != S_OK)
            return hr;
        BYTE* data = nullptr;
        hr = sample->GetPointer(&data);
        if (FAILED(hr))
            return hr;
        const long length = sample->GetActualDataLength();
        if (length <= 0)
            return S_OK;
        REFERENCE_TIME start = 0, stop = 0;
        if (SUCCEEDED(sample->GetTime(&start, &stop)) && start >= 0)
            hr = file_->WriteAt(static_cast<ULONGLONG>(start), data, static_cast<ULONG>(length), nullptr);
        else
            hr = file_->WriteHere(data, static_cast<ULONG>(length), nullptr);
        if (FAILED(hr))
            SetRunTimeError();
        if (!TellDiskFull() && FAILED(hr))
            m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        return hr;
    }
    STDMETHODIMP EndOfStream() override {
        CAutoLock streaming(&receiveLock_);
        HRESULT hr = CBaseInputPin::EndOfStream();
        if (hr != S_OK)
            return hr;
        hr = file_->EndRecording();
        if (FAILED(hr)) {
            m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
            return hr;
        }
        // The end of the only stream is the end of the graph's playback here.
        m_pFilter->NotifyEvent(EC_COMPLETE, S_OK, 0);
        return S_OK;
    }
    HRESULT BreakConnect() override {
        file_->Close();
        return CBaseInputPin::BreakConnect();
    }

    // ISequentialStream
    STDMETHODIMP Read(void* data, ULONG length, ULONG* read) override {
        if (!data)
            return STG_E_INVALIDPOINTER;
        return file_->ReadHere(data, length, read);
    }
    STDMETHODIMP Write(const void* data, ULONG length, ULONG* written) override {
        if (!data)
            return STG_E_INVALIDPOINTER;
        const HRESULT hr = file_->WriteHere(data, length, written);
        TellDiskFull();
        return hr;
    }
    // IStream
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* now) override {
        ULONGLONG position = 0;
        const HRESULT hr = file_->Seek(move.QuadPart, origin, &position);
        if (SUCCEEDED(hr) && now)
            now->QuadPart = position;
        return hr;
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override { return file_->SetSize(size.QuadPart); }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return file_->Flush(); }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        ZeroMemory(stat, sizeof *stat);
        stat->type = STGTY_STREAM;
        ULONGLONG size = 0;
        const HRESULT hr = file_->Size(&size);
        if (FAILED(hr))
            return hr;
        stat->cbSize.QuadPart = size;
        return S_OK;
    }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

private:
    static bool Describe(const AM_MEDIA_TYPE& type, std::vector<avirecovery::StreamDescription>* streams) {
        avirecovery::StreamDescription stream;
        if (type.majortype == MEDIATYPE_Video && type.formattype == FORMAT_VideoInfo && type.pbFormat &&
            type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
            const BYTE* header = reinterpret_cast<const BYTE*>(&info->bmiHeader);
            stream.format.assign(header, static_cast<const BYTE*>(type.pbFormat + type.cbFormat));
            stream.frameTime = info->AvgTimePerFrame;
        } else if (type.majortype == MEDIATYPE_Audio && type.formattype == FORMAT_WaveFormatEx && type.pbFormat &&
                   type.cbFormat >= 16) {
            stream.video = false;
            stream.format.assign(type.pbFormat, type.pbFormat + type.cbFormat);
        } else {
            return false;
        }
        streams->push_back(std::move(stream));
        return true;
    }

    // The graph hears once a run that the disk is (nearly) full: the recording should end now.
    bool TellDiskFull() {
        if (!file_->TakeDiskFullNotice())
            return false;
        m_pFilter->NotifyEvent(EC_ERRORABORT, HRESULT_FROM_WIN32(ERROR_DISK_FULL), 0);
        return true;
    }

    SinkFile* file_;
    CCritSec receiveLock_;
};

class CFileSink : public CBaseFilter, public IFileSinkFilter, public IAMFilterMiscFlags {
public:
    explicit CFileSink(HRESULT* result)
        : CBaseFilter("file sink", nullptr, &lock_, CLSID_QelFileSink), pin_(this, &lock_, result, &file_) {}

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IFileSinkFilter)
            return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
        if (riid == IID_IAMFilterMiscFlags)
            return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int index) override { return index == 0 ? &pin_ : nullptr; }

    STDMETHODIMP Pause() override {
        CAutoLock lock(&lock_);
        if (IsStopped()) {
            // A new run writes a new file: what an earlier run wrote is complete and stays.
            file_.Close();
            const HRESULT hr = file_.Open(name_);
            if (FAILED(hr))
                return hr;
            file_.KeepReserve(true);
            file_.DescribeStreams(pin_.UpstreamStreams());
        }
        return CBaseFilter::Pause();
    }
    STDMETHODIMP Stop() override {
        CAutoLock lock(&lock_);
        file_.KeepReserve(false);   // the closing writes follow
        const HRESULT ended = file_.EndRecording();
        const HRESULT hr = CBaseFilter::Stop();
        return FAILED(ended) ? ended : hr;
    }

    // IAMFilterMiscFlags: the graph waits for this filter's end of stream.
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* type) override {
        if (!name)
            return E_POINTER;
        if (!*name)
            return E_INVALIDARG;
        CAutoLock lock(&lock_);
        if (!IsStopped())
            return VFW_E_WRONG_STATE;
        file_.Close();
        name_ = name;
        type_.Clear();
        if (type)
            return type_.Set(*type);
        return S_OK;
    }
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type) override {
        if (!name)
            return E_POINTER;
        CAutoLock lock(&lock_);
        *name = nullptr;
        if (type)
            ZeroMemory(type, sizeof *type);
        if (name_.empty())
            return E_FAIL;
        const size_t bytes = (name_.size() + 1) * sizeof(WCHAR);
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!*name)
            return E_OUTOFMEMORY;
        CopyMemory(*name, name_.c_str(), bytes);
        if (type && type_.IsValid())
            return CopyMediaType(type, &type_);
        return S_OK;
    }

private:
    CCritSec lock_;
    SinkFile file_;   // before the pin, which uses it
    CFileSinkPin pin_;
    std::wstring name_;
    CMediaType type_;
};

} // namespace

HRESULT CreateQelFileSink(IBaseFilter** sink) {
    if (!sink)
        return E_POINTER;
    *sink = nullptr;
    HRESULT hr = S_OK;
    CFileSink* filter = new (std::nothrow) CFileSink(&hr);
    if (!filter)
        return E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete filter;
        return hr;
    }
    return filter->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(sink));
}
