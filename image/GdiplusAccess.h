#pragma once
// mingw's GDI+ wrapper keeps an Image's native pointer and last status private, so a class derived from
// Gdiplus::Bitmap cannot swap its picture through it. An explicit template instantiation may name
// private members (the language exempts it from access checks): these two accessors use that rule and
// leave the platform's headers untouched.
#include <windows.h>

#include <objidl.h> // PROPID, IStream: the lean Windows header leaves them out
#include <gdiplus.h>

namespace gdiplus_access {

template <typename Tag, typename Tag::type Member>
struct Grant {
    friend typename Tag::type MemberOf(Tag) { return Member; }
};

struct NativeImageTag {
    using type = Gdiplus::GpImage* Gdiplus::Image::*;
    friend type MemberOf(NativeImageTag);
};
struct LastStatusTag {
    using type = Gdiplus::Status Gdiplus::Image::*;
    friend type MemberOf(LastStatusTag);
};

template struct Grant<NativeImageTag, &Gdiplus::Image::nativeImage>;
template struct Grant<LastStatusTag, &Gdiplus::Image::lastStatus>;

} // namespace gdiplus_access

// The native image an Image wraps (null when it has none), writable.
inline Gdiplus::GpImage*& NativeImageOf(Gdiplus::Image& image) {
    return image.*MemberOf(gdiplus_access::NativeImageTag{});
}
inline Gdiplus::GpImage* NativeImageOf(const Gdiplus::Image& image) {
    return image.*MemberOf(gdiplus_access::NativeImageTag{});
}
// The status GetLastStatus reports next, writable.
inline Gdiplus::Status& LastStatusOf(Gdiplus::Image& image) {
    return image.*MemberOf(gdiplus_access::LastStatusTag{});
}
