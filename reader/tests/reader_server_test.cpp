// The reader as a COM server: regsvr32 writes and removes its class key, creation by class id, one
// pointer for both interface ids, aggregation, and the factory's answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "qeldshow/com_ptr.h"
#include "QelReader.h"
#include "qeltest/com_test.h"
#include "qeltest/registry_probe.h"

namespace {

const wchar_t* const kClassKey = L"CLSID\\{A04BEC5B-DF29-45F0-8BFD-E7174A590081}";

// An outer object that aggregates the reader and answers its interface through it.
class Outer : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    qel::ComPtr<IUnknown> inner;
};

class ReaderServerTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        module_ = LoadLibraryA("QelReader.ax");
        ASSERT_NE(nullptr, module_) << "QelReader.ax not found on the DLL path";
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(module_, path, MAX_PATH);
        path_ = path;
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
        qeltest::ComTest::TearDown();
    }
    HMODULE module_ = nullptr;
    std::wstring path_;
};

TEST_F(ReaderServerTest, Regsvr32WritesAndRemovesTheClassKey) {
    ASSERT_EQ(0u, qeltest::RunRegsvr32(L"/s \"" + path_ + L"\""));
    EXPECT_EQ(L"Q&l - Reader", qeltest::ClassesRootString(kClassKey, nullptr));
    EXPECT_EQ(path_, qeltest::ClassesRootString(std::wstring(kClassKey) + L"\\InprocServer32", nullptr));
    EXPECT_EQ(L"Both", qeltest::ClassesRootString(std::wstring(kClassKey) + L"\\InprocServer32", L"ThreadingModel"));

    qel::ComPtr<IMediaFrameReader> reader;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFrameReader,
                                     reinterpret_cast<void**>(reader.GetAddressOf())));
    EXPECT_TRUE(reader);
    reader.Reset();

    ASSERT_EQ(0u, qeltest::RunRegsvr32(L"/u /s \"" + path_ + L"\""));
    EXPECT_FALSE(qeltest::ClassesRootKeyExists(kClassKey));
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_IMediaFrameReader, reinterpret_cast<void**>(reader.GetAddressOf())));
}

TEST_F(ReaderServerTest, BothInterfaceIdsGiveOnePointerAndOthersNone) {
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    ASSERT_NE(nullptr, getClassObject);
    qel::ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, getClassObject(CLSID_MediaFrameReader, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
    qel::ComPtr<IMediaFrameReader> first, second;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IMediaFrameReader, reinterpret_cast<void**>(first.GetAddressOf())));
    ASSERT_EQ(S_OK, first->QueryInterface(IID_IMediaFrameReaderAlias, reinterpret_cast<void**>(second.GetAddressOf())));
    EXPECT_EQ(first.Get(), second.Get());
    qel::ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.GetAddressOf())));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, first->QueryInterface(IID_IBaseFilter, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_POINTER, first->QueryInterface(IID_IMediaFrameReader, nullptr));
    EXPECT_EQ(E_NOTIMPL, first->Reserved1(0, 0));
}

TEST_F(ReaderServerTest, AnAggregatedReaderForwardsItsIdentityToTheOuter) {
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    qel::ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, getClassObject(CLSID_MediaFrameReader, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
    Outer outer;
    void* refused = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IMediaFrameReader, &refused));
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(outer.inner.GetAddressOf())));
    qel::ComPtr<IMediaFrameReader> reader;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IMediaFrameReader, reinterpret_cast<void**>(reader.GetAddressOf())));
    const ULONG before = outer.refs;
    qel::ComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, reader->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get()) << "the interface's IUnknown is the outer one";
    EXPECT_GT(outer.refs, before);
    identity.Reset();
    // The aggregated interface holds a reference on the outer object, which gives it back.
    reader.Reset();
    outer.inner.Reset();
    EXPECT_EQ(1u, outer.refs);
}

TEST_F(ReaderServerTest, OnlyItsOwnClassIsServed) {
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    qel::ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IMediaFrameReader, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
}

} // namespace
