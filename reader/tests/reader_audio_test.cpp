// Sound ranges named by their samples (the clips carry a ramp): sizes, clipping at the duration, the
// bad-argument cases, at 8 and 16 bits. Built twice: with the prefix's null sound device, and once
// more with the sound driver switched off for the program (the splitter fallback).
#include "reader_fixture.h"
#include "qeltest/audio_device_lock.h"

namespace {

using readertest::ClipSpec;
using readertest::GlobalBlock;

class ReaderAudioTest : public readertest::ReaderTest, public ::testing::WithParamInterface<int> {
protected:
    int Bits() const { return GetParam(); }
    int BlockAlign() const { return Bits() / 8; }
    qelmedia::AviClipFormat Spec() const { return ClipSpec(true, Bits()); }
    qeltest::ScopedAudioDeviceLock audioDevice_;
};

TEST_P(ReaderAudioTest, ARangeHoldsExactlyItsSamples) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("av.avi", Spec()).c_str()));
    WAVEFORMATEX format;
    ASSERT_EQ(S_OK, reader_->GetAudioFormat(&format));
    ASSERT_EQ(Bits(), format.wBitsPerSample);
    double duration = 0;
    ASSERT_EQ(S_OK, reader_->get_Duration(&duration, READER_STREAM_AUDIO));
    EXPECT_DOUBLE_EQ(3.0, duration);

    for (const auto& range : {std::pair<double, double>{0.5, 1.0}, {0.0, 0.25}, {1.7, 2.9}}) {
        GlobalBlock data;
        LONG bytes = 0;
        ASSERT_EQ(S_OK, reader_->ReadAudioData(range.first, range.second, data.Out(), &bytes)) << range.first;
        const long first = static_cast<long>(range.first * 8000 + 0.5);
        const long count = static_cast<long>((range.second - range.first) * 8000 + 0.5);
        EXPECT_EQ(count * BlockAlign(), bytes) << range.first;
        EXPECT_EQ(static_cast<size_t>(bytes), data.Bytes().size()) << "the size reported is the block's";
        EXPECT_EQ(qelmedia::ClipAudioBytes(Spec(), first, count), data.Bytes()) << range.first;
    }
}

TEST_P(ReaderAudioTest, RangesAreClippedToTheSoundAndBadOnesRefused) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("av.avi", Spec()).c_str()));
    GlobalBlock data;
    LONG bytes = 0;
    ASSERT_EQ(S_OK, reader_->ReadAudioData(2.5, 7.0, data.Out(), &bytes));
    EXPECT_EQ(4000 * BlockAlign(), bytes) << "cut at the duration";
    EXPECT_EQ(qelmedia::ClipAudioBytes(Spec(), 20000, 4000), data.Bytes());
    ASSERT_EQ(S_OK, reader_->ReadAudioData(-1.0, 0.5, data.Out(), &bytes));
    EXPECT_EQ(qelmedia::ClipAudioBytes(Spec(), 0, 4000), data.Bytes()) << "a start below 0 is 0";

    HGLOBAL block = nullptr;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->ReadAudioData(1.0, 1.0, &block, &bytes));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->ReadAudioData(2.0, 1.0, &block, &bytes));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->ReadAudioData(3.5, 4.0, &block, &bytes)) << "empty after clipping";
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->ReadAudioData(0.0, 1.0, nullptr, &bytes));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->ReadAudioData(0.0, 1.0, &block, nullptr));
    EXPECT_EQ(nullptr, block);
}

TEST_P(ReaderAudioTest, BothGraphsArePositionedTogether) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("av.avi", Spec()).c_str()));
    double position = -1;
    EXPECT_EQ(S_OK, reader_->put_CurrentPosition(1.0, READER_STREAM_BOTH));
    EXPECT_EQ(S_OK, reader_->get_CurrentPosition(&position, READER_STREAM_AUDIO));
    EXPECT_DOUBLE_EQ(1.0, position);
    EXPECT_EQ(S_OK, reader_->get_CurrentPosition(&position, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(1.0, position);
}

INSTANTIATE_TEST_SUITE_P(Bits, ReaderAudioTest, ::testing::Values(16, 8));

} // namespace
