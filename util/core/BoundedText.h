#pragma once
// Copies and joins into fixed-size character buffers that never write past their end: a text that
// does not fit is a failure, never a cut or an overrun. Platform-neutral.
#include <cstddef>
#include <initializer_list>

namespace qel::text {

// The platform's path length: the size of every path buffer the utility library writes.
constexpr std::size_t kPathBytes = 260;

// Copies text (null counts as empty) with its terminator into out of `size` bytes. When it does not
// fit, out becomes empty (when size allows) and the result is false.
bool CopyBounded(char* out, std::size_t size, const char* text);

// Joins parts (nulls count as empty) into out of `size` bytes, terminator included. When the whole
// does not fit, out is left as it was and the result is false.
bool JoinBounded(char* out, std::size_t size, std::initializer_list<const char*> parts);

} // namespace qel::text
