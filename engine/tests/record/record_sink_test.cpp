// Where every AVI recording is written: the platform's multiplexer into our file sink, whichever
// capture graph builder the system has. A builder that names output files itself (as the system's
// own does on Windows) stands in for one here: it wraps the system's builder and answers
// SetOutputFileName with the multiplexer and the platform's file writer.
#include "record_fixture.h"

#include "file_sink.h"
#include "riff_reader.h"

#include "qeldshow/com_ptr.h"
#include "qeltest/watchdog.h"
#include "static_class_factory.h"

#include <fstream>
#include <string>

namespace recordtest {
namespace {

using enginetest::GraphHoldsClass;

// How often the stand-in builder was asked to name an output file.
LONG g_outputFilesNamed = 0;

class NamingBuilder final : public ICaptureGraphBuilder2 {
public:
    explicit NamingBuilder(ICaptureGraphBuilder2* inner) : inner_(inner) { inner_->AddRef(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_ICaptureGraphBuilder2) {
            *ppv = static_cast<ICaptureGraphBuilder2*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return left;
    }

    STDMETHODIMP SetFiltergraph(IGraphBuilder* graph) override {
        if (graph_)
            graph_->Release();
        graph_ = graph;
        if (graph_)
            graph_->AddRef();
        return inner_->SetFiltergraph(graph);
    }
    STDMETHODIMP GetFiltergraph(IGraphBuilder** graph) override { return inner_->GetFiltergraph(graph); }
    // The multiplexer and the platform's file writer behind it, as the system's builder adds them.
    STDMETHODIMP SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** mux, IFileSinkFilter** sink) override {
        InterlockedIncrement(&g_outputFilesNamed);
        if (!type || *type != MEDIASUBTYPE_Avi || !graph_ || !mux)
            return inner_->SetOutputFileName(type, file, mux, sink);
        IBaseFilter* newMux = nullptr;
        IBaseFilter* writer = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                      reinterpret_cast<void**>(&newMux));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&writer));
        if (SUCCEEDED(hr))
            hr = graph_->AddFilter(newMux, L"Mux");
        if (SUCCEEDED(hr))
            hr = graph_->AddFilter(writer, L"File Writer");
        IFileSinkFilter* writerSink = nullptr;
        if (SUCCEEDED(hr))
            hr = writer->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&writerSink));
        if (SUCCEEDED(hr))
            hr = writerSink->SetFileName(file, nullptr);
        if (SUCCEEDED(hr))
            hr = inner_->RenderStream(nullptr, nullptr, newMux, nullptr, writer);
        if (FAILED(hr)) {
            if (writerSink)
                writerSink->Release();
            if (newMux)
                newMux->Release();
            newMux = nullptr;
            writerSink = nullptr;
        }
        if (writer)
            writer->Release();
        *mux = newMux;
        if (sink)
            *sink = writerSink;
        else if (writerSink)
            writerSink->Release();
        return hr;
    }
    STDMETHODIMP FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID riid,
                               void** object) override {
        return inner_->FindInterface(category, type, filter, riid, object);
    }
    STDMETHODIMP RenderStream(const GUID* category, const GUID* type, IUnknown* source, IBaseFilter* compressor,
                              IBaseFilter* renderer) override {
        return inner_->RenderStream(category, type, source, compressor, renderer);
    }
    STDMETHODIMP ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter, REFERENCE_TIME* start,
                               REFERENCE_TIME* stop, WORD startCookie, WORD stopCookie) override {
        return inner_->ControlStream(category, type, filter, start, stop, startCookie, stopCookie);
    }
    STDMETHODIMP AllocCapFile(LPCOLESTR file, DWORDLONG size) override { return inner_->AllocCapFile(file, size); }
    STDMETHODIMP CopyCaptureFile(LPOLESTR from, LPOLESTR to, int allowEscape,
                                 IAMCopyCaptureFileProgress* progress) override {
        return inner_->CopyCaptureFile(from, to, allowEscape, progress);
    }
    STDMETHODIMP FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category, const GUID* type,
                         BOOL unconnected, int index, IPin** pin) override {
        return inner_->FindPin(source, direction, category, type, unconnected, index, pin);
    }

private:
    ~NamingBuilder() {
        if (graph_)
            graph_->Release();
        inner_->Release();
    }
    LONG refs_ = 1;
    ICaptureGraphBuilder2* inner_;
    IGraphBuilder* graph_ = nullptr;
};

// Makes stand-in builders around the system's own, made by the system's class object.
class NamingBuilderFactory : public StaticClassFactory {
public:
    explicit NamingBuilderFactory(IClassFactory* system) : system_(system) {}
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        ICaptureGraphBuilder2* inner = nullptr;
        HRESULT hr = system_->CreateInstance(nullptr, IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&inner));
        if (FAILED(hr))
            return hr;
        NamingBuilder* builder = new NamingBuilder(inner);
        inner->Release();
        hr = builder->QueryInterface(riid, ppv);
        builder->Release();
        return hr;
    }

private:
    IClassFactory* system_;
};

// The stand-in builder takes the system's place in this process while it lives.
class ScopedNamingBuilder {
public:
    ScopedNamingBuilder() {
        if (FAILED(CoGetClassObject(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                    reinterpret_cast<void**>(&system_))))
            return;
        factory_ = std::make_unique<NamingBuilderFactory>(system_);
        if (FAILED(CoRegisterClassObject(CLSID_CaptureGraphBuilder2, factory_.get(), CLSCTX_INPROC_SERVER,
                                         REGCLS_MULTIPLEUSE, &cookie_)))
            cookie_ = 0;
    }
    ~ScopedNamingBuilder() {
        if (cookie_)
            CoRevokeClassObject(cookie_);
        if (system_)
            system_->Release();
    }
    // The builders made now are stand-ins that name AVI files with the platform's writer.
    bool InPlace() const {
        if (!cookie_)
            return false;
        ICaptureGraphBuilder2* builder = nullptr;
        const LONG before = g_outputFilesNamed;
        if (FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&builder))))
            return false;
        builder->SetOutputFileName(nullptr, nullptr, nullptr, nullptr); // counted, then refused by the system's
        builder->Release();
        return g_outputFilesNamed == before + 1;
    }

private:
    IClassFactory* system_ = nullptr;
    std::unique_ptr<NamingBuilderFactory> factory_;
    DWORD cookie_ = 0;
};

// The file's first bytes, read while the sink holds it open for writing.
std::string FirstBytes(const std::wstring& file, size_t count) {
    std::ifstream in(std::string(file.begin(), file.end()), std::ios::binary);
    std::string bytes(count, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

class RecordSinkTest : public RecordTest {
protected:
    // One recording of the given type: our sink (and no platform file writer) in the graph, behind
    // the multiplexer; a provisional AVI header in the file while it records; a whole AVI after.
    void RecordThroughOurSink(RecordFileType type, const std::string& name) {
        const std::wstring file = FileIn(name);
        ASSERT_TRUE(engine->SetCaptureFileName(file.c_str()));
        engine->SetRecordFileType(type);
        int status = -1;
        ASSERT_TRUE(engine->StartCapture(&status));
        EXPECT_EQ(0, status);
        EXPECT_TRUE(GraphHoldsClass(engine->m_pGraph, CLSID_QelFileSink)) << "our sink is not in the record graph";
        EXPECT_FALSE(GraphHoldsClass(engine->m_pGraph, CLSID_FileWriter)) << "the platform's file writer records";
        ASSERT_NE(nullptr, Engine()->m_pFileSink);
        qel::ComPtr<IBaseFilter> sink;
        ASSERT_EQ(S_OK, Engine()->m_pFileSink->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(sink.GetAddressOf())));
        CLSID held = GUID_NULL;
        ASSERT_EQ(S_OK, sink->GetClassID(&held));
        EXPECT_EQ(CLSID_QelFileSink, held) << "the file sink the engine holds is not ours";
        ASSERT_TRUE(WaitForFrames(5));
        const std::string header = FirstBytes(file, 12);
        ASSERT_EQ(12u, header.size()) << "nothing in the file while it records";
        EXPECT_EQ("RIFF", header.substr(0, 4));
        EXPECT_EQ("AVI ", header.substr(8, 4));
        ASSERT_TRUE(engine->StopCapture());
        ExpectWholeRecording(file, FramesOfLastCapture(), true);
    }
};

TEST_F(RecordSinkTest, EveryAviTypeRecordsThroughOurSinkWithTheSystemsBuilder) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    RecordThroughOurSink(RECORD_AVI, "sink0001.avi");
    RecordThroughOurSink(RECORD_AVI_NOAUDIO, "sink0002.avi");
    EXPECT_TRUE(UnexpectedBoxes().empty());
}

// On a system whose builder can name the file (Windows) the engine still records through our sink:
// it never asks the builder for the file at all.
TEST_F(RecordSinkTest, ABuilderThatNamesTheFileItselfIsNotAskedForIt) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    ScopedNamingBuilder naming;
    if (!naming.InPlace())
        GTEST_SKIP() << "a class object registered in the process does not take the place of the system's builder here";
    // A new engine, so that it makes its builder now.
    delete engine;
    engine = new RecordProbe;
    ASSERT_NO_FATAL_FAILURE(PreviewCamera(kCamera));
    const LONG named = g_outputFilesNamed;
    RecordThroughOurSink(RECORD_AVI, "named0001.avi");
    EXPECT_EQ(named, g_outputFilesNamed) << "the engine asked the builder to name the output file";
    delete engine; // its builder goes before the stand-in's class object
    engine = nullptr;
}

} // namespace
} // namespace recordtest
