// Our memory allocator and its samples.
#include "test_com.h"

#include "qeldshow/media_type.h"
#include "qeldshow/mem_allocator.h"

#include "qeltest/com_test.h"

#include <cstdint>
#include <thread>

namespace dshowtest {
namespace {

class AllocatorTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_HRESULT_SUCCEEDED(CMemAllocator::Create(allocator_.Out()));
    }
    void TearDown() override {
        allocator_.Reset();
        qeltest::ComTest::TearDown();
    }
    HRESULT Configure(LONG buffers, LONG size, LONG align = 1, LONG prefix = 0) {
        ALLOCATOR_PROPERTIES request{buffers, size, align, prefix};
        return allocator_->SetProperties(&request, &granted_);
    }

    ComPtr<IMemAllocator> allocator_;
    ALLOCATOR_PROPERTIES granted_{};
};

TEST_F(AllocatorTest, PropertiesAreCheckedAndGranted) {
    EXPECT_EQ(Configure(1, 100, 3), VFW_E_BADALIGN);
    EXPECT_EQ(Configure(1, 100, 0), VFW_E_BADALIGN);
    EXPECT_EQ(Configure(0, 100), E_INVALIDARG);
    EXPECT_EQ(Configure(1, -1), E_INVALIDARG);
    EXPECT_EQ(Configure(2, 0x40000000), E_OUTOFMEMORY) << "total beyond a LONG";
    ASSERT_EQ(Configure(2, 100, 16, 8), S_OK);
    EXPECT_EQ(granted_.cBuffers, 2);
    EXPECT_EQ(granted_.cbBuffer, 104) << "prefix + buffer rounded up to the alignment";
    EXPECT_EQ(granted_.cbAlign, 16);
    EXPECT_EQ(granted_.cbPrefix, 8);
    ALLOCATOR_PROPERTIES read{};
    EXPECT_EQ(allocator_->GetProperties(&read), S_OK);
    EXPECT_EQ(read.cbBuffer, 104);
}

TEST_F(AllocatorTest, BuffersNeedACommitAndRespectAlignmentAndPrefix) {
    ComPtr<IMediaSample> sample;
    EXPECT_EQ(allocator_->Commit(), VFW_E_SIZENOTSET);
    ASSERT_EQ(Configure(3, 1000, 64, 16), S_OK);
    EXPECT_EQ(allocator_->GetBuffer(sample.Out(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    EXPECT_EQ(Configure(1, 10), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(allocator_->GetBuffer(sample.Out(), nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(sample->GetPointer(&data), S_OK);
    EXPECT_EQ((reinterpret_cast<uintptr_t>(data) - 16) % 64, 0u) << "the prefix starts on the alignment";
    EXPECT_EQ(sample->GetSize(), granted_.cbBuffer);
    EXPECT_EQ(sample->GetActualDataLength(), granted_.cbBuffer);
}

TEST_F(AllocatorTest, ExhaustedAllocatorWaitsOrTimesOutAndReusesReturnedSamples) {
    ASSERT_EQ(Configure(2, 64), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    ComPtr<IMediaSample> first, second, third;
    ASSERT_EQ(allocator_->GetBuffer(first.Out(), nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(allocator_->GetBuffer(second.Out(), nullptr, nullptr, 0), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(allocator_->GetBuffer(third.Out(), nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    EXPECT_EQ(third.Get(), nullptr);
    IMediaSample* returned = first.Get();
    first.Reset();
    ASSERT_EQ(allocator_->GetBuffer(third.Out(), nullptr, nullptr, AM_GBF_NOWAIT), S_OK);
    EXPECT_EQ(third.Get(), returned);
    EXPECT_EQ(Configure(2, 64), VFW_E_ALREADY_COMMITTED);
}

TEST_F(AllocatorTest, DecommitWakesAWaitingThread) {
    ASSERT_EQ(Configure(1, 64), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    ComPtr<IMediaSample> held;
    ASSERT_EQ(allocator_->GetBuffer(held.Out(), nullptr, nullptr, 0), S_OK);
    HRESULT waited = S_OK;
    IMemAllocator* allocator = allocator_.Get();
    std::thread waiter([&] {
        IMediaSample* sample = nullptr;
        waited = allocator->GetBuffer(&sample, nullptr, nullptr, 0);
        if (sample)
            sample->Release();
    });
    Sleep(50);
    ASSERT_EQ(allocator_->Decommit(), S_OK);
    waiter.join();
    EXPECT_EQ(waited, VFW_E_NOT_COMMITTED);
    // The sample still out keeps its memory until it comes back.
    BYTE* data = nullptr;
    ASSERT_EQ(held->GetPointer(&data), S_OK);
    data[0] = 1;
    data[63] = 2;
    EXPECT_EQ(Configure(1, 64), VFW_E_BUFFERS_OUTSTANDING);
    held.Reset();
    EXPECT_EQ(Configure(1, 64), S_OK);
    EXPECT_EQ(allocator_->Commit(), S_OK) << "a decommitted allocator commits again";
}

TEST_F(AllocatorTest, AnOutstandingSampleKeepsItsAllocatorAlive) {
    ASSERT_EQ(Configure(1, 64), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(allocator_->GetBuffer(sample.Out(), nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(RefCount(allocator_.Get()), 2u) << "one for us, one for the sample";
    allocator_->Decommit();
    allocator_.Reset();
    BYTE* data = nullptr;
    ASSERT_EQ(sample->GetPointer(&data), S_OK);
    data[10] = 0x5A;  // still valid memory
    sample.Reset();   // frees allocator and buffers
}

TEST_F(AllocatorTest, SamplePropertiesFollowTheContractAndResetOnReuse) {
    ASSERT_EQ(Configure(1, 100), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(allocator_->GetBuffer(sample.Out(), nullptr, nullptr, 0), S_OK);

    REFERENCE_TIME start = 0, stop = 0;
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    start = 100;
    EXPECT_EQ(sample->SetTime(&start, nullptr), S_OK);
    start = stop = 0;
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(start, 100);
    EXPECT_EQ(stop, 101);
    start = 200;
    stop = 300;
    sample->SetTime(&start, &stop);
    start = stop = 0;
    EXPECT_EQ(sample->GetTime(&start, &stop), S_OK);
    EXPECT_EQ(stop, 300);

    LONGLONG mediaStart = 0, mediaStop = 0;
    EXPECT_EQ(sample->GetMediaTime(&mediaStart, &mediaStop), VFW_E_MEDIA_TIME_NOT_SET);
    mediaStart = 5;
    mediaStop = 6;
    sample->SetMediaTime(&mediaStart, &mediaStop);
    EXPECT_EQ(sample->GetMediaTime(&mediaStart, &mediaStop), S_OK);

    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    sample->SetSyncPoint(TRUE);
    EXPECT_EQ(sample->IsSyncPoint(), S_OK);
    sample->SetPreroll(TRUE);
    EXPECT_EQ(sample->IsPreroll(), S_OK);
    sample->SetDiscontinuity(TRUE);
    EXPECT_EQ(sample->IsDiscontinuity(), S_OK);

    EXPECT_EQ(sample->SetActualDataLength(101), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sample->SetActualDataLength(-1), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sample->SetActualDataLength(40), S_OK);
    EXPECT_EQ(sample->GetActualDataLength(), 40);

    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(sample->GetMediaType(&type), S_FALSE);
    EXPECT_EQ(type, nullptr);
    CMediaType rgb = MakeRgb24VideoType(4, 4, 0);
    EXPECT_EQ(sample->SetMediaType(&rgb), S_OK);
    ASSERT_EQ(sample->GetMediaType(&type), S_OK);
    EXPECT_TRUE(MediaTypesEqual(*type, rgb));
    DeleteMediaType(type);

    IMediaSample* same = sample.Get();
    sample.Reset();
    ASSERT_EQ(allocator_->GetBuffer(sample.Out(), nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(sample.Get(), same);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(sample->GetMediaTime(&mediaStart, &mediaStop), VFW_E_MEDIA_TIME_NOT_SET);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(sample->IsPreroll(), S_FALSE);
    EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(sample->GetActualDataLength(), 100);
    EXPECT_EQ(sample->GetMediaType(&type), S_FALSE);
}

TEST_F(AllocatorTest, AnswersItsInterfacesOnly) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(allocator_->QueryInterface(IID_IUnknown, unknown.OutVoid()), S_OK);
    ComPtr<IMediaSample> sample;
    EXPECT_EQ(allocator_->QueryInterface(IID_IMediaSample, sample.OutVoid()), E_NOINTERFACE);
    EXPECT_EQ(sample.Get(), nullptr);
    EXPECT_EQ(allocator_->QueryInterface(IID_IMemAllocator, nullptr), E_POINTER);
    EXPECT_EQ(RefCount(allocator_.Get()), 2u);
}

} // namespace
} // namespace dshowtest
