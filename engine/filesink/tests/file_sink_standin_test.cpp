// The sink behind a stand-in multiplexer that writes the AVI 2.0 layout as a multiplexer may while it
// records: it starts with its 'movi' list header, closes its first part mid-recording (the part's
// index behind its data, the next 'AVIX' part begun, its header rewritten with the sizes and a super
// index, in a write that reaches into the data) and reads its header back. Killed after that, the
// file still carries the provisional header and every frame comes back; stopped, the file is exactly
// what the multiplexer wrote.
#include "avi_recovery.h"
#include "file_sink.h"
#include "memory_file.h"
#include "riff_reader.h"
#include "test_filters.h"

#include "qeldshow/com_ptr.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMoviAt = 2048; // the multiplexer's 'LIST' 'movi'; its frames follow
constexpr std::uint32_t kFrameBytes = 1501;
constexpr int kFirstPartFrames = 6, kSecondPartFrames = 5;
const char kOwnTag[] = "QelR"; // the provisional header's name for itself
const wchar_t kFileVariable[] = L"QEL_STANDIN_FILE", kReadyVariable[] = L"QEL_STANDIN_READY";

void Append(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }
void Append32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void AppendChunk(Bytes& b, const char* id, std::uint32_t size, std::uint8_t fill) {
    Append(b, id);
    Append32(b, size);
    b.insert(b.end(), size + (size & 1), fill);
}
Bytes Slice(const Bytes& b, size_t from, size_t to) {
    to = std::min(to, b.size());
    return from < to ? Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to))
                     : Bytes();
}
Bytes FileBytes(const std::wstring& path) {
    Bytes bytes;
    rifftest::ReadAviFile(path, &bytes);
    return bytes;
}

// The multiplexer's writes through the sink's stream, with an image of every byte it wrote.
class StandInMultiplexer {
public:
    explicit StandInMultiplexer(IStream* stream) : stream_(stream) {}

    // The first part, closed, and the frames of the second.
    HRESULT RecordIntoTheSecondPart() {
        HRESULT hr = RecordFirstPart();
        if (SUCCEEDED(hr))
            hr = ClosePart();
        return SUCCEEDED(hr) ? Record(kSecondPartFrames) : hr;
    }
    // At its stop: the last part's sizes and the final header.
    HRESULT Finish() {
        Bytes riff, movi;
        const std::uint32_t partSize = static_cast<std::uint32_t>(image_.size() - firstPartEnd_ - 8);
        Append32(riff, partSize);
        Append32(movi, partSize - 12);
        HRESULT hr = WriteAt(firstPartEnd_ + 4, riff);
        if (SUCCEEDED(hr))
            hr = WriteAt(firstPartEnd_ + 16, movi);
        return SUCCEEDED(hr) ? WriteAt(0, Header()) : hr;
    }
    // Reads length bytes at offset back through the stream.
    Bytes ReadBack(std::uint64_t offset, ULONG length) {
        Bytes bytes(length);
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        ULONG read = 0;
        if (FAILED(stream_->Seek(to, STREAM_SEEK_SET, nullptr)) || FAILED(stream_->Read(bytes.data(), length, &read)))
            return {};
        bytes.resize(read);
        return bytes;
    }
    // Every byte it wrote, where it wrote it.
    const Bytes& Image() const { return image_; }

private:
    // Its 'movi' list header with the first frame in one write, then the rest of the part.
    HRESULT RecordFirstPart() {
        Bytes start;
        Append(start, "LIST");
        Append32(start, 0);
        Append(start, "movi");
        const HRESULT hr = WriteAt(kMoviAt, start);
        return FAILED(hr) ? hr : Record(kFirstPartFrames);
    }
    // Frames (with a standard index after every fourth) at the end of what it wrote.
    HRESULT Record(int frames) {
        for (int i = 0; i < frames; ++i) {
            Bytes chunk;
            AppendChunk(chunk, "00db", kFrameBytes, static_cast<std::uint8_t>(++frames_));
            if (frames_ % 4 == 0) {
                indexes_.push_back(static_cast<std::uint32_t>(image_.size() + chunk.size()));
                AppendChunk(chunk, "ix00", 24 + 8 * 4, 0x3C);
            }
            const HRESULT hr = WriteAt(image_.size(), chunk);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    }
    // The first part's index, the next part's headers, and the header with the sizes written, in
    // one write with the first frame's chunk header behind it.
    HRESULT ClosePart() {
        idx1At_ = static_cast<std::uint32_t>(image_.size());
        Bytes tail;
        AppendChunk(tail, "idx1", 16 * static_cast<std::uint32_t>(frames_), 0x11);
        firstPartEnd_ = static_cast<std::uint32_t>(image_.size() + tail.size());
        Append(tail, "RIFF");
        Append32(tail, 0);
        Append(tail, "AVIX");
        Append(tail, "LIST");
        Append32(tail, 0);
        Append(tail, "movi");
        HRESULT hr = WriteAt(image_.size(), tail);
        if (FAILED(hr))
            return hr;
        Bytes header = Header();
        const Bytes firstChunk = Slice(image_, kMoviAt + 12, kMoviAt + 20);
        header.insert(header.end(), firstChunk.begin(), firstChunk.end());
        return WriteAt(0, header);
    }
    // The first part's header up to its 'movi' list header: the sizes, the frames so far and a super
    // index that points at the standard indexes written so far.
    Bytes Header() const {
        Bytes hdrl;
        Append(hdrl, "hdrl");
        Append(hdrl, "avih");
        Append32(hdrl, 56);
        Bytes avih(56, 0);
        std::memcpy(&avih[16], &frames_, 4);
        hdrl.insert(hdrl.end(), avih.begin(), avih.end());
        Append(hdrl, "indx");
        Append32(hdrl, 24 + 16 * 8);
        Append32(hdrl, 4); // four words an entry
        Append32(hdrl, static_cast<std::uint32_t>(indexes_.size()));
        hdrl.insert(hdrl.end(), 16, 0);
        for (size_t i = 0; i < 8; ++i) {
            Append32(hdrl, i < indexes_.size() ? indexes_[i] : 0);
            hdrl.insert(hdrl.end(), 12, 0);
        }
        Bytes header;
        Append(header, "RIFF");
        Append32(header, firstPartEnd_ - 8);
        Append(header, "AVI ");
        Append(header, "LIST");
        Append32(header, static_cast<std::uint32_t>(hdrl.size()));
        header.insert(header.end(), hdrl.begin(), hdrl.end());
        AppendChunk(header, "JUNK", static_cast<std::uint32_t>(kMoviAt - header.size() - 8), 0);
        Append(header, "LIST");
        Append32(header, idx1At_ - kMoviAt - 8);
        Append(header, "movi");
        return header;
    }
    HRESULT WriteAt(std::uint64_t offset, const Bytes& bytes) {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        ULONG written = 0;
        HRESULT hr = stream_->Seek(to, STREAM_SEEK_SET, nullptr);
        if (SUCCEEDED(hr))
            hr = stream_->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
        if (FAILED(hr))
            return hr;
        if (written != bytes.size())
            return E_FAIL;
        if (image_.size() < offset + bytes.size())
            image_.resize(offset + bytes.size());
        std::copy(bytes.begin(), bytes.end(), image_.begin() + static_cast<std::ptrdiff_t>(offset));
        return S_OK;
    }

    IStream* stream_;
    Bytes image_;
    int frames_ = 0;
    std::uint32_t idx1At_ = 0;         // the first part's index
    std::uint32_t firstPartEnd_ = 0;   // where its index ends and the 'AVIX' part begins
    std::vector<std::uint32_t> indexes_; // where its standard indexes lie
};

// A test source's video into a transform in the multiplexer's place (the sink describes the streams
// of the filter it is connected to), that into the sink, which is paused on the file: the stand-in
// writes through the sink's stream.
struct StandInGraph {
    explicit StandInGraph(const std::wstring& path) {
        dshowtest::SourceSettings settings;
        settings.width = 64;
        settings.height = 48;
        auto* source = new dshowtest::CTestPushSource(settings);
        auto* transform = new dshowtest::CInvertFilter();
        qel::ComPtr<IFileSinkFilter> fileSink;
        qel::ComPtr<IPin> sinkIn;
        ready = SUCCEEDED(source->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(source_.GetAddressOf()))) &&
                SUCCEEDED(transform->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(transform_.GetAddressOf()))) &&
                SUCCEEDED(CreateQelFileSink(sink.GetAddressOf())) &&
                SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                           reinterpret_cast<void**>(graph_.GetAddressOf()))) &&
                SUCCEEDED(graph_->AddFilter(source_.Get(), L"Source")) &&
                SUCCEEDED(graph_->AddFilter(transform_.Get(), L"Multiplexer")) &&
                SUCCEEDED(graph_->AddFilter(sink.Get(), L"Sink")) &&
                SUCCEEDED(graph_->ConnectDirect(source->GetPin(0), transform->GetPin(0), nullptr)) &&
                SUCCEEDED(sink->FindPin(L"in", sinkIn.GetAddressOf())) &&
                SUCCEEDED(graph_->ConnectDirect(transform->GetPin(1), sinkIn.Get(), nullptr)) &&
                SUCCEEDED(sink.As(&fileSink)) && SUCCEEDED(fileSink->SetFileName(path.c_str(), nullptr)) &&
                SUCCEEDED(sink->Pause()) && SUCCEEDED(sinkIn.As(&stream));
    }
    ~StandInGraph() {
        stream.Reset();
        if (graph_ && sink)
            graph_->RemoveFilter(sink.Get()); // disconnected, the sink lets go of the file
    }
    bool ready = false;
    qel::ComPtr<IBaseFilter> sink;
    qel::ComPtr<IStream> stream;

private:
    qel::ComPtr<IGraphBuilder> graph_;
    qel::ComPtr<IBaseFilter> source_, transform_;
};

class FileSinkStandInTest : public qeltest::ComTest {
protected:
    qeltest::TempDir dir_;
    std::wstring path_ = [this] {
        const std::string file = dir_.File("standin.avi");
        return std::wstring(file.begin(), file.end());
    }();
};

TEST_F(FileSinkStandInTest, StoppedTheFileIsExactlyWhatTheMultiplexerWrote) {
    Bytes image;
    {
        StandInGraph g(path_);
        ASSERT_TRUE(g.ready);
        StandInMultiplexer mux(g.stream.Get());
        ASSERT_EQ(S_OK, mux.RecordIntoTheSecondPart());

        // It reads its own header back, and what follows it from the disk.
        const size_t across = kMoviAt + 12 + 20;
        EXPECT_EQ(Slice(mux.Image(), 0, across), mux.ReadBack(0, across));
        // The disk holds the provisional header and all the rest as written.
        const Bytes disk = FileBytes(path_);
        ASSERT_EQ(mux.Image().size(), disk.size());
        EXPECT_TRUE(avirecovery::LooksUnfinished(disk.data(), disk.size()));
        const Bytes head = Slice(disk, 0, kMoviAt);
        EXPECT_TRUE(std::search(head.begin(), head.end(), kOwnTag, kOwnTag + 4) != head.end())
            << "not the provisional header";
        EXPECT_TRUE(Slice(mux.Image(), kMoviAt + 12, disk.size()) == Slice(disk, kMoviAt + 12, disk.size()));

        // As a multiplexer does, it writes its last sizes and header once the sink has stopped.
        ASSERT_EQ(S_OK, g.sink->Stop());
        ASSERT_EQ(S_OK, mux.Finish());
        image = mux.Image();
    }
    const Bytes stopped = FileBytes(path_);
    ASSERT_EQ(image.size(), stopped.size());
    const auto differs = std::mismatch(image.begin(), image.end(), stopped.begin());
    EXPECT_TRUE(differs.first == image.end()) << "first different byte at " << (differs.first - image.begin());
    MemoryFile again(stopped);
    EXPECT_EQ(avirecovery::Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(again));
}

// Run only as the child of the test below: records, says so, and waits to be killed.
TEST(FileSinkStandInChild, DISABLED_RecordsUntilKilled) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    wchar_t path[MAX_PATH] = {}, ready[MAX_PATH] = {};
    ASSERT_NE(0u, GetEnvironmentVariableW(kFileVariable, path, MAX_PATH));
    ASSERT_NE(0u, GetEnvironmentVariableW(kReadyVariable, ready, MAX_PATH));
    StandInGraph g(path);
    ASSERT_TRUE(g.ready);
    StandInMultiplexer mux(g.stream.Get());
    ASSERT_EQ(S_OK, mux.RecordIntoTheSecondPart());
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
    ASSERT_TRUE(event);
    SetEvent(event);
    CloseHandle(event);
    Sleep(30000); // the kill comes first
}

TEST_F(FileSinkStandInTest, KilledAfterItRewroteItsHeaderEveryFrameIsRepaired) {
    const std::wstring readyName = L"Local\\QelStandInReady." + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    ASSERT_TRUE(ready);
    wchar_t exe[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    std::wstring command = std::wstring(L"\"") + exe +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=FileSinkStandInChild.DISABLED_RecordsUntilKilled";
    SetEnvironmentVariableW(kFileVariable, path_.c_str());
    SetEnvironmentVariableW(kReadyVariable, readyName.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &child);
    SetEnvironmentVariableW(kFileVariable, nullptr);
    SetEnvironmentVariableW(kReadyVariable, nullptr);
    ASSERT_TRUE(started);
    const DWORD kGuardMs = 20000;
    std::printf("waiting at most %lu ms for the child to record\n", kGuardMs);
    HANDLE waits[2] = {ready, child.hProcess};
    const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kGuardMs);
    TerminateProcess(child.hProcess, 9);
    WaitForSingleObject(child.hProcess, kGuardMs);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    CloseHandle(ready);
    ASSERT_EQ(WAIT_OBJECT_0, waited) << "the child did not record";

    MemoryFile file(FileBytes(path_));
    avirecovery::FinishSummary summary;
    ASSERT_EQ(avirecovery::Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
    const int frames = kFirstPartFrames + kSecondPartFrames;
    EXPECT_EQ(static_cast<std::uint32_t>(frames), summary.videoFrames);
    const rifftest::AviSummary avi = rifftest::ReadAvi(file.Bytes());
    EXPECT_TRUE(avi.complete);
    EXPECT_EQ(64, avi.width);
    EXPECT_EQ(static_cast<std::uint32_t>(frames), avi.headerFrames);
    EXPECT_EQ(static_cast<std::uint32_t>(frames), avi.indexedFrames);
    ASSERT_EQ(static_cast<size_t>(frames), avi.frameOffsets.size());
    for (int i = 0; i < frames; ++i)
        EXPECT_EQ(i + 1, file.Bytes()[avi.frameOffsets[static_cast<size_t>(i)]]) << "frame " << i << " in order";
}

} // namespace
