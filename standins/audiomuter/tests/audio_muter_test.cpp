// The audio muter stand-in as the engine relies on it: uncompressed sound passes unchanged until
// SetMute(1), then the same buffers arrive silent (0x80 for 8-bit sound, 0 for wider samples) with
// their times; SetMute(0) brings the sound back; compressed sound and video are refused.
#include "AudioMuter.h"
#include "audio_muter_filter.h"
#include "plugin_testkit.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <memory>

namespace {

using plugintest::ComPtr;
using plugintest::TestSound;

class AudioMuterTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelAudioMuter");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(kClsidAudioMuter, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(kIidAudioMuter, reinterpret_cast<void**>(muter_.GetAddressOf())));
    }
    void TearDown() override {
        muter_.Reset();
        filter_.Reset();
        // Registration is machine-wide: other tests expect the muter missing unless they register it.
        if (module_) {
            EXPECT_EQ(S_OK, module_->Unregister());
        }
        module_.reset();
        ComTest::TearDown();
    }

    plugintest::GraphResult Play(const TestSound& sound) {
        return plugintest::PlaySoundThrough(filter_.Get(), kAudioMuterGraphName, sound);
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IAudioMuter> muter_;
};

TEST_F(AudioMuterTest, SoundPassesUnchangedUntilMuted) {
    int muted = -1;
    ASSERT_EQ(S_OK, muter_->GetMute(&muted));
    EXPECT_EQ(0, muted);
    TestSound sound;
    const auto run = Play(sound);
    ASSERT_EQ(S_OK, run.connect);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_EQ(static_cast<size_t>(sound.buffers), run.frames.size());
    for (int n = 0; n < sound.buffers; ++n) {
        EXPECT_EQ(plugintest::TestSoundBuffer(sound, n), run.frames[n].bytes) << n;
        EXPECT_EQ(S_OK, run.frames[n].timeResult);
        EXPECT_EQ(n * 1000000LL, run.frames[n].start) << n;
    }
}

TEST_F(AudioMuterTest, MutedSoundKeepsItsBuffersAndTimesButIsSilent) {
    for (WORD bits : {WORD(16), WORD(8)}) {
        ASSERT_EQ(S_OK, muter_->SetMute(1));
        int muted = 0;
        ASSERT_EQ(S_OK, muter_->GetMute(&muted));
        EXPECT_EQ(1, muted);
        TestSound sound;
        sound.bitsPerSample = bits;
        sound.channels = 2;
        const auto run = Play(sound);
        ASSERT_EQ(S_OK, run.connect) << bits;
        ASSERT_EQ(S_OK, run.run) << bits;
        ASSERT_EQ(static_cast<size_t>(sound.buffers), run.frames.size()) << bits;
        const BYTE silence = bits == 8 ? 0x80 : 0x00;
        for (int n = 0; n < sound.buffers; ++n) {
            const std::vector<BYTE>& bytes = run.frames[n].bytes;
            ASSERT_EQ(plugintest::SoundBufferBytesOf(sound), bytes.size()) << bits;
            EXPECT_EQ(std::vector<BYTE>(bytes.size(), silence), bytes) << bits << " bits, buffer " << n;
            EXPECT_EQ(n * 1000000LL, run.frames[n].start) << n;
        }
        // Any nonzero value mutes; zero gives the sound back.
        ASSERT_EQ(S_OK, muter_->SetMute(0));
        const auto back = Play(sound);
        ASSERT_EQ(static_cast<size_t>(sound.buffers), back.frames.size());
        EXPECT_EQ(plugintest::TestSoundBuffer(sound, 3), back.frames[3].bytes) << bits;
        ASSERT_EQ(S_OK, muter_->SetMute(7));
        ASSERT_EQ(S_OK, muter_->GetMute(&muted));
        EXPECT_EQ(1, muted);
    }
    EXPECT_EQ(E_POINTER, muter_->GetMute(nullptr));
}

TEST_F(AudioMuterTest, VideoIsRefused) {
    plugintest::TestVideo video;
    video.frames = 2;
    const auto run = plugintest::PlayThrough(filter_.Get(), kAudioMuterGraphName, video);
    EXPECT_TRUE(FAILED(run.connect));
    EXPECT_TRUE(run.frames.empty());
}

// Silence is known for PCM and float sound, also behind the extensible header, and not for
// compressed sound.
TEST(AudioMuterFormats, SilenceOfEachSampleLayout) {
    WAVEFORMATEXTENSIBLE format = {};
    format.Format.cbSize = sizeof format - sizeof format.Format;
    format.Format.wFormatTag = WAVE_FORMAT_PCM;
    format.Format.wBitsPerSample = 8;
    EXPECT_EQ(0x80, SilenceByteOf(format.Format, sizeof(WAVEFORMATEX)));
    format.Format.wBitsPerSample = 24;
    EXPECT_EQ(0, SilenceByteOf(format.Format, sizeof(WAVEFORMATEX)));
    format.Format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    format.Format.wBitsPerSample = 32;
    EXPECT_EQ(0, SilenceByteOf(format.Format, sizeof(WAVEFORMATEX)));
    format.Format.wFormatTag = WAVE_FORMAT_ADPCM;
    EXPECT_EQ(-1, SilenceByteOf(format.Format, sizeof(WAVEFORMATEX)));

    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.wBitsPerSample = 8;
    format.SubFormat = {WAVE_FORMAT_PCM, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    EXPECT_EQ(0x80, SilenceByteOf(format.Format, sizeof format));
    // A block too short for the sub-format it announces is not trusted.
    EXPECT_EQ(-1, SilenceByteOf(format.Format, sizeof(WAVEFORMATEX)));
    format.SubFormat.Data4[7] = 0x72;   // not a plain tag's sub-format
    EXPECT_EQ(-1, SilenceByteOf(format.Format, sizeof format));
}

} // namespace
