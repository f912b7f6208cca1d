#include "reader_fixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "MediaFrameReader.h"

namespace readertest {

std::vector<BYTE> GlobalBlock::Bytes() const {
    std::vector<BYTE> bytes;
    if (!block_)
        return bytes;
    const SIZE_T size = GlobalSize(block_);
    if (const BYTE* data = static_cast<const BYTE*>(GlobalLock(block_))) {
        bytes.assign(data, data + size);
        GlobalUnlock(block_);
    }
    return bytes;
}

qelmedia::AviClipFormat ClipSpec(bool audio, int audioBits) {
    qelmedia::AviClipFormat spec;
    spec.width = 64;
    spec.height = 48;
    spec.framesPerSecond = 10;
    spec.frameCount = 30;
    spec.withAudio = audio;
    spec.audioBitsPerSample = audioBits;
    spec.audioRamp = true;
    return spec;
}

qel::ComPtr<IMediaFrameReader> NewReader() {
    HRESULT hr = S_OK;
    CUnknown* object = CMediaFrameReader::CreateInstance(nullptr, &hr);
    qel::ComPtr<IMediaFrameReader> reader;
    if (!object)
        return reader;
    object->NonDelegatingAddRef();
    object->NonDelegatingQueryInterface(IID_IMediaFrameReader, reinterpret_cast<void**>(reader.GetAddressOf()));
    object->NonDelegatingRelease();
    return reader;
}

void ReaderTest::SetUp() {
    qeltest::ComTest::SetUp();
    reader_ = NewReader();
    ASSERT_TRUE(reader_);
}

void ReaderTest::TearDown() {
    reader_.Reset();
    qeltest::ComTest::TearDown();
}

std::string ReaderTest::MakeClip(const std::string& name, const qelmedia::AviClipFormat& spec) {
    const std::string path = folder_.File(name);
    EXPECT_TRUE(qelmedia::WriteAviClip(path, spec)) << path;
    return path;
}

std::string ReaderTest::MakeFile(const std::string& name, const std::vector<BYTE>& bytes) {
    const std::string path = folder_.File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string CompareFrameBlock(HGLOBAL block, int frame, int width, int height) {
    if (!block)
        return "no block";
    const SIZE_T size = GlobalSize(block);
    const std::vector<uint8_t> expected = qelmedia::ClipFrame(frame, width, height);
    if (size != sizeof(BITMAPINFOHEADER) + expected.size()) {
        std::ostringstream why;
        why << "block of " << size << " bytes, expected " << sizeof(BITMAPINFOHEADER) + expected.size();
        return why.str();
    }
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    std::ostringstream why;
    if (header.biSize != 40 || header.biWidth != width || header.biHeight != height || header.biPlanes != 1 ||
        header.biBitCount != 24 || header.biCompression != BI_RGB || header.biSizeImage != 0)
        why << "header " << header.biWidth << "x" << header.biHeight << "x" << header.biBitCount;
    else if (std::memcmp(data + sizeof header, expected.data(), expected.size()) != 0) {
        // Name the frame the block shows: red steps by 8 a frame from 16.
        const int red = data[sizeof header + 2];
        why << "pixels of another frame (red " << red << " -> frame " << (red - 16) / 8 << ")";
    }
    GlobalUnlock(block);
    return why.str();
}

} // namespace readertest
