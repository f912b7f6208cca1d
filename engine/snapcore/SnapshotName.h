#pragma once
// What a snapshot file name asks for: the picture format its extension names and, for the formats
// that are encoded from a bitmap, the temporary BMP beside it. Platform-neutral.
#include <cstddef>
#include <string>

enum class SnapshotFormat { Bmp, Jpeg, Png, Tiff, Gif };

// Snapshot names live in buffers of this many bytes, terminator included.
constexpr std::size_t kSnapshotNameBytes = 260;

struct SnapshotPlan {
    SnapshotFormat format = SnapshotFormat::Bmp;
    std::string temporaryName; // empty for BMP, which is written directly
};

// The extension is the name's last three characters, without regard to case: "bmp", "jpg", "png",
// "tif", and any other as GIF; a four-letter ".jpeg" or ".tiff" is JPEG or TIFF. The temporary name
// is the name without its extension and dot, followed by ".bmp~bmp~".
// False for a name that cannot be saved safely: null, shorter than a dot and three letters, or whose
// name or temporary name does not fit kSnapshotNameBytes.
bool PlanSnapshotSave(const char* name, SnapshotPlan* plan);

// The GDI+ encoder's MIME type of a format.
const wchar_t* SnapshotMimeType(SnapshotFormat format);
