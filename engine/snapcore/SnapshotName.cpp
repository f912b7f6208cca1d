#include "SnapshotName.h"

#include <cstring>

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(const char* name, std::size_t length, const char* suffix) {
    const std::size_t suffixLength = std::strlen(suffix);
    if (length < suffixLength)
        return false;
    for (std::size_t i = 0; i < suffixLength; ++i)
        if (Lower(name[length - suffixLength + i]) != suffix[i])
            return false;
    return true;
}

const char kTemporarySuffix[] = ".bmp~bmp~";

} // namespace

bool PlanSnapshotSave(const char* name, SnapshotPlan* plan) {
    if (!name || !plan)
        return false;
    const void* end = std::memchr(name, 0, kSnapshotNameBytes);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - name) : kSnapshotNameBytes;
    if (length < 4 || length >= kSnapshotNameBytes)
        return false;

    SnapshotFormat format = SnapshotFormat::Gif;
    std::size_t baseLength = length - 4;
    if (EndsWithNoCase(name, length, ".jpeg") || EndsWithNoCase(name, length, ".tiff")) {
        format = Lower(name[length - 4]) == 'j' ? SnapshotFormat::Jpeg : SnapshotFormat::Tiff;
        baseLength = length - 5;
    } else if (EndsWithNoCase(name, length, "bmp")) {
        format = SnapshotFormat::Bmp;
    } else if (EndsWithNoCase(name, length, "jpg")) {
        format = SnapshotFormat::Jpeg;
    } else if (EndsWithNoCase(name, length, "png")) {
        format = SnapshotFormat::Png;
    } else if (EndsWithNoCase(name, length, "tif")) {
        format = SnapshotFormat::Tiff;
    }

    std::string temporary;
    if (format != SnapshotFormat::Bmp) {
        temporary.assign(name, baseLength);
        temporary += kTemporarySuffix;
        if (temporary.size() >= kSnapshotNameBytes)
            return false;
    }
    plan->format = format;
    plan->temporaryName = std::move(temporary);
    return true;
}

const wchar_t* SnapshotMimeType(SnapshotFormat format) {
    switch (format) {
    case SnapshotFormat::Bmp:
        return L"image/bmp";
    case SnapshotFormat::Jpeg:
        return L"image/jpeg";
    case SnapshotFormat::Png:
        return L"image/png";
    case SnapshotFormat::Tiff:
        return L"image/tiff";
    case SnapshotFormat::Gif:
        break;
    }
    return L"image/gif";
}
