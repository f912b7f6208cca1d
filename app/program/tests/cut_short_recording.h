#pragma once
// What the tests of the repair of recordings cut short share: such a recording built as the file sink
// leaves it, a look at whether a file is finished, and the variable that slows every read of the
// repair of the program's test build (a slow drive, on purpose; ZentrikRun::UseTestBuild).
#include <windows.h>

#include <avi_recovery.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace cutshort {

constexpr char kReadPauseVariable[] = "QEL_TEST_REPAIR_READ_PAUSE_MS";

inline void Append32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<char>(v >> (8 * i)));
}

// A recording of `frames` whole 8 x 4 RGB24 frames (frame i filled with i + 1), killed while the
// next was written (partBytes of it on the disk).
inline std::string Recording(int frames, std::size_t partBytes) {
    avirecovery::StreamDescription video;
    video.format.assign(40, 0);
    const std::uint32_t words[] = {40, 8, 4};
    std::memcpy(video.format.data(), words, sizeof words);
    video.format[12] = 1;
    video.format[14] = 24;
    video.format[20] = 96;
    const std::vector<std::uint8_t> header = avirecovery::ProvisionalHeader({video}, 2048 + 12);
    std::string file(header.begin(), header.end());
    std::string frame = "00db";
    Append32(frame, 96);
    for (int i = 0; i < frames; ++i)
        file += frame + std::string(96, static_cast<char>(i + 1));
    file += (frame + std::string(96, 'x')).substr(0, partBytes);
    return file;
}

// The file's bytes; empty when it cannot be read (the repair holds it alone meanwhile).
inline std::string FileBytes(const std::string& path) {
    std::string bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[64 * 1024];
    DWORD done = 0;
    while (::ReadFile(file, block, sizeof block, &done, nullptr) && done > 0)
        bytes.append(block, done);
    ::CloseHandle(file);
    return bytes;
}

inline std::uint32_t Word(const std::string& b, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Whether the file is still marked unfinished (the repair's last write clears the mark).
inline bool Marked(const std::string& path) {
    const std::string head = FileBytes(path);
    return head.size() >= 12 && avirecovery::LooksUnfinished(reinterpret_cast<const std::uint8_t*>(head.data()), 12);
}

// Whether the file carries the RIFF size of its whole length: finished. Reads its head only (and
// lets a writer in), so that polling it never keeps the repair out for long.
inline bool Finished(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    std::string head(8, '\0');
    DWORD done = 0;
    const bool read = ::GetFileSizeEx(file, &size) && ::ReadFile(file, &head[0], 8, &done, nullptr) && done == 8;
    ::CloseHandle(file);
    return read && Word(head, 4) == static_cast<std::uint64_t>(size.QuadPart) - 8;
}

// An environment variable of this process (and so of the programs it starts) for the object's life.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) { ::SetEnvironmentVariableA(name, value); }
    ~ScopedVariable() { ::SetEnvironmentVariableA(name_, nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
};

} // namespace cutshort
