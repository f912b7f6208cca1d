#include "BoundedText.h"

#include <cstring>

namespace qel::text {

bool CopyBounded(char* out, std::size_t size, const char* text) {
    if (JoinBounded(out, size, {text}))
        return true;
    if (out && size > 0)
        out[0] = '\0';
    return false;
}

bool JoinBounded(char* out, std::size_t size, std::initializer_list<const char*> parts) {
    if (!out)
        return false;
    std::size_t total = 0;
    for (const char* part : parts)
        total += part ? std::strlen(part) : 0;
    if (total >= size)
        return false;
    char* cursor = out;
    for (const char* part : parts) {
        if (!part)
            continue;
        const std::size_t length = std::strlen(part);
        std::memmove(cursor, part, length);
        cursor += length;
    }
    *cursor = '\0';
    return true;
}

} // namespace qel::text
