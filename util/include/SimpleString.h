#pragma once
// _SS<CharT>: the library's string, a standard string under the library's own name. Every module of
// ours links the same runtime and heap, so one may be filled in qelLib1 and read or freed elsewhere.
#include <string>

template <typename CharT>
class _SS : public std::basic_string<CharT> {
public:
    using std::basic_string<CharT>::basic_string;
    _SS() = default;
    _SS(const std::basic_string<CharT>& text) : std::basic_string<CharT>(text) {}
};
