// libFuzzer harness of the snapshot name rules: each input is a file name a caller asks a snapshot to
// be saved under. A name that is accepted must fit, and so must its temporary bitmap's name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SnapshotName.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    SnapshotPlan plan;
    if (!PlanSnapshotSave(name.c_str(), &plan))
        return 0;
    Check(std::strlen(name.c_str()) < kSnapshotNameBytes);
    if (plan.format == SnapshotFormat::Bmp) {
        Check(plan.temporaryName.empty());
    } else {
        Check(plan.temporaryName.size() < kSnapshotNameBytes);
        Check(plan.temporaryName.size() >= 9 &&
              plan.temporaryName.compare(plan.temporaryName.size() - 9, 9, ".bmp~bmp~") == 0);
    }
    Check(SnapshotMimeType(plan.format) != nullptr);
    return 0;
}
