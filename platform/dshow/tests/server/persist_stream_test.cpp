// The persistence base: dirty flag, version word and the derived object's data in the stream.
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "qeltest/com_test.h"
#include "test_server_loader.h"

using Microsoft::WRL::ComPtr;

namespace {

class PersistStreamTest : public qeltest::ComTest {
protected:
    ComPtr<IQelTestValue> NewObject() {
        ComPtr<IQelTestValue> value;
        ComPtr<IClassFactory> factory = server_.Factory(CLSID_QelTestObject);
        if (factory) {
            EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IQelTestValue, &value));
        }
        return value;
    }

    static ComPtr<IStream> StreamOf(const DWORD* words, ULONG count) {
        ComPtr<IStream> stream;
        EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
        ULONG written = 0;
        if (count) {
            EXPECT_EQ(S_OK, stream->Write(words, count * sizeof(DWORD), &written));
        }
        Rewind(stream.Get());
        return stream;
    }

    static void Rewind(IStream* stream) {
        LARGE_INTEGER start = {};
        EXPECT_EQ(S_OK, stream->Seek(start, STREAM_SEEK_SET, nullptr));
    }

    TestServer server_;
};

TEST_F(PersistStreamTest, DirtyFlagFollowsChangesAndSaves) {
    ComPtr<IQelTestValue> value = NewObject();
    ASSERT_TRUE(value);
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, value.As(&persist));
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    ASSERT_EQ(S_OK, value->SetValue(42));
    EXPECT_EQ(S_OK, persist->IsDirty());

    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    EXPECT_EQ(S_OK, persist->Save(stream.Get(), FALSE));
    EXPECT_EQ(S_OK, persist->IsDirty()) << "a copy saved without clearing keeps the flag";
    EXPECT_EQ(S_OK, persist->Save(stream.Get(), TRUE));
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    EXPECT_EQ(E_POINTER, persist->Save(nullptr, TRUE));
}

TEST_F(PersistStreamTest, StreamHoldsVersionThenDataAndLoadsBack) {
    ComPtr<IQelTestValue> value = NewObject();
    ASSERT_TRUE(value);
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, value.As(&persist));
    ASSERT_EQ(S_OK, value->SetValue(-123));

    ULARGE_INTEGER sizeMax = {};
    EXPECT_EQ(S_OK, persist->GetSizeMax(&sizeMax));
    EXPECT_EQ(8u, sizeMax.QuadPart);
    EXPECT_EQ(E_POINTER, persist->GetSizeMax(nullptr));

    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ASSERT_EQ(S_OK, persist->Save(stream.Get(), TRUE));
    Rewind(stream.Get());
    DWORD words[3] = {};
    ULONG read = 0;
    EXPECT_EQ(S_OK, stream->Read(words, sizeof words, &read));
    ASSERT_EQ(8u, read);
    EXPECT_EQ(2u, words[0]);
    EXPECT_EQ(static_cast<DWORD>(-123), words[1]);

    ComPtr<IQelTestValue> copy = NewObject();
    ASSERT_TRUE(copy);
    ComPtr<IPersistStream> copyPersist;
    ASSERT_EQ(S_OK, copy.As(&copyPersist));
    copy->SetValue(5);
    Rewind(stream.Get());
    EXPECT_EQ(S_OK, copyPersist->Load(stream.Get()));
    int loaded = 0;
    copy->GetValue(&loaded);
    EXPECT_EQ(-123, loaded);
    EXPECT_EQ(S_FALSE, copyPersist->IsDirty());
}

TEST_F(PersistStreamTest, LoadRefusesNewerVersionsAndShortStreamsAndKeepsTheValue) {
    ComPtr<IQelTestValue> value = NewObject();
    ASSERT_TRUE(value);
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, value.As(&persist));
    value->SetValue(9);

    const DWORD newer[] = {3, 77};
    EXPECT_EQ(E_FAIL, persist->Load(StreamOf(newer, 2).Get()));
    const DWORD versionOnly[] = {2};
    EXPECT_EQ(STG_E_READFAULT, persist->Load(StreamOf(versionOnly, 1).Get()));
    EXPECT_EQ(STG_E_READFAULT, persist->Load(StreamOf(nullptr, 0).Get()));
    EXPECT_EQ(E_POINTER, persist->Load(nullptr));
    int kept = 0;
    value->GetValue(&kept);
    EXPECT_EQ(9, kept);
    EXPECT_EQ(S_OK, persist->IsDirty()) << "a failed load is no save point";

    const DWORD older[] = {1, 55};
    EXPECT_EQ(S_OK, persist->Load(StreamOf(older, 2).Get()));
    value->GetValue(&kept);
    EXPECT_EQ(55, kept);
}

} // namespace
