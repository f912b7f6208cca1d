#pragma once
// Keeps a test's input as a seed of a libFuzzer harness. scripts/fuzz runs the seed-writing test
// programs with QEL_FUZZ_SEEDS naming a folder; each seed goes to <folder>/<harness>/<name>. Without
// the variable nothing is written. Header only, so that every core test can use it in both builds.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qel::fuzzseeds {

inline bool Wanted() {
    const char* root = std::getenv("QEL_FUZZ_SEEDS");
    return root && *root;
}

// Writes one seed; true when it was written or none is wanted, false when the write failed.
inline bool Keep(const std::string& harness, const std::string& name, const void* data, std::size_t size) {
    if (!Wanted())
        return true;
    const std::string folder = std::string(std::getenv("QEL_FUZZ_SEEDS")) + "/" + harness;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return out.good();
}

inline bool Keep(const std::string& harness, const std::string& name, const std::string& text) {
    return Keep(harness, name, text.data(), text.size());
}

inline bool Keep(const std::string& harness, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return Keep(harness, name, bytes.data(), bytes.size());
}

// Little-endian packing for the harnesses that read fixed-size numbers from their input.
class SeedWriter {
public:
    SeedWriter& I32(std::int32_t v) { return Put(&v, sizeof v); }
    SeedWriter& U32(std::uint32_t v) { return Put(&v, sizeof v); }
    SeedWriter& I64(std::int64_t v) { return Put(&v, sizeof v); }
    SeedWriter& F64(double v) { return Put(&v, sizeof v); }
    SeedWriter& U8(std::uint8_t v) { return Put(&v, sizeof v); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    SeedWriter& Put(const void* v, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(v);
        bytes_.insert(bytes_.end(), p, p + size); // both builds are little-endian x86-64
        return *this;
    }
    std::vector<std::uint8_t> bytes_;
};

} // namespace qel::fuzzseeds
