// The EXIF reader over JPEG files the test builds: the same tags in both byte orders, value
// conversions, comments, the marker walk's failures, and crafted data that must fail cleanly.
#include "Exif.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "png_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
    std::uint16_t tag;
    std::uint16_t format;
    std::uint32_t count;
    std::vector<std::int64_t> values; // components (rationals: numerator, denominator pairs)
    std::uint32_t rawOffset = 0;      // with rawOffsetSet: the value field as given, no data written
    bool rawOffsetSet = false;
};

Entry Ascii(std::uint16_t tag, const std::string& text) {
    Entry e{tag, 2, static_cast<std::uint32_t>(text.size() + 1), {}};
    for (char c : text)
        e.values.push_back(static_cast<unsigned char>(c));
    e.values.push_back(0);
    return e;
}
Entry Undefined(std::uint16_t tag, const Bytes& bytes) {
    Entry e{tag, 7, static_cast<std::uint32_t>(bytes.size()), {}};
    for (auto b : bytes)
        e.values.push_back(b);
    return e;
}
Entry Short(std::uint16_t tag, int v) { return Entry{tag, 3, 1, {v}}; }
Entry Long(std::uint16_t tag, std::uint32_t v) { return Entry{tag, 4, 1, {v}}; }
Entry Rational(std::uint16_t tag, std::uint32_t n, std::uint32_t d) { return Entry{tag, 5, 1, {n, d}}; }
Entry SRational(std::uint16_t tag, std::int32_t n, std::int32_t d) { return Entry{tag, 10, 1, {n, d}}; }
Entry Raw(std::uint16_t tag, std::uint16_t format, std::uint32_t count, std::uint32_t field) {
    Entry e{tag, format, count, {}};
    e.rawOffset = field;
    e.rawOffsetSet = true;
    return e;
}

const unsigned kSizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

class Tiff {
public:
    explicit Tiff(bool bigEndian) : big_(bigEndian) {}
    void Put16(Bytes& out, std::size_t at, std::uint32_t v) const {
        out[at] = static_cast<std::uint8_t>(big_ ? v >> 8 : v);
        out[at + 1] = static_cast<std::uint8_t>(big_ ? v : v >> 8);
    }
    void Put32(Bytes& out, std::size_t at, std::uint32_t v) const {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (big_ ? 24 - 8 * i : 8 * i));
    }
    Bytes Encode(const Entry& e) const {
        Bytes out(static_cast<std::size_t>(e.count) * kSizes[e.format], 0);
        const unsigned size = e.format == 5 || e.format == 10 ? 4 : kSizes[e.format];
        for (std::size_t i = 0; i < e.values.size() && (i + 1) * size <= out.size(); ++i) {
            const auto v = static_cast<std::uint32_t>(e.values[i]);
            if (size == 1)
                out[i] = static_cast<std::uint8_t>(v);
            else if (size == 2)
                Put16(out, i * 2, v);
            else
                Put32(out, i * 4, v);
        }
        return out;
    }
    // IFD0 (with a link to the EXIF directory when there is one), then IFD1 carrying the thumbnail.
    Bytes Build(std::vector<Entry> ifd0, const std::vector<Entry>& exif, std::vector<Entry> ifd1, const Bytes& thumbnail) const {
        const bool hasExif = !exif.empty();
        if (hasExif)
            ifd0.push_back(Long(0x8769, 0)); // offset filled below
        if (!thumbnail.empty()) {
            ifd1.push_back(Long(0x0201, 0));
            ifd1.push_back(Long(0x0202, static_cast<std::uint32_t>(thumbnail.size())));
        }
        auto ifdSize = [](const std::vector<Entry>& d) { return d.empty() ? 0u : static_cast<unsigned>(2 + 12 * d.size() + 4); };
        const unsigned at0 = 8;
        const unsigned atExif = at0 + ifdSize(ifd0);
        const unsigned at1 = atExif + ifdSize(exif);
        unsigned data = at1 + ifdSize(ifd1);
        Bytes out(data, 0);
        out[0] = out[1] = big_ ? 'M' : 'I';
        Put16(out, 2, 42);
        Put32(out, 4, 8);
        unsigned thumbnailAt = 0;
        auto writeIfd = [&](std::vector<Entry>& d, unsigned at, unsigned next) {
            Put16(out, at, static_cast<std::uint32_t>(d.size()));
            for (std::size_t i = 0; i < d.size(); ++i) {
                Entry& e = d[i];
                const std::size_t p = at + 2 + 12 * i;
                Put16(out, p, e.tag);
                Put16(out, p + 2, e.format);
                Put32(out, p + 4, e.count);
                if (e.tag == 0x8769 && hasExif)
                    e.values = {atExif};
                if (e.tag == 0x0201 && !thumbnail.empty())
                    e.values = {0}; // set after the data area is known
                if (e.rawOffsetSet) {
                    Put32(out, p + 8, e.rawOffset);
                    continue;
                }
                const Bytes value = Encode(e);
                if (value.size() <= 4) {
                    std::copy(value.begin(), value.end(), out.begin() + static_cast<std::ptrdiff_t>(p + 8));
                } else {
                    Put32(out, p + 8, static_cast<std::uint32_t>(out.size()));
                    out.insert(out.end(), value.begin(), value.end());
                }
                if (e.tag == 0x0201 && !thumbnail.empty())
                    thumbnailAt = static_cast<unsigned>(p + 8);
            }
            Put32(out, at + 2 + 12 * d.size(), next);
        };
        if (!ifd0.empty())
            writeIfd(ifd0, at0, ifd1.empty() ? 0 : at1);
        if (hasExif) {
            std::vector<Entry> copy = exif;
            writeIfd(copy, atExif, 0);
        }
        if (!ifd1.empty())
            writeIfd(ifd1, at1, 0);
        if (thumbnailAt) {
            Put32(out, thumbnailAt, static_cast<std::uint32_t>(out.size()));
            out.insert(out.end(), thumbnail.begin(), thumbnail.end());
        }
        return out;
    }

private:
    bool big_;
};

void PutSection(Bytes& jpeg, int marker, const Bytes& body) {
    const std::size_t length = body.size() + 2;
    jpeg.insert(jpeg.end(), {0xFF, static_cast<std::uint8_t>(marker), static_cast<std::uint8_t>(length >> 8),
                             static_cast<std::uint8_t>(length)});
    jpeg.insert(jpeg.end(), body.begin(), body.end());
}

Bytes ExifBody(const Bytes& tiff) {
    Bytes body = {'E', 'x', 'i', 'f', 0, 0};
    body.insert(body.end(), tiff.begin(), tiff.end());
    return body;
}

const Bytes kFrame = {8, 0x01, 0xE0, 0x02, 0x80, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
const Bytes kScan = {3, 1, 0, 2, 0x11, 3, 0x11, 0, 0x3F, 0};

// A JPEG with the given sections after SOI, then a frame header, a scan and the end.
Bytes Jpeg(const std::vector<std::pair<int, Bytes>>& sections) {
    Bytes jpeg = {0xFF, 0xD8};
    for (const auto& [marker, body] : sections)
        PutSection(jpeg, marker, body);
    PutSection(jpeg, 0xC0, kFrame);
    PutSection(jpeg, 0xDA, kScan);
    jpeg.insert(jpeg.end(), {0x12, 0x34, 0xFF, 0xD9});
    return jpeg;
}

struct Decoded {
    bool reached = false;
    tag_ExifInfo info{};
    std::string error;
    Bytes thumbnail;
};

// With QEL_FUZZ_SEEDS set, every file the suite builds is kept there as a seed of the fuzzer.
void KeepAsSeed(const Bytes& file) {
    const char* seeds = std::getenv("QEL_FUZZ_SEEDS");
    if (!seeds || !*seeds)
        return;
    // Named by content: each test runs in a process of its own, and equal files need one seed.
    const std::string folder = std::string(seeds) + "/exif_fuzzer";
    std::filesystem::create_directories(folder);
    const std::size_t key = std::hash<std::string>()(std::string(file.begin(), file.end()));
    WriteBytes(folder + "/seed" + std::to_string(key) + ".jpg", file);
}

Decoded Decode(const Bytes& file) {
    KeepAsSeed(file);
    TestFolder folder;
    const std::string path = folder.File("picture.jpg");
    Decoded result;
    if (!WriteBytes(path, file))
        return result;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return result;
    {
        CExif exif(&result.info);
        result.reached = exif.DecodeExif(f);
        result.error = exif.m_szLastError;
        if (result.info.ThumbnailPointer)
            result.thumbnail.assign(result.info.ThumbnailPointer, result.info.ThumbnailPointer + result.info.ThumbnailSize);
        result.info.ThumbnailPointer = nullptr; // pointed into the reader's sections, gone with it
    }
    std::fclose(f);
    return result;
}

std::vector<Entry> CameraIfd0() {
    return {Ascii(0x010F, "Qelcam"), Ascii(0x0110, "Model Seven"), Short(0x0112, 6), Rational(0x011A, 72, 1),
            Rational(0x011B, 96, 1), Short(0x0128, 2)};
}

std::vector<Entry> CameraExif() {
    return {Rational(0x829A, 1, 60),      Rational(0x829D, 28, 10),       Short(0x8827, 2),
            Undefined(0x9000, {'0', '2', '2', '0'}), Ascii(0x9003, "2026:12:09 11:52:57"), SRational(0x9204, -1, 3),
            Short(0x9207, 5),             Short(0x9208, 4),               Short(0x9209, 0x19),
            Rational(0x920A, 55, 10),     Rational(0xA20E, 4000, 1),      Rational(0xA20F, 4000, 2),
            Short(0xA210, 2),             Long(0xA002, 3000),             Long(0xA003, 2000),
            Rational(0x9102, 5, 2),       Rational(0x9205, 0, 0),
            Undefined(0x9286, {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'e', 'l', 'l', 'o', ' ', ' '})};
}

Bytes CameraJpeg(bool bigEndian) {
    const Tiff tiff(bigEndian);
    const Bytes thumbnail = {0xFF, 0xD8, 1, 2, 3, 4, 5, 0xFF, 0xD9};
    return Jpeg({{0xE0, {'J', 'F', 'I', 'F', 0}},
                 {0xE1, ExifBody(tiff.Build(CameraIfd0(), CameraExif(), {Rational(0x011A, 180, 1)}, thumbnail))}});
}

} // namespace

TEST(Exif, BothByteOrdersGiveTheSameRecord) {
    const Decoded little = Decode(CameraJpeg(false));
    const Decoded big = Decode(CameraJpeg(true));
    ASSERT_TRUE(little.reached) << little.error;
    ASSERT_TRUE(big.reached) << big.error;
    EXPECT_TRUE(little.info.IsExif);
    EXPECT_EQ(0, std::memcmp(&little.info, &big.info, sizeof(tag_ExifInfo))) << "records differ";
    EXPECT_EQ(little.thumbnail, big.thumbnail);

    const tag_ExifInfo& info = big.info;
    EXPECT_STREQ("Qelcam", info.CameraMake);
    EXPECT_STREQ("Model Seven", info.CameraModel);
    EXPECT_STREQ("2026:12:09 11:52:57", info.DateTime);
    EXPECT_STREQ("0220", info.Version);
    EXPECT_EQ(6, info.Orientation);
    EXPECT_EQ(480, info.Height);
    EXPECT_EQ(640, info.Width);
    EXPECT_EQ(1, info.IsColor);
    EXPECT_EQ(0xC0, info.Process);
    EXPECT_EQ(1, info.FlashUsed);
    EXPECT_NEAR(1.0 / 60, info.ExposureTime, 1e-6);
    EXPECT_DOUBLE_EQ(2.8, info.ApertureFNumber);
    EXPECT_DOUBLE_EQ(5.5, info.FocalLength);
    EXPECT_NEAR(-1.0 / 3, info.ExposureBias, 1e-9);
    EXPECT_EQ(0.0, info.MaxApertureValue); // zero denominator
    EXPECT_EQ(400, info.ISOequivalent);
    EXPECT_EQ(5, info.MeteringMode);
    EXPECT_EQ(4, info.LightSource);
    EXPECT_EQ(2, info.CompressionLevel);
    EXPECT_EQ(2, info.ResolutionUnit);
    // IFD1 (reached through the 32-bit next-directory link) comes after IFD0 and wins.
    EXPECT_EQ(180, info.Xresolution);
    EXPECT_EQ(96, info.Yresolution);
    EXPECT_DOUBLE_EQ(3000.0 * 2 / 4000, info.CCDWidth);
    EXPECT_STREQ("Hello", info.Comments);
    EXPECT_EQ(9u, info.ThumbnailSize);
    EXPECT_EQ((Bytes{0xFF, 0xD8, 1, 2, 3, 4, 5, 0xFF, 0xD9}), big.thumbnail);
}

TEST(Exif, OrientationOutOfRangeAndPlainUserComment) {
    const Tiff tiff(false);
    const Decoded d = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Short(0x0112, 9)},
                                                               {Undefined(0x9286, {'p', 'l', 'a', 'i', 'n', ' '})}, {}, {}))}}));
    ASSERT_TRUE(d.reached);
    EXPECT_EQ(0, d.info.Orientation);
    EXPECT_EQ("Undefined rotation value", d.error);
    EXPECT_STREQ("plain", d.info.Comments);
    EXPECT_TRUE(d.info.IsExif);
}

TEST(Exif, ShutterSpeedOnlyWithoutAnExposureTime) {
    const Tiff tiff(false);
    const Decoded alone = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Short(0x0112, 1)}, {SRational(0x9201, 6, 1)}, {}, {}))}}));
    ASSERT_TRUE(alone.info.IsExif) << alone.error;
    EXPECT_DOUBLE_EQ(6.0, alone.info.ExposureTime);
    const Decoded both = Decode(
        Jpeg({{0xE1, ExifBody(tiff.Build({Short(0x0112, 1)}, {Rational(0x829A, 1, 100), SRational(0x9201, 6, 1)}, {}, {}))}}));
    ASSERT_TRUE(both.info.IsExif) << both.error;
    EXPECT_DOUBLE_EQ(0.01, both.info.ExposureTime);
}

TEST(Exif, JpegCommentKeepsTextAndMarksControlCharacters) {
    const Decoded d = Decode(Jpeg({{0xFE, {'a', '\r', '\n', 'b', 0x01}}, {0xFE, {'s', 'e', 'c', 'o', 'n', 'd'}}}));
    ASSERT_TRUE(d.reached);
    EXPECT_STREQ("a\nb?", d.info.Comments);

    const Decoded longComment = Decode(Jpeg({{0xFE, Bytes(3000, 'x')}}));
    ASSERT_TRUE(longComment.reached);
    EXPECT_EQ(998u, std::strlen(longComment.info.Comments)); // bytes 2..999 of the section
}

TEST(Exif, MarkerWalkFailures) {
    EXPECT_FALSE(Decode({0xFF, 0xD9, 0xFF, 0xD8}).reached);

    std::vector<std::pair<int, Bytes>> many;
    for (int i = 0; i < 21; ++i)
        many.push_back({0xE2, {1, 2, 3}});
    const Decoded tooMany = Decode(Jpeg(many));
    EXPECT_FALSE(tooMany.reached);
    EXPECT_EQ("Too many sections in jpg file", tooMany.error);

    const Decoded invalid = Decode({0xFF, 0xD8, 0xFF, 0xE2, 0x00, 0x01});
    EXPECT_FALSE(invalid.reached);
    EXPECT_EQ("invalid marker", invalid.error);

    const Decoded cut = Decode({0xFF, 0xD8, 0xFF, 0xE2, 0x00, 0x20, 1, 2, 3});
    EXPECT_FALSE(cut.reached);
    EXPECT_EQ("Premature end of file?", cut.error);

    const Decoded ended = Decode({0xFF, 0xD8, 0xFF, 0xE2});
    EXPECT_FALSE(ended.reached);
    EXPECT_EQ("Premature end of file?", ended.error);

    EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xDA, 0, 2}).reached);
    EXPECT_TRUE(Decode({0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xDA, 0, 2}).reached); // six are padding
    EXPECT_TRUE(Decode({0xFF, 0xD8, 0xFF, 0xDA, 0, 2}).reached);
    EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF, 0xD9, 0, 2}).reached);

    CExif noFile;
    EXPECT_FALSE(noFile.DecodeExif(nullptr));
}

TEST(Exif, CraftedDataFailsCleanly) {
    const Tiff tiff(false);
    // APP1 "Exif" shorter than the 14-byte header.
    Decoded shortHeader = Decode(Jpeg({{0xE1, {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42}}}));
    EXPECT_TRUE(shortHeader.reached);
    EXPECT_FALSE(shortHeader.info.IsExif);
    EXPECT_EQ("Incorrect Exif header", shortHeader.error);

    // A frame header shorter than 8 bytes is not read.
    Bytes shortFrame = {0xFF, 0xD8};
    PutSection(shortFrame, 0xC0, {8, 1});
    PutSection(shortFrame, 0xDA, kScan);
    Decoded frame = Decode(shortFrame);
    EXPECT_TRUE(frame.reached);
    EXPECT_EQ(0, frame.info.Height);

    // A huge component count, and an offset that wraps past 2^32.
    Decoded huge = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Raw(0x010F, 2, 0xFFFFFFFF, 8)}, {}, {}, {}))}}));
    EXPECT_TRUE(huge.reached);
    EXPECT_FALSE(huge.info.IsExif);
    Decoded wrap = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Raw(0x829A, 5, 4, 0xFFFFFFF8)}, {}, {}, {}))}}));
    EXPECT_FALSE(wrap.info.IsExif);
    EXPECT_EQ("Illegal pointer offset value in EXIF.", wrap.error);
    Decoded badFormat = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Raw(0x829A, 13, 1, 0)}, {}, {}, {}))}}));
    EXPECT_EQ("Illegal format code in EXIF dir", badFormat.error);

    // A user comment of count 0, and numbers without a whole component.
    Decoded empty = Decode(Jpeg({{0xE1, ExifBody(tiff.Build({Raw(0x9286, 7, 0, 0), Raw(0x829A, 5, 0, 0)}, {}, {}, {}))}}));
    EXPECT_TRUE(empty.info.IsExif);
    EXPECT_STREQ("", empty.info.Comments);
    EXPECT_EQ(0.0, empty.info.ExposureTime);

    // Directory links that loop: IFD0 to itself, and IFD0 and IFD1 to each other.
    Bytes selfLinked = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    tiff.Put32(selfLinked, 8 + 2 + 12, 8);
    Decoded self = Decode(Jpeg({{0xE1, ExifBody(selfLinked)}}));
    EXPECT_TRUE(self.reached);
    EXPECT_TRUE(self.info.IsExif);
    EXPECT_EQ(3, self.info.Orientation);
    Bytes mutual = tiff.Build({Short(0x0112, 3)}, {}, {Short(0x0128, 3)}, {});
    const unsigned ifd1 = 8 + 2 + 12 + 4;
    tiff.Put32(mutual, ifd1 + 2 + 12, 8);
    Decoded pair = Decode(Jpeg({{0xE1, ExifBody(mutual)}}));
    EXPECT_TRUE(pair.info.IsExif);
    EXPECT_EQ(3, pair.info.ResolutionUnit);
    // An EXIF directory link pointing at its own directory.
    Bytes subLoop = tiff.Build({Long(0x8769, 8)}, {}, {}, {});
    EXPECT_TRUE(Decode(Jpeg({{0xE1, ExifBody(subLoop)}})).info.IsExif);

    // A link past the block, and a directory whose entries run past it.
    Bytes farLink = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    tiff.Put32(farLink, 8 + 2 + 12, 0x7FFFFFFF);
    Decoded far = Decode(Jpeg({{0xE1, ExifBody(farLink)}}));
    EXPECT_FALSE(far.info.IsExif);
    EXPECT_EQ("Illegal subdirectory link", far.error);
    Bytes tooLong = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    tiff.Put16(tooLong, 8, 0xFFFF);
    Decoded sized = Decode(Jpeg({{0xE1, ExifBody(tooLong)}}));
    EXPECT_FALSE(sized.info.IsExif);
    EXPECT_EQ("Illegally sized directory", sized.error);

    // Bad byte order, bad 42, bad first offset.
    Bytes order = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    order[0] = 'X';
    EXPECT_EQ("Invalid Exif alignment marker.", Decode(Jpeg({{0xE1, ExifBody(order)}})).error);
    Bytes start = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    start[2] = 41;
    EXPECT_EQ("Invalid Exif start (1)", Decode(Jpeg({{0xE1, ExifBody(start)}})).error);
    Bytes offset = tiff.Build({Short(0x0112, 3)}, {}, {}, {});
    offset[4] = 40;
    EXPECT_EQ("Suspicious offset of first IFD value", Decode(Jpeg({{0xE1, ExifBody(offset)}})).error);
}

TEST(Exif, DateTimeAsWritten) {
    tag_ExifInfo info{};
    CExif exif(&info);
    std::strcpy(info.DateTime, "2026:12:09 11:52:57");
    struct tm time;
    exif.GetDateTime(&time);
    EXPECT_EQ(2026, time.tm_year);
    EXPECT_EQ(12, time.tm_mon);
    EXPECT_EQ(9, time.tm_mday);
    EXPECT_EQ(57, time.tm_sec);
    exif.GetDateTime(nullptr);
    EXPECT_EQ(0, exif.GetExifString(nullptr, 0));
    EXPECT_EQ(0x1234, exif.Get16m("\x12\x34"));
}
