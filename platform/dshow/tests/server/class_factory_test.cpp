// The class factory and module entry points of an in-process server, driven the way COM drives them.
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "qeltest/com_test.h"
#include "test_server_loader.h"

using Microsoft::WRL::ComPtr;

namespace {

class ClassFactoryTest : public qeltest::ComTest {};

// A controlling unknown that aggregates one inner object and answers its interfaces.
class OuterObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST_F(ClassFactoryTest, GetClassObjectAnswersOnlyItsClassesAndFactoryInterfaces) {
    TestServer server;
    ASSERT_TRUE(server.Loaded());
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, server.GetClassObject(CLSID_NULL, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, server.GetClassObject(CLSID_QelTestObject, IID_IPersist, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, server.GetClassObject(CLSID_QelTestObject, IID_IClassFactory, nullptr));

    ComPtr<IUnknown> factoryAsUnknown;
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_QelTestPage, IID_IUnknown, &factoryAsUnknown));
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(S_OK, factoryAsUnknown.As(&factory));
}

TEST_F(ClassFactoryTest, CreatesObjectsWithOneIdentityAndRefusesUnknownInterfaces) {
    TestServer server;
    ComPtr<IClassFactory> factory = server.Factory(CLSID_QelTestObject);
    ASSERT_TRUE(factory);

    ComPtr<IQelTestValue> value;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IQelTestValue, &value));
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, value.As(&persist));
    ComPtr<IUnknown> identityFromValue, identityFromPersist;
    ASSERT_EQ(S_OK, value.As(&identityFromValue));
    ASSERT_EQ(S_OK, persist.As(&identityFromPersist));
    EXPECT_EQ(identityFromValue.Get(), identityFromPersist.Get());
    CLSID clsid = CLSID_NULL;
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_EQ(CLSID_QelTestObject, clsid);
    ComPtr<IClassFactory> notAnInterfaceOfIt;
    EXPECT_EQ(E_NOINTERFACE, value.As(&notAnInterfaceOfIt));

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IQelTestValue, nullptr));

    value.Reset();
    persist.Reset();
    identityFromValue.Reset();
    identityFromPersist.Reset();
    factory.Reset();
    // The refused creation left nothing behind either.
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

TEST_F(ClassFactoryTest, AggregatedObjectGivesOnlyItsInnerUnknownAndDelegatesToTheOuter) {
    TestServer server;
    ComPtr<IClassFactory> factory = server.Factory(CLSID_QelTestObject);
    ASSERT_TRUE(factory);

    OuterObject outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IQelTestValue, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(1u, outer.refs);

    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    ASSERT_NE(nullptr, outer.inner);
    EXPECT_EQ(1u, outer.refs) << "the inner object must not hold its outer";

    IQelTestValue* value = nullptr;
    ASSERT_EQ(S_OK, outer.QueryInterface(IID_IQelTestValue, reinterpret_cast<void**>(&value)));
    // The interface's reference belongs to the outer object.
    EXPECT_EQ(2u, outer.refs);
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, value->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
    identity->Release();
    EXPECT_EQ(S_OK, value->SetValue(7));
    value->Release();
    EXPECT_EQ(1u, outer.refs);

    EXPECT_EQ(S_FALSE, server.CanUnloadNow());
    EXPECT_EQ(0u, outer.inner->Release());
    outer.inner = nullptr;
    factory.Reset();
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

TEST_F(ClassFactoryTest, FailedCreationReturnsItsErrorAndLeavesNoObject) {
    TestServer server;
    for (const CLSID* clsid : {&CLSID_QelTestFailing, &CLSID_QelTestNoMemory}) {
        ComPtr<IClassFactory> factory = server.Factory(*clsid);
        ASSERT_TRUE(factory);
        void* out = reinterpret_cast<void*>(1);
        const HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown, &out);
        EXPECT_EQ(clsid == &CLSID_QelTestFailing ? E_ACCESSDENIED : E_OUTOFMEMORY, hr);
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

TEST_F(ClassFactoryTest, ModuleStaysLoadedWhileObjectsFactoriesOrLocksLive) {
    TestServer server;
    EXPECT_EQ(S_OK, server.CanUnloadNow());

    ComPtr<IClassFactory> factory = server.Factory(CLSID_QelTestObject);
    ASSERT_TRUE(factory);
    EXPECT_EQ(S_FALSE, server.CanUnloadNow()) << "a live class factory";

    ComPtr<IUnknown> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, &object));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    object.Reset();
    EXPECT_EQ(S_FALSE, server.CanUnloadNow()) << "a server lock";

    factory = server.Factory(CLSID_QelTestObject);
    ASSERT_TRUE(factory);
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    factory.Reset();
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

TEST_F(ClassFactoryTest, InitRoutinesRanOnceWhenTheModuleWasLoaded) {
    TestServer server;
    EXPECT_EQ(1, server.InitCalls(TRUE));
    EXPECT_EQ(0, server.InitCalls(FALSE));
}

} // namespace
