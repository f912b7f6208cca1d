// The file-kind recogniser on byte fixtures: names, the AVI header walk (also on hostile sizes), the
// start-code scan and the transport-stream test.
#include "media_kind.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "avi_clip.h"
#include "kind_fixtures.h"

namespace qelreader {
namespace {

using kindtest::Bytes;

int ParseBytes(const Bytes& bytes, AviVideoStream* video = nullptr) {
    MemoryByteSource source(bytes.data(), bytes.size());
    return ParseAviHeader(source, video);
}

int Recognise(const char* path, const Bytes& bytes) {
    MemoryByteSource source(bytes.data(), bytes.size());
    return RecogniseFileKind(path, source);
}

TEST(MediaKindNames, WindowsMediaAndDvrMsAreFoundAnywhereInEitherCase) {
    EXPECT_TRUE(IsWindowsMediaPath("C:\\clips\\a.wmv"));
    EXPECT_TRUE(IsWindowsMediaPath("C:\\clips\\A.ASF"));
    EXPECT_TRUE(IsWindowsMediaPath("C:\\x.wma.bak"));
    EXPECT_TRUE(IsWindowsMediaPath("list.asx"));
    EXPECT_FALSE(IsWindowsMediaPath("C:\\clips\\a.Wmv")); // only the two spellings count
    EXPECT_FALSE(IsWindowsMediaPath("C:\\clips\\a.avi"));
    EXPECT_FALSE(IsWindowsMediaPath(nullptr));
    EXPECT_TRUE(IsDvrMsPath("show.dvr-ms"));
    EXPECT_TRUE(IsDvrMsPath("SHOW.DVR"));
    EXPECT_FALSE(IsDvrMsPath("show.avi"));
}

TEST(MediaKindNames, MpegExtensionsAnyCaseOrNoExtensionAreScanned) {
    for (const char* name : {"a.mpg", "a.MPE", "a.mpeg", "a.dat", "a.M2V", "a.m1v", "a.vob", "C:\\x\\noext"})
        EXPECT_TRUE(MayHoldMpegStartCodes(name)) << name;
    for (const char* name : {"a.avi", "a.mp4", "a.mpgx", "C:\\dir.v\\noext.txt"})
        EXPECT_FALSE(MayHoldMpegStartCodes(name)) << name;
    EXPECT_TRUE(MayHoldMpegStartCodes("C:\\dir.mpg\\noext")) << "a dot in a folder is not an extension";
}

TEST(AviHeaderWalk, GeneratedClipsAreOtherVideoWithTheirRate) {
    qelmedia::AviClipFormat spec;
    spec.framesPerSecond = 15;
    spec.withAudio = true;
    const Bytes clip = qelmedia::BuildAviClip(spec);
    EXPECT_EQ(kAviOtherVideo, ParseBytes(clip));
    AviVideoStream video;
    EXPECT_EQ(kAviOtherVideo, ParseBytes(clip, &video));
    EXPECT_EQ(1u, video.scale);
    EXPECT_EQ(15u, video.rate);
    EXPECT_EQ(kKindAvi, Recognise("clip.avi", clip));
}

TEST(AviHeaderWalk, StreamTypesAndHandlersGiveTheirResults) {
    EXPECT_EQ(kAviDvVideo, ParseBytes(kindtest::AviWithStreams({{"vids", "dvsd"}})));
    EXPECT_EQ(kAviDvVideo, ParseBytes(kindtest::AviWithStreams({{"vids", "dvhd"}})));
    EXPECT_EQ(kAviDvVideo, ParseBytes(kindtest::AviWithStreams({{"vids", "dvsl"}})));
    EXPECT_EQ(kAviInterleavedDv, ParseBytes(kindtest::AviWithStreams({{"auds", ""}, {"iavs", "dvsd"}})));
    EXPECT_EQ(kAviAudioOnly, ParseBytes(kindtest::AviWithStreams({{"auds", ""}})));
    // The last video stream wins; audio never overrides video.
    EXPECT_EQ(kAviOtherVideo, ParseBytes(kindtest::AviWithStreams({{"vids", "dvsd"}, {"auds", ""}, {"vids", "DIB "}})));
    EXPECT_EQ(kAviDvVideo, ParseBytes(kindtest::AviWithStreams({{"vids", "DIB "}, {"vids", "dvsd"}})));
    EXPECT_EQ(kKindAviInterleavedDv, KindFromAviHeader(kAviInterleavedDv));
    EXPECT_EQ(kKindAviDv, KindFromAviHeader(kAviDvVideo));
    EXPECT_EQ(kKindAvi, KindFromAviHeader(kAviOtherVideo));
    EXPECT_EQ(kKindAviAudioOnly, KindFromAviHeader(kAviAudioOnly));
    EXPECT_EQ(kKindUnknown, KindFromAviHeader(7));
}

TEST(AviHeaderWalk, JunkBetweenStreamListsIsSkipped) {
    kindtest::AviOptions options;
    options.junkAfterFirstStream = 24;
    EXPECT_EQ(kAviOtherVideo, ParseBytes(kindtest::AviWithStreams({{"auds", ""}, {"vids", "DIB "}}, options)));
}

TEST(AviHeaderWalk, DamagedHeadersGiveNothingAtOnce) {
    const Bytes good = kindtest::AviWithStreams({{"vids", "DIB "}});
    EXPECT_EQ(kAviNone, ParseBytes(Bytes(good.begin(), good.begin() + good.size() / 2))) << "truncated RIFF";
    EXPECT_EQ(kAviNone, ParseBytes(Bytes(good.begin(), good.begin() + 40))) << "shorter than the main header";
    EXPECT_EQ(kAviNone, ParseBytes(Bytes())) << "empty";
    kindtest::AviOptions noStreams;
    noStreams.streamCount = 0;
    EXPECT_EQ(kAviNone, ParseBytes(kindtest::AviWithStreams({{"vids", "DIB "}}, noStreams)));
    kindtest::AviOptions negative;
    negative.streamCount = 0x80000000u;
    EXPECT_EQ(kAviNone, ParseBytes(kindtest::AviWithStreams({{"vids", "DIB "}}, negative)));
    Bytes wrongForm = good;
    std::memcpy(wrongForm.data() + 8, "WAVE", 4);
    EXPECT_EQ(kAviNone, ParseBytes(wrongForm));
    Bytes noHeaderList = good;
    std::memcpy(noHeaderList.data() + 20, "movi", 4);
    EXPECT_EQ(kAviNone, ParseBytes(noHeaderList));
}

TEST(AviHeaderWalk, HugeChunkSizesEndTheWalkInsteadOfLooping) {
    kindtest::AviOptions junk;
    junk.junkBeforeFirstStream = 0xFFFFFFF8u; // size + 8 wraps to 0 in 32 bits
    EXPECT_EQ(kAviNone, ParseBytes(kindtest::AviWithStreams({{"vids", "DIB "}}, junk)));
    junk.junkBeforeFirstStream = 0xFFFFFFFFu;
    EXPECT_EQ(kAviNone, ParseBytes(kindtest::AviWithStreams({{"vids", "DIB "}}, junk)));
    // A stream list whose size runs past the header list still counts, and ends the walk.
    kindtest::AviOptions longList;
    longList.firstListSize = 0xFFFFFFF0u;
    EXPECT_EQ(kAviAudioOnly, ParseBytes(kindtest::AviWithStreams({{"auds", ""}, {"vids", "DIB "}}, longList)));
}

TEST(AviHeaderWalk, AFileClaimingMoreThanFourGigabytesIsReadWithWideOffsets) {
    // A source that pretends to be 5 GB long: only the header bytes exist.
    const Bytes header = kindtest::AviWithStreams({{"auds", ""}, {"vids", "dvsd"}});
    class Huge : public ByteSource {
    public:
        explicit Huge(const Bytes& bytes) : bytes_(bytes) {}
        uint64_t Size() const override { return 5ull << 30; }
        bool ReadAt(uint64_t offset, void* out, size_t count) override {
            if (offset > bytes_.size() || count > bytes_.size() - offset)
                return false;
            std::memcpy(out, bytes_.data() + offset, count);
            return true;
        }

    private:
        const Bytes& bytes_;
    } huge(header);
    EXPECT_EQ(kAviDvVideo, ParseAviHeader(huge, nullptr));
}

TEST(FrameTime, ComesFromScaleAndRateInSixtyFourBits) {
    EXPECT_EQ(333666, FrameTimeFromAviRate(1001, 30000)) << "integer scale / rate would be 0";
    EXPECT_EQ(1000000, FrameTimeFromAviRate(1, 10));
    EXPECT_EQ(400000, FrameTimeFromAviRate(1, 25));
    EXPECT_EQ(0, FrameTimeFromAviRate(1, 0));
    EXPECT_EQ(42949672950000000LL, FrameTimeFromAviRate(0xFFFFFFFFu, 1)) << "no 32-bit overflow";
}

TEST(StartCodeScan, SequenceHeadersAndPackHeadersDecide) {
    EXPECT_EQ(kKindMpeg1, ScanMpegStartCodes(kindtest::SequenceHeader(false).data(), kindtest::SequenceHeader(false).size()));
    const Bytes mpeg2 = kindtest::SequenceHeader(true);
    EXPECT_EQ(kKindMpeg2, ScanMpegStartCodes(mpeg2.data(), mpeg2.size()));
    const Bytes pack1 = kindtest::PackHeader(0x21);
    EXPECT_EQ(kKindMpeg1, ScanMpegStartCodes(pack1.data(), pack1.size()));
    const Bytes pack2 = kindtest::PackHeader(0x44);
    EXPECT_EQ(kKindMpeg2, ScanMpegStartCodes(pack2.data(), pack2.size()));
    // An extension code whose next byte has another high nibble is no sequence extension.
    Bytes notExtension = kindtest::SequenceHeader(true);
    notExtension[notExtension.size() - 6] = 0x20;
    EXPECT_EQ(kKindMpeg1, ScanMpegStartCodes(notExtension.data(), notExtension.size()));
}

TEST(StartCodeScan, UnknownPackHeaderDecidesNothingAndTheTransportTestDecides) {
    const Bytes unknownPack = kindtest::PackHeader(0x80);
    EXPECT_EQ(kKindUnknown, ScanMpegStartCodes(unknownPack.data(), unknownPack.size()));
    Bytes transport = kindtest::TransportPackets(20);
    const Bytes pack = kindtest::PackHeader(0x90);
    std::copy(pack.begin(), pack.end(), transport.begin() + 4);
    EXPECT_EQ(kKindTransportStream, ScanMpegStartCodes(transport.data(), transport.size()));
}

TEST(StartCodeScan, MpegDataInTransportPacketsIsATransportStream) {
    Bytes transport = kindtest::TransportPackets(2);
    const Bytes sequence = kindtest::SequenceHeader(false);
    std::copy(sequence.begin() + 16, sequence.end(), transport.begin() + 4);
    EXPECT_EQ(kKindTransportStream, ScanMpegStartCodes(transport.data(), transport.size()));
}

TEST(StartCodeScan, TransportTestsUseOnlyBytesThatWereRead) {
    const Bytes twenty = kindtest::TransportPackets(20);
    EXPECT_EQ(kKindTransportStream, ScanMpegStartCodes(twenty.data(), 19 * 188 + 1));
    EXPECT_EQ(kKindUnknown, ScanMpegStartCodes(twenty.data(), 19 * 188)) << "the 20th sync byte was not read";
    EXPECT_EQ(kKindUnknown, ScanMpegStartCodes(twenty.data(), 3572));
    // A start code in one packet's worth of data: byte 188 was not read, so no transport stream.
    Bytes one = kindtest::TransportPackets(1);
    const Bytes sequence = kindtest::SequenceHeader(false);
    std::copy(sequence.begin() + 16, sequence.end(), one.begin() + 4);
    EXPECT_EQ(kKindMpeg1, ScanMpegStartCodes(one.data(), one.size()));
    EXPECT_EQ(kKindUnknown, ScanMpegStartCodes(nullptr, 0));
    const uint8_t tiny[4] = {0, 0, 1, 0xB3};
    EXPECT_EQ(kKindUnknown, ScanMpegStartCodes(tiny, sizeof tiny));
}

TEST(Recognition, NamesAndBytesTogether) {
    const Bytes mpeg1 = kindtest::PackHeader(0x21);
    EXPECT_EQ(kKindWindowsMedia, Recognise("C:\\a.wmv", mpeg1)) << "the name decides first";
    EXPECT_EQ(kKindMpeg1, Recognise("C:\\a.mpg", mpeg1));
    EXPECT_EQ(kKindMpeg1, Recognise("C:\\noext", mpeg1)) << "a name without '.' is scanned";
    EXPECT_EQ(kKindUnknown, Recognise("C:\\a.avi", mpeg1)) << "MPEG data named .avi is left to the trial graph";
    EXPECT_EQ(kKindUnknown, Recognise("C:\\a.mpg", Bytes())) << "empty file";
    const Bytes avi = kindtest::AviWithStreams({{"vids", "dvsd"}});
    EXPECT_EQ(kKindAviDv, Recognise("C:\\a.mpg", avi)) << "the AVI header wins over the extension";
}

} // namespace
} // namespace qelreader
