// The file sink alone (names, IStream, samples at their byte offsets) and behind the platform's AVI
// multiplexer: a complete AVI with every frame of a short stream.
#include "avi_recovery.h"
#include "memory_file.h"
#include "file_sink.h"
#include "recording_judge.h"
#include "riff_reader.h"
#include "test_filters.h"

#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

#include <evcode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::vector<BYTE> ReadAll(const std::wstring& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    BYTE buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return bytes;
}

IPin* PinOf(IBaseFilter* filter, PIN_DIRECTION wanted) {
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    IPin* pin = nullptr;
    IPin* found = nullptr;
    while (!found && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted)
            found = pin;
        else
            pin->Release();
    }
    pins->Release();
    return found;
}

bool Contains(const std::vector<BYTE>& bytes, const char* text) {
    const size_t n = std::strlen(text);
    for (size_t i = 0; i + n <= bytes.size(); ++i)
        if (std::memcmp(&bytes[i], text, n) == 0)
            return true;
    return false;
}

// Writing through a stream that has no file is an error the caller sees.
void ExpectWriteFailsWithoutFile(IStream* stream, ULONG& written) {
    EXPECT_TRUE(FAILED(stream->Write("x", 1, &written)));
    EXPECT_EQ(0u, written);
}

class FileSinkTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(S_OK, CreateQelFileSink(&sink_));
        ASSERT_EQ(S_OK, sink_->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&fileSink_)));
        path_ = Wide(dir_.File("sink.bin"));
    }
    void TearDown() override {
        if (fileSink_)
            fileSink_->Release();
        if (sink_)
            sink_->Release();
        ComTest::TearDown();
    }

    // Test source -> the platform's AVI Mux (full interleaving) -> this sink, connected, not yet run.
    struct MuxGraph {
        IGraphBuilder* graph = nullptr;
        IBaseFilter* mux = nullptr;
        IBaseFilter* source = nullptr;
        IPin* muxOut = nullptr;
        IPin* sinkIn = nullptr;
        IPin* sourceOut = nullptr;
        IPin* muxIn = nullptr;
        IMediaControl* control = nullptr;
        IMediaEvent* events = nullptr;
    };

    void BuildMuxGraph(int width, int height, int frames, MuxGraph* g) {
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&g->graph)));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&g->mux)));
        dshowtest::SourceSettings settings;
        settings.width = width;
        settings.height = height;
        settings.frameCount = frames;
        auto* sourceObject = new dshowtest::CTestPushSource(settings);
        ASSERT_EQ(S_OK, sourceObject->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&g->source)));
        ASSERT_EQ(S_OK, g->graph->AddFilter(g->source, L"Source"));
        ASSERT_EQ(S_OK, g->graph->AddFilter(g->mux, L"Mux"));
        ASSERT_EQ(S_OK, g->graph->AddFilter(sink_, L"File Writer"));
        ASSERT_EQ(S_OK, fileSink_->SetFileName(path_.c_str(), nullptr));
        IConfigInterleaving* interleaving = nullptr;
        ASSERT_EQ(S_OK, g->mux->QueryInterface(IID_IConfigInterleaving, reinterpret_cast<void**>(&interleaving)));
        EXPECT_EQ(S_OK, interleaving->put_Mode(INTERLEAVE_FULL));
        interleaving->Release();

        g->muxOut = PinOf(g->mux, PINDIR_OUTPUT);
        g->sinkIn = PinOf(sink_, PINDIR_INPUT);
        g->sourceOut = PinOf(g->source, PINDIR_OUTPUT);
        g->muxIn = PinOf(g->mux, PINDIR_INPUT);
        ASSERT_TRUE(g->muxOut && g->sinkIn && g->sourceOut && g->muxIn);
        ASSERT_EQ(S_OK, g->graph->ConnectDirect(g->muxOut, g->sinkIn, nullptr));
        ASSERT_EQ(S_OK, g->graph->Connect(g->sourceOut, g->muxIn));
        ASSERT_EQ(S_OK, g->graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&g->control)));
        ASSERT_EQ(S_OK, g->graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&g->events)));
    }

    // Releases what BuildMuxGraph made; taking the sink out of the graph disconnects it, so its file closes.
    void ReleaseMuxGraph(MuxGraph* g) {
        for (IUnknown* object : std::initializer_list<IUnknown*>{g->control, g->events, g->muxOut, g->sinkIn,
                                                                 g->sourceOut, g->muxIn})
            if (object)
                object->Release();
        if (g->graph)
            g->graph->RemoveFilter(sink_);
        for (IUnknown* object : std::initializer_list<IUnknown*>{g->source, g->mux, g->graph})
            if (object)
                object->Release();
        *g = MuxGraph{};
    }

    qeltest::TempDir dir_;
    IBaseFilter* sink_ = nullptr;
    IFileSinkFilter* fileSink_ = nullptr;
    std::wstring path_;
};

TEST_F(FileSinkTest, NameIsKeptAndRefusedWhenEmpty) {
    LPOLESTR name = nullptr;
    EXPECT_EQ(E_FAIL, fileSink_->GetCurFile(&name, nullptr));
    EXPECT_EQ(E_POINTER, fileSink_->SetFileName(nullptr, nullptr));
    EXPECT_EQ(E_INVALIDARG, fileSink_->SetFileName(L"", nullptr));
    ASSERT_EQ(S_OK, fileSink_->SetFileName(path_.c_str(), nullptr));
    ASSERT_EQ(S_OK, fileSink_->GetCurFile(&name, nullptr));
    EXPECT_EQ(path_, std::wstring(name));
    CoTaskMemFree(name);
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(S_OK, sink_->GetClassID(&clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_QelFileSink, clsid));
}

TEST_F(FileSinkTest, PinOffersStreamThatWritesSeeksAndReadsTheFile) {
    IPin* pin = PinOf(sink_, PINDIR_INPUT);
    ASSERT_NE(nullptr, pin);
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)));
    IMemInputPin* memInput = nullptr;
    EXPECT_EQ(S_OK, pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&memInput)));
    if (memInput)
        memInput->Release();

    // Without a file (not paused yet) nothing is written.
    ULONG written = 7;
    ExpectWriteFailsWithoutFile(stream, written);
    ASSERT_EQ(S_OK, fileSink_->SetFileName(path_.c_str(), nullptr));
    ASSERT_EQ(S_OK, sink_->Pause());
    EXPECT_EQ(VFW_E_WRONG_STATE, fileSink_->SetFileName(path_.c_str(), nullptr));

    ASSERT_EQ(S_OK, stream->Write("abcdefgh", 8, &written));
    EXPECT_EQ(8u, written);
    LARGE_INTEGER to;
    to.QuadPart = 2;
    ULARGE_INTEGER now = {};
    ASSERT_EQ(S_OK, stream->Seek(to, STREAM_SEEK_SET, &now));
    EXPECT_EQ(2u, now.QuadPart);
    ASSERT_EQ(S_OK, stream->Write("XY", 2, &written));
    to.QuadPart = -1;
    ASSERT_EQ(S_OK, stream->Seek(to, STREAM_SEEK_END, &now));
    EXPECT_EQ(7u, now.QuadPart);
    char back[4] = {0};
    ULONG read = 0;
    EXPECT_EQ(S_FALSE, stream->Read(back, 4, &read));   // one byte left before the end
    EXPECT_EQ(1u, read);
    EXPECT_EQ('h', back[0]);
    to.QuadPart = -100;
    EXPECT_EQ(STG_E_INVALIDFUNCTION, stream->Seek(to, STREAM_SEEK_CUR, &now));
    STATSTG stat = {};
    ASSERT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(8u, stat.cbSize.QuadPart);

    // Writes after the stop still land: a multiplexer rewrites its headers then.
    ASSERT_EQ(S_OK, sink_->Stop());
    to.QuadPart = 0;
    ASSERT_EQ(S_OK, stream->Seek(to, STREAM_SEEK_SET, &now));
    ASSERT_EQ(S_OK, stream->Write("H", 1, &written));
    stream->Release();
    pin->Release();
    sink_->Release();   // the last reference closes the file
    sink_ = nullptr;
    fileSink_->Release();
    fileSink_ = nullptr;

    const std::vector<BYTE> bytes = ReadAll(path_);
    EXPECT_EQ(std::string("HbXYefgh"), std::string(bytes.begin(), bytes.end()));
}

// Samples land at the byte offset their start time gives, also when the multiplexer hands its last
// ones over after the sink stopped; without a time they follow the last write.
TEST_F(FileSinkTest, SamplesAreWrittenAtTheirOffsetsAlsoAfterTheStop) {
    IPin* pin = PinOf(sink_, PINDIR_INPUT);
    ASSERT_NE(nullptr, pin);
    IMemInputPin* input = nullptr;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input)));
    IMemAllocator* allocator = nullptr;
    ASSERT_EQ(S_OK, input->GetAllocator(&allocator));
    ALLOCATOR_PROPERTIES wanted = {2, 16, 1, 0}, got = {};
    ASSERT_EQ(S_OK, allocator->SetProperties(&wanted, &got));
    ASSERT_EQ(S_OK, allocator->Commit());
    auto send = [&](const char* bytes, REFERENCE_TIME* at) {
        IMediaSample* sample = nullptr;
        HRESULT hr = allocator->GetBuffer(&sample, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        const long length = static_cast<long>(strlen(bytes));
        memcpy(data, bytes, length);
        sample->SetActualDataLength(length);
        REFERENCE_TIME stop = at ? *at + length : 0;
        sample->SetTime(at, at ? &stop : nullptr);
        hr = input->Receive(sample);
        sample->Release();
        return hr;
    };
    EXPECT_EQ(VFW_E_WRONG_STATE, send("early", nullptr));   // stopped, and no file yet
    ASSERT_EQ(S_OK, fileSink_->SetFileName(path_.c_str(), nullptr));
    ASSERT_EQ(S_OK, sink_->Pause());
    REFERENCE_TIME at = 4;
    EXPECT_EQ(S_OK, send("WXYZ", &at));
    EXPECT_EQ(S_OK, send("tail", nullptr));
    ASSERT_EQ(S_OK, sink_->Stop());
    at = 0;
    EXPECT_EQ(S_OK, send("head", &at));
    allocator->Decommit();
    allocator->Release();
    input->Release();
    pin->Release();
    sink_->Release();
    sink_ = nullptr;
    fileSink_->Release();
    fileSink_ = nullptr;
    const std::vector<BYTE> bytes = ReadAll(path_);
    EXPECT_EQ(std::string("headWXYZtail"), std::string(bytes.begin(), bytes.end()));
}

TEST_F(FileSinkTest, EachRunStartsTheFileAfresh) {
    IPin* pin = PinOf(sink_, PINDIR_INPUT);
    ASSERT_NE(nullptr, pin);
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)));
    ASSERT_EQ(S_OK, fileSink_->SetFileName(path_.c_str(), nullptr));
    ULONG written = 0;
    ASSERT_EQ(S_OK, sink_->Pause());
    ASSERT_EQ(S_OK, stream->Write("first run", 9, &written));
    ASSERT_EQ(S_OK, sink_->Stop());
    ASSERT_EQ(S_OK, sink_->Pause());
    ASSERT_EQ(S_OK, stream->Write("two", 3, &written));
    ASSERT_EQ(S_OK, sink_->Stop());
    // A new name closes the old file.
    ASSERT_EQ(S_OK, fileSink_->SetFileName(Wide(dir_.File("other.bin")).c_str(), nullptr));
    ExpectWriteFailsWithoutFile(stream, written);
    stream->Release();
    pin->Release();
    const std::vector<BYTE> bytes = ReadAll(path_);
    EXPECT_EQ(std::string("two"), std::string(bytes.begin(), bytes.end()));
}

TEST_F(FileSinkTest, OpeningAFileInAMissingFolderFailsThePause) {
    ASSERT_EQ(S_OK, fileSink_->SetFileName(Wide(dir_.File("missing\\x.avi")).c_str(), nullptr));
    EXPECT_TRUE(FAILED(sink_->Pause()));
    FILTER_STATE state = State_Running;
    EXPECT_EQ(S_OK, sink_->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
}

// Test source -> the platform's AVI Mux (full interleaving) -> our sink, run to the end.
TEST_F(FileSinkTest, RecordsACompleteAviBehindTheMultiplexer) {
    MuxGraph g;
    ASSERT_NO_FATAL_FAILURE(BuildMuxGraph(33, 19, 12, &g));
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    long code = 0;
    EXPECT_EQ(S_OK, g.events->WaitForCompletion(10000, &code));
    EXPECT_EQ(EC_COMPLETE, code);
    EXPECT_EQ(S_OK, g.control->Stop());
    ReleaseMuxGraph(&g);

    const rifftest::AviSummary avi = rifftest::ReadAviFile(path_);
    EXPECT_TRUE(avi.riffAvi);
    EXPECT_TRUE(avi.complete);
    EXPECT_EQ(33, avi.width);
    EXPECT_EQ(19, avi.height);
    EXPECT_EQ(24, avi.bitCount);
    EXPECT_EQ(12u, avi.storedFrames);
    EXPECT_EQ(12u, avi.headerFrames);
    EXPECT_EQ(100u * 19u, avi.firstFrameBytes);   // rows of 99 bytes padded to 100
    EXPECT_TRUE(avi.hasIndex);
}

// The same graph, looked at before the stop (as a kill would leave the file) and after it.
TEST_F(FileSinkTest, BeforeTheStopTheFileCanBeFinishedAndTheStopReplacesTheProvisionalHeader) {
    MuxGraph g;
    ASSERT_NO_FATAL_FAILURE(BuildMuxGraph(320, 240, 40, &g));
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    long code = 0;
    EXPECT_EQ(S_OK, g.events->WaitForCompletion(10000, &code));

    // What a kill now would leave: a provisional header and the frames written so far.
    MemoryFile cut(ReadAll(path_));
    ASSERT_GE(cut.Bytes().size(), 12u);
    EXPECT_TRUE(avirecovery::LooksUnfinished(cut.Bytes().data(), cut.Bytes().size()));
    avirecovery::FinishSummary summary;
    EXPECT_EQ(avirecovery::Outcome::Finished, avirecovery::FinishUnfinishedAvi(cut, &summary));
    const rifftest::AviSummary finished = rifftest::ReadAvi(cut.Bytes());
    EXPECT_TRUE(finished.riffAvi);
    EXPECT_TRUE(finished.complete);
    EXPECT_TRUE(finished.hasIndex);
    EXPECT_EQ(320, finished.width);
    EXPECT_EQ(240, finished.height);
    EXPECT_EQ(finished.storedFrames, finished.indexedFrames);
    EXPECT_EQ(summary.videoFrames, finished.headerFrames);
    EXPECT_GT(finished.storedFrames, 30u) << "the multiplexer holds back at most a few frames";
    std::printf("before the stop: %u of 40 frames on the disk\n", finished.storedFrames);

    EXPECT_EQ(S_OK, g.control->Stop());
    ReleaseMuxGraph(&g);

    // The stop's own header covers the provisional one whole, and the file is the multiplexer's.
    const std::vector<BYTE> stopped = ReadAll(path_);
    EXPECT_FALSE(avirecovery::LooksUnfinished(stopped.data(), stopped.size()));
    EXPECT_FALSE(Contains(stopped, "QelR")) << "a piece of the provisional header survived the stop";
    const rifftest::AviSummary avi = rifftest::ReadAvi(stopped);
    EXPECT_TRUE(avi.complete);
    EXPECT_EQ(40u, avi.storedFrames);
    MemoryFile again(stopped);
    EXPECT_EQ(avirecovery::Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(again));
}

// The judge of a stopped recording reads the platform's multiplexer's own files, while the sink
// still holds them and after it let go: a recording with frames has a picture, one without none.
TEST_F(FileSinkTest, TheJudgeOfAStoppedRecordingReadsTheMultiplexersFiles) {
    for (const int frames : {3, 0}) {
        SCOPED_TRACE(std::to_string(frames) + " frames");
        const avirecovery::RecordedVideo expected =
            frames ? avirecovery::RecordedVideo::Frames : avirecovery::RecordedVideo::None;
        MuxGraph g;
        ASSERT_NO_FATAL_FAILURE(BuildMuxGraph(32, 16, frames, &g));
        ASSERT_TRUE(SUCCEEDED(g.control->Run()));
        long code = 0;
        EXPECT_EQ(S_OK, g.events->WaitForCompletion(10000, &code));
        EXPECT_EQ(S_OK, g.control->Stop());
        EXPECT_EQ(expected, RecordedVideoOf(path_.c_str())) << "while the sink holds the file";
        ReleaseMuxGraph(&g);
        EXPECT_EQ(expected, RecordedVideoOf(path_.c_str())) << "once the sink let go";
        std::printf("%d frames: %zu bytes, judged %d\n", frames, ReadAll(path_).size(),
                    static_cast<int>(RecordedVideoOf(path_.c_str())));
    }
    EXPECT_EQ(avirecovery::RecordedVideo::Unknown, RecordedVideoOf(L"no such folder\\no such file.avi"));
}

} // namespace
